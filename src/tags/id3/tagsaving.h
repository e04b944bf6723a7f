#pragma once

#include "tags/savingoptions.h"
#include "tags/tagwriteresult.h"

#include <QString>

#include <taglib/id3v2.h>

#include <taglib/tstring.h>

namespace TagLib {
namespace ID3v2 {
class CommentsFrame;
class Tag;
} // namespace ID3v2
namespace MPEG {
class File;
}
} // namespace TagLib

// How the program's own fields land in an ID3v2 tag, and how a file is saved.
namespace TagSaving {

// A field the program owns is always written as a new frame: flags and the
// encoding byte of an old (perhaps damaged) frame must not decide whether the
// value is stored. An empty text leaves no frame.
void replaceTextFrame(TagLib::ID3v2::Tag *tag, const char *id, const TagLib::String &text);

// The first frame's text with the id, trimmed; empty without one.
QString firstText(const TagLib::ID3v2::Tag *tag, const char *id);

// A year or date is stored as given (empty: none), and the 2.3 frames that
// held the rest of the old date go with it. Given what the column shows of
// the stored date (its year, when the date is in no form the column holds),
// the date stays as stored, in a new frame.
void replaceYear(TagLib::ID3v2::Tag *tag, const QString &year);

// The Comment column is the plain, description-less comment; described ones
// belong to other programs (gapless playback, loudness).
const TagLib::ID3v2::CommentsFrame *plainComment(const TagLib::ID3v2::Tag *tag);
void replacePlainComment(TagLib::ID3v2::Tag *tag, const TagLib::String &text);

enum class Scope {
    AllTags,   // ID3v2 with its ID3v1 copy (and an APE tag the file has)
    ID3v2Only, // ID3v1 and APE are stripped
};

// Before an ID3v2 tag is saved, in any container: refuses tags that hold
// encrypted frames (TagLib would write them back unreadable), keeps the day
// and time of a 2.3 date that the upgrade would drop, and for a 2.3 save
// keeps only what the 2.3 date frames can hold, so the date read back is the
// one kept.
TagWriteError prepareId3v2(TagLib::ID3v2::Tag *tag, bool readFromFile, TagLib::ID3v2::Version version);
TagLib::ID3v2::Version id3v2Version(const SavingOptions &options);

// Saves an MPEG file as the options ask (ID3v2 version, ID3v1 copy). Makes
// the ID3v1 copy itself: TagLib's own duplication would delete ID3v2 frames
// it reads as empty.
TagWriteError saveTags(TagLib::MPEG::File &file, Scope scope, const SavingOptions &options);

} // namespace TagSaving
