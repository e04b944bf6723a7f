#include "table/mediafiletablewidget.h"

#include "table/tablehelpers.h"
#include "tags/tagcolumns.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>

using TagColumns::Kind;

MediaFileTableWidget::MediaFileTableWidget(QWidget *parent)
    : QTableWidget(parent)
{
}

// The header's sections never move, so a column stays where the registry put it.
int MediaFileTableWidget::columnOf(const QString &key) const
{
    return TagColumns::position(key);
}

QString MediaFileTableWidget::locationOf(int row) const
{
    const QTableWidgetItem *cell = item(row, TagColumns::position(Kind::Location));
    return cell ? cell->text() : QString();
}

QLabel *MediaFileTableWidget::installCoverLabel(int row, const QPixmap &pixmap, bool blueBorder)
{
    auto *label = new QLabel;
    if (blueBorder)
        label->setStyleSheet(QStringLiteral("border: 2px solid blue"));
    label->setPixmap(pixmap);
    label->setAlignment(Qt::AlignAbsolute);
    const int column = TagColumns::position(Kind::Cover);
    horizontalHeader()->setSectionResizeMode(column, QHeaderView::Fixed);
    setCellWidget(row, column, label);
    return label;
}

void MediaFileTableWidget::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Delete:
        if (rowCount() > 0)
            deleteSelection();
        break;
    case Qt::Key_Up:
        moveCurrent(-1, 0);
        break;
    case Qt::Key_Down:
        moveCurrent(1, 0);
        break;
    case Qt::Key_Left:
        moveCurrent(0, -1);
        break;
    case Qt::Key_Right:
        moveCurrent(0, 1);
        break;
    default:
        break;
    }
}

void MediaFileTableWidget::deleteSelection()
{
    const QModelIndexList rows = selectionModel()->selectedRows(0);
    if (rows.isEmpty())
        clearSelectedCells(selectionModel()->selectedIndexes());
    else
        removeRows(rows);
}

void MediaFileTableWidget::clearSelectedCells(const QModelIndexList &indexes)
{
    const SortingPause pause(this);
    for (const QModelIndex &index : indexes) {
        const Kind kind = TagColumns::all().at(index.column()).kind;
        // The file name is renamed only on purpose, and the location is the
        // row's one link to its file.
        if (kind == Kind::FileName || kind == Kind::Location)
            continue;
        if (kind == Kind::Cover) {
            installCoverLabel(index.row(), QPixmap(), true);
            emit coverCleared(index.row());
            emit coverArtDeleted(true);
        } else if (QTableWidgetItem *cell = item(index.row(), index.column())) {
            cell->setData(Qt::DisplayRole, QString());
        }
    }
}

void MediaFileTableWidget::removeRows(const QModelIndexList &rows)
{
    QStringList locations;
    for (const QModelIndex &index : rows)
        locations.append(locationOf(index.row()));
    for (const QString &location : qAsConst(locations)) {
        for (int r = 0; r < rowCount(); ++r) {
            if (locationOf(r) != location)
                continue;
            emit delButtonClicked();
            removeRow(r);
            emit rowRemoved(location);
            emit listEmptyOrNot(false);
            emit deletionCompleted();
        }
    }
}

void MediaFileTableWidget::moveCurrent(int rowStep, int columnStep)
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.size() != 1)
        return;
    const int row = selected.first().row() + rowStep;
    const int column = selected.first().column() + columnStep;
    // The hidden location is never reached.
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount() || isColumnHidden(column))
        return;
    setCurrentCell(row, column);
}
