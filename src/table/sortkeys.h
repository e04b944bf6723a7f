#pragma once

#include <QCollatorSortKey>
#include <QString>
#include <QtGlobal>

#include <optional>

// What a click on a column's header sorts by: the value a cell means, not
// its characters. Cells that hold no value (empty, the "0" of a missing track
// or year, no key) go last whichever way the column is sorted.
namespace SortKeys {

enum class Order {
    Text,   // as people read: case and accents folded, digits by value, the user's locale
    Number, // a track ("2/12" is 2) or a tempo ("128,5" is 128.5)
    Date,   // a year or a date
    Key,    // around the key wheel, 1A 1B 2A ... 12B, whatever the notation
    Cover,  // rows with a cover first
};

Order orderOf(const QString &columnKey);

class SortKey
{
public:
    // For a Cover column, text is non-empty when the row has a cover.
    SortKey(Order order, const QString &text);

    bool isEmpty() const { return m_empty; }
    // Negative, zero or positive; both must hold a value.
    int compare(const SortKey &other) const;

private:
    bool m_empty = true;
    double m_number = 0;
    std::optional<QCollatorSortKey> m_text;
};

// Whether a goes before b when sorted in order, empties last either way:
// what a table item's "less than" must say for Qt's sort to come out so.
bool less(const SortKey &a, const SortKey &b, Qt::SortOrder order);

} // namespace SortKeys
