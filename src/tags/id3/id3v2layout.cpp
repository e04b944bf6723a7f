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

int firstNonZero(const QByteArray &bytes, int from)
{
    for (int i = from; i < bytes.size(); ++i) {
        if (bytes.at(i) != 0)
            return i;
    }
    return -1;
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
        if (size > 127 && !plainIdAt(qint64(pos) + m_headerSize + size)) {
            const quint32 plain = bigEndian(m_area, pos + 4, 4, false);
            if (plainIdAt(qint64(pos) + m_headerSize + plain))
                size = plain;
        }
        return size;
    }

    // A header whose frame lies wholly inside the tag.
    bool sizeFitsAt(int pos) const
    {
        return pos + m_headerSize <= m_area.size() && qint64(pos) + m_headerSize + bodySize(pos) <= m_area.size();
    }

    int lengthAt(int pos) const { return m_headerSize + int(bodySize(pos)); }

    // A frame id TagLib accepts. A 2.3 tag may carry 2.2 frames as "XYZ\0",
    // which TagLib converts.
    bool validIdAt(int pos) const
    {
        const int checked = m_version == 3 && m_area.at(pos + 3) == 0 ? 3 : m_idSize;
        for (int i = 0; i < checked; ++i) {
            if (!isIdChar(m_area.at(pos + i)))
                return false;
        }
        return true;
    }

    bool readableAt(int pos) const { return sizeFitsAt(pos) && validIdAt(pos); }

    // Bytes that only fit as a frame count as one when what follows them is
    // the tag's end, padding or a frame TagLib reads (perhaps after stray
    // zeros): otherwise they are taken for damage rather than a frame.
    bool followedByTagStructure(int pos) const
    {
        if (pos + m_headerSize > m_area.size() || readableAt(pos))
            return true;
        if (m_area.at(pos) != 0)
            return false;
        const int next = firstNonZero(m_area, pos);
        return next < 0 || readableAt(next);
    }

    // A frame at pos, of any id, that the walk can step over.
    bool frameAt(int pos) const
    {
        return sizeFitsAt(pos) && (validIdAt(pos) || followedByTagStructure(pos + lengthAt(pos)));
    }

    // A frame TagLib reads that ends where the tag's structure goes on: what
    // stray zeros must lead to for the walk to go on behind them.
    bool anchoredFrameAt(int pos) const
    {
        return readableAt(pos) && followedByTagStructure(pos + lengthAt(pos));
    }

    // The first such frame holding data from pos on, -1 when there is none:
    // where the walk goes on behind bytes it could not step over.
    int nextDataFrame(int pos) const
    {
        for (; pos + m_headerSize <= m_area.size(); ++pos) {
            if (isIdChar(m_area.at(pos)) && anchoredFrameAt(pos) && stateAt(pos) == FrameState::Readable)
                return pos;
        }
        return -1;
    }

    FrameState stateAt(int pos) const
    {
        const quint32 size = bodySize(pos);
        const bool lengthIndicator = m_version == 4 && (m_area.at(pos + 9) & 0x01);
        if (size == 0 || (lengthIndicator && size <= 4))
            return FrameState::Empty;
        return validIdAt(pos) ? FrameState::Readable : FrameState::Unreadable;
    }

private:
    bool plainIdAt(qint64 pos) const
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
            if (next < 0)
                break; // padding
            if (walker.anchoredFrameAt(next)) {
                layout.skippedZeros = true;
                pos = next;
                continue;
            }
        } else if (walker.frameAt(pos)) {
            const int length = walker.lengthAt(pos);
            layout.frames.append({pos, length, walker.stateAt(pos)});
            pos += length;
            continue;
        }
        // Bytes that are no frame end the tag, as padding or damage, unless
        // frames follow them: those are kept, and the bytes in between count
        // as a frame that could not be read, so the tag is never saved
        // without them.
        const int resume = walker.nextDataFrame(pos + 1);
        if (resume < 0)
            break;
        layout.frames.append({pos, resume - pos, FrameState::Unreadable});
        pos = resume;
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
