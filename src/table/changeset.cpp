#include "table/changeset.h"

void ChangeSet::markField(const QString &location, const QString &columnKey)
{
    m_entries[location].fields.insert(columnKey);
}

void ChangeSet::markCover(const QString &location)
{
    m_entries[location].cover = true;
}

void ChangeSet::rename(const QString &from, const QString &to)
{
    if (from == to)
        return;
    const auto it = m_entries.constFind(from);
    if (it == m_entries.constEnd())
        return;
    const Entry moved = it.value();
    m_entries.erase(it);
    Entry &target = m_entries[to];
    target.fields.unite(moved.fields);
    target.cover = target.cover || moved.cover;
}

void ChangeSet::remove(const QString &location)
{
    m_entries.remove(location);
}

QSet<QString> ChangeSet::changedFields(const QString &location) const
{
    return m_entries.value(location).fields;
}

bool ChangeSet::coverChanged(const QString &location) const
{
    return m_entries.value(location).cover;
}
