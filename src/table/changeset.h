#pragma once

#include <QHash>
#include <QSet>
#include <QString>

// The rows changed since they were read, keyed by their file's path (the
// row's identity), with the columns that changed and whether the cover did.
// A save writes only what is recorded here.
class ChangeSet
{
public:
    void markField(const QString &location, const QString &columnKey);
    void markCover(const QString &location);

    // A renamed file keeps its unsaved edits.
    void rename(const QString &from, const QString &to);
    void remove(const QString &location);
    void clear() { m_entries.clear(); }

    bool contains(const QString &location) const { return m_entries.contains(location); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    int size() const { return m_entries.size(); }
    QSet<QString> changedFields(const QString &location) const;
    bool coverChanged(const QString &location) const;

private:
    struct Entry
    {
        QSet<QString> fields;
        bool cover = false;
    };
    QHash<QString, Entry> m_entries;
};
