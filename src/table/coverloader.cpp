#include "table/coverloader.h"

#include "tags/tagreaderandwriter.h"

#include <QMetaObject>

CoverLoader::CoverLoader(QObject *parent, int threads)
    : QObject(parent)
    , m_maxWorkers(qMax(1, threads))
{
    m_pool.setMaxThreadCount(m_maxWorkers);
}

CoverLoader::~CoverLoader()
{
    cancel();
    m_pool.waitForDone();
}

void CoverLoader::cancelAndWait()
{
    cancel();
    m_pool.waitForDone();
}

void CoverLoader::setWanted(const QStringList &paths)
{
    QMutexLocker lock(&m_mutex);
    m_queue.clear();
    for (const QString &path : paths) {
        if (!m_underWay.contains(path))
            m_queue << path;
    }
    while (m_workers < m_maxWorkers && m_workers < m_queue.size()) {
        ++m_workers;
        m_pool.start([this] { work(); });
    }
}

void CoverLoader::work()
{
    QMutexLocker lock(&m_mutex);
    while (!m_queue.isEmpty()) {
        const QString path = m_queue.takeFirst();
        m_underWay.insert(path);
        lock.unlock();
        const QImage cover = TagReaderAndWriter::readCoverFitted(path);
        // Delivered on the loader's own thread, where the table lives.
        QMetaObject::invokeMethod(
            this, [this, path, cover] { emit loaded(path, cover); }, Qt::QueuedConnection);
        lock.relock();
        m_underWay.remove(path);
    }
    --m_workers;
}
