#include "table/tablesave.h"

#include "table/covercolumn.h"
#include "table/mediafiletablewidget.h"
#include "table/rowrecords.h"
#include "table/rowsave.h"
#include "table/tablehelpers.h"

#include <QDir>

namespace TableSave {

namespace {

void saveRow(MediaFileTableWidget *table, RowRecords &records, int row, Report &report)
{
    const QString path = table->locationOf(row);
    const RowEdit edit = records.editOf(path, [&](const QString &key) {
        const QTableWidgetItem *item = table->item(row, table->columnOf(key));
        return item ? item->text() : QString();
    });
    const RowSaveOutcome outcome = RowSave::save(edit);
    // What the cover cell shows of the file is read again.
    table->covers()->forget(path);
    table->showSavedFile(row, outcome.path, bool(edit.fileName));
    records.rename(path, outcome.path);
    if (!outcome.ok())
        report.failures.addFailure(outcome.path, outcome.failure);
    records.setSaveFailure(outcome.path, outcome.failure);
    for (const QString &key : outcome.leftAlone)
        report.leftAlone.addFailure(outcome.path, QStringLiteral("%1 \"%2\"").arg(key, edit.fields.value(key)));
    if (!outcome.keepChanges)
        records.markSaved(outcome.path, outcome.leftAlone);
}

} // namespace

QString Report::message() const
{
    if (!failures.isEmpty())
        return failures.message(QStringLiteral("saved"));
    const QString fields = leftAlone.count() == 1
        ? QStringLiteral("1 field was")
        : QStringLiteral("%1 fields were").arg(leftAlone.count());
    return QStringLiteral("Saved, but %1 left as the files hold them: a track is 3 or 3/12, a year 2024 or 2024-05-31. "
                          "First: %2 (%3)")
        .arg(fields, QDir::toNativeSeparators(leftAlone.firstPath()), leftAlone.firstReason());
}

Report saveChanged(MediaFileTableWidget *table, RowRecords &records,
                   const std::function<void(int saved, int total)> &progress)
{
    Report report;
    // No cover is read from a file while files are rewritten.
    table->covers()->pause();
    EventPump events;
    const int total = records.changedCount();
    int saved = 0;
    for (int r = 0; r < table->rowCount(); ++r) {
        if (events.pump())
            progress(saved, total);
        if (records.isChanged(table->locationOf(r))) {
            saveRow(table, records, r, report);
            ++saved;
        }
    }
    table->covers()->scheduleRefresh();
    return report;
}

} // namespace TableSave
