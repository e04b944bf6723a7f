#include "table/bulktextpasses.h"

#include "operations/filenamepattern.h"
#include "operations/filenamerules.h"
#include "operations/textoperations.h"
#include "table/mediafiletablewidget.h"
#include "table/rowrecords.h"
#include "table/rowsave.h"
#include "tags/audioformat.h"
#include "tags/fields.h"
#include "tags/tagcolumns.h"
#include "tags/tagreaderandwriter.h"
#include "widgets/previewdialog.h"
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
    // Cells holding the match, not cells changed: they differ only when the
    // match is replaced by itself, and then "Nothing matched" would be wrong.
    int matched = 0;
    rewriteColumns(columns, [&](const QString &text) {
        if (!text.contains(match, Qt::CaseSensitive))
            return text;
        ++matched;
        return QString(text).replace(match, replacement, Qt::CaseSensitive);
    });
    if (matched == 0)
        VrNotification::showNotification(QStringLiteral("Nothing matched."), Info);
    else
        VrNotification::showNotification(matched == 1 ? QStringLiteral("Replaced in 1 cell.")
                                                      : QStringLiteral("Replaced in %1 cells.").arg(matched),
                                         Success);
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

namespace {

// What a pass did, and, for cells left alone, "2 cells hold no key and were
// left as they are."
void tellRewritten(const QString &done, int unread, const QString &noun)
{
    QString message = done;
    if (unread == 1)
        message += QStringLiteral(" 1 cell holds no %1 and was left as it is.").arg(noun);
    else if (unread > 1)
        message += QStringLiteral(" %1 cells hold no %2 and were left as they are.").arg(unread).arg(noun);
    VrNotification::showNotification(message, unread > 0 ? Warning : Success);
}

} // namespace

BulkTextPasses::Rewritten BulkTextPasses::rewriteReadable(
    const QString &column, const std::function<std::optional<QString>(const QString &)> &convert)
{
    Rewritten counts;
    rewriteColumns({column}, [&](const QString &text) {
        if (text.trimmed().isEmpty())
            return text;
        const std::optional<QString> converted = convert(text);
        if (!converted) {
            ++counts.unread;
            return text;
        }
        counts.changed += *converted != text;
        return *converted;
    });
    return counts;
}

void BulkTextPasses::convertKeys(KeyNotation notation)
{
    if (refuseEmptyList())
        return;
    const Rewritten counts = rewriteReadable(Fields::key(Field::InitialKey), [&](const QString &text) {
        const std::optional<MusicKey::Key> key = MusicKey::parse(text);
        return key ? std::optional<QString>(MusicKey::format(*key, notation)) : std::nullopt;
    });
    const QString name = MusicKey::notationName(notation);
    tellRewritten(counts.changed == 1 ? QStringLiteral("1 key converted to %1.").arg(name)
                                      : QStringLiteral("%1 keys converted to %2.").arg(counts.changed).arg(name),
                  counts.unread, QStringLiteral("key"));
}

void BulkTextPasses::normaliseBpm(BpmValue::Precision precision, std::optional<BpmValue::Range> fold)
{
    if (refuseEmptyList())
        return;
    const Rewritten counts = rewriteReadable(Fields::key(Field::Bpm), [&](const QString &text) {
        return BpmValue::normalise(text, precision, fold);
    });
    tellRewritten(counts.changed == 1 ? QStringLiteral("1 tempo normalised.")
                                      : QStringLiteral("%1 tempos normalised.").arg(counts.changed),
                  counts.unread, QStringLiteral("tempo"));
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

QVector<RenamePreview::RowTexts> BulkTextPasses::rowTexts(const QStringList &tags) const
{
    const int nameColumn = TagColumns::position(Kind::FileName);
    QVector<RenamePreview::RowTexts> rows;
    rows.reserve(m_table->rowCount());
    for (int r = 0; r < m_table->rowCount(); ++r) {
        RenamePreview::RowTexts row{m_table->locationOf(r), QString(), {}};
        if (const QTableWidgetItem *item = m_table->item(r, nameColumn))
            row.fileName = item->text();
        for (const QString &tag : tags) {
            if (const QTableWidgetItem *item = m_table->item(r, TagColumns::position(tag)))
                row.cells.insert(tag, item->text());
        }
        rows.append(row);
    }
    return rows;
}

bool BulkTextPasses::askToGoOn(const RenamePreview::Preview &preview, const QString &nothingToDo) const
{
    if (preview.rows.isEmpty()) {
        VrNotification::showNotification(nothingToDo, Info);
        return false;
    }
    return PreviewDialog::ask(preview, m_table->window());
}

QHash<QString, int> BulkTextPasses::rowsByLocation() const
{
    QHash<QString, int> rows;
    for (int r = 0; r < m_table->rowCount(); ++r)
        rows.insert(m_table->locationOf(r), r);
    return rows;
}

QVector<FileRename> BulkTextPasses::renameFromTags(const QStringList &tags, const QString &separator)
{
    if (refuseEmptyList())
        return {};
    const RenamePreview::Preview preview = RenamePreview::renames(rowTexts(tags), tags, separator);
    if (!askToGoOn(preview, QStringLiteral("Every file already has the name its tags give.")))
        return {};
    FailureReport failures;
    const QVector<FileRename> renames = renameRows(preview, failures);
    if (failures.isEmpty())
        VrNotification::showNotification(
            QStringLiteral("File rename operation has been successfully completed for all possible rows!"), Success);
    else
        VrNotification::showNotification(failures.message(QStringLiteral("renamed")), Warning);
    return renames;
}

QVector<FileRename> BulkTextPasses::renameRows(const RenamePreview::Preview &preview, FailureReport &failures)
{
    using RenamePreview::Skip;
    QVector<FileRename> renames;
    const QHash<QString, int> rows = rowsByLocation();
    for (const RenamePreview::PreviewRow &shown : preview.rows) {
        // Rows lacking a value or refused a name keep it quietly, as they
        // always have; a name the disk holds, or a file gone, is reported as
        // a failed rename would be.
        if (shown.skip == Skip::NameTaken || shown.skip == Skip::FileGone)
            failures.addFailure(shown.location, PreviewDialog::reasonText(shown.skip));
        if (!shown.changes())
            continue;
        const QString extension = AudioFormats::extensionOf(QFileInfo(shown.location).fileName());
        const FileNameRules::RenameTarget target =
            FileNameRules::targetForBaseName(shown.location, shown.after.first().chopped(extension.size()));
        const QString failure = moveRowFile(shown.location, target, rows.value(shown.location, -1));
        if (failure.isEmpty())
            renames.append({shown.location, target.path});
        else
            failures.addFailure(shown.location, failure);
    }
    return renames;
}

QString BulkTextPasses::renameRowFile(const QString &newBaseName, const QString &location, int row)
{
    return moveRowFile(location, FileNameRules::targetForBaseName(location, newBaseName), row);
}

QString BulkTextPasses::moveRowFile(const QString &location, const FileNameRules::RenameTarget &target, int row)
{
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
    const RenamePreview::Preview preview = RenamePreview::tagsFromNames(rowTexts(tags), tags, separator);
    if (!askToGoOn(preview, QStringLiteral("The file names give no value the rows do not already hold.")))
        return;
    fillRows(preview);
    VrNotification::showNotification(QStringLiteral("Operation has been successfully performed!"), Success);
}

void BulkTextPasses::fillRows(const RenamePreview::Preview &preview)
{
    const QHash<QString, int> rows = rowsByLocation();
    for (const RenamePreview::PreviewRow &shown : preview.rows) {
        if (!shown.changes())
            continue;
        for (int i = 0; i < preview.columns.size(); ++i)
            setCell(rows.value(shown.location, -1), TagColumns::position(preview.columns.at(i)), shown.after.at(i));
    }
}

void BulkTextPasses::fillTagsFromFileName(const QString &fileName, const QStringList &tags,
                                          const QString &separator, int row)
{
    const auto values = FileNamePattern::valuesFromFileName(fileName, tags, separator);
    for (const auto &value : values)
        setCell(row, TagColumns::position(value.first), value.second);
}
