#include "tags/xiph/xiphtags.h"

#include "tags/tagfilename.h"
#include "tags/xiph/xiphlayout.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/oggflacfile.h>
#include <taglib/opusfile.h>
#include <taglib/tfilestream.h>
#include <taglib/vorbisfile.h>
#include <taglib/xiphcomment.h>

#include <optional>

namespace XiphTags {

namespace {

using TagLib::Ogg::XiphComment;

constexpr int kPaddingBlock = 1;
constexpr int kCommentBlock = 4;
constexpr char kLastBlock = char(0x80);
constexpr unsigned int kMaxBlockLength = 0xffffff;

QByteArray bytesOf(const TagLib::ByteVector &data)
{
    return QByteArray(data.data(), int(data.size()));
}

// Owned by whoever it is added to (TagLib's file or comment).
// Bits per pixel, as the FLAC picture block counts them.
int colorDepth(QImage::Format format)
{
    if (format == QImage::Format_Grayscale8)
        return 8;
    return QImage::toPixelFormat(format).alphaUsage() == QPixelFormat::UsesAlpha ? 32 : 24;
}

TagLib::FLAC::Picture *frontCover(const CoverImage::Encoded &cover)
{
    auto *picture = new TagLib::FLAC::Picture;
    picture->setType(TagLib::FLAC::Picture::FrontCover);
    picture->setMimeType(CoverImage::mimeType(cover.format));
    picture->setData(TagLib::ByteVector(cover.bytes.constData(), unsigned(cover.bytes.size())));
    QBuffer buffer;
    buffer.setData(cover.bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, cover.format == CoverImage::Format::Png ? "png" : "jpeg");
    const QSize size = reader.size(); // from the header, nothing decoded
    if (size.isValid()) {
        picture->setWidth(size.width());
        picture->setHeight(size.height());
        picture->setColorDepth(colorDepth(reader.imageFormat()));
    }
    return picture;
}

QByteArray firstPicture(const TagLib::List<TagLib::FLAC::Picture *> &pictures)
{
    return pictures.isEmpty() ? QByteArray() : bytesOf(pictures.front()->data());
}

// The FLAC stream inside a file, without the ID3 tags other programs put in
// front and at the end: TagLib would render those anew on every save (as
// ID3v2.4, without what it cannot parse), and they are not ours to change.
class FlacWindow : public TagLib::IOStream
{
public:
    FlacWindow(TagLib::IOStream &file, qint64 start, qint64 tail)
        : m_file(file)
        , m_start(long(start))
        , m_tail(long(tail))
    {
    }

    TagLib::FileName name() const override { return m_file.name(); }
    bool readOnly() const override { return m_file.readOnly(); }
    bool isOpen() const override { return m_file.isOpen(); }
    void clear() override { m_file.clear(); }
    long tell() const override { return m_file.tell() - m_start; }
    long length() override { return fileLength() - m_start - m_tail; }

    TagLib::ByteVector readBlock(unsigned long count) override
    {
        const long left = length() - tell();
        return left > 0 ? m_file.readBlock(std::min(count, static_cast<unsigned long>(left))) : TagLib::ByteVector();
    }

    void writeBlock(const TagLib::ByteVector &data) override
    {
        m_file.writeBlock(data);
        m_fileLength = -1;
    }

    void insert(const TagLib::ByteVector &data, unsigned long start, unsigned long replace) override
    {
        m_file.insert(data, start + m_start, replace);
        m_fileLength = -1;
    }

    void removeBlock(unsigned long start, unsigned long count) override
    {
        m_file.removeBlock(start + m_start, count);
        m_fileLength = -1;
    }

    void seek(long offset, Position from) override
    {
        switch (from) {
        case Beginning:
            m_file.seek(m_start + offset);
            return;
        case Current:
            m_file.seek(offset, Current);
            return;
        case End:
            m_file.seek(m_start + length() + offset);
            return;
        }
    }

    // What lies behind the window stays.
    void truncate(long newLength) override
    {
        const long cut = length() - newLength;
        if (cut > 0)
            removeBlock(static_cast<unsigned long>(newLength), static_cast<unsigned long>(cut));
    }

private:
    // TagLib's stream finds its length by seeking to the end and back, which
    // drops its read buffer: asked on every read, that tripled the reads.
    long fileLength()
    {
        if (m_fileLength < 0)
            m_fileLength = m_file.length();
        return m_fileLength;
    }

    TagLib::IOStream &m_file;
    const long m_start;
    const long m_tail;
    long m_fileLength = -1;
};

// The text fields and the Serato data, which every file of the family keeps
// in its Vorbis comment.
class CommentTags : public TagFamily
{
public:
    QString text(Field field) const override
    {
        const Fields::Names &names = Fields::of(field);
        const TagLib::Ogg::FieldListMap &map = m_comment->fieldListMap();
        for (const QString &name : names.vorbis) {
            const auto found = map.find(TagStrings::toTag(name).upper());
            if (found == map.end() || found->second.isEmpty())
                continue;
            QStringList values;
            for (const TagLib::String &value : found->second)
                values << TagStrings::fromTag(value);
            const QString shown = values.join(QStringLiteral("; "));
            return names.shape == Fields::Shape::Number ? Fields::shownNumber(field, shown) : shown;
        }
        return Fields::absent(field);
    }

    void setText(Field field, const QString &value) override
    {
        const Fields::Names &names = Fields::of(field);
        const std::optional<QString> stored = Fields::storedText(field, value);
        if (!stored)
            return;
        for (int i = 0; i < names.vorbis.size(); ++i) {
            const TagLib::String key = TagStrings::toTag(names.vorbis.at(i)).upper();
            if (stored->isEmpty())
                m_comment->removeFields(key);
            else if (i == 0 || m_comment->contains(key)) // no two names may disagree
                m_comment->addField(key, TagStrings::toTag(*stored), true);
        }
    }

    TagWriteResult removeDjData(const SavingOptions &options) override
    {
        const TagWriteError refused = damage();
        if (refused != TagWriteError::None)
            return {refused};
        TagLib::StringList serato;
        for (const auto &entry : m_comment->fieldListMap()) {
            if (TagStrings::fromTag(entry.first).startsWith(QLatin1String("SERATO_"), Qt::CaseInsensitive))
                serato.append(entry.first);
        }
        if (serato.isEmpty())
            return {};
        for (const TagLib::String &key : serato)
            m_comment->removeFields(key);
        return {save(options)};
    }

protected:
    // Null for a file TagLib could not read: damage() refuses it.
    void setComment(XiphComment *comment)
    {
        m_comment = comment ? comment : &m_noComment;
        m_heldAtOpening = int(m_comment->pictureList().size());
        for (const auto &entry : m_comment->fieldListMap())
            m_heldAtOpening += int(entry.second.size());
    }

    XiphComment &comment() const { return *m_comment; }

    // Valid to TagLib, sound in its bytes, and TagLib holding as many
    // comments and pictures as the bytes do: the comment's as opened, plus
    // heldBlocks (pictures of its own blocks), against found in the bytes.
    TagWriteError verdict(bool valid, const XiphLayout::Contents &raw, int heldBlocks, int found) const
    {
        if (!valid || !raw.sound)
            return TagWriteError::DamagedTags;
        if (raw.readInPart || m_heldAtOpening + heldBlocks < found)
            return TagWriteError::IncompleteTag;
        return TagWriteError::None;
    }

private:
    XiphComment m_noComment;
    XiphComment *m_comment = &m_noComment;
    int m_heldAtOpening = 0;
};

class FlacTags : public CommentTags
{
public:
    static std::unique_ptr<TagFamily> open(const QString &path, bool readOnly, TagLib::IOStream *stream)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return nullptr;
        // Without "fLaC" right behind the ID3v2 tags, TagLib searches for it
        // itself; damage() then refuses every write.
        qint64 start = XiphLayout::flacStart(file);
        const qint64 tail = start < 0 ? 0 : XiphLayout::id3v1Tail(file, start);
        start = qMax<qint64>(start, 0);
        file.close();
        std::unique_ptr<FlacTags> tags(new FlacTags(path, *stream, start, tail));
        if (!tags->m_window->isOpen() || (readOnly && !tags->m_file->isValid()))
            return nullptr;
        return tags;
    }

    bool hasPicture() const override
    {
        return !m_file->pictureList().isEmpty() || !comment().pictureList().isEmpty();
    }

    QByteArray picture() const override
    {
        const QByteArray block = firstPicture(m_file->pictureList());
        return block.isEmpty() ? firstPicture(comment().pictureList()) : block;
    }

    void setPicture(const CoverImage::Encoded &cover) override
    {
        m_file->removePictures();
        comment().removeAllPictures();
        if (!cover.bytes.isEmpty())
            m_file->addPicture(frontCover(cover));
    }

    TagWriteError damage() override
    {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly))
            return TagWriteError::SaveFailed;
        const XiphLayout::Contents raw = XiphLayout::flacMetadata(file);
        // An ID3 tag TagLib still sees inside the stream would be rendered anew.
        const bool valid = m_file->isValid() && !m_file->hasID3v1Tag() && !m_file->hasID3v2Tag();
        return verdict(valid, raw, m_heldPictureBlocks, raw.comments + raw.pictureBlocks);
    }

    TagWriteError save(const SavingOptions &) override
    {
        return m_file->save() ? TagWriteError::None : TagWriteError::SaveFailed;
    }

private:
    FlacTags(const QString &path, TagLib::IOStream &stream, qint64 start, qint64 tail)
        : m_path(path)
        , m_window(std::make_unique<FlacWindow>(stream, start, tail))
    {
        if (!m_window->isOpen())
            return;
        // Audio properties are never shown from here, and a save needs none.
        m_file = std::make_unique<TagLib::FLAC::File>(m_window.get(), TagLib::ID3v2::FrameFactory::instance(), false);
        m_heldPictureBlocks = int(m_file->pictureList().size());
        setComment(m_file->isValid() ? m_file->xiphComment() : nullptr);
    }

    const QString m_path;
    std::unique_ptr<FlacWindow> m_window;
    std::unique_ptr<TagLib::FLAC::File> m_file; // goes before the window
    int m_heldPictureBlocks = 0;
};

// Ogg Vorbis, Opus and Ogg FLAC: the comment is one packet of the stream.
class OggTags : public CommentTags
{
public:
    template <typename OggFile>
    static std::unique_ptr<TagFamily> open(AudioFormat format, bool readOnly, TagLib::IOStream *stream)
    {
        if (!stream->isOpen())
            return nullptr;
        auto file = std::make_unique<OggFile>(stream, false);
        if (readOnly && !file->isValid())
            return nullptr;
        XiphComment *comment = file->isValid() ? file->tag() : nullptr;
        return std::unique_ptr<TagFamily>(new OggTags(std::move(file), comment, format));
    }

    bool hasPicture() const override
    {
        return !comment().pictureList().isEmpty() || !pictureBlock().isEmpty();
    }

    QByteArray picture() const override
    {
        const QByteArray inComment = firstPicture(comment().pictureList());
        if (!inComment.isEmpty())
            return inComment;
        TagLib::FLAC::Picture block;
        const QByteArray body = pictureBlock();
        return !body.isEmpty() && block.parse(TagLib::ByteVector(body.constData(), unsigned(body.size())))
                   ? bytesOf(block.data())
                   : QByteArray();
    }

    void setPicture(const CoverImage::Encoded &cover) override
    {
        comment().removeAllPictures();
        m_dropPictureBlocks = true;
        if (!cover.bytes.isEmpty())
            comment().addPicture(frontCover(cover));
    }

    TagWriteError damage() override
    {
        const XiphLayout::Contents &raw = layout();
        // Ogg FLAC picture blocks are packets TagLib neither reads nor writes.
        return verdict(m_file->isValid(), raw, 0, raw.comments);
    }

    TagWriteError save(const SavingOptions &) override
    {
        if (m_format == AudioFormat::OggFlac)
            return saveOggFlac();
        return m_file->save() ? TagWriteError::None : TagWriteError::SaveFailed;
    }

private:
    OggTags(std::unique_ptr<TagLib::Ogg::File> file, XiphComment *comment, AudioFormat format)
        : m_file(std::move(file))
        , m_format(format)
    {
        setComment(comment);
    }

    // Walked once, before anything changed.
    const XiphLayout::Contents &layout() const
    {
        if (!m_layout) {
            if (m_format == AudioFormat::OggVorbis)
                m_layout = XiphLayout::vorbisCommentPacket(packet(1));
            else if (m_format == AudioFormat::OggOpus)
                m_layout = XiphLayout::opusTagsPacket(packet(1));
            else
                m_layout = XiphLayout::oggFlacHeaders([this](int index) { return packet(index); });
        }
        return *m_layout;
    }

    QByteArray packet(int index) const { return bytesOf(m_file->packet(unsigned(index))); }

    // The body of Ogg FLAC's first picture block, unless the pictures were replaced.
    QByteArray pictureBlock() const
    {
        if (m_format != AudioFormat::OggFlac || m_dropPictureBlocks || layout().picturePackets.isEmpty())
            return QByteArray();
        return packet(layout().picturePackets.constFirst()).mid(4);
    }

    TagLib::ByteVector metadataBlock(int type, int replacedPacket, const TagLib::ByteVector &body) const
    {
        TagLib::ByteVector block = TagLib::ByteVector::fromUInt(body.size());
        block[0] = char(type | (packet(replacedPacket).at(0) & kLastBlock));
        block.append(body);
        return block;
    }

    // TagLib's own save of Ogg FLAC takes the last-block mark off the comment
    // block (decoders then read the audio as metadata), and overwrites the
    // stream's first packet when there is no comment block.
    TagWriteError saveOggFlac()
    {
        const XiphLayout::Contents &blocks = layout();
        const TagLib::ByteVector body = comment().render(false);
        if (!blocks.sound || blocks.commentPacket < 0 || body.size() > kMaxBlockLength)
            return TagWriteError::SaveFailed;
        m_file->setPacket(unsigned(blocks.commentPacket), metadataBlock(kCommentBlock, blocks.commentPacket, body));
        if (m_dropPictureBlocks) {
            for (const int index : blocks.picturePackets)
                m_file->setPacket(unsigned(index), metadataBlock(kPaddingBlock, index, TagLib::ByteVector()));
        }
        return m_file->TagLib::Ogg::File::save() ? TagWriteError::None : TagWriteError::SaveFailed;
    }

    std::unique_ptr<TagLib::Ogg::File> m_file;
    const AudioFormat m_format;
    mutable std::optional<XiphLayout::Contents> m_layout;
    bool m_dropPictureBlocks = false;
};

} // namespace

std::unique_ptr<TagFamily> open(const QString &path, AudioFormat format, TagFamily::Purpose purpose,
                                TagLib::IOStream *stream)
{
    const bool readOnly = purpose == TagFamily::Purpose::Read;
    switch (format) {
    case AudioFormat::Flac:
        return FlacTags::open(path, readOnly, stream);
    case AudioFormat::OggVorbis:
        return OggTags::open<TagLib::Ogg::Vorbis::File>(format, readOnly, stream);
    case AudioFormat::OggOpus:
        return OggTags::open<TagLib::Ogg::Opus::File>(format, readOnly, stream);
    case AudioFormat::OggFlac:
        return OggTags::open<TagLib::Ogg::FLAC::File>(format, readOnly, stream);
    default:
        break;
    }
    return nullptr;
}

} // namespace XiphTags
