#include "table/rowsave.h"

#include "table/cellchecks.h"
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
    return fitForStorage(picture);
}

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
    std::optional<QImage> cover;
    if (edit.cover)
        cover = fitForStorage(*edit.cover);
    const TagWriteResult written = TagReaderAndWriter::writeAll(outcome.path, fields, cover);
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
