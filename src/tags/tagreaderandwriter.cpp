#include "tags/tagreaderandwriter.h"

#include "tags/coverimage.h"
#include "tags/id3/tagintegrity.h"
#include "tags/id3/tagsaving.h"
#include "tags/textencoding.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <taglib/apetag.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/fileref.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>

#include <functional>

namespace {

const QString kPlaceholder = QStringLiteral(" ");
const QString kNotOpen = QStringLiteral("file is not open");

// Hands a path to TagLib as the platform expects it: wide on Windows, in the
// file system's own encoding elsewhere. Keeps the bytes alive for the call.
class TagFileName
{
public:
    explicit TagFileName(const QString &path)
#ifdef Q_OS_WIN
        : m_name(path.toStdWString())
#else
        : m_name(QFile::encodeName(path))
#endif
    {
    }

    operator TagLib::FileName() const
    {
#ifdef Q_OS_WIN
        return TagLib::FileName(m_name.c_str());
#else
        return m_name.constData();
#endif
    }

private:
#ifdef Q_OS_WIN
    std::wstring m_name;
#else
    QByteArray m_name;
#endif
};

TagLib::String toTagString(const QString &text)
{
    return TagLib::String(text.toUtf8().constData(), TagLib::String::UTF8);
}

QString fromTagString(const TagLib::String &text)
{
    return QString::fromUtf8(text.toCString(true));
}

// Text fields that other software stores in the tag's own form come back as
// they are; UTF-8 stored as Latin-1 (by older writers) is repaired.
QString fromGenericTagString(const TagLib::String &text)
{
    return TextEncoding::repairDoubleEncodedUtf8(fromTagString(text));
}

enum class Field { Title, Artist, Album, Year, Comment, Track, Genre, Frame };

struct FieldInfo
{
    Field field;
    const char *frameId; // the ID3v2 frame the field is stored in
};

// The frames TagLib's format-neutral interface reads and writes go through
// it (they have ID3v1 and APE twins); every other field is its own frame.
Field accessOf(const char *frameId)
{
    static const QMap<QByteArray, Field> generic = {
        {"TIT2", Field::Title}, {"TPE1", Field::Artist}, {"TALB", Field::Album}, {"TDRC", Field::Year},
        {"COMM", Field::Comment}, {"TRCK", Field::Track}, {"TCON", Field::Genre},
    };
    return generic.value(QByteArray(frameId), Field::Frame);
}

// By column key, as the column registry lists the text fields.
FieldInfo fieldInfo(const QString &key)
{
    const int position = TagColumns::position(key);
    Q_ASSERT(position >= 0 && TagColumns::all().at(position).kind == TagColumns::Kind::Text);
    const char *frameId = TagColumns::all().at(position).frameId;
    return {accessOf(frameId), frameId};
}

// The Comment column is the plain, description-less comment. TagLib's generic
// comment falls back to any comment frame, which would show (and, once
// edited, store) another program's data such as gapless-playback values.
QString readComment(TagLib::FileRef &ref)
{
    if (auto *mpeg = dynamic_cast<TagLib::MPEG::File *>(ref.file())) {
        TagLib::ID3v2::Tag *tag = mpeg->ID3v2Tag(false);
        if (tag && !tag->frameList("COMM").isEmpty()) {
            const auto *plain = TagSaving::plainComment(tag);
            return plain ? fromGenericTagString(plain->toString()) : QString();
        }
    }
    return fromGenericTagString(ref.tag()->comment());
}

QString readGeneric(TagLib::FileRef &ref, Field field)
{
    const TagLib::Tag &tag = *ref.tag();
    switch (field) {
    case Field::Title:
        return fromGenericTagString(tag.title());
    case Field::Artist:
        return fromGenericTagString(tag.artist());
    case Field::Album:
        return fromGenericTagString(tag.album());
    case Field::Comment:
        return readComment(ref);
    case Field::Genre:
        return fromGenericTagString(tag.genre());
    case Field::Year:
        return QString::number(tag.year(), 10);
    case Field::Track:
        return QString::number(tag.track(), 10);
    case Field::Frame:
        break;
    }
    Q_UNREACHABLE();
    return QString();
}

QString readFrame(TagLib::MPEG::File &file, const char *frameId)
{
    if (!file.isOpen())
        return kNotOpen;
    TagLib::ID3v2::Tag *tag = file.ID3v2Tag(false);
    if (!tag)
        return kPlaceholder;
    const TagLib::ID3v2::FrameList &frames = tag->frameListMap()[frameId];
    if (frames.isEmpty())
        return kPlaceholder;
    return fromTagString(frames.front()->toString());
}

// Through the format-neutral interface, as the generic readers are meant to
// read; an MPEG file's ID3v2 tag is completed first.
class GenericFile
{
public:
    explicit GenericFile(const QString &path)
        : m_ref(TagFileName(path), true, TagLib::AudioProperties::Average)
    {
        if (auto *mpeg = dynamic_cast<TagLib::MPEG::File *>(m_ref.file()))
            completeTag(*mpeg);
    }

    bool hasTag() const { return !m_ref.isNull() && m_ref.tag(); }
    TagLib::FileRef &ref() { return m_ref; }

private:
    TagLib::FileRef m_ref;
};

QString readGenericField(const QString &path, Field field)
{
    GenericFile file(path);
    return file.hasTag() ? readGeneric(file.ref(), field) : kPlaceholder;
}

QString readFrameField(const QString &path, const char *frameId)
{
    TagLib::MPEG::File file(TagFileName(path), true, TagLib::AudioProperties::Average);
    completeTag(file);
    return readFrame(file, frameId);
}

void setFrameText(TagLib::MPEG::File &file, const char *frameId, const QString &value)
{
    TagLib::ID3v2::Tag *tag = file.ID3v2Tag(true);
    tag->removeFrames(frameId);
    auto *frame = new TagLib::ID3v2::TextIdentificationFrame(frameId, TagLib::String::Latin1);
    frame->setText(toTagString(value));
    tag->addFrame(frame);
}

// A generic field lands in a new ID3v2 frame and, as TagLib's format-neutral
// setter would put it, in the file's ID3v1 copy and APE tag.
void setGenericField(TagLib::MPEG::File &file, const FieldInfo &info, const QString &value)
{
    const TagLib::String text = toTagString(value);
    // Negative numbers are no year or track either.
    const int number = std::max(0, value.toInt(nullptr, 10));

    QList<TagLib::Tag *> others = {file.ID3v1Tag(true)};
    if (TagLib::APE::Tag *ape = file.APETag(false))
        others << ape;
    for (TagLib::Tag *other : qAsConst(others)) {
        switch (info.field) {
        case Field::Title: other->setTitle(text); break;
        case Field::Artist: other->setArtist(text); break;
        case Field::Album: other->setAlbum(text); break;
        case Field::Comment: other->setComment(text); break;
        case Field::Genre: other->setGenre(text); break;
        case Field::Year: other->setYear(uint(number)); break;
        case Field::Track: other->setTrack(uint(number)); break;
        case Field::Frame: break;
        }
    }

    TagLib::ID3v2::Tag *id3v2 = file.ID3v2Tag(true);
    if (info.field == Field::Comment)
        TagSaving::replacePlainComment(id3v2, text);
    else if (info.field == Field::Year || info.field == Field::Track)
        TagSaving::replaceTextFrame(id3v2, info.frameId, number > 0 ? TagLib::String::number(number) : TagLib::String());
    else
        TagSaving::replaceTextFrame(id3v2, info.frameId, text);
}

void setField(TagLib::MPEG::File &file, const FieldInfo &info, const QString &value)
{
    if (info.field == Field::Frame)
        setFrameText(file, info.frameId, value);
    else
        setGenericField(file, info, value);
}

// TagLib happily "opens" any file as MPEG and its save would prepend an ID3v2
// tag and append an ID3v1 tag: a WAV or text file under an .mp3 name would be
// damaged. Only files with real MPEG audio frames are written. The audio
// properties, read on opening, already searched for the first frame: a file
// without one has no sample rate.
bool isWritableMpeg(TagLib::MPEG::File &file)
{
    const TagLib::AudioProperties *audio = file.audioProperties();
    return file.isOpen() && file.isValid() && !file.readOnly() && audio && audio->sampleRate() > 0;
}

// Why a file cannot take a write at all, before anything is changed. A tag
// read only in part would be saved with only that part.
TagWriteError writeRefusal(const QString &path, TagLib::MPEG::File &file)
{
    if (!QFileInfo(path).isFile())
        return TagWriteError::FileMissing;
    if (!isWritableMpeg(file))
        return TagWriteError::NotAudio;
    return completeTag(file) == TagReadState::Partial ? TagWriteError::IncompleteTag : TagWriteError::None;
}

// One open, a change, one save; refuses files that are not MPEG audio.
TagWriteResult modifyMpeg(const QString &path, const std::function<void(TagLib::MPEG::File &)> &change)
{
    TagLib::MPEG::File file(TagFileName(path), true, TagLib::AudioProperties::Average);
    if (const TagWriteError refusal = writeRefusal(path, file); refusal != TagWriteError::None)
        return {refusal};
    change(file);
    return {TagSaving::saveTags(file, TagSaving::Scope::AllTags)};
}

bool writeField(const QString &path, const char *frameId, const QString &value)
{
    const FieldInfo info{accessOf(frameId), frameId};
    return bool(modifyMpeg(path, [&](TagLib::MPEG::File &file) { setField(file, info, value); }));
}

void setCover(TagLib::MPEG::File &file, const QByteArray &jpeg)
{
    TagLib::ID3v2::Tag *tag = file.ID3v2Tag(true);
    tag->removeFrames("APIC");
    if (jpeg.isEmpty())
        return;
    // The default constructor: the one taking bytes parses them as a frame.
    auto *frame = new TagLib::ID3v2::AttachedPictureFrame;
    frame->setMimeType("image/jpeg");
    frame->setPicture(TagLib::ByteVector(jpeg.constData(), static_cast<unsigned int>(jpeg.size())));
    frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    tag->addFrame(frame);
}

QByteArray firstPictureBytes(TagLib::MPEG::File &file)
{
    TagLib::ID3v2::Tag *tag = file.ID3v2Tag(true);
    const TagLib::ID3v2::FrameList &pictures = tag->frameList("APIC");
    if (pictures.isEmpty())
        return QByteArray();
    auto *picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame *>(pictures.front());
    if (!picture)
        return QByteArray();
    const TagLib::ByteVector data = picture->picture();
    return QByteArray(data.data(), static_cast<int>(data.size()));
}

} // namespace

TagReaderAndWriter::TagReaderAndWriter(QObject *parent)
    : QObject(parent)
{
}

QString TagReaderAndWriter::readTitle(const QString &path) { return readGenericField(path, Field::Title); }
QString TagReaderAndWriter::readArtist(const QString &path) { return readGenericField(path, Field::Artist); }
QString TagReaderAndWriter::readAlbum(const QString &path) { return readGenericField(path, Field::Album); }
QString TagReaderAndWriter::readYear(const QString &path) { return readGenericField(path, Field::Year); }
QString TagReaderAndWriter::readComment(const QString &path) { return readGenericField(path, Field::Comment); }
QString TagReaderAndWriter::readTrack(const QString &path) { return readGenericField(path, Field::Track); }
QString TagReaderAndWriter::readGenre(const QString &path) { return readGenericField(path, Field::Genre); }
QString TagReaderAndWriter::readBPM(const QString &path) { return readFrameField(path, "TBPM"); }
QString TagReaderAndWriter::readComposer(const QString &path) { return readFrameField(path, "TCOM"); }
QString TagReaderAndWriter::readGrouping(const QString &path) { return readFrameField(path, "TIT1"); }
QString TagReaderAndWriter::readLabel(const QString &path) { return readFrameField(path, "TPUB"); }
QString TagReaderAndWriter::readRemixer(const QString &path) { return readFrameField(path, "TPE4"); }
QString TagReaderAndWriter::readInitialKey(const QString &path) { return readFrameField(path, "TKEY"); }

QImage TagReaderAndWriter::readCoverArt(const QString &path)
{
    TagLib::MPEG::File file(TagFileName(path), true, TagLib::AudioProperties::Average);
    completeTag(file);
    return QImage::fromData(firstPictureBytes(file));
}

bool TagReaderAndWriter::writeTitle(const QString &path, const QString &value) { return writeField(path, "TIT2", value); }
bool TagReaderAndWriter::writeArtist(const QString &path, const QString &value) { return writeField(path, "TPE1", value); }
bool TagReaderAndWriter::writeAlbum(const QString &path, const QString &value) { return writeField(path, "TALB", value); }
bool TagReaderAndWriter::writeYear(const QString &path, const QString &value) { return writeField(path, "TDRC", value); }
bool TagReaderAndWriter::writeComment(const QString &path, const QString &value) { return writeField(path, "COMM", value); }
bool TagReaderAndWriter::writeTrack(const QString &path, const QString &value) { return writeField(path, "TRCK", value); }
bool TagReaderAndWriter::writeGenre(const QString &path, const QString &value) { return writeField(path, "TCON", value); }
bool TagReaderAndWriter::writeBPM(const QString &path, const QString &value) { return writeField(path, "TBPM", value); }
bool TagReaderAndWriter::writeComposer(const QString &path, const QString &value) { return writeField(path, "TCOM", value); }
bool TagReaderAndWriter::writeGrouping(const QString &path, const QString &value) { return writeField(path, "TIT1", value); }
bool TagReaderAndWriter::writeLabel(const QString &path, const QString &value) { return writeField(path, "TPUB", value); }
bool TagReaderAndWriter::writeRemixer(const QString &path, const QString &value) { return writeField(path, "TPE4", value); }
bool TagReaderAndWriter::writeInitialKey(const QString &path, const QString &value) { return writeField(path, "TKEY", value); }

TagWriteResult TagReaderAndWriter::writeCoverArt(const QString &path, const QImage &image)
{
    QByteArray jpeg;
    if (!image.isNull()) {
        jpeg = CoverImage::encodeJpeg(image);
        if (jpeg.isEmpty())
            return {TagWriteError::PictureNotEncodable};
    }
    return modifyMpeg(path, [&](TagLib::MPEG::File &file) { setCover(file, jpeg); });
}

TagWriteResult TagReaderAndWriter::removeSeratoData(const char *path)
{
    const QString name = QString::fromUtf8(path);
    TagLib::MPEG::File file(TagFileName(name), true, TagLib::AudioProperties::Average);
    if (const TagWriteError refusal = writeRefusal(name, file); refusal != TagWriteError::None)
        return {refusal};

    // Only the frames that themselves mention the DJ application: others with
    // the same id (comments, pictures, other tools' objects) stay.
    TagLib::ID3v2::Tag *tag = file.ID3v2Tag(true);
    bool removedAny = false;
    for (bool removed = true; removed;) {
        removed = false;
        // By reference: a copy would share TagLib's owning list and delete
        // every frame when it goes out of scope.
        const TagLib::ID3v2::FrameList &frames = tag->frameList();
        for (TagLib::ID3v2::Frame *frame : frames) {
            if (fromTagString(frame->toString()).contains(QLatin1String("Serato"), Qt::CaseSensitive)) {
                tag->removeFrame(frame);
                removed = removedAny = true;
                break;
            }
        }
    }

    // A file with nothing to remove is left as it is; one whose ID3v2 tag
    // kept every frame loses only its ID3v1 and APE tags, and its ID3v2 tag
    // is not rewritten for that.
    if (removedAny)
        return {TagSaving::saveTags(file, TagSaving::Scope::ID3v2Only)};
    if (!file.hasID3v1Tag() && !file.hasAPETag())
        return {};
    const bool stripped = file.strip(TagLib::MPEG::File::ID3v1 | TagLib::MPEG::File::APE, true);
    return {stripped ? TagWriteError::None : TagWriteError::SaveFailed};
}

TagRecord TagReaderAndWriter::readAll(const QString &path)
{
    return readRecord(path, true);
}

TagRecord TagReaderAndWriter::readTags(const QString &path)
{
    return readRecord(path, false);
}

QImage TagReaderAndWriter::readCoverFitted(const QString &path)
{
    TagLib::MPEG::File file(TagFileName(path), false);
    completeTag(file);
    return CoverImage::decodeFitted(firstPictureBytes(file), TagKeys::kCoverFit);
}

TagRecord TagReaderAndWriter::readRecord(const QString &path, bool decodeCover)
{
    TagRecord record;
    const QStringList &keys = TagKeys::textFields();

    // Generic fields as the single readers see them (through the
    // format-neutral interface); the same MPEG file then serves the frames.
    GenericFile generic(path);
    auto *mpeg = dynamic_cast<TagLib::MPEG::File *>(generic.ref().file());
    std::unique_ptr<TagLib::MPEG::File> ownMpeg;
    if (!mpeg) {
        ownMpeg = std::make_unique<TagLib::MPEG::File>(TagFileName(path), true, TagLib::AudioProperties::Average);
        mpeg = ownMpeg.get();
        completeTag(*mpeg);
    }

    for (const QString &key : keys) {
        const FieldInfo info = fieldInfo(key);
        if (info.field == Field::Frame)
            record.fields.insert(key, readFrame(*mpeg, info.frameId));
        else
            record.fields.insert(key, generic.hasTag() ? readGeneric(generic.ref(), info.field) : kPlaceholder);
    }
    record.hasCover = !mpeg->ID3v2Tag(true)->frameList("APIC").isEmpty();
    if (decodeCover && record.hasCover)
        record.cover = CoverImage::decodeFitted(firstPictureBytes(*mpeg), TagKeys::kCoverFit);
    return record;
}

TagWriteResult TagReaderAndWriter::writeAll(const QString &path, const QMap<QString, QString> &fields,
                                            const std::optional<QImage> &cover)
{
    QByteArray jpeg;
    if (cover && !cover->isNull()) {
        jpeg = CoverImage::encodeJpeg(*cover);
        if (jpeg.isEmpty())
            return {TagWriteError::PictureNotEncodable};
    }
    return modifyMpeg(path, [&](TagLib::MPEG::File &file) {
        for (const QString &key : TagKeys::textFields()) {
            const auto it = fields.constFind(key);
            if (it != fields.constEnd())
                setField(file, fieldInfo(key), it.value());
        }
        if (cover)
            setCover(file, jpeg);
    });
}
