#include "table/covercolumn.h"

#include "tags/tagreaderandwriter.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>

namespace {
// Rows above and below the screen that get their labels too, and the fewest
// a span covers (so a short list, or a table not shown yet, has them all).
constexpr int kMargin = 10;
constexpr int kLeastSpan = 40;
} // namespace

CoverColumn::CoverColumn(QTableWidget *table, int column, int locationColumn)
    : QObject(table)
    , m_table(table)
    , m_column(column)
    , m_locationColumn(locationColumn)
{
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(0);
    connect(&m_refreshTimer, &QTimer::timeout, this, &CoverColumn::refresh);
    connect(&m_loader, &CoverLoader::loaded, this, &CoverColumn::loaded);
    connect(table->verticalScrollBar(), &QScrollBar::valueChanged, this, &CoverColumn::scheduleRefresh);
    QAbstractItemModel *model = table->model();
    connect(model, &QAbstractItemModel::rowsInserted, this, &CoverColumn::scheduleRefresh);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &CoverColumn::scheduleRefresh);
    connect(model, &QAbstractItemModel::layoutChanged, this, &CoverColumn::scheduleRefresh);
    connect(model, &QAbstractItemModel::modelReset, this, &CoverColumn::scheduleRefresh);
}

QString CoverColumn::locationOf(int row) const
{
    const QTableWidgetItem *cell = m_table->item(row, m_locationColumn);
    return cell ? cell->text() : QString();
}

std::optional<QImage> CoverColumn::known(const QString &location)
{
    if (m_override) {
        if (const std::optional<QImage> changed = m_override(location))
            return changed;
    }
    if (m_cache.contains(location))
        return m_cache.find(location);
    return std::nullopt;
}

QImage CoverColumn::picture(int row)
{
    const QString location = locationOf(row);
    if (location.isEmpty())
        return QImage();
    if (const std::optional<QImage> picture = known(location))
        return *picture;
    const QImage read = TagReaderAndWriter::readCoverFitted(location);
    m_cache.insert(location, read);
    return read;
}

QLabel *CoverColumn::install(int row, const QImage &picture)
{
    auto *label = new QLabel;
    label->setPixmap(QPixmap::fromImage(picture));
    // From the top-left corner, clipped to the cell.
    label->setAlignment(Qt::AlignAbsolute);
    m_table->setCellWidget(row, m_column, label);
    m_labels.insert(label, QPersistentModelIndex(m_table->model()->index(row, m_column)));
    connect(label, &QObject::destroyed, this, [this, label] { m_labels.remove(label); });
    const QString location = locationOf(row);
    m_waiting.remove(location);
    if (m_decorate)
        m_decorate(label, location);
    return label;
}

QLabel *CoverColumn::label(int row) const
{
    return qobject_cast<QLabel *>(m_table->cellWidget(row, m_column));
}

void CoverColumn::clear()
{
    pause();
    m_cache.clear();
}

void CoverColumn::pause()
{
    m_loader.cancelAndWait();
    m_waiting.clear();
}

std::pair<int, int> CoverColumn::span() const
{
    const int rows = m_table->rowCount();
    int first = m_table->rowAt(0);
    if (first < 0)
        first = 0;
    int last = m_table->rowAt(m_table->viewport()->height() - 1);
    if (last < 0)
        last = rows - 1;
    first = qMax(0, first - kMargin);
    last = qMin(rows - 1, qMax(last + kMargin, first + kLeastSpan - 1));
    return {first, last};
}

void CoverColumn::refresh()
{
    const auto [first, last] = span();
    // Labels far from the screen go; a screen's worth either way may stay.
    const int keep = last - first + 1;
    const QList<QLabel *> labels = m_labels.keys();
    for (QLabel *label : labels) {
        const int row = m_labels.value(label).row();
        if (row < 0 || row < first - keep || row > last + keep) {
            m_labels.remove(label);
            if (row >= 0)
                m_table->removeCellWidget(row, m_column);
        }
    }

    // The rows on screen first, then the margins around them.
    const int onScreen = qMax(first, m_table->rowAt(0));
    QList<int> order;
    for (int row = onScreen; row <= last; ++row)
        order << row;
    for (int row = first; row < onScreen; ++row)
        order << row;
    QStringList wanted;
    m_waiting.clear();
    for (int row : qAsConst(order)) {
        if (label(row))
            continue;
        const QString location = locationOf(row);
        if (location.isEmpty())
            continue;
        if (const std::optional<QImage> picture = known(location)) {
            install(row, *picture);
        } else {
            wanted << location;
            m_waiting.insert(location);
        }
    }
    m_loader.setWanted(wanted);
}

void CoverColumn::loaded(const QString &path, const QImage &cover)
{
    // Asked for before a pause: the file may have changed since.
    if (!m_waiting.contains(path))
        return;
    m_cache.insert(path, cover);
    const auto [first, last] = span();
    for (int row = first; row <= last; ++row) {
        if (locationOf(row) == path && !label(row)) {
            // A cover changed meanwhile wins over the file's.
            const std::optional<QImage> shown = known(path);
            install(row, shown ? *shown : cover);
            return;
        }
    }
    m_waiting.remove(path);
}
