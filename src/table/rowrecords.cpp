#include "table/rowrecords.h"

#include "tags/tagcolumns.h"

#include <QFileInfo>

void RowRecords::rename(const QString &from, const QString &to)
{
    if (from == to)
        return;
    const auto it = m_records.constFind(from);
    if (it == m_records.constEnd())
        return;
    const RowRecord moved = it.value();
    m_records.erase(it);
    RowRecord &target = m_records[to];
    target.changedFields.unite(moved.changedFields);
    if (moved.cover != RowRecord::Cover::AsRead) {
        target.cover = moved.cover;
        target.picture = moved.picture;
    }
}

void RowRecords::markField(const QString &location, const QString &columnKey)
{
    m_records[location].changedFields.insert(columnKey);
}

void RowRecords::setCover(const QString &location, const QImage &picture)
{
    RowRecord &record = m_records[location];
    record.cover = picture.isNull() ? RowRecord::Cover::Cleared : RowRecord::Cover::Replaced;
    record.picture = picture;
}

QStringList RowRecords::unlisted(const QStringList &paths) const
{
    QSet<QString> seen;
    QStringList added;
    for (const QString &path : paths) {
        const QString absolute = QFileInfo(path).absoluteFilePath();
        if (m_records.contains(absolute) || seen.contains(absolute))
            continue;
        seen.insert(absolute);
        added.append(absolute);
    }
    return added;
}

int RowRecords::changedCount() const
{
    int count = 0;
    for (const RowRecord &record : m_records) {
        if (record.isChanged())
            ++count;
    }
    return count;
}

RowEdit RowRecords::editOf(const QString &location, const std::function<QString(const QString &key)> &cellText) const
{
    const RowRecord row = record(location);
    RowEdit edit;
    edit.path = location;
    for (const QString &key : row.changedFields) {
        if (key == TagColumns::key(TagColumns::Kind::FileName))
            edit.fileName = cellText(key);
        else
            edit.fields.insert(key, cellText(key));
    }
    if (row.cover != RowRecord::Cover::AsRead)
        edit.cover = row.picture;
    return edit;
}
