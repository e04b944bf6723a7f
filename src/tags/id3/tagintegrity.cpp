#include "tags/id3/tagintegrity.h"

#include "tags/id3/id3v2layout.h"

#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tbytevectorstream.h>

#include <algorithm>
#include <vector>

using Id3v2Layout::FrameState;

namespace {

constexpr int kHeaderSize = 10;

QByteArray fromBytes(const TagLib::ByteVector &bytes)
{
    return QByteArray(bytes.data(), int(bytes.size()));
}

// Where TagLib found the tag: at the start, or after junk before the audio.
long tagOffset(TagLib::MPEG::File &file)
{
    file.seek(0);
    if (file.readBlock(3) == TagLib::ByteVector("ID3"))
        return 0;
    const long audio = file.firstFrameOffset();
    if (audio <= 0)
        return -1;
    file.seek(0);
    return file.readBlock(static_cast<unsigned long>(audio)).find("ID3");
}

bool allZero(const TagLib::ByteVector &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; });
}

// Without an extended header or tag-wide unsynchronisation TagLib's frames
// lie where its sizes say; zeros after the last one mean it read them all.
// Saves reading large tags twice in the common case.
bool parsedToTheEnd(TagLib::File &file, TagLib::ID3v2::Tag *tag, long offset, const QByteArray &header, int size)
{
    const int version = header.at(3);
    const char flags = header.at(5);
    if ((flags & 0x40) || (version < 4 && (flags & 0x80)))
        return false;
    qint64 consumed = 0;
    for (const TagLib::ID3v2::Frame *frame : tag->frameList())
        consumed += frame->size() + TagLib::ID3v2::Frame::headerSize(static_cast<unsigned int>(version));
    if (consumed > size)
        return false;
    file.seek(offset + kHeaderSize + long(consumed));
    return allZero(file.readBlock(static_cast<unsigned long>(size - consumed)));
}

// Moves the frames TagLib parsed from the readable copy into the file's tag,
// which then renders them (and only them) when the file is saved.
bool adoptFrames(TagLib::ID3v2::Tag *target, const QByteArray &copy, int expected)
{
    // Zeros behind the copy, so nothing there passes for an ID3v1 or APE tag.
    const QByteArray bytes = copy + QByteArray(256, '\0');
    TagLib::ByteVectorStream stream(TagLib::ByteVector(bytes.constData(), static_cast<unsigned int>(bytes.size())));
    TagLib::MPEG::File parsed(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    TagLib::ID3v2::Tag *source = parsed.ID3v2Tag();
    if (!parsed.hasID3v2Tag() || !source || int(source->frameList().size()) != expected)
        return false;

    // Copies of TagLib's frame lists share its ownership: take bare pointers.
    const auto pointers = [](const TagLib::ID3v2::FrameList &list) {
        return std::vector<TagLib::ID3v2::Frame *>(list.begin(), list.end());
    };
    for (TagLib::ID3v2::Frame *frame : pointers(target->frameList()))
        target->removeFrame(frame, true);
    for (TagLib::ID3v2::Frame *frame : pointers(source->frameList())) {
        source->removeFrame(frame, false);
        target->addFrame(frame);
    }
    return true;
}

} // namespace

TagReadState completeTag(TagLib::MPEG::File &file)
{
    if (!file.isValid() || !file.hasID3v2Tag())
        return TagReadState::Complete;
    const long offset = tagOffset(file);
    if (offset < 0)
        return TagReadState::Complete;
    return completeTag(file, file.ID3v2Tag(), offset);
}

TagReadState completeTag(TagLib::File &file, TagLib::ID3v2::Tag *tag, long offset)
{
    file.seek(offset);
    const QByteArray header = fromBytes(file.readBlock(kHeaderSize));
    const int size = Id3v2Layout::tagSize(header);
    if (size < 0 || uint(header.at(3)) != tag->header()->majorVersion())
        return TagReadState::Complete;
    if (parsedToTheEnd(file, tag, offset, header, size))
        return TagReadState::Complete;

    file.seek(offset + kHeaderSize);
    const Id3v2Layout::Layout layout = Id3v2Layout::scan(header, fromBytes(file.readBlock(uint(size))));
    const auto count = [&](FrameState state) {
        return int(std::count_if(layout.frames.cbegin(), layout.frames.cend(),
                                 [state](const Id3v2Layout::RawFrame &f) { return f.state == state; }));
    };
    const int readable = count(FrameState::Readable);
    const int parsed = int(tag->frameList().size());
    if (readable == layout.frames.size() && parsed == readable)
        return TagReadState::Complete;

    if (!adoptFrames(tag, Id3v2Layout::readableTag(layout), readable))
        return TagReadState::Partial;
    return count(FrameState::Unreadable) > 0 ? TagReadState::Partial : TagReadState::Repaired;
}
