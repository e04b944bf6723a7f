#include "tags/tagreaderandwriter.h"

#include "tags/coverimage.h"
#include "tags/savestream.h"
#include "tags/tagfamily.h"
#include "tags/tagfilename.h"

#include <QFileInfo>

#include <functional>

namespace {

const QString kPlaceholder = QStringLiteral(" ");
const QString kNotOpen = QStringLiteral("file is not open");

using Purpose = TagFamily::Purpose;

// What the readers give for a file that cannot be opened at all.
QString unreadable(Field field)
{
    return Fields::of(field).shape == Fields::Shape::Extra ? kNotOpen : kPlaceholder;
}

// A file open through its family; the stream outlives the family reading it.
struct OpenFile
{
    AudioFormat format = AudioFormat::Unknown;
    std::unique_ptr<TagLib::IOStream> stream;
    std::unique_ptr<TagFamily> tags;
};

// The format from the content, through the stream that will read the tags:
// one open of the file serves both.
AudioFormat sniff(TagLib::IOStream &stream)
{
    if (!stream.isOpen())
        return AudioFormat::Unknown;
    const AudioFormat format = AudioFormats::sniff([&stream](qint64 offset, int size) {
        stream.seek(long(offset));
        const TagLib::ByteVector bytes = stream.readBlock(static_cast<unsigned long>(size));
        return QByteArray(bytes.data(), int(bytes.size()));
    });
    // TagLib's RIFF reader starts wherever the stream stands.
    stream.seek(0);
    return format;
}

OpenFile openForReading(const QString &path)
{
    OpenFile file;
    file.stream = std::make_unique<TagLib::FileStream>(TagFileName(path), true);
    file.format = sniff(*file.stream);
    if (file.format != AudioFormat::Unknown)
        file.tags = TagFamily::open(path, file.format, Purpose::Read, file.stream.get());
    return file;
}

QString readField(const QString &path, Field field)
{
    const OpenFile file = openForReading(path);
    return file.tags ? file.tags->text(field) : unreadable(field);
}

// Why a file cannot take a write at all, before anything is changed. A
// family does not open a file of its format that TagLib finds invalid.
TagWriteError writeRefusal(const QString &path, AudioFormat format, TagFamily *file)
{
    if (!QFileInfo(path).isFile())
        return TagWriteError::FileMissing;
    if (!file)
        return format == AudioFormat::Unknown ? TagWriteError::NotAudio : TagWriteError::DamagedTags;
    return file->damage();
}

// What a save stored of the fields and the cover it was asked to write, so
// that the written file can be read back and compared before it counts.
struct Saved
{
    QMap<Field, QString> texts;
    std::optional<QByteArray> picture;

    static Saved of(const TagFamily &tags, const QList<Field> &fields, bool picture)
    {
        Saved saved;
        for (const Field field : fields)
            saved.texts.insert(field, tags.text(field));
        if (picture)
            saved.picture = tags.picture();
        return saved;
    }

    bool readBackFrom(const QString &written, AudioFormat format) const
    {
        TagLib::FileStream stream(TagFileName(written), true);
        const std::unique_ptr<TagFamily> tags = TagFamily::open(written, format, Purpose::Read, &stream);
        if (!tags)
            return false;
        return of(*tags, texts.keys(), picture.has_value()).texts == texts
            && (!picture || tags->picture() == *picture);
    }
};

// One open, the change and its save, rendered into a SaveStream; committed
// only when the fields and cover it wrote read back as saved. Refuses files
// that are no audio it knows and tags it could not read whole.
TagWriteResult modify(const QString &path, const QList<Field> &fields, bool picture,
                      const std::function<TagWriteError(TagFamily &)> &save)
{
    SaveStream stream(path);
    const AudioFormat format = sniff(stream);
    const std::unique_ptr<TagFamily> file =
        format == AudioFormat::Unknown ? nullptr : TagFamily::open(path, format, Purpose::Write, &stream);
    if (const TagWriteError refusal = writeRefusal(path, format, file.get()); refusal != TagWriteError::None)
        return {refusal};
    if (const TagWriteError error = save(*file); error != TagWriteError::None)
        return {error};
    const Saved saved = Saved::of(*file, fields, picture);
    return {stream.commit([&](const QString &written) { return saved.readBackFrom(written, format); })};
}

bool writeField(const QString &path, Field field, const QString &value)
{
    return bool(modify(path, {field}, false, [&](TagFamily &file) {
        file.setText(field, value);
        return file.save(SavingOptions::current());
    }));
}

} // namespace

TagReaderAndWriter::TagReaderAndWriter(QObject *parent)
    : QObject(parent)
{
}

QString TagReaderAndWriter::readTitle(const QString &path) { return readField(path, Field::Title); }
QString TagReaderAndWriter::readArtist(const QString &path) { return readField(path, Field::Artist); }
QString TagReaderAndWriter::readAlbum(const QString &path) { return readField(path, Field::Album); }
QString TagReaderAndWriter::readYear(const QString &path) { return readField(path, Field::Year); }
QString TagReaderAndWriter::readComment(const QString &path) { return readField(path, Field::Comment); }
QString TagReaderAndWriter::readTrack(const QString &path) { return readField(path, Field::Track); }
QString TagReaderAndWriter::readGenre(const QString &path) { return readField(path, Field::Genre); }
QString TagReaderAndWriter::readBPM(const QString &path) { return readField(path, Field::Bpm); }
QString TagReaderAndWriter::readComposer(const QString &path) { return readField(path, Field::Composer); }
QString TagReaderAndWriter::readGrouping(const QString &path) { return readField(path, Field::Grouping); }
QString TagReaderAndWriter::readLabel(const QString &path) { return readField(path, Field::Label); }
QString TagReaderAndWriter::readRemixer(const QString &path) { return readField(path, Field::Remixer); }
QString TagReaderAndWriter::readInitialKey(const QString &path) { return readField(path, Field::InitialKey); }

QImage TagReaderAndWriter::readCoverArt(const QString &path)
{
    const OpenFile file = openForReading(path);
    return file.tags ? QImage::fromData(file.tags->picture()) : QImage();
}

QByteArray TagReaderAndWriter::readCoverBytes(const QString &path)
{
    const OpenFile file = openForReading(path);
    return file.tags ? file.tags->picture() : QByteArray();
}

bool TagReaderAndWriter::writeTitle(const QString &path, const QString &value) { return writeField(path, Field::Title, value); }
bool TagReaderAndWriter::writeArtist(const QString &path, const QString &value) { return writeField(path, Field::Artist, value); }
bool TagReaderAndWriter::writeAlbum(const QString &path, const QString &value) { return writeField(path, Field::Album, value); }
bool TagReaderAndWriter::writeYear(const QString &path, const QString &value) { return writeField(path, Field::Year, value); }
bool TagReaderAndWriter::writeComment(const QString &path, const QString &value) { return writeField(path, Field::Comment, value); }
bool TagReaderAndWriter::writeTrack(const QString &path, const QString &value) { return writeField(path, Field::Track, value); }
bool TagReaderAndWriter::writeGenre(const QString &path, const QString &value) { return writeField(path, Field::Genre, value); }
bool TagReaderAndWriter::writeBPM(const QString &path, const QString &value) { return writeField(path, Field::Bpm, value); }
bool TagReaderAndWriter::writeComposer(const QString &path, const QString &value) { return writeField(path, Field::Composer, value); }
bool TagReaderAndWriter::writeGrouping(const QString &path, const QString &value) { return writeField(path, Field::Grouping, value); }
bool TagReaderAndWriter::writeLabel(const QString &path, const QString &value) { return writeField(path, Field::Label, value); }
bool TagReaderAndWriter::writeRemixer(const QString &path, const QString &value) { return writeField(path, Field::Remixer, value); }
bool TagReaderAndWriter::writeInitialKey(const QString &path, const QString &value) { return writeField(path, Field::InitialKey, value); }

namespace {

TagWriteResult writeRecord(const QString &path, const QMap<QString, QString> &fields,
                           const std::optional<CoverImage::Encoded> &cover)
{
    QList<Field> written;
    for (const Fields::Names &names : Fields::all()) {
        if (fields.contains(names.key))
            written << names.field;
    }
    return modify(path, written, cover.has_value(), [&](TagFamily &file) {
        for (const Field field : written)
            file.setText(field, fields.value(Fields::key(field)));
        if (cover)
            file.setPicture(*cover);
        return file.save(SavingOptions::current());
    });
}

} // namespace

TagWriteResult TagReaderAndWriter::writeCoverArt(const QString &path, const QImage &image)
{
    const std::optional<CoverImage::Encoded> cover = CoverImage::asJpeg(image);
    if (!cover)
        return {TagWriteError::PictureNotEncodable};
    return writeRecord(path, {}, cover);
}

TagWriteResult TagReaderAndWriter::removeSeratoData(const char *path)
{
    // The family refuses a damaged file itself, after reading it, and saves
    // only when there was something to remove.
    return modify(QString::fromUtf8(path), {}, false,
                  [](TagFamily &file) { return file.removeDjData(SavingOptions::current()).error; });
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
    const OpenFile file = openForReading(path);
    return file.tags ? CoverImage::decodeFitted(file.tags->picture(), TagKeys::kCoverFit) : QImage();
}

TagRecord TagReaderAndWriter::readRecord(const QString &path, bool decodeCover)
{
    TagRecord record;
    const OpenFile file = openForReading(path);
    record.format = file.format;
    for (const Fields::Names &names : Fields::all())
        record.fields.insert(names.key, file.tags ? file.tags->text(names.field) : unreadable(names.field));
    record.hasCover = file.tags && file.tags->hasPicture();
    if (decodeCover && record.hasCover)
        record.cover = CoverImage::decodeFitted(file.tags->picture(), TagKeys::kCoverFit);
    return record;
}

TagWriteResult TagReaderAndWriter::writeAll(const QString &path, const QMap<QString, QString> &fields,
                                            const std::optional<QImage> &cover)
{
    if (!cover)
        return writeRecord(path, fields, std::nullopt);
    const std::optional<CoverImage::Encoded> encoded = CoverImage::asJpeg(*cover);
    if (!encoded)
        return {TagWriteError::PictureNotEncodable};
    return writeRecord(path, fields, encoded);
}

TagWriteResult TagReaderAndWriter::writeAll(const QString &path, const QMap<QString, QString> &fields,
                                            const CoverImage::Encoded &cover)
{
    return writeRecord(path, fields, cover);
}
