#include "table/sortkeys.h"

#include "operations/bpmvalue.h"
#include "operations/musickey.h"
#include "tags/fields.h"
#include "tags/tagcolumns.h"

#include <QCollator>
#include <QLocale>

namespace SortKeys {

namespace {

const QCollator &collator()
{
    static const QCollator collator = [] {
        // The C locale is no language; it would sort by code point and put
        // "Été" after "Pulse".
        const QLocale locale = QLocale().language() == QLocale::C ? QLocale(QLocale::English) : QLocale();
        QCollator c{locale};
        c.setNumericMode(true);
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

// "2020-05-01" after "2020-05" after "2020": each part weighs less than the one before.
double dateValue(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('-'));
    double value = 0;
    double weight = 1;
    for (const QString &part : parts) {
        value += weight * Fields::leadingNumber(part);
        weight /= 100;
    }
    return value;
}

} // namespace

Order orderOf(const QString &columnKey)
{
    if (columnKey == Fields::key(Field::Track) || columnKey == Fields::key(Field::Bpm))
        return Order::Number;
    if (columnKey == Fields::key(Field::Year))
        return Order::Date;
    if (columnKey == Fields::key(Field::InitialKey))
        return Order::Key;
    if (columnKey == TagColumns::key(TagColumns::Kind::Cover))
        return Order::Cover;
    return Order::Text;
}

SortKey::SortKey(Order order, const QString &text)
{
    const QString trimmed = text.trimmed();
    switch (order) {
    case Order::Text:
        m_empty = trimmed.isEmpty();
        if (!m_empty)
            m_text = collator().sortKey(trimmed);
        break;
    case Order::Number:
        if (const std::optional<double> tempo = BpmValue::parse(trimmed))
            m_number = *tempo;
        else
            m_number = Fields::leadingNumber(trimmed);
        m_empty = m_number <= 0;
        break;
    case Order::Date:
        m_number = dateValue(trimmed);
        m_empty = m_number <= 0;
        break;
    case Order::Key:
        if (const std::optional<MusicKey::Key> key = MusicKey::parse(trimmed)) {
            m_number = MusicKey::wheelPosition(*key);
            m_empty = false;
        }
        break;
    case Order::Cover:
        // Never empty: without a cover is a value of its own, so the order turns.
        m_empty = false;
        m_number = trimmed.isEmpty() ? 1 : 0;
        break;
    }
}

int SortKey::compare(const SortKey &other) const
{
    if (m_text && other.m_text)
        return m_text->compare(*other.m_text);
    return m_number < other.m_number ? -1 : (other.m_number < m_number ? 1 : 0);
}

bool less(const SortKey &a, const SortKey &b, Qt::SortOrder order)
{
    if (a.isEmpty() || b.isEmpty()) {
        // A descending sort asks "b < a" to put a first.
        return order == Qt::AscendingOrder ? !a.isEmpty() && b.isEmpty() : a.isEmpty() && !b.isEmpty();
    }
    return a.compare(b) < 0;
}

} // namespace SortKeys
