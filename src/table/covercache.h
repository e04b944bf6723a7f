#pragma once

#include <QCache>
#include <QImage>
#include <QString>

// Decoded covers of the rows lately on screen, by file path, bounded by the
// memory their pixels take: the least recently used go first. A long list
// holds only what a few screens show, never a picture per row.
class CoverCache
{
public:
    explicit CoverCache(qint64 capacityBytes = qint64(192) << 20);

    // Whether the file's cover was decoded; a null image means it has none.
    bool contains(const QString &path) const { return m_images.contains(path); }
    // The cover (marked as just used); null when not held or when it has none.
    QImage find(const QString &path);
    void insert(const QString &path, const QImage &cover);
    void remove(const QString &path) { m_images.remove(path); }
    void clear() { m_images.clear(); }

    qint64 costBytes() const { return qint64(m_images.totalCost()) * kUnit; }
    qint64 capacityBytes() const { return qint64(m_images.maxCost()) * kUnit; }
    int count() const { return m_images.count(); }

private:
    // QCache counts cost in int; kilobytes keep large capacities in range.
    static constexpr qint64 kUnit = 1024;

    QCache<QString, QImage> m_images;
};
