#pragma once

#include <QByteArray>
#include <QList>

// The frames of a raw ID3v2 tag as they lie in the file, found by a walk that
// is more forgiving than TagLib's parser: TagLib stops at the first frame it
// cannot make sense of, and a save would then drop everything behind it.
namespace Id3v2Layout {

enum class FrameState {
    Readable,   // TagLib parses it
    Empty,      // holds nothing (size 0, or only a data-length indicator)
    Unreadable, // holds data, but TagLib would stop at it (e.g. a bad frame id),
                // or bytes that are no frame with frames behind them
};

struct RawFrame
{
    int offset = 0; // within Layout::frameArea
    int length = 0; // header and body
    FrameState state = FrameState::Readable;
};

struct Layout
{
    int version = 0;      // 2, 3 or 4; 0 when the header is no ID3v2 header
    char revision = 0;
    char flags = 0;
    // The frames and padding: after the extended header, with a tag-wide
    // unsynchronisation undone where it applies to the whole tag (2.2, 2.3).
    QByteArray frameArea;
    QList<RawFrame> frames;
    bool skippedZeros = false; // stray zero bytes between frames
    bool hasExtendedHeader = false;
};

// header: the tag's 10 header bytes; body: the tagSize bytes after it.
Layout scan(const QByteArray &header, const QByteArray &body);

// The tag's size field (synchsafe), or -1 when header is no ID3v2 header.
int tagSize(const QByteArray &header);

// A tag of the readable frames alone, without extended header, footer and
// stray bytes, in a form TagLib parses whole.
QByteArray readableTag(const Layout &layout);

} // namespace Id3v2Layout
