#include "table/rowrecords.h"

#include "tags/tagcolumns.h"

#include <QFileInfo>

namespace {
const QString &fileNameKey()
{
    static const QString key = TagColumns::key(TagColumns::Kind::FileName);
    return key;
}

// The file's name is read from its path, which follows every rename.
QString readText(const QString &location, const RowRecord &record, const QString &key)
{
    return key == fileNameKey() ? QFileInfo(location).fileName() : record.read.value(key);
}
} // namespace

void RowRecords::add(const QString &location, const QMap<QString, QString> &read, bool hasCover)
{
    RowRecord record;
    record.read = read;
    record.fileHasCover = hasCover;
    m_records.insert(location, record);
    m_changed.remove(location);
}

void RowRecords::restore(const QString &location, const RowRecord &record)
{
    m_records.insert(location, record);
    track(location);
}

void RowRecords::remove(const QString &location)
{
    m_records.remove(location);
    m_changed.remove(location);
}

void RowRecords::clear()
{
    m_records.clear();
    m_changed.clear();
}

void RowRecords::track(const QString &location)
{
    const auto it = m_records.constFind(location);
    if (it != m_records.constEnd() && it->isChanged())
        m_changed.insert(location);
    else
        m_changed.remove(location);
}

void RowRecords::rename(const QString &from, const QString &to)
{
    if (from == to)
        return;
    const auto it = m_records.constFind(from);
    if (it == m_records.constEnd())
        return;
    const RowRecord moved = it.value();
    m_records.erase(it);
    m_changed.remove(from);
    RowRecord &target = m_records[to];
    if (target.read.isEmpty())
        target.read = moved.read;
    target.edited.insert(moved.edited);
    if (target.edited.value(fileNameKey()) == QFileInfo(to).fileName())
        target.edited.remove(fileNameKey());
    if (moved.cover != RowRecord::Cover::AsRead) {
        target.cover = moved.cover;
        target.picture = moved.picture;
    }
    track(to);
}

QString RowRecords::setField(const QString &location, const QString &columnKey, const QString &text)
{
    RowRecord &record = m_records[location];
    const QString read = readText(location, record, columnKey);
    const QString before = record.edited.value(columnKey, read);
    if (text == read)
        record.edited.remove(columnKey);
    else
        record.edited.insert(columnKey, text);
    track(location);
    return before;
}

void RowRecords::setCover(const QString &location, const QImage &picture)
{
    setCover(location, picture.isNull() ? RowRecord::Cover::Cleared : RowRecord::Cover::Replaced, picture);
}

void RowRecords::setCover(const QString &location, RowRecord::Cover cover, const QImage &picture)
{
    RowRecord &record = m_records[location];
    record.cover = cover;
    record.picture = picture;
    track(location);
}

void RowRecords::markSaved(const QString &location, const QStringList &kept)
{
    RowRecord &record = m_records[location];
    for (auto it = record.edited.begin(); it != record.edited.end();) {
        if (kept.contains(it.key())) {
            ++it;
            continue;
        }
        if (it.key() != fileNameKey())
            record.read.insert(it.key(), it.value());
        it = record.edited.erase(it);
    }
    record.fileHasCover = record.hasCover();
    record.cover = RowRecord::Cover::AsRead;
    record.picture = QImage();
    record.saveFailure.clear();
    track(location);
}

QSet<QString> RowRecords::changedFields(const QString &location) const
{
    const QHash<QString, QString> edited = record(location).edited;
    return QSet<QString>(edited.keyBegin(), edited.keyEnd());
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
    return m_changed.size();
}

RowEdit RowRecords::editOf(const QString &location, const std::function<QString(const QString &key)> &cellText) const
{
    const RowRecord row = record(location);
    RowEdit edit;
    edit.path = location;
    for (auto it = row.edited.keyBegin(); it != row.edited.keyEnd(); ++it) {
        const QString &key = *it;
        if (key == TagColumns::key(TagColumns::Kind::FileName))
            edit.fileName = cellText(key);
        else
            edit.fields.insert(key, cellText(key));
    }
    if (row.cover != RowRecord::Cover::AsRead)
        edit.cover = row.picture;
    return edit;
}
