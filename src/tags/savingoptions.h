#pragma once

// How every tag write stores a file's tags. The defaults are what the program
// always wrote: ID3v2.4 and an ID3v1 copy.
struct SavingOptions
{
    enum class Id3v2Version { V24, V23 };
    enum class Id3v1Copy {
        AlwaysWrite, // written, and added to files that had none
        KeepAsFound, // updated where the file had one, never added
        Remove,      // its text kept in ID3v2 where that lacks it, then stripped
    };

    Id3v2Version id3v2Version = Id3v2Version::V24;
    Id3v1Copy id3v1Copy = Id3v1Copy::AlwaysWrite;

    bool operator==(const SavingOptions &other) const
    {
        return id3v2Version == other.id3v2Version && id3v1Copy == other.id3v1Copy;
    }
    bool operator!=(const SavingOptions &other) const { return !(*this == other); }

    // What writes follow now; set at start-up from the user's settings and
    // whenever the user changes them. Safe from the read-ahead threads.
    static SavingOptions current();
    static void setCurrent(const SavingOptions &options);
};
