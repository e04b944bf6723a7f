#include "tags/xiph/xiphlayout.h"

#include "tags/audioformat.h"

#include <QTextCodec>

namespace XiphLayout {

namespace {

constexpr int kStreamInfo = 0;
constexpr int kVorbisComment = 4;
constexpr int kPicture = 6;
constexpr int kInvalidType = 127;
constexpr qint64 kStreamInfoLength = 34;
constexpr int kBlockHeaderLength = 4;
constexpr int kId3v1Length = 128;

// Reads sizes and runs of bytes; once something runs past the end, every
// later read fails too, so a walk checks ok() only where it matters.
class Cursor
{
public:
    explicit Cursor(const QByteArray &bytes, qint64 at = 0)
        : m_bytes(bytes)
        , m_at(at)
        , m_ok(at <= bytes.size())
    {
    }

    bool ok() const { return m_ok; }
    qint64 left() const { return m_ok ? m_bytes.size() - m_at : 0; }
    char peek() const { return left() > 0 ? m_bytes.at(int(m_at)) : '\0'; }

    bool skip(qint64 count)
    {
        if (count < 0 || count > left())
            m_ok = false;
        else
            m_at += count;
        return m_ok;
    }

    QByteArray take(qint64 count)
    {
        const qint64 at = m_at;
        return skip(count) ? m_bytes.mid(int(at), int(count)) : QByteArray();
    }

    quint32 littleEndian32() { return number(false); }
    quint32 bigEndian32() { return number(true); }

private:
    quint32 number(bool bigEndian)
    {
        const qint64 at = m_at;
        if (!skip(4))
            return 0;
        quint32 value = 0;
        for (int i = 0; i < 4; ++i)
            value |= quint32(quint8(m_bytes.at(int(at + i)))) << (bigEndian ? 24 - 8 * i : 8 * i);
        return value;
    }

    const QByteArray &m_bytes;
    qint64 m_at;
    bool m_ok;
};

// TagLib turns text into UTF-16 on reading and back on saving: anything else
// would come back changed.
bool isUtf8(const QByteArray &text)
{
    QTextCodec::ConverterState state;
    QTextCodec::codecForMib(106)->toUnicode(text.constData(), text.size(), &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}

// Vendor, count and the comments; false when they run past the bytes or a
// comment has no '=' (TagLib drops those).
bool walkComments(Cursor &cursor, Contents &contents)
{
    if (!isUtf8(cursor.take(cursor.littleEndian32())))
        contents.readInPart = true;
    const quint32 count = cursor.littleEndian32();
    for (quint32 i = 0; i < count && cursor.ok(); ++i) {
        const QByteArray comment = cursor.take(cursor.littleEndian32());
        if (!cursor.ok() || !comment.contains('='))
            return false;
        ++contents.comments;
        if (!isUtf8(comment))
            contents.readInPart = true;
    }
    return cursor.ok();
}

bool commentBlockFills(const QByteArray &body, Contents &contents)
{
    Cursor cursor(body);
    return walkComments(cursor, contents) && cursor.left() == 0;
}

// Type, MIME type, description, width, height, depth, colours, data.
bool pictureFills(const QByteArray &body)
{
    Cursor cursor(body);
    cursor.skip(4);
    cursor.skip(cursor.bigEndian32());
    cursor.skip(cursor.bigEndian32());
    cursor.skip(16);
    cursor.skip(cursor.bigEndian32());
    return cursor.ok() && cursor.left() == 0;
}

struct BlockHeader
{
    int type = kInvalidType;
    bool last = true;
    qint64 length = 0;
};

BlockHeader blockHeader(const QByteArray &bytes, int at)
{
    BlockHeader header;
    if (bytes.size() < at + kBlockHeaderLength)
        return header;
    header.type = quint8(bytes.at(at)) & 0x7f;
    header.last = quint8(bytes.at(at)) & 0x80;
    header.length = (qint64(quint8(bytes.at(at + 1))) << 16) | (quint8(bytes.at(at + 2)) << 8) | quint8(bytes.at(at + 3));
    return header;
}

// The rules every chain of metadata blocks keeps, in a file or in Ogg packets.
class BlockChain
{
public:
    // STREAMINFO first and only there, no invalid type, at most one comment block.
    bool accepts(const BlockHeader &header)
    {
        const bool first = m_first;
        m_first = false;
        if (header.type == kInvalidType || first != (header.type == kStreamInfo))
            return false;
        if (first && header.length != kStreamInfoLength)
            return false;
        if (header.type == kVorbisComment && m_hasComment)
            return false;
        m_hasComment = m_hasComment || header.type == kVorbisComment;
        return true;
    }

    static bool holdsTags(int type) { return type == kVorbisComment || type == kPicture; }

    bool bodyAddsUp(int type, const QByteArray &body)
    {
        if (type == kVorbisComment)
            return commentBlockFills(body, contents);
        if (type == kPicture && !pictureFills(body))
            return false;
        contents.pictureBlocks += type == kPicture ? 1 : 0;
        return true;
    }

    Contents contents;

private:
    bool m_first = true;
    bool m_hasComment = false;
};

} // namespace

qint64 flacStart(QIODevice &file)
{
    qint64 at = 0;
    while (file.seek(at)) {
        const QByteArray head = file.read(10);
        if (head.startsWith("fLaC"))
            return at;
        const qint64 length = AudioFormats::id3v2Size(head);
        if (length == 0)
            break;
        at += length;
    }
    return -1;
}

qint64 id3v1Tail(QIODevice &file, qint64 flacStart)
{
    qint64 tail = 0;
    const qint64 size = file.size();
    while (size - tail - kId3v1Length > flacStart && file.seek(size - tail - kId3v1Length) && file.read(3) == "TAG")
        tail += kId3v1Length;
    return tail;
}

Contents flacMetadata(QIODevice &file)
{
    BlockChain chain;
    const qint64 start = flacStart(file);
    if (start < 0)
        return chain.contents;
    const qint64 size = file.size();
    qint64 at = start + 4;
    for (bool last = false; !last;) {
        if (!file.seek(at))
            return chain.contents;
        const BlockHeader header = blockHeader(file.read(kBlockHeaderLength), 0);
        at += kBlockHeaderLength + header.length;
        if (at > size || !chain.accepts(header))
            return chain.contents;
        if (BlockChain::holdsTags(header.type) && !chain.bodyAddsUp(header.type, file.read(header.length)))
            return chain.contents;
        last = header.last;
    }
    chain.contents.sound = true;
    return chain.contents;
}

Contents vorbisCommentPacket(const QByteArray &packet)
{
    Contents contents;
    Cursor cursor(packet);
    if (!packet.startsWith(QByteArrayLiteral("\x03vorbis")) || !cursor.skip(7))
        return contents;
    // The header ends in a framing bit.
    contents.sound = walkComments(cursor, contents) && cursor.left() > 0 && (cursor.peek() & 1);
    return contents;
}

Contents opusTagsPacket(const QByteArray &packet)
{
    Contents contents;
    Cursor cursor(packet);
    if (!packet.startsWith("OpusTags") || !cursor.skip(8))
        return contents;
    contents.sound = walkComments(cursor, contents);
    // Data behind the comments whose first bit is set is to be kept by
    // editors; TagLib's save drops it.
    if (contents.sound && (cursor.peek() & 1))
        contents.readInPart = true;
    return contents;
}

Contents oggFlacHeaders(const std::function<QByteArray(int)> &packet)
{
    BlockChain chain;
    // 0x7F "FLAC", version, count of header packets, "fLaC", then the STREAMINFO block.
    constexpr int kMappingLength = 13;
    const QByteArray mapping = packet(0);
    if (!mapping.startsWith("\x7f" "FLAC") || mapping.mid(9, 4) != "fLaC"
        || mapping.size() != kMappingLength + kBlockHeaderLength + kStreamInfoLength)
        return chain.contents;
    BlockHeader header = blockHeader(mapping, kMappingLength);
    if (!chain.accepts(header))
        return chain.contents;
    // Every further metadata block is a packet of its own.
    for (int index = 1; !header.last; ++index) {
        const QByteArray block = packet(index);
        header = blockHeader(block, 0);
        if (header.length != block.size() - kBlockHeaderLength || !chain.accepts(header))
            return chain.contents;
        if (BlockChain::holdsTags(header.type) && !chain.bodyAddsUp(header.type, block.mid(kBlockHeaderLength)))
            return chain.contents;
        if (header.type == kVorbisComment)
            chain.contents.commentPacket = index;
        if (header.type == kPicture)
            chain.contents.picturePackets << index;
    }
    chain.contents.sound = true;
    return chain.contents;
}

} // namespace XiphLayout
