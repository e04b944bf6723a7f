#pragma once

#include "table/rowsave.h"

#include <QHash>
#include <QImage>
#include <QSet>
#include <QString>

#include <functional>

// What the program knows of a listed row beyond what its cells show: the
// fields edited since the file was read or saved, and what became of the
// cover.
struct RowRecord
{
    enum class Cover {
        AsRead,   // what the file holds
        Replaced, // by picture, not yet saved
        Cleared,  // removed, not yet saved
    };

    QSet<QString> changedFields; // column keys
    Cover cover = Cover::AsRead;
    QImage picture;

    bool isChanged() const { return !changedFields.isEmpty() || cover != Cover::AsRead; }
};

// One record per listed row, keyed by the row's file path (its identity).
class RowRecords
{
public:
    void add(const QString &location) { m_records.insert(location, RowRecord()); }
    void remove(const QString &location) { m_records.remove(location); }
    // A renamed file keeps its unsaved edits.
    void rename(const QString &from, const QString &to);
    void clear() { m_records.clear(); }

    void markField(const QString &location, const QString &columnKey);
    // A null picture clears the cover.
    void setCover(const QString &location, const QImage &picture);
    // The file now holds what the row shows.
    void markSaved(const QString &location) { m_records[location] = RowRecord(); }

    // The absolute forms of the paths not listed yet, each once, in order.
    QStringList unlisted(const QStringList &paths) const;

    RowRecord record(const QString &location) const { return m_records.value(location); }
    // What a save of the row writes; cellText gives a column's text.
    RowEdit editOf(const QString &location, const std::function<QString(const QString &key)> &cellText) const;
    bool isChanged(const QString &location) const { return record(location).isChanged(); }
    QSet<QString> changedFields(const QString &location) const { return record(location).changedFields; }
    bool coverChanged(const QString &location) const { return record(location).cover != RowRecord::Cover::AsRead; }
    int changedCount() const;
    bool hasChanges() const { return changedCount() > 0; }

private:
    QHash<QString, RowRecord> m_records;
};
