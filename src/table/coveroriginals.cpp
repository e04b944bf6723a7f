#include "table/coveroriginals.h"

#include "tags/tagreaderandwriter.h"

#include <QCache>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>

namespace CoverOriginals {

namespace {

// QCache counts cost in int; kilobytes keep the capacity in range. A few
// hundred covers of a few hundred kilobytes each fit well within it.
constexpr int kUnit = 1024;
constexpr int kCapacityUnits = 256 * 1024;

struct Registry
{
    QMutex mutex;
    QCache<qint64, QByteArray> originals{kCapacityUnits};
};

Registry &registry()
{
    static Registry instance;
    return instance;
}

void remember(const QImage &picture, const QByteArray &bytes)
{
    if (picture.isNull())
        return;
    Registry &r = registry();
    const QMutexLocker lock(&r.mutex);
    r.originals.insert(picture.cacheKey(), new QByteArray(bytes), qMax(1, bytes.size() / kUnit));
}

QImage decodeAndRemember(const QByteArray &bytes)
{
    const QImage picture = QImage::fromData(bytes);
    remember(picture, bytes);
    return picture;
}

} // namespace

QImage load(const QString &imageFile)
{
    QFile file(imageFile);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    // The content decides the format, whatever the file's name says.
    return decodeAndRemember(file.readAll());
}

QImage fromAudioFile(const QString &audioPath)
{
    return decodeAndRemember(TagReaderAndWriter::readCoverBytes(audioPath));
}

std::optional<QByteArray> originalOf(const QImage &picture)
{
    if (picture.isNull())
        return std::nullopt;
    Registry &r = registry();
    const QMutexLocker lock(&r.mutex);
    const QByteArray *bytes = r.originals.object(picture.cacheKey());
    return bytes ? std::optional<QByteArray>(*bytes) : std::nullopt;
}

void carry(const QImage &from, const QImage &to)
{
    if (from.cacheKey() == to.cacheKey())
        return;
    if (const std::optional<QByteArray> bytes = originalOf(from))
        remember(to, *bytes);
}

void clear()
{
    Registry &r = registry();
    const QMutexLocker lock(&r.mutex);
    r.originals.clear();
}

} // namespace CoverOriginals
