#include "table/bulktextpasses.h"

#include "operations/filenamepattern.h"
#include "operations/filenamerules.h"
#include "operations/textoperations.h"
#include "table/mediafiletablewidget.h"
#include "table/rowrecords.h"
#include "table/rowsave.h"
#include "tags/tagcolumns.h"
#include "tags/tagreaderandwriter.h"
#include "widgets/vrnotification.h"

#include <QDebug>
#include <QFileInfo>

using TagColumns::Kind;

BulkTextPasses::BulkTextPasses(MediaFileTableWidget *table, RowRecords *records)
    : m_table(table)
    , m_records(records)
{
}

bool BulkTextPasses::refuseEmptyList() const
{
    if (m_table->rowCount() > 0)
        return false;
    VrNotification::showNotification(QStringLiteral("File list is empty. Operation can not be performed."), Warning);
    return true;
}

void BulkTextPasses::removeSeratoTags()
{
    if (refuseEmptyList())
        return;
    QStringList locations;
    for (int r = 0; r < m_table->rowCount(); ++r)
        locations << m_table->locationOf(r);
    const FailureReport failures = RowSave::removeDjData(locations);
    if (failures.isEmpty())
        VrNotification::showNotification(QStringLiteral("Serato tags have been successfully removed!"), Success);
    else
        VrNotification::showNotification(failures.message(QStringLiteral("changed")), Error);
}

void BulkTextPasses::findAndReplace(const QStringList &columns, const QString &match, const QString &replacement)
{
    if (refuseEmptyList())
        return;
    rewriteColumns(columns, [&](const QString &text) {
        if (!text.contains(match, Qt::CaseSensitive))
            return text;
        return QString(text).replace(match, replacement, Qt::CaseSensitive);
    });
    VrNotification::showNotification(QStringLiteral("All Text has been successfully replaced!"), Success);
}

void BulkTextPasses::removeExtraSpaces(const QStringList &columns)
{
    if (refuseEmptyList())
        return;
    rewriteColumns(columns, [](const QString &text) { return text.simplified(); });
    VrNotification::showNotification(QStringLiteral("All extra spaces have been successfully removed!"), Success);
}

void BulkTextPasses::formatText(const QString &option, const QStringList &columns)
{
    if (refuseEmptyList())
        return;
    rewriteColumns(columns, [&](const QString &text) {
        return option == QLatin1String("Capitalize") ? toTitleCase(text) : TextOperations::formatText(option, text);
    });
    VrNotification::showNotification(QStringLiteral("Selected fields text is converted to \"%1\" successfully!")
                                         .arg(TextOperations::conversionName(option)),
                                     Success);
}

QString BulkTextPasses::toTitleCase(const QString &text)
{
    const QString converted = TextOperations::toTitleCase(text);
    qDebug().noquote() << converted;
    return converted;
}

void BulkTextPasses::setCell(int row, int column, const QString &text)
{
    if (QTableWidgetItem *item = m_table->item(row, column))
        item->setData(Qt::DisplayRole, text);
}

void BulkTextPasses::rewriteColumns(const QStringList &columns,
                                    const std::function<QString(const QString &)> &rewrite)
{
    const SortingPause pause(m_table);
    const QVector<TagColumns::Column> &all = TagColumns::all();
    for (int r = 0; r < m_table->rowCount(); ++r) {
        for (int c = 0; c < all.size(); ++c) {
            if (!columns.contains(all.at(c).key))
                continue;
            if (QTableWidgetItem *item = m_table->item(r, c))
                item->setData(Qt::DisplayRole, rewrite(item->text()));
        }
    }
}

QVector<FileRename> BulkTextPasses::renameFromTags(const QStringList &tags, const QString &separator)
{
    if (refuseEmptyList())
        return {};
    FailureReport failures;
    const QVector<FileRename> renames = renameRows(tags, separator, failures);
    if (failures.isEmpty())
        VrNotification::showNotification(
            QStringLiteral("File rename operation has been successfully completed for all possible rows!"), Success);
    else
        VrNotification::showNotification(failures.message(QStringLiteral("renamed")), Warning);
    return renames;
}

QVector<FileRename> BulkTextPasses::renameRows(const QStringList &tags, const QString &separator,
                                               FailureReport &failures)
{
    const SortingPause pause(m_table);
    QVector<FileRename> renames;
    for (int r = 0; r < m_table->rowCount(); ++r) {
        QStringList values;
        for (const QString &tag : tags) {
            if (const QTableWidgetItem *item = m_table->item(r, TagColumns::position(tag)))
                values.append(item->text());
        }
        // A row without a usable value for every tag keeps its name, as the
        // confirmation told the user.
        const QString baseName = FileNamePattern::baseNameFromValues(values, separator, tags.size());
        if (baseName.isEmpty())
            continue;
        const QString location = m_table->locationOf(r);
        const FileNameRules::RenameTarget target = FileNameRules::targetForBaseName(location, baseName);
        if (!target.ok || target.path == location)
            continue;
        const QString failure = renameRowFile(baseName, location, r);
        if (failure.isEmpty())
            renames.append({location, target.path});
        else
            failures.addFailure(location, failure);
    }
    return renames;
}

QString BulkTextPasses::renameRowFile(const QString &newBaseName, const QString &location, int row)
{
    const FileNameRules::RenameTarget target = FileNameRules::targetForBaseName(location, newBaseName);
    const QString failure = RowSave::rename(location, target);
    if (!failure.isEmpty())
        return failure;
    {
        // Not an edit: the file on disk already has its new name.
        const QSignalBlocker blocker(m_table);
        setCell(row, TagColumns::position(Kind::Location), target.path);
        setCell(row, TagColumns::position(Kind::FileName), QFileInfo(target.path).fileName());
    }
    m_records->rename(location, target.path);
    return QString();
}

void BulkTextPasses::tagsFromFileNames(const QStringList &tags, const QString &separator)
{
    if (refuseEmptyList())
        return;
    {
        const SortingPause pause(m_table);
        const int nameColumn = TagColumns::position(Kind::FileName);
        for (int r = 0; r < m_table->rowCount(); ++r) {
            if (const QTableWidgetItem *item = m_table->item(r, nameColumn))
                fillTagsFromFileName(item->text(), tags, separator, r);
        }
    }
    VrNotification::showNotification(QStringLiteral("Operation has been successfully performed!"), Success);
}

void BulkTextPasses::fillTagsFromFileName(const QString &fileName, const QStringList &tags,
                                          const QString &separator, int row)
{
    const auto values = FileNamePattern::valuesFromFileName(fileName, tags, separator);
    for (const auto &value : values)
        setCell(row, TagColumns::position(value.first), value.second);
}
