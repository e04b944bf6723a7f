#include "table/rowsave.h"

#include "table/cellchecks.h"
#include "table/coveroriginals.h"
#include "tags/savingoptions.h"
#include "tags/tagfields.h"
#include "tags/tagreaderandwriter.h"

#include <QFile>
#include <QFileInfo>

namespace RowSave {

QString rename(const QString &from, const FileNameRules::RenameTarget &target)
{
    if (!target.ok)
        return QStringLiteral("the name was refused");
    // Only the listed file is ever moved, never a folder put in its place.
    if (!QFileInfo(from).isFile())
        return QStringLiteral("the file is gone");
    if (QFile::rename(from, target.path))
        return QString();
    return QFileInfo::exists(target.path) ? QStringLiteral("the name is already taken")
                                          : QStringLiteral("it could not be renamed");
}

QImage fitForStorage(const QImage &picture)
{
    if (picture.isNull())
        return picture;
    return picture.scaled(TagKeys::kCoverFit, TagKeys::kCoverFit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QImage fitForTable(const QImage &picture)
{
    if (picture.width() <= TagKeys::kCoverFit && picture.height() <= TagKeys::kCoverFit)
        return picture;
    const QImage fitted = fitForStorage(picture);
    CoverOriginals::carry(picture, fitted);
    return fitted;
}

namespace {

// What a new cover is stored as; empty bytes (a null picture) remove every
// picture, none when it cannot be encoded.
std::optional<CoverImage::Encoded> storedCover(const QImage &picture, SavingOptions::Covers covers)
{
    if (covers == SavingOptions::Covers::FitTo400)
        return CoverImage::asJpeg(fitForStorage(picture));
    const std::optional<QByteArray> original = CoverOriginals::originalOf(picture);
    if (!original)
        return CoverImage::asJpeg(picture);
    if (const std::optional<CoverImage::Format> format = CoverImage::storableFormat(*original))
        return CoverImage::Encoded{*original, *format};
    // The table's picture may be a fitted copy: the original gives the full size.
    const QImage full = QImage::fromData(*original);
    return CoverImage::asJpeg(full.isNull() ? picture : full);
}

} // namespace

RowSaveOutcome save(const RowEdit &edit)
{
    RowSaveOutcome outcome;
    outcome.path = edit.path;
    const QString currentName = QFileInfo(edit.path).fileName();
    if (edit.fileName && *edit.fileName != currentName) {
        const FileNameRules::RenameTarget target = FileNameRules::targetForTypedName(edit.path, *edit.fileName);
        // "a" for "a.flac": the name the file already has.
        if (target.path != edit.path)
            outcome.failure = rename(edit.path, target);
        if (outcome.ok())
            outcome.path = target.path;
        outcome.keepChanges = !outcome.ok();
    }

    QMap<QString, QString> fields = edit.fields;
    for (auto it = fields.begin(); it != fields.end();) {
        if (CellChecks::isStorable(it.key(), it.value())) {
            ++it;
        } else {
            outcome.leftAlone << it.key();
            it = fields.erase(it);
        }
    }
    if (fields.isEmpty() && !edit.cover)
        return outcome;
    TagWriteResult written;
    if (!edit.cover) {
        written = TagReaderAndWriter::writeAll(outcome.path, fields);
    } else if (const auto cover = storedCover(*edit.cover, SavingOptions::current().covers)) {
        written = TagReaderAndWriter::writeAll(outcome.path, fields, *cover);
    } else {
        written = {TagWriteError::PictureNotEncodable};
    }
    if (!written) {
        if (outcome.ok())
            outcome.failure = written.reason();
        outcome.keepChanges = true;
    }
    return outcome;
}

FailureReport removeDjData(const QStringList &locations)
{
    FailureReport failures;
    for (const QString &location : locations) {
        const TagWriteResult result = TagReaderAndWriter::removeSeratoData(location.toUtf8().constData());
        if (!result)
            failures.addFailure(location, result.reason());
    }
    return failures;
}

} // namespace RowSave
