#pragma once

#include "table/tablehelpers.h"
#include "tags/tagfields.h"

#include <QImage>
#include <QList>
#include <QPointer>
#include <QSet>
#include <QTableWidget>

#include <functional>

class CoverColumn;
class QLabel;

// The media table: one row per audio file. Handles Delete and the arrow keys
// itself; every other key is ignored, so typing never starts an edit. A drag
// from a pressed cell copies its value down or up its column.
class MediaFileTableWidget : public QTableWidget
{
    Q_OBJECT

public:
    explicit MediaFileTableWidget(QWidget *parent = nullptr);
    void setUpColumns();

    int columnOf(const QString &key) const;
    QString locationOf(int row) const;

    // A row per file, in order, read ahead on worker threads (covers are read
    // when rows come into view). goOn(filesDone) is asked now and then; when
    // it says no, the rows read so far stay, none half-filled. Returns the
    // files refused because their content is no audio of a known format.
    // listed(path, record) follows each row filled.
    QStringList appendRows(const QStringList &paths, const std::function<bool(int)> &goOn,
                           const std::function<void(const QString &, const TagRecord &)> &listed);
    // One file's cells, with the table's signals blocked by the caller.
    void fillRow(int row, const QString &path, const TagRecord &record);
    // The save's outcome for a row: its file's path, and its name when the
    // name was edited.
    void showSavedFile(int row, const QString &path, bool nameEdited);
    // An empty table's columns share its width; the cover keeps its own.
    void stretchColumnsOfEmptyList();

    // Sorts the rows by what the column's cells mean, and shows it in the
    // header; a header click does the same. Edits never move rows: the list
    // is sorted again when the user asks or rows are added.
    void sortBy(int column, Qt::SortOrder order);
    void sortAgain();
    // After rows moved, came or went: keeps writes to the items from
    // searching the table (see the definition).
    void renumberItems(int fromRow = 0);
    // Whether a row has a cover (the file's own or one set since), for
    // sorting by covers.
    void setCoverPresence(std::function<bool(const QString &location)> hasCover) { m_hasCover = std::move(hasCover); }

    // What the cells show of the rows' state: edited, not saved yet; why
    // the last save of a row failed.
    struct Marks
    {
        std::function<bool(const QString &location, const QString &key)> edited;
        std::function<QString(const QString &location)> saveFailure;
    };
    void setMarks(Marks marks) { m_marks = std::move(marks); }
    bool isEdited(int row, int column) const;
    QString saveFailure(int row) const;

    // A cover cell's label: no frame of its own, the picture at its own size
    // from the top-left corner. A changed cover gets the blue border.
    QLabel *installCoverLabel(int row, const QPixmap &pixmap, bool changed);
    // Only rows on screen (and near it) have a label.
    QLabel *coverLabel(int row) const;
    // Shows the row's new cover where it has a label; the others get theirs
    // from the records as they come into view.
    void showCoverIfLabelled(int row, const QImage &picture, bool changed);
    // The row's picture wherever the row is (read from its file when needed).
    QImage coverPicture(int row) const;
    CoverColumn *covers() const { return m_covers; }
    // The list was emptied: no picture or border of its rows is kept.
    void forgetCovers();
    // Blue borders on the selected covers only.
    void highlightSelectedCovers();

    // The start of a drag-copy; forgotten when the rows it refers to go.
    void setPressedCell(int row, int column);
    void forgetPressedCell();
    // Copies the pressed cell's value into (row, column) of the same column;
    // false when nothing was copied.
    bool dragCopyTo(int row, int column);

    // The copy buffer: the selected cells' texts, row by row, or one cover
    // picture. One value pastes into every selected cell, several rows paste
    // row by row from the selection's top-left cell; each paste is one step.
    // Texts go through the items, so they are tracked like hand edits; true
    // when covers were pasted.
    void copySelectedCell();
    bool pasteIntoSelectedCell();
    // Through the item, so the change is tracked.
    void setCellText(int row, int column, const QString &text);
    bool canCopy() const;
    bool canPaste() const;

    // What Delete does on a selection of cells, and on whole rows.
    bool canClearCells() const;
    bool canRemoveRows() const { return !selectionModel()->selectedRows(0).isEmpty(); }
    void clearSelectedCells();
    void removeSelectedRows();
    void removeRowsAt(QList<int> rows);

    // Search hits on a yellow background; an empty pattern marks none.
    void markMatches(const QString &pattern);
    // 1: every column fitted to its contents; 2: all the same width.
    void resizeColumnsForView(int view);

signals:
    void listEmptyOrNot(bool z);
    void coverArtDeleted(bool a);
    void delButtonClicked();
    void deletionCompleted();
    // A row's cover changed in the table (a null picture: cleared), and
    // which file left the list.
    void coverReplaced(int row, const QImage &picture);
    void rowRemoved(const QString &location);
    // A change of several cells (a paste, Delete) begins and ends; rows about
    // to leave the list; the mouse let go, ending a drag.
    void stepStarts(const QString &text);
    void stepEnds();
    void rowsRemoving(const QList<int> &rows);
    void released();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    class Step;
    void deleteSelection();
    // The one selected cell, or an invalid index.
    QModelIndex singleSelected() const;
    void moveCurrent(int rowStep, int columnStep);
    void setCoverBorder(int row, bool blue);
    void setUpSorting();
    QImage pictureForCopy(int row) const;
    bool isPastable(int column, bool single) const;

    CoverColumn *m_covers;
    int m_pressedRow = -1;
    int m_pressedColumn = -1;
    std::function<bool(const QString &location)> m_hasCover;
    Marks m_marks;
    QList<QPointer<QLabel>> m_blueCovers;
    QSet<QString> m_borderedCovers; // by location
    QList<QStringList> m_copiedRows;
    QImage m_copiedPicture;
    QImage m_pressedPicture; // what a drag-copy of covers copies
    QList<QPersistentModelIndex> m_searchHits;
};
