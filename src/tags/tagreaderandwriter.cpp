#include "tags/tagreaderandwriter.h"

#include "tags/coverimage.h"
#include "tags/tagfamily.h"

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

std::unique_ptr<TagFamily> openFile(const QString &path, Purpose purpose, AudioFormat *format = nullptr)
{
    const AudioFormat sniffed = AudioFormats::sniff(path);
    if (format)
        *format = sniffed;
    return TagFamily::open(path, sniffed, purpose);
}

QString readField(const QString &path, Field field)
{
    const std::unique_ptr<TagFamily> file = openFile(path, Purpose::Read);
    return file ? file->text(field) : unreadable(field);
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

// One open, a change, one save; refuses files that are no audio it knows and
// tags it could not read whole.
TagWriteResult modify(const QString &path, const std::function<void(TagFamily &)> &change)
{
    AudioFormat format = AudioFormat::Unknown;
    const std::unique_ptr<TagFamily> file = openFile(path, Purpose::Write, &format);
    if (const TagWriteError refusal = writeRefusal(path, format, file.get()); refusal != TagWriteError::None)
        return {refusal};
    change(*file);
    return {file->save(SavingOptions::current())};
}

bool writeField(const QString &path, Field field, const QString &value)
{
    return bool(modify(path, [&](TagFamily &file) { file.setText(field, value); }));
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
    const std::unique_ptr<TagFamily> file = openFile(path, Purpose::Read);
    return file ? QImage::fromData(file->picture()) : QImage();
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

// JPEG bytes of a cover to store; empty for no cover at all.
std::optional<QByteArray> coverBytes(const QImage &image)
{
    if (image.isNull())
        return QByteArray();
    const QByteArray jpeg = CoverImage::encodeJpeg(image);
    if (jpeg.isEmpty())
        return std::nullopt;
    return jpeg;
}

} // namespace

TagWriteResult TagReaderAndWriter::writeCoverArt(const QString &path, const QImage &image)
{
    const std::optional<QByteArray> jpeg = coverBytes(image);
    if (!jpeg)
        return {TagWriteError::PictureNotEncodable};
    return modify(path, [&](TagFamily &file) { file.setPicture(*jpeg); });
}

TagWriteResult TagReaderAndWriter::removeSeratoData(const char *path)
{
    const QString name = QString::fromUtf8(path);
    AudioFormat format = AudioFormat::Unknown;
    const std::unique_ptr<TagFamily> file = openFile(name, Purpose::Write, &format);
    if (!file)
        return {writeRefusal(name, format, nullptr)};
    return file->removeDjData(SavingOptions::current());
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
    const std::unique_ptr<TagFamily> file = openFile(path, Purpose::Read);
    return file ? CoverImage::decodeFitted(file->picture(), TagKeys::kCoverFit) : QImage();
}

TagRecord TagReaderAndWriter::readRecord(const QString &path, bool decodeCover)
{
    TagRecord record;
    const std::unique_ptr<TagFamily> file = openFile(path, Purpose::Read, &record.format);
    for (const Fields::Names &names : Fields::all())
        record.fields.insert(names.key, file ? file->text(names.field) : unreadable(names.field));
    record.hasCover = file && file->hasPicture();
    if (decodeCover && record.hasCover)
        record.cover = CoverImage::decodeFitted(file->picture(), TagKeys::kCoverFit);
    return record;
}

TagWriteResult TagReaderAndWriter::writeAll(const QString &path, const QMap<QString, QString> &fields,
                                            const std::optional<QImage> &cover)
{
    std::optional<QByteArray> jpeg;
    if (cover) {
        jpeg = coverBytes(*cover);
        if (!jpeg)
            return {TagWriteError::PictureNotEncodable};
    }
    return modify(path, [&](TagFamily &file) {
        for (const Fields::Names &names : Fields::all()) {
            const auto it = fields.constFind(names.key);
            if (it != fields.constEnd())
                file.setText(names.field, it.value());
        }
        if (jpeg)
            file.setPicture(*jpeg);
    });
}
