#pragma once

namespace TagLib {
class File;
namespace ID3v2 {
class Tag;
}
namespace MPEG {
class File;
}
} // namespace TagLib

// How much of a file's ID3v2 tag TagLib's in-memory tag holds.
enum class TagReadState {
    Complete, // every frame (or the file has no ID3v2 tag)
    Repaired, // every frame that holds data; what held nothing was left out
    Partial,  // frames that hold data could not be read: never save this tag
};

// TagLib stops parsing a tag at the first frame it cannot make sense of, and
// a save would then keep only the frames before it. Walks the raw tag, and
// where TagLib stopped early hands it the tag without what it choked on, so
// that the file's in-memory tag holds all that could be read. Every read and
// every write of this program goes through here first.
TagReadState completeTag(TagLib::MPEG::File &file);
// The same for a tag that lies at offset in another container (an AIFF or
// WAV chunk).
TagReadState completeTag(TagLib::File &file, TagLib::ID3v2::Tag *tag, long offset);
