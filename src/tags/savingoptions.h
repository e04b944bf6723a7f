#pragma once

// How every tag write stores a file's tags. The defaults are what the program
// always wrote: ID3v2.4, an ID3v1 copy and covers fitted to 400 x 400.
struct SavingOptions
{
    enum class Id3v2Version { V24, V23 };
    enum class Id3v1Copy {
        AlwaysWrite, // written, and added to files that had none
        KeepAsFound, // updated where the file had one, never added
        Remove,      // its text kept in ID3v2 where that lacks it, then stripped
    };
    enum class Covers {
        FitTo400,     // scaled to fit 400 x 400 (small ones enlarged), stored as JPEG
        KeepAsChosen, // a JPEG or PNG file's own bytes; other pictures as JPEG at full size
    };

    Id3v2Version id3v2Version = Id3v2Version::V24;
    Id3v1Copy id3v1Copy = Id3v1Copy::AlwaysWrite;
    Covers covers = Covers::FitTo400;

    bool operator==(const SavingOptions &other) const
    {
        return id3v2Version == other.id3v2Version && id3v1Copy == other.id3v1Copy && covers == other.covers;
    }
    bool operator!=(const SavingOptions &other) const { return !(*this == other); }

    // What writes follow now; set at start-up from the user's settings and
    // whenever the user changes them. Safe from the read-ahead threads.
    static SavingOptions current();
    static void setCurrent(const SavingOptions &options);
};
