#pragma once

#include "table/bulktextpasses.h"
#include "table/rowrecords.h"

#include <QObject>
#include <QUndoStack>
#include <QVector>

#include <optional>

class MediaFileTableWidget;
class QAction;
class QWidget;

// The table's undo history. A step gathers every change made between begin()
// and end() (a whole drag, paste or pass); a cell edited outside one is a
// step of its own. Steps find their rows by file path, never by row number:
// sorting moves rows between steps.
class TableUndo : public QObject
{
    Q_OBJECT

public:
    struct CoverState
    {
        RowRecord::Cover cover = RowRecord::Cover::AsRead;
        QImage picture;
    };
    struct CellChange
    {
        QString location;
        QString key;
        QString before;
        QString after;
    };
    struct CoverChange
    {
        QString location;
        CoverState before;
        CoverState after;
    };
    struct RemovedRow
    {
        int position;
        QString location;
        QStringList texts; // per column
        RowRecord record;
    };
    struct Step
    {
        QString text;
        QVector<CellChange> cells;
        QVector<CoverChange> covers;
        QVector<RemovedRow> rows; // by position, ascending
        QVector<FileRename> renames;

        bool isEmpty() const { return cells.isEmpty() && covers.isEmpty() && rows.isEmpty() && renames.isEmpty(); }
    };

    // Older steps are dropped first. Pictures held by steps are shared with
    // the records and with each other, so the count bounds their memory too.
    static constexpr int kLimit = 200;

    TableUndo(MediaFileTableWidget *table, RowRecords *records, BulkTextPasses *passes, QWidget *owner);

    QAction *undoAction() const { return m_undoAction; }
    QAction *redoAction() const { return m_redoAction; }
    const QUndoStack &stack() const { return m_stack; }

    void begin(const QString &text);
    void end();
    template<typename Work>
    void step(const QString &text, Work work)
    {
        begin(text);
        work();
        end();
    }
    void undo();
    void redo();
    void clear();

    void cellChanged(int row, int column);
    // A null picture clears the cover.
    void coverChanged(int row, const QImage &picture);
    void rowsRemoving(const QList<int> &rows);
    void renamed(const QVector<FileRename> &renames);

    void apply(const Step &step, bool forward);

signals:
    // The unsaved state may have changed: a step ended, was undone or redone.
    void changed();
    // Removed rows came back.
    void rowsRestored();

private:
    void createActions(QWidget *owner);
    void push(Step step);
    QHash<QString, int> rowsByLocation() const;
    CoverState coverState(const QString &location) const;
    void applyCells(const QVector<CellChange> &changes, bool forward);
    void applyCovers(const QVector<CoverChange> &changes, bool forward);
    void removeRows(const QVector<RemovedRow> &rows);
    void restoreRows(const QVector<RemovedRow> &rows);
    void applyRenames(const QVector<FileRename> &renames, bool forward);

    MediaFileTableWidget *m_table;
    RowRecords *m_records;
    BulkTextPasses *m_passes;
    QUndoStack m_stack;
    std::optional<Step> m_open;
    bool m_replaying = false;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
};
