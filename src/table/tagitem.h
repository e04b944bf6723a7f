#pragma once

#include "table/sortkeys.h"

#include <QTableWidgetItem>

#include <optional>

// A cell of the media table. It sorts by what its text means in its column
// (numbers, dates, keys, as people read), and a key, tempo, track or year
// that is none shows in the error colour with the reason as its tooltip.
class TagItem : public QTableWidgetItem
{
public:
    TagItem(int column, const QString &text);

    QTableWidgetItem *clone() const override;
    QVariant data(int role) const override;
    void setData(int role, const QVariant &value) override;
    bool operator<(const QTableWidgetItem &other) const override;

    // A cover cell sorts by whether its row has a cover; the table tells it
    // before it sorts by covers.
    void setHasCover(bool hasCover);

private:
    const QString &columnKey() const;
    const SortKeys::SortKey &sortKey() const;

    int m_column;
    bool m_hasCover = false;
    mutable std::optional<SortKeys::SortKey> m_sortKey;
};
