#pragma once

#include "table/rowsave.h"

#include <QHash>
#include <QImage>
#include <QMap>
#include <QSet>
#include <QString>

#include <functional>

// What the program knows of a listed row beyond what its cells show: the
// fields as the file holds them, those that now differ from it, and what
// became of the cover.
struct RowRecord
{
    enum class Cover {
        AsRead,   // what the file holds
        Replaced, // by picture, not yet saved
        Cleared,  // removed, not yet saved
    };

    QMap<QString, QString> read;    // column key -> text as the file holds it
    QHash<QString, QString> edited; // column key -> text shown, where it differs from read
    Cover cover = Cover::AsRead;
    QImage picture;
    bool fileHasCover = false; // a picture in the file, decoded or not
    QString saveFailure;       // why the last save did not store it all

    bool hasCover() const { return cover == Cover::Replaced || (cover == Cover::AsRead && fileHasCover); }

    bool isChanged() const { return !edited.isEmpty() || cover != Cover::AsRead; }
};

// One record per listed row, keyed by the row's file path (its identity).
class RowRecords
{
public:
    void add(const QString &location, const QMap<QString, QString> &read = {}, bool hasCover = false);
    // A row back in the list as it was when it left.
    void restore(const QString &location, const RowRecord &record);
    void remove(const QString &location);
    // A renamed file keeps its unsaved edits.
    void rename(const QString &from, const QString &to);
    void clear();

    // The field's cell now shows text; a text equal to what the file holds
    // is no change. Returns what the cell showed before.
    QString setField(const QString &location, const QString &columnKey, const QString &text);
    // A null picture clears the cover.
    void setCover(const QString &location, const QImage &picture);
    void setCover(const QString &location, RowRecord::Cover cover, const QImage &picture);
    // The file now holds what the row shows, but for the fields kept.
    void markSaved(const QString &location, const QStringList &kept = {});

    // The absolute forms of the paths not listed yet, each once, in order.
    QStringList unlisted(const QStringList &paths) const;

    RowRecord record(const QString &location) const { return m_records.value(location); }
    // What a save of the row writes; cellText gives a column's text.
    RowEdit editOf(const QString &location, const std::function<QString(const QString &key)> &cellText) const;
    bool isChanged(const QString &location) const { return m_changed.contains(location); }
    bool isFieldEdited(const QString &location, const QString &columnKey) const
    {
        const auto it = m_records.constFind(location);
        return it != m_records.constEnd() && it->edited.contains(columnKey);
    }
    // Empty when the last save stored the row, or none was tried.
    QString saveFailure(const QString &location) const { return m_records.value(location).saveFailure; }
    void setSaveFailure(const QString &location, const QString &reason) { m_records[location].saveFailure = reason; }
    QSet<QString> changedFields(const QString &location) const;
    bool coverChanged(const QString &location) const { return record(location).cover != RowRecord::Cover::AsRead; }
    int changedCount() const;
    bool hasChanges() const { return changedCount() > 0; }

private:
    // Keeps the set of changed rows in step with the record, so asking
    // whether anything is unsaved after each edit costs nothing.
    void track(const QString &location);

    QHash<QString, RowRecord> m_records;
    QSet<QString> m_changed;
};
