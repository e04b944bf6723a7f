#include "tags/id3/id3v2layout.h"

namespace Id3v2Layout {

namespace {

constexpr char kUnsynchronised = char(0x80);
constexpr char kExtendedHeader = 0x40;
constexpr char kFooter = 0x10;

quint32 bigEndian(const QByteArray &bytes, int at, int count, bool synchsafe)
{
    quint32 value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << (synchsafe ? 7 : 8)) | (quint8(bytes.at(at + i)) & (synchsafe ? 0x7f : 0xff));
    return value;
}

QByteArray synchsafe(quint32 value)
{
    QByteArray out(4, '\0');
    for (int i = 3; i >= 0; --i, value >>= 7)
        out[i] = char(value & 0x7f);
    return out;
}

// Every 0xFF 0x00 pair was 0xFF before unsynchronisation.
QByteArray resynchronised(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (int i = 0; i < bytes.size(); ++i) {
        out += bytes.at(i);
        if (bytes.at(i) == char(0xff) && i + 1 < bytes.size() && bytes.at(i + 1) == 0)
            ++i;
    }
    return out;
}

bool isIdChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

class Walker
{
public:
    explicit Walker(const Layout &layout)
        : m_area(layout.frameArea)
        , m_version(layout.version)
        , m_headerSize(layout.version == 2 ? 6 : 10)
        , m_idSize(layout.version == 2 ? 3 : 4)
    {
    }

    int headerSize() const { return m_headerSize; }

    // The body size, as TagLib reads it (including its allowance for tags
    // whose 2.4 frame sizes were written as plain integers).
    quint32 bodySize(int pos) const
    {
        if (m_version == 2)
            return bigEndian(m_area, pos + 3, 3, false);
        if (m_version == 3)
            return bigEndian(m_area, pos + 4, 4, false);
        quint32 size = bigEndian(m_area, pos + 4, 4, true);
        if (size > 127 && !validIdAt(qint64(pos) + m_headerSize + size)) {
            const quint32 plain = bigEndian(m_area, pos + 4, 4, false);
            if (validIdAt(qint64(pos) + m_headerSize + plain))
                size = plain;
        }
        return size;
    }

    // A header whose frame fits in the tag; what follows a header that does
    // not is taken for padding or damage, as TagLib takes it.
    bool fitsAt(int pos) const
    {
        if (pos + m_headerSize > m_area.size())
            return false;
        for (int i = 0; i < m_idSize; ++i) {
            const bool lastOfItunesId = m_version == 3 && i == 3;
            if (m_area.at(pos + i) == 0 && !lastOfItunesId)
                return false;
        }
        return qint64(pos) + m_headerSize + bodySize(pos) <= m_area.size();
    }

    bool readableAt(int pos) const { return fitsAt(pos) && stateAt(pos) != FrameState::Unreadable; }

    // Bytes that only fit as a frame count as one when what follows them is
    // the tag's end, padding or a frame TagLib reads: otherwise they are
    // taken for damage rather than a frame that would be lost.
    bool followedByTagStructure(int pos) const
    {
        return pos + m_headerSize > m_area.size() || m_area.at(pos) == 0 || readableAt(pos);
    }

    FrameState stateAt(int pos) const
    {
        const quint32 size = bodySize(pos);
        const bool lengthIndicator = m_version == 4 && (m_area.at(pos + 9) & 0x01);
        if (size == 0 || (lengthIndicator && size <= 4))
            return FrameState::Empty;
        // A 2.3 tag may carry 2.2 frames as "XYZ\0", which TagLib converts.
        const int checked = m_version == 3 && m_area.at(pos + 3) == 0 ? 3 : m_idSize;
        for (int i = 0; i < checked; ++i) {
            if (!isIdChar(m_area.at(pos + i)))
                return FrameState::Unreadable;
        }
        return FrameState::Readable;
    }

private:
    bool validIdAt(qint64 pos) const
    {
        if (pos < 0 || pos + 4 > m_area.size())
            return false;
        for (int i = 0; i < 4; ++i) {
            if (!isIdChar(m_area.at(int(pos) + i)))
                return false;
        }
        return true;
    }

    const QByteArray &m_area;
    const int m_version;
    const int m_headerSize;
    const int m_idSize;
};

int firstNonZero(const QByteArray &bytes, int from)
{
    for (int i = from; i < bytes.size(); ++i) {
        if (bytes.at(i) != 0)
            return i;
    }
    return -1;
}

} // namespace

int tagSize(const QByteArray &header)
{
    if (header.size() < 10 || !header.startsWith("ID3"))
        return -1;
    const char version = header.at(3);
    if (version < 2 || version > 4)
        return -1;
    return int(bigEndian(header, 6, 4, true));
}

Layout scan(const QByteArray &header, const QByteArray &body)
{
    Layout layout;
    if (tagSize(header) < 0)
        return layout;
    layout.version = header.at(3);
    layout.revision = header.at(4);
    layout.flags = header.at(5);

    QByteArray area = body;
    if (layout.version < 4 && (layout.flags & kUnsynchronised))
        area = resynchronised(area);
    if (layout.version >= 3 && (layout.flags & kExtendedHeader) && area.size() >= 4) {
        // 2.3 counts the size field out of the size, 2.4 (synchsafe) counts it in.
        const qint64 size = layout.version == 3 ? qint64(bigEndian(area, 0, 4, false)) + 4
                                                : qint64(bigEndian(area, 0, 4, true));
        if (size >= 6 && size <= area.size()) {
            area.remove(0, int(size));
            layout.hasExtendedHeader = true;
        }
    }
    layout.frameArea = area;

    const Walker walker(layout);
    int pos = 0;
    while (pos + walker.headerSize() <= area.size()) {
        if (area.at(pos) == 0) {
            const int next = firstNonZero(area, pos);
            if (next < 0 || !walker.readableAt(next))
                break; // padding
            layout.skippedZeros = true;
            pos = next;
            continue;
        }
        if (!walker.fitsAt(pos))
            break; // a frame running past the tag's end, or bytes that are no frame
        const int length = walker.headerSize() + int(walker.bodySize(pos));
        const FrameState state = walker.stateAt(pos);
        if (state == FrameState::Unreadable && !walker.followedByTagStructure(pos + length))
            break;
        layout.frames.append({pos, length, state});
        pos += length;
    }
    return layout;
}

QByteArray readableTag(const Layout &layout)
{
    QByteArray frames;
    for (const RawFrame &frame : layout.frames) {
        if (frame.state == FrameState::Readable)
            frames += layout.frameArea.mid(frame.offset, frame.length);
    }
    // Only a 2.4 tag keeps its unsynchronisation flag: there it tells how each
    // frame is stored; earlier versions were undone as a whole by scan().
    char flags = layout.flags & ~(kExtendedHeader | kFooter);
    if (layout.version < 4)
        flags &= ~kUnsynchronised;
    QByteArray tag("ID3");
    tag += char(layout.version);
    tag += layout.revision;
    tag += flags;
    tag += synchsafe(quint32(frames.size()));
    return tag + frames;
}

} // namespace Id3v2Layout
