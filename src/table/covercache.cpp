#include "table/covercache.h"

CoverCache::CoverCache(qint64 capacityBytes)
    : m_images(int(capacityBytes / kUnit))
{
}

QImage CoverCache::find(const QString &path)
{
    const QImage *image = m_images.object(path);
    return image ? *image : QImage();
}

void CoverCache::insert(const QString &path, const QImage &cover)
{
    // A file without a cover still costs its entry, so it is not read again.
    const qint64 cost = qMax<qint64>(1, cover.sizeInBytes() / kUnit);
    m_images.insert(path, new QImage(cover), int(cost));
}
