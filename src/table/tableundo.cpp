#include "table/tableundo.h"

#include "table/covercolumn.h"
#include "table/failurereport.h"
#include "table/mediafiletablewidget.h"
#include "table/tagitem.h"
#include "tags/tagcolumns.h"
#include "widgets/vrnotification.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QUndoCommand>
#include <QWidget>

#include <algorithm>

using TagColumns::Kind;

namespace {

// A step already done when it is pushed: its first redo does nothing.
class TableStep : public QUndoCommand
{
public:
    TableStep(TableUndo *history, TableUndo::Step step)
        : QUndoCommand(step.text)
        , m_history(history)
        , m_step(std::move(step))
    {
    }

    void undo() override { m_history->apply(m_step, false); }
    void redo() override
    {
        if (m_done)
            m_history->apply(m_step, true);
        m_done = true;
    }

private:
    TableUndo *m_history;
    TableUndo::Step m_step;
    bool m_done = false;
};

template<typename Changes>
Changes inOrder(Changes changes, bool forward)
{
    if (!forward)
        std::reverse(changes.begin(), changes.end());
    return changes;
}

} // namespace

TableUndo::TableUndo(MediaFileTableWidget *table, RowRecords *records, BulkTextPasses *passes, QWidget *owner)
    : QObject(owner)
    , m_table(table)
    , m_records(records)
    , m_passes(passes)
{
    // Only an empty stack takes a limit.
    m_stack.setUndoLimit(kLimit);
    createActions(owner);
    connect(table, &MediaFileTableWidget::coverReplaced, this, &TableUndo::coverChanged);
    connect(table, &MediaFileTableWidget::stepStarts, this, &TableUndo::begin);
    connect(table, &MediaFileTableWidget::stepEnds, this, &TableUndo::end);
    // A drag-copy ends with the mouse let go.
    connect(table, &MediaFileTableWidget::released, this, &TableUndo::end);
    connect(table, &MediaFileTableWidget::rowsRemoving, this, &TableUndo::rowsRemoving);
}

void TableUndo::createActions(QWidget *owner)
{
    m_undoAction = new QAction(tr("Undo"), owner);
    m_undoAction->setShortcuts(QKeySequence::Undo);
    m_redoAction = new QAction(tr("Redo"), owner);
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    const QKeySequence ctrlY(Qt::CTRL | Qt::Key_Y);
    if (!redoKeys.contains(ctrlY))
        redoKeys << ctrlY;
    m_redoAction->setShortcuts(redoKeys);
    for (QAction *action : {m_undoAction, m_redoAction}) {
        action->setEnabled(false);
        owner->addAction(action);
    }
    connect(m_undoAction, &QAction::triggered, this, &TableUndo::undo);
    connect(m_redoAction, &QAction::triggered, this, &TableUndo::redo);
    connect(&m_stack, &QUndoStack::canUndoChanged, m_undoAction, &QAction::setEnabled);
    connect(&m_stack, &QUndoStack::canRedoChanged, m_redoAction, &QAction::setEnabled);
    connect(&m_stack, &QUndoStack::undoTextChanged, m_undoAction, [this](const QString &text) {
        m_undoAction->setText(text.isEmpty() ? tr("Undo") : tr("Undo %1").arg(text));
    });
    connect(&m_stack, &QUndoStack::redoTextChanged, m_redoAction, [this](const QString &text) {
        m_redoAction->setText(text.isEmpty() ? tr("Redo") : tr("Redo %1").arg(text));
    });
}

void TableUndo::begin(const QString &text)
{
    if (m_replaying)
        return;
    end();
    m_open = Step();
    m_open->text = text;
}

void TableUndo::end()
{
    if (!m_open)
        return;
    Step step = std::move(*m_open);
    m_open.reset();
    if (!step.isEmpty())
        push(std::move(step));
}

void TableUndo::push(Step step)
{
    m_stack.push(new TableStep(this, std::move(step)));
    emit changed();
}

void TableUndo::undo()
{
    end();
    m_stack.undo();
}

void TableUndo::redo()
{
    end();
    m_stack.redo();
}

void TableUndo::clear()
{
    m_open.reset();
    m_stack.clear();
}

void TableUndo::cellChanged(int row, int column)
{
    const TagColumns::Column &field = TagColumns::all().at(column);
    const QTableWidgetItem *item = m_table->item(row, column);
    if (m_replaying || field.kind == Kind::Location || !item)
        return;
    const QString location = m_table->locationOf(row);
    const CellChange change{location, field.key, m_records->setField(location, field.key, item->text()),
                            item->text()};
    if (change.before == change.after)
        return;
    if (m_open)
        m_open->cells << change;
    else
        push(Step{tr("Edit %1").arg(field.key), {change}, {}, {}, {}});
}

TableUndo::CoverState TableUndo::coverState(const QString &location) const
{
    const RowRecord record = m_records->record(location);
    return {record.cover, record.picture};
}

void TableUndo::coverChanged(int row, const QImage &picture)
{
    if (m_replaying)
        return;
    const QString location = m_table->locationOf(row);
    CoverChange change{location, coverState(location), {}};
    m_records->setCover(location, picture);
    change.after = coverState(location);
    if (m_open)
        m_open->covers << change;
    else
        push(Step{tr("Replace Artwork"), {}, {change}, {}, {}});
}

void TableUndo::rowsRemoving(const QList<int> &rows)
{
    if (m_replaying)
        return;
    if (!m_open)
        begin(tr("Remove Rows"));
    for (int row : rows) {
        RemovedRow removed{row, m_table->locationOf(row), {}, {}};
        removed.record = m_records->record(removed.location);
        for (int c = 0; c < m_table->columnCount(); ++c) {
            const QTableWidgetItem *item = m_table->item(row, c);
            removed.texts << (item ? item->text() : QString());
        }
        m_open->rows << removed;
    }
    std::sort(m_open->rows.begin(), m_open->rows.end(),
              [](const RemovedRow &a, const RemovedRow &b) { return a.position < b.position; });
}

void TableUndo::renamed(const QVector<FileRename> &renames)
{
    if (!renames.isEmpty())
        push(Step{tr("Rename Files"), {}, {}, {}, renames});
}

void TableUndo::apply(const Step &step, bool forward)
{
    m_replaying = true;
    if (forward) {
        applyRenames(step.renames, true);
        applyCells(step.cells, true);
        applyCovers(step.covers, true);
        removeRows(step.rows);
    } else {
        restoreRows(step.rows);
        applyCovers(step.covers, false);
        applyCells(step.cells, false);
        applyRenames(step.renames, false);
    }
    m_replaying = false;
    emit changed();
}

QHash<QString, int> TableUndo::rowsByLocation() const
{
    QHash<QString, int> rows;
    for (int r = 0; r < m_table->rowCount(); ++r)
        rows.insert(m_table->locationOf(r), r);
    return rows;
}

void TableUndo::applyCells(const QVector<CellChange> &changes, bool forward)
{
    if (changes.isEmpty())
        return;
    const QSignalBlocker blocker(m_table);
    const QHash<QString, int> rows = rowsByLocation();
    for (const CellChange &change : inOrder(changes, forward)) {
        const QString &text = forward ? change.after : change.before;
        if (QTableWidgetItem *item = m_table->item(rows.value(change.location, -1), TagColumns::position(change.key)))
            item->setData(Qt::DisplayRole, text);
        m_records->setField(change.location, change.key, text);
    }
}

void TableUndo::applyCovers(const QVector<CoverChange> &changes, bool forward)
{
    if (changes.isEmpty())
        return;
    const QHash<QString, int> rows = rowsByLocation();
    for (const CoverChange &change : inOrder(changes, forward)) {
        const CoverState &state = forward ? change.after : change.before;
        m_records->setCover(change.location, state.cover, state.picture);
        const int row = rows.value(change.location, -1);
        // The picture is read only for a row on screen.
        if (m_table->coverLabel(row))
            m_table->showCoverIfLabelled(row, m_table->coverPicture(row), state.cover != RowRecord::Cover::AsRead);
    }
}

void TableUndo::removeRows(const QVector<RemovedRow> &removed)
{
    if (removed.isEmpty())
        return;
    const QHash<QString, int> rows = rowsByLocation();
    QList<int> positions;
    for (const RemovedRow &row : removed)
        positions << rows.value(row.location, -1);
    positions.removeAll(-1);
    m_table->removeRowsAt(positions);
}

void TableUndo::restoreRows(const QVector<RemovedRow> &removed)
{
    if (removed.isEmpty())
        return;
    {
        const QSignalBlocker blocker(m_table);
        for (const RemovedRow &row : removed) {
            const int position = qMin(row.position, m_table->rowCount());
            m_table->insertRow(position);
            for (int c = 0; c < row.texts.size(); ++c)
                m_table->setItem(position, c, new TagItem(c, row.texts.at(c)));
            m_records->restore(row.location, row.record);
        }
        m_table->renumberItems(removed.first().position);
    }
    // Rows back in an emptied list: its columns fit them again.
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_table->horizontalHeader()->setSectionResizeMode(TagColumns::position(Kind::Cover), QHeaderView::Fixed);
    m_table->covers()->scheduleRefresh();
    emit rowsRestored();
}

// Back where the old name is still free; a file that took it since keeps it.
void TableUndo::applyRenames(const QVector<FileRename> &renames, bool forward)
{
    if (renames.isEmpty())
        return;
    FailureReport failures;
    const QHash<QString, int> rows = rowsByLocation();
    for (const FileRename &rename : inOrder(renames, forward)) {
        const QString &from = forward ? rename.from : rename.to;
        const QString &to = forward ? rename.to : rename.from;
        const int row = rows.value(from, -1);
        if (row < 0)
            continue;
        const QString failure = m_passes->renameRowFile(QFileInfo(to).completeBaseName(), from, row);
        if (!failure.isEmpty())
            failures.addFailure(from, failure);
    }
    if (!failures.isEmpty())
        VrNotification::showNotification(failures.message(QStringLiteral("renamed")), Warning);
}
