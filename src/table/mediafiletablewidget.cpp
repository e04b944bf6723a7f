#include "table/mediafiletablewidget.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>

namespace {

// Holds sorting off for a whole pass over captured index positions: a cell
// cleared in the sorted column would otherwise move its row mid-pass.
class SortingHold
{
public:
    explicit SortingHold(QTableWidget *table)
        : m_table(table)
        , m_wasEnabled(table->isSortingEnabled())
    {
        m_table->setSortingEnabled(false);
    }
    ~SortingHold() { m_table->setSortingEnabled(m_wasEnabled); }

private:
    QTableWidget *m_table;
    bool m_wasEnabled;
};

} // namespace

MediaFileTableWidget::MediaFileTableWidget(QWidget *parent)
    : QTableWidget(parent)
{
}

int MediaFileTableWidget::columnOf(const QString &key) const
{
    for (int c = 0; c < columnCount(); ++c) {
        const QTableWidgetItem *header = horizontalHeaderItem(c);
        if (header && header->text() == key)
            return c;
    }
    return -1;
}

QString MediaFileTableWidget::locationOf(int row) const
{
    const QTableWidgetItem *cell = item(row, columnOf(QStringLiteral("Location")));
    return cell ? cell->text() : QString();
}

QLabel *MediaFileTableWidget::installCoverLabel(int row, const QPixmap &pixmap, bool blueBorder)
{
    auto *label = new QLabel;
    if (blueBorder)
        label->setStyleSheet(QStringLiteral("border: 2px solid blue"));
    label->setPixmap(pixmap);
    label->setAlignment(Qt::AlignAbsolute);
    const int column = columnOf(QStringLiteral("CoverArt"));
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
    const SortingHold hold(this);
    for (const QModelIndex &index : indexes) {
        const QString key = horizontalHeaderItem(index.column())->text();
        // The file name is renamed only on purpose, and the location is the
        // row's one link to its file.
        if (key == QLatin1String("FileName") || key == QLatin1String("Location"))
            continue;
        if (key == QLatin1String("CoverArt")) {
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
    // The last column is the hidden location: never reached.
    if (row < 0 || row >= rowCount() || column < 0 || column > columnCount() - 2)
        return;
    setCurrentCell(row, column);
}
