#include "table/mediafiletablewidget.h"

#include "table/covercolumn.h"
#include "table/coveroriginals.h"
#include "table/mediafileitemdelegate.h"
#include "table/rowsave.h"
#include "table/tagitem.h"
#include "tags/tagcolumns.h"
#include "tags/tagreadahead.h"
#include "theme/apptheme.h"
#include "theme/vrfontprovider.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>

#include <algorithm>
#include <functional>

using TagColumns::Kind;

namespace {
const QString kChangedCoverStyle = QStringLiteral("border: 2px solid blue");
const QString kPlainCoverStyle = QStringLiteral("border: 0px");

bool isClearable(int column)
{
    const Kind kind = TagColumns::all().at(column).kind;
    // The file name is renamed only on purpose, and the location is the
    // row's one link to its file.
    return kind != Kind::FileName && kind != Kind::Location;
}
} // namespace

// Brackets a change of several cells, so it is undone as one.
class MediaFileTableWidget::Step
{
public:
    Step(MediaFileTableWidget *table, const QString &text)
        : m_table(table)
    {
        emit m_table->stepStarts(text);
    }
    ~Step() { emit m_table->stepEnds(); }
    Step(const Step &) = delete;
    Step &operator=(const Step &) = delete;

private:
    MediaFileTableWidget *m_table;
};

MediaFileTableWidget::MediaFileTableWidget(QWidget *parent)
    : QTableWidget(parent)
    , m_covers(new CoverColumn(this, TagColumns::position(Kind::Cover), TagColumns::position(Kind::Location)))
{
    m_covers->setDecorate([this](QLabel *label, const QString &location) {
        if (!m_borderedCovers.contains(location))
            return;
        label->setStyleSheet(kChangedCoverStyle);
        m_blueCovers.append(label);
    });
}

// The registry's columns, the cover wide, the location hidden.
void MediaFileTableWidget::setUpColumns()
{
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(true);
    setUpSorting();
    setWordWrap(true);
    setColumnCount(TagColumns::count());
    setColumnWidth(TagColumns::position(Kind::Cover), 200);
    setFont(VrFontProvider::font13(QFont::Normal));
    setHorizontalHeaderLabels(TagColumns::keys());
    setColumnHidden(TagColumns::position(Kind::Location), true);
    setItemDelegate(new MediaFileItemDelegate(this));
    // Columns are found by logical index, which stays with a column the user
    // drags elsewhere.
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setProperty("resSize", QStringLiteral("small"));
}

// The logical column: dragging a header moves only where it is shown.
int MediaFileTableWidget::columnOf(const QString &key) const
{
    return TagColumns::position(key);
}

bool MediaFileTableWidget::isEdited(int row, int column) const
{
    if (!m_marks.edited || row < 0 || column < 0 || column >= TagColumns::count())
        return false;
    return m_marks.edited(locationOf(row), TagColumns::all().at(column).key);
}

QString MediaFileTableWidget::saveFailure(int row) const
{
    return m_marks.saveFailure && row >= 0 ? m_marks.saveFailure(locationOf(row)) : QString();
}

QString MediaFileTableWidget::locationOf(int row) const
{
    const QTableWidgetItem *cell = item(row, TagColumns::position(Kind::Location));
    return cell ? cell->text() : QString();
}

QStringList MediaFileTableWidget::appendRows(const QStringList &paths, const std::function<bool(int)> &goOn,
                                             const std::function<void(const QString &, const TagRecord &)> &listed)
{
    const QSignalBlocker blocker(this);
    const int firstRow = rowCount();
    // All rows at once: inserting them one by one moves every cell after
    // them each time.
    setRowCount(firstRow + paths.size());
    if (!paths.isEmpty())
        horizontalHeader()->setSectionResizeMode(TagColumns::position(Kind::Cover), QHeaderView::Fixed);
    EventPump events;
    TagReadAhead records(paths, TagReadAhead::defaultThreads(), TagReadAhead::Covers::Skip);
    // Asked after every few hundred rows too, so a stop is heard even when
    // reading outruns the event rounds.
    constexpr int kAskEvery = 256;
    QStringList refused;
    int row = firstRow;
    for (int done = 0; done < paths.size(); ++done) {
        const bool pumped = events.pump();
        if ((pumped || (done > 0 && done % kAskEvery == 0)) && !goOn(done))
            break;
        const TagRecord record = records.take();
        // Content that is no audio the program edits is never listed, so
        // nothing can be written into it.
        if (record.format == AudioFormat::Unknown) {
            refused << paths.at(done);
            continue;
        }
        fillRow(row++, paths.at(done), record);
        listed(paths.at(done), record);
    }
    setRowCount(row);
    return refused;
}

void MediaFileTableWidget::fillRow(int row, const QString &path, const TagRecord &record)
{
    const QVector<TagColumns::Column> &columns = TagColumns::all();
    for (int c = 0; c < columns.size(); ++c) {
        switch (columns.at(c).kind) {
        case Kind::Cover:
            // Its picture is labelled when the row comes into view
            // (CoverColumn); the item is what sorting moves.
            setItem(row, c, new TagItem(c, QString()));
            break;
        case Kind::FileName:
            setItem(row, c, new TagItem(c, QFileInfo(path).fileName()));
            break;
        case Kind::Location:
            setItem(row, c, new TagItem(c, path));
            break;
        case Kind::Text:
            setItem(row, c, new TagItem(c, record.fields.value(columns.at(c).key)));
            break;
        }
    }
}

// Qt's own sorting would move a row as soon as one of its cells changed;
// here rows move only when the user sorts.
void MediaFileTableWidget::setUpSorting()
{
    setSortingEnabled(false);
    setItemPrototype(new TagItem(-1, QString()));
    QHeaderView *header = horizontalHeader();
    // A click on a header sorts; it does not select the column as well.
    disconnect(header, SIGNAL(sectionPressed(int)), this, SLOT(selectColumn(int)));
    disconnect(header, SIGNAL(sectionEntered(int)), this, SLOT(_q_selectColumn(int)));
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    connect(header, &QHeaderView::sectionClicked, this,
            [this, header](int column) { sortBy(column, header->sortIndicatorOrder()); });
}

void MediaFileTableWidget::sortBy(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columnCount())
        return;
    if (column == TagColumns::position(Kind::Cover) && m_hasCover) {
        for (int r = 0; r < rowCount(); ++r) {
            if (auto *cell = dynamic_cast<TagItem *>(item(r, column)))
                cell->setHasCover(m_hasCover(locationOf(r)));
        }
    }
    // The items read the order from the header while they compare.
    horizontalHeader()->setSortIndicator(column, order);
    sortItems(column, order);
    renumberItems();
    m_covers->scheduleRefresh();
}

// Qt finds an item's cell by a number the item keeps, set only when the item
// is put in its cell; once rows move it searches the whole table instead, on
// every write to the item. Putting each item back renews it.
void MediaFileTableWidget::renumberItems(int fromRow)
{
    const QSignalBlocker blocker(model());
    for (int r = qMax(0, fromRow); r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            if (QTableWidgetItem *cell = takeItem(r, c))
                setItem(r, c, cell);
        }
    }
}

void MediaFileTableWidget::sortAgain()
{
    const int column = horizontalHeader()->sortIndicatorSection();
    if (column >= 0 && column < columnCount())
        sortBy(column, horizontalHeader()->sortIndicatorOrder());
}

void MediaFileTableWidget::showSavedFile(int row, const QString &path, bool nameEdited)
{
    item(row, TagColumns::position(Kind::Location))->setData(Qt::DisplayRole, path);
    if (nameEdited)
        item(row, TagColumns::position(Kind::FileName))->setData(Qt::DisplayRole, QFileInfo(path).fileName());
}

void MediaFileTableWidget::stretchColumnsOfEmptyList()
{
    const int coverColumn = TagColumns::position(Kind::Cover);
    for (int c = 0; c < columnCount(); ++c) {
        if (c != coverColumn)
            horizontalHeader()->setSectionResizeMode(c, QHeaderView::Stretch);
    }
}

QLabel *MediaFileTableWidget::installCoverLabel(int row, const QPixmap &pixmap, bool changed)
{
    horizontalHeader()->setSectionResizeMode(TagColumns::position(Kind::Cover), QHeaderView::Fixed);
    QLabel *label = m_covers->install(row, pixmap.toImage());
    if (changed)
        setCoverBorder(row, true);
    return label;
}

QLabel *MediaFileTableWidget::coverLabel(int row) const
{
    return m_covers->label(row);
}

void MediaFileTableWidget::showCoverIfLabelled(int row, const QImage &picture, bool changed)
{
    if (coverLabel(row))
        installCoverLabel(row, QPixmap::fromImage(picture), changed);
}

QImage MediaFileTableWidget::coverPicture(int row) const
{
    return m_covers->picture(row);
}

void MediaFileTableWidget::resizeEvent(QResizeEvent *event)
{
    QTableWidget::resizeEvent(event);
    m_covers->scheduleRefresh();
}

void MediaFileTableWidget::forgetCovers()
{
    m_covers->clear();
    m_blueCovers.clear();
    m_borderedCovers.clear();
}

// A blue border belongs to the row's cover, not to its label: a label made
// again after scrolling gets it back.
void MediaFileTableWidget::setCoverBorder(int row, bool blue)
{
    if (blue)
        m_borderedCovers.insert(locationOf(row));
    QLabel *label = coverLabel(row);
    if (!label)
        return;
    label->setStyleSheet(blue ? kChangedCoverStyle : kPlainCoverStyle);
    if (blue)
        m_blueCovers.append(label);
}

// Only the labels that carry a border are reset: restyling every cover of a
// long list on each selection change made selecting sluggish.
void MediaFileTableWidget::highlightSelectedCovers()
{
    const QList<QPointer<QLabel>> bordered = m_blueCovers;
    m_blueCovers.clear();
    m_borderedCovers.clear();
    for (const QPointer<QLabel> &label : bordered) {
        if (label)
            label->setStyleSheet(kPlainCoverStyle);
    }
    const int coverColumn = TagColumns::position(Kind::Cover);
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    for (const QModelIndex &index : selected) {
        if (index.column() == coverColumn)
            setCoverBorder(index.row(), true);
    }
}

void MediaFileTableWidget::setPressedCell(int row, int column)
{
    m_pressedRow = row;
    m_pressedColumn = column;
    m_pressedPicture = QImage();
}

// The picture as the file holds it, with its original bytes, so a cover
// kept as chosen is passed on whole; the table's own copy is fitted.
QImage MediaFileTableWidget::pictureForCopy(int row) const
{
    if (!m_covers->isReplaced(row)) {
        const QImage own = RowSave::fitForTable(CoverOriginals::fromAudioFile(locationOf(row)));
        if (!own.isNull())
            return own;
    }
    return coverPicture(row);
}

void MediaFileTableWidget::forgetPressedCell()
{
    setPressedCell(-1, -1);
}

bool MediaFileTableWidget::dragCopyTo(int row, int column)
{
    if (m_pressedRow < 0 || m_pressedRow >= rowCount() || m_pressedColumn < 0 || m_pressedColumn >= columnCount())
        return false;
    const Kind kind = TagColumns::all().at(column).kind;
    if (kind == Kind::FileName || kind == Kind::Location)
        return false;
    if (column != m_pressedColumn || row == m_pressedRow)
        return false;
    if (kind == Kind::Cover) {
        if (m_pressedPicture.isNull())
            m_pressedPicture = pictureForCopy(m_pressedRow);
        installCoverLabel(row, QPixmap::fromImage(m_pressedPicture), false);
        emit coverReplaced(row, m_pressedPicture);
        return true;
    }
    const QTableWidgetItem *source = item(m_pressedRow, column);
    QTableWidgetItem *target = item(row, column);
    if (!source || !target)
        return false;
    target->setData(Qt::DisplayRole, source->text());
    return true;
}

QModelIndex MediaFileTableWidget::singleSelected() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.size() == 1 ? selected.first() : QModelIndex();
}

bool MediaFileTableWidget::canCopy() const
{
    return selectionModel()->hasSelection();
}

bool MediaFileTableWidget::canPaste() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return false;
    const int coverColumn = TagColumns::position(Kind::Cover);
    const bool anyCover = std::any_of(selected.cbegin(), selected.cend(),
                                      [coverColumn](const QModelIndex &index) { return index.column() == coverColumn; });
    if (anyCover && !m_copiedPicture.isNull())
        return true;
    const bool single = selected.size() == 1;
    return !m_copiedRows.isEmpty()
        && std::any_of(selected.cbegin(), selected.cend(),
                       [this, single](const QModelIndex &index) { return isPastable(index.column(), single); });
}

// One cell copies its text (or picture); several copy the block they span,
// row by row, each row's cells left to right.
void MediaFileTableWidget::copySelectedCell()
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    const int coverColumn = TagColumns::position(Kind::Cover);
    QMap<int, QMap<int, QString>> block;
    for (const QModelIndex &index : selected) {
        if (index.column() == coverColumn) {
            if (selected.size() == 1)
                m_copiedPicture = pictureForCopy(index.row());
        } else if (const QTableWidgetItem *cell = item(index.row(), index.column())) {
            block[index.row()][index.column()] = cell->text();
        }
    }
    if (block.isEmpty())
        return;
    m_copiedRows.clear();
    // One empty cell leaves nothing to paste.
    if (block.size() == 1 && block.first().size() == 1 && block.first().first().isEmpty())
        return;
    for (const QMap<int, QString> &row : qAsConst(block))
        m_copiedRows << row.values();
}

bool MediaFileTableWidget::pasteIntoSelectedCell()
{
    if (!canPaste())
        return false;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    const int coverColumn = TagColumns::position(Kind::Cover);
    const bool oneValue = m_copiedRows.size() == 1 && m_copiedRows.first().size() == 1;
    const bool coverPaste = !m_copiedPicture.isNull()
        && std::all_of(selected.cbegin(), selected.cend(),
                       [coverColumn](const QModelIndex &index) { return index.column() == coverColumn; });
    if (coverPaste) {
        const Step step(this, selected.size() == 1 ? tr("Paste Cover") : tr("Paste Cover into %1 Rows").arg(selected.size()));
        for (const QModelIndex &index : selected) {
            installCoverLabel(index.row(), QPixmap::fromImage(m_copiedPicture), true);
            emit coverReplaced(index.row(), m_copiedPicture);
        }
        return true;
    }
    if (oneValue) {
        // One value fills every selected cell that holds text.
        const Step step(this, selected.size() == 1 ? tr("Paste") : tr("Paste into %1 Cells").arg(selected.size()));
        for (const QModelIndex &index : selected) {
            if (isPastable(index.column(), selected.size() == 1))
                setCellText(index.row(), index.column(), m_copiedRows.first().first());
        }
        return false;
    }
    // A block goes row by row from the selection's top-left cell.
    int top = rowCount();
    int left = columnCount();
    for (const QModelIndex &index : selected) {
        top = qMin(top, index.row());
        left = qMin(left, index.column());
    }
    const Step step(this, tr("Paste %1 Rows").arg(m_copiedRows.size()));
    for (int r = 0; r < m_copiedRows.size() && top + r < rowCount(); ++r) {
        const QStringList &texts = m_copiedRows.at(r);
        for (int c = 0; c < texts.size() && left + c < columnCount(); ++c) {
            if (isPastable(left + c, false))
                setCellText(top + r, left + c, texts.at(c));
        }
    }
    return false;
}

// The file name takes a pasted name only on its own: one name in many rows
// would collide on saving.
bool MediaFileTableWidget::isPastable(int column, bool single) const
{
    const Kind kind = TagColumns::all().at(column).kind;
    return kind == Kind::Text || (single && kind == Kind::FileName);
}

void MediaFileTableWidget::setCellText(int row, int column, const QString &text)
{
    if (QTableWidgetItem *cell = item(row, column))
        cell->setData(Qt::DisplayRole, text);
}

void MediaFileTableWidget::markMatches(const QString &pattern)
{
    if (rowCount() == 0)
        return;
    // The model would tell the view of each cell on its own, which costs more
    // than the change itself in a long list: one repaint at the end instead.
    const QSignalBlocker blocker(this);
    const QSignalBlocker modelBlocker(model());
    const QBrush plain(AppTheme::plainBackground());
    for (const QPersistentModelIndex &hit : qAsConst(m_searchHits)) {
        if (QTableWidgetItem *cell = itemFromIndex(hit))
            cell->setData(Qt::BackgroundRole, plain);
    }
    m_searchHits.clear();
    // A search paints every cell: those not painted yet (new rows) turn plain.
    const int coverColumn = TagColumns::position(Kind::Cover);
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            QTableWidgetItem *cell = c == coverColumn ? nullptr : item(r, c);
            if (cell && !cell->data(Qt::BackgroundRole).isValid())
                cell->setData(Qt::BackgroundRole, plain);
        }
    }
    if (!pattern.isEmpty()) {
        const QBrush hitBrush(AppTheme::searchHit());
        const QList<QTableWidgetItem *> found = findItems(pattern, Qt::MatchContains);
        for (QTableWidgetItem *cell : found) {
            cell->setData(Qt::BackgroundRole, hitBrush);
            m_searchHits << QPersistentModelIndex(indexFromItem(cell));
        }
    }
    viewport()->update();
}

void MediaFileTableWidget::resizeColumnsForView(int view)
{
    if (rowCount() == 0)
        return;
    const int coverColumn = TagColumns::position(Kind::Cover);
    for (int c = 0; c < columnCount(); ++c) {
        const bool cover = c == coverColumn;
        if (view == 1) {
            if (cover)
                horizontalHeader()->resizeSection(c, 200);
            else
                resizeColumnToContents(c);
        } else if (view == 2) {
            horizontalHeader()->resizeSection(c, cover ? 200 : 100);
        }
    }
}

void MediaFileTableWidget::mousePressEvent(QMouseEvent *event)
{
    // Qt also reports cells entered by a drag that began on empty space
    // below the last row; such a drag must copy nothing.
    if (!indexAt(event->pos()).isValid())
        forgetPressedCell();
    QTableWidget::mousePressEvent(event);
}

void MediaFileTableWidget::mouseReleaseEvent(QMouseEvent *event)
{
    QTableWidget::mouseReleaseEvent(event);
    emit released();
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
    if (canRemoveRows())
        removeSelectedRows();
    else
        clearSelectedCells();
}

bool MediaFileTableWidget::canClearCells() const
{
    if (canRemoveRows())
        return false;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return std::any_of(selected.cbegin(), selected.cend(),
                       [](const QModelIndex &index) { return isClearable(index.column()); });
}

void MediaFileTableWidget::clearSelectedCells()
{
    if (!canClearCells())
        return;
    const Step step(this, tr("Clear Cells"));
    const QModelIndexList indexes = selectionModel()->selectedIndexes();
    for (const QModelIndex &index : indexes) {
        if (!isClearable(index.column()))
            continue;
        if (TagColumns::all().at(index.column()).kind == Kind::Cover) {
            installCoverLabel(index.row(), QPixmap(), true);
            emit coverReplaced(index.row(), QImage());
            emit coverArtDeleted(true);
        } else if (QTableWidgetItem *cell = item(index.row(), index.column())) {
            cell->setData(Qt::DisplayRole, QString());
        }
    }
}

void MediaFileTableWidget::removeSelectedRows()
{
    QList<int> rows;
    const QModelIndexList selected = selectionModel()->selectedRows(0);
    for (const QModelIndex &index : selected)
        rows << index.row();
    removeRowsAt(rows);
}

// Each run of neighbouring rows goes in one removal, from the bottom up:
// removing thousands of rows one by one moved every row below each time.
void MediaFileTableWidget::removeRowsAt(QList<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.isEmpty())
        return;
    const Step step(this, rows.size() == 1 ? tr("Remove Row") : tr("Remove %1 Rows").arg(rows.size()));
    emit rowsRemoving(rows);
    forgetPressedCell();
    for (int i = 0; i < rows.size();) {
        int first = rows.at(i);
        int next = i + 1;
        while (next < rows.size() && rows.at(next) == first - 1)
            first = rows.at(next++);
        const int count = rows.at(i) - first + 1;
        QStringList locations;
        for (int r = first; r < first + count; ++r)
            locations << locationOf(r);
        emit delButtonClicked();
        model()->removeRows(first, count);
        for (const QString &location : qAsConst(locations))
            emit rowRemoved(location);
        emit listEmptyOrNot(false);
        emit deletionCompleted();
        i = next;
    }
    renumberItems(rows.last());
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
