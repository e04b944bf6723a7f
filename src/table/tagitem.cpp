#include "table/tagitem.h"

#include "table/cellchecks.h"
#include "table/mediafiletablewidget.h"
#include "tags/tagcolumns.h"
#include "theme/apptheme.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QStyle>

TagItem::TagItem(int column, const QString &text)
    : QTableWidgetItem(text)
    , m_column(column)
{
}

QTableWidgetItem *TagItem::clone() const
{
    return new TagItem(*this);
}

QVariant TagItem::data(int role) const
{
    if (role == Qt::ForegroundRole || role == Qt::ToolTipRole) {
        const QString problem = CellChecks::problem(columnKey(), text());
        if (!problem.isEmpty())
            return role == Qt::ForegroundRole ? QVariant(AppTheme::errorText()) : QVariant(problem);
    }
    const auto *table = qobject_cast<const MediaFileTableWidget *>(tableWidget());
    if (!table)
        return QTableWidgetItem::data(role);
    // Asked only while painting the cells in view, where the row is at hand.
    if (role == Qt::FontRole && table->isEdited(row(), m_column)) {
        QFont font = table->font();
        font.setBold(true);
        return font;
    }
    if (role == Qt::ToolTipRole || (role == Qt::DecorationRole && columnKey() == TagColumns::key(TagColumns::Kind::FileName))) {
        const QString failure = table->saveFailure(row());
        if (!failure.isEmpty())
            return role == Qt::ToolTipRole ? QVariant(QCoreApplication::translate("TagItem", "Not saved: %1").arg(failure))
                                           : QVariant(table->style()->standardIcon(QStyle::SP_MessageBoxWarning));
    }
    return QTableWidgetItem::data(role);
}

void TagItem::setData(int role, const QVariant &value)
{
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        m_sortKey.reset();
    QTableWidgetItem::setData(role, value);
}

bool TagItem::operator<(const QTableWidgetItem &other) const
{
    const auto *tagItem = dynamic_cast<const TagItem *>(&other);
    if (!tagItem)
        return QTableWidgetItem::operator<(other);
    // Qt's sort asks "less than" either way round; which way decides where
    // the empty cells go.
    const QTableWidget *table = tableWidget();
    const Qt::SortOrder order = table ? table->horizontalHeader()->sortIndicatorOrder() : Qt::AscendingOrder;
    return SortKeys::less(sortKey(), tagItem->sortKey(), order);
}

void TagItem::setHasCover(bool hasCover)
{
    if (hasCover != m_hasCover)
        m_sortKey.reset();
    m_hasCover = hasCover;
}

const QString &TagItem::columnKey() const
{
    static const QString none;
    const QVector<TagColumns::Column> &columns = TagColumns::all();
    return m_column >= 0 && m_column < columns.size() ? columns.at(m_column).key : none;
}

const SortKeys::SortKey &TagItem::sortKey() const
{
    if (!m_sortKey) {
        const SortKeys::Order order = SortKeys::orderOf(columnKey());
        const QString value = order == SortKeys::Order::Cover ? QString(m_hasCover ? "1" : "") : text();
        m_sortKey.emplace(order, value);
    }
    return *m_sortKey;
}
