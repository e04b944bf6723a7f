#include "common/mp3fixture.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImageWriter>

#include <taglib/apetag.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/generalencapsulatedobjectframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/privateframe.h>
#include <taglib/textidentificationframe.h>

#include <memory>

namespace Mp3Fixture {

namespace {

TagLib::ByteVector toBytes(const QByteArray &bytes)
{
    return TagLib::ByteVector(bytes.constData(), static_cast<unsigned int>(bytes.size()));
}

QByteArray fromBytes(const TagLib::ByteVector &bytes)
{
    return QByteArray(bytes.data(), static_cast<int>(bytes.size()));
}

std::unique_ptr<TagLib::MPEG::File> open(const QString &path)
{
    return std::make_unique<TagLib::MPEG::File>(QFile::encodeName(path).constData());
}

QByteArray bigEndian(quint32 value, bool synchsafe)
{
    const int shift = synchsafe ? 7 : 8;
    const quint32 mask = synchsafe ? 0x7f : 0xff;
    QByteArray out(4, '\0');
    for (int i = 3; i >= 0; --i, value >>= shift)
        out[i] = static_cast<char>(value & mask);
    return out;
}

} // namespace

QByteArray silentAudio(int frames)
{
    QByteArray frame(417, '\0');
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    return frame.repeated(frames);
}

QString createFile(const QString &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = QDir(dir).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

QString create(const QString &dir, const QString &name, int frames)
{
    return createFile(dir, name, silentAudio(frames));
}

TagLib::String toTag(const QString &text)
{
    return TagLib::String(text.toUtf8().constData(), TagLib::String::UTF8);
}

QString fromTag(const TagLib::String &text)
{
    return QString::fromStdWString(text.toWString());
}

TagLib::ID3v2::Frame *textFrame(const char *id, const QString &text)
{
    auto *frame = new TagLib::ID3v2::TextIdentificationFrame(id, TagLib::String::UTF8);
    frame->setText(toTag(text));
    return frame;
}

TagLib::ID3v2::Frame *commentFrame(const QString &text, const QString &description)
{
    auto *frame = new TagLib::ID3v2::CommentsFrame(TagLib::String::UTF8);
    frame->setLanguage("eng");
    frame->setDescription(toTag(description));
    frame->setText(toTag(text));
    return frame;
}

TagLib::ID3v2::Frame *geobFrame(const QString &description, const QByteArray &data)
{
    auto *frame = new TagLib::ID3v2::GeneralEncapsulatedObjectFrame;
    frame->setTextEncoding(TagLib::String::Latin1);
    frame->setMimeType("application/octet-stream");
    frame->setDescription(toTag(description));
    frame->setObject(toBytes(data));
    return frame;
}

TagLib::ID3v2::Frame *privFrame(const QString &owner, const QByteArray &data)
{
    auto *frame = new TagLib::ID3v2::PrivateFrame;
    frame->setOwner(toTag(owner));
    frame->setData(toBytes(data));
    return frame;
}

TagLib::ID3v2::Frame *txxxFrame(const QString &description, const QString &value)
{
    return new TagLib::ID3v2::UserTextIdentificationFrame(toTag(description), toTag(value));
}

TagLib::ID3v2::Frame *pictureFrame(const QByteArray &bytes, int type, const QString &mime)
{
    // The default constructor: the one taking bytes parses a whole raw frame.
    auto *frame = new TagLib::ID3v2::AttachedPictureFrame;
    frame->setMimeType(toTag(mime));
    frame->setType(static_cast<TagLib::ID3v2::AttachedPictureFrame::Type>(type));
    frame->setPicture(toBytes(bytes));
    return frame;
}

bool addFrames(const QString &path, const QList<TagLib::ID3v2::Frame *> &frames)
{
    auto file = open(path);
    TagLib::ID3v2::Tag *tag = file->isValid() ? file->ID3v2Tag(true) : nullptr;
    for (TagLib::ID3v2::Frame *frame : frames) {
        if (tag)
            tag->addFrame(frame);
        else
            delete frame;
    }
    return tag && file->save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone,
                             TagLib::ID3v2::v4, TagLib::File::DoNotDuplicate);
}

bool addFullTags(const QString &path, const QByteArray &cover)
{
    QList<TagLib::ID3v2::Frame *> frames = {
        textFrame("TIT2", QStringLiteral("Night Drive")),
        textFrame("TPE1", QStringLiteral("Ana Ruiz")),
        textFrame("TALB", QStringLiteral("Late Hours")),
        textFrame("TDRC", QStringLiteral("2019")),
        commentFrame(QStringLiteral("Warm-up set")),
        textFrame("TRCK", QStringLiteral("3/12")),
        textFrame("TCON", QStringLiteral("Deep House")),
        textFrame("TBPM", QStringLiteral("124")),
        textFrame("TCOM", QStringLiteral("J. Moreno")),
        textFrame("TIT1", QStringLiteral("Opening")),
        textFrame("TPUB", QStringLiteral("Nightshift Records")),
        textFrame("TPE4", QStringLiteral("K. Lee")),
        textFrame("TKEY", QStringLiteral("8A")),
    };
    if (!cover.isEmpty())
        frames << pictureFrame(cover);
    return addFrames(path, frames);
}

bool addId3v1(const QString &path, const QString &title)
{
    auto file = open(path);
    if (!file->isValid())
        return false;
    file->ID3v1Tag(true)->setTitle(toTag(title));
    return file->save(TagLib::MPEG::File::ID3v1, TagLib::File::StripNone, TagLib::ID3v2::v4,
                      TagLib::File::DoNotDuplicate);
}

bool addApe(const QString &path, const QString &title)
{
    auto file = open(path);
    if (!file->isValid())
        return false;
    file->APETag(true)->setTitle(toTag(title));
    return file->save(TagLib::MPEG::File::APE, TagLib::File::StripNone, TagLib::ID3v2::v4,
                      TagLib::File::DoNotDuplicate);
}

QByteArray rawFrame(const char *id, const QByteArray &body, int version, quint16 flags)
{
    return QByteArray(id, 4) + bigEndian(static_cast<quint32>(body.size()), version == 4)
        + char(flags >> 8) + char(flags & 0xff) + body;
}

QByteArray rawTextFrame(const char *id, char encoding, const QByteArray &text, int version)
{
    return rawFrame(id, QByteArray(1, encoding) + text, version);
}

QByteArray rawTag(const QList<QByteArray> &frames, int version, char flags,
                  const QByteArray &extendedHeader, int padding)
{
    QByteArray body = extendedHeader;
    for (const QByteArray &frame : frames)
        body += frame;
    body += QByteArray(padding, '\0');
    return QByteArray("ID3") + char(version) + '\0' + flags
        + bigEndian(static_cast<quint32>(body.size()), true) + body;
}

QString createRaw(const QString &dir, const QString &name, const QList<QByteArray> &frames,
                  int version, int audioFrames)
{
    return createFile(dir, name, rawTag(frames, version) + silentAudio(audioFrames));
}

QStringList frameDump(const QString &path, const char *id)
{
    QStringList dump;
    auto file = open(path);
    if (!file->isValid() || !file->hasID3v2Tag())
        return dump;
    const TagLib::ID3v2::Tag *tag = file->ID3v2Tag();
    for (const TagLib::ID3v2::Frame *frame : id ? tag->frameList(id) : tag->frameList()) {
        const QByteArray bytes = fromBytes(frame->render());
        const QByteArray shown = bytes.size() <= 64
            ? bytes.toHex()
            : QByteArray::number(bytes.size()) + " bytes, sha1 "
                + QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
        dump << QString::fromLatin1(fromBytes(frame->frameID()) + ' ' + shown);
    }
    return dump;
}

QStringList frameTexts(const QString &path, const char *id)
{
    QStringList texts;
    auto file = open(path);
    if (file->isValid() && file->hasID3v2Tag()) {
        for (const TagLib::ID3v2::Frame *frame : file->ID3v2Tag()->frameList(id))
            texts << fromTag(frame->toString());
    }
    return texts;
}

QList<QPair<QString, QString>> comments(const QString &path)
{
    QList<QPair<QString, QString>> found;
    auto file = open(path);
    if (file->isValid() && file->hasID3v2Tag()) {
        for (const TagLib::ID3v2::Frame *frame : file->ID3v2Tag()->frameList("COMM")) {
            if (auto *comment = dynamic_cast<const TagLib::ID3v2::CommentsFrame *>(frame))
                found << qMakePair(fromTag(comment->description()), fromTag(comment->text()));
        }
    }
    return found;
}

QList<Picture> pictures(const QString &path)
{
    QList<Picture> found;
    auto file = open(path);
    if (file->isValid() && file->hasID3v2Tag()) {
        for (const TagLib::ID3v2::Frame *frame : file->ID3v2Tag()->frameList("APIC")) {
            if (auto *apic = dynamic_cast<const TagLib::ID3v2::AttachedPictureFrame *>(frame))
                found << Picture{fromTag(apic->mimeType()), int(apic->type()),
                                 fromTag(apic->description()), fromBytes(apic->picture())};
        }
    }
    return found;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray id3v1(const QString &path)
{
    const QByteArray tail = readBytes(path).right(128);
    return tail.size() == 128 && tail.startsWith("TAG") ? tail : QByteArray();
}

QStringList id3v1Fields(const QString &path)
{
    if (id3v1(path).isEmpty())
        return {};
    TagLib::MPEG::File file(QFile::encodeName(path).constData(), false);
    const TagLib::ID3v1::Tag *tag = file.ID3v1Tag(false);
    if (!tag)
        return {};
    const auto text = [](const TagLib::String &s) { return QString::fromUtf8(s.toCString(true)).trimmed(); };
    return {text(tag->title()), text(tag->artist()), text(tag->album()), text(tag->comment()),
            text(tag->genre()), QString::number(tag->year()), QString::number(tag->track())};
}

bool hasApe(const QString &path)
{
    return readBytes(path).contains("APETAGEX");
}

int id3v2Version(const QString &path)
{
    const QByteArray head = readBytes(path).left(4);
    return head.startsWith("ID3") && head.size() == 4 ? head.at(3) : 0;
}

QByteArray hash(const QString &path)
{
    return QCryptographicHash::hash(readBytes(path), QCryptographicHash::Sha256);
}

QImage image(int width, int height, const QColor &color)
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(color);
    return img;
}

QByteArray encode(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    return writer.write(image) ? bytes : QByteArray();
}

QByteArray busyCoverJpeg(int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    for (int y = 0; y < size; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size; ++x)
            line[x] = qRgb(x % 256, y % 256, (x ^ y) % 256);
    }
    return encode(image);
}

} // namespace Mp3Fixture
