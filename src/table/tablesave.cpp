#include "table/tablesave.h"

#include "table/covercolumn.h"
#include "table/mediafiletablewidget.h"
#include "table/rowrecords.h"
#include "table/rowsave.h"
#include "table/tablehelpers.h"

namespace TableSave {

namespace {

void saveRow(MediaFileTableWidget *table, RowRecords &records, int row, FailureReport &failures)
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
        failures.addFailure(outcome.path, outcome.failure);
    if (!outcome.keepChanges)
        records.markSaved(outcome.path);
}

} // namespace

FailureReport saveChanged(MediaFileTableWidget *table, RowRecords &records,
                          const std::function<void(int saved, int total)> &progress)
{
    FailureReport failures;
    const SortingPause pause(table);
    // No cover is read from a file while files are rewritten.
    table->covers()->pause();
    EventPump events;
    const int total = records.changedCount();
    int saved = 0;
    for (int r = 0; r < table->rowCount(); ++r) {
        if (events.pump())
            progress(saved, total);
        if (records.isChanged(table->locationOf(r))) {
            saveRow(table, records, r, failures);
            ++saved;
        }
    }
    table->covers()->scheduleRefresh();
    return failures;
}

} // namespace TableSave
