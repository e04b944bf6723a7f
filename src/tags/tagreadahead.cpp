#include "tags/tagreadahead.h"

#include "tags/tagreaderandwriter.h"

TagReadAhead::TagReadAhead(const QStringList &paths, int threads, Covers covers)
    : m_paths(paths)
    , m_covers(covers)
    // Text records are small: without covers the workers may run further ahead.
    , m_window(covers == Covers::Skip ? 64 : 2 * qMax(1, threads) + 2)
{
    if (paths.isEmpty())
        return;
    const int workers = qBound(1, threads, paths.size());
    m_pool.setMaxThreadCount(workers);
    for (int i = 0; i < workers; ++i)
        m_pool.start([this] { work(); });
}

TagReadAhead::~TagReadAhead()
{
    {
        QMutexLocker lock(&m_mutex);
        m_stopping = true;
        m_taken.wakeAll();
    }
    m_pool.waitForDone();
}

bool TagReadAhead::atEnd() const
{
    QMutexLocker lock(&m_mutex);
    return m_nextToTake >= m_paths.size();
}

TagRecord TagReadAhead::take()
{
    QMutexLocker lock(&m_mutex);
    Q_ASSERT(m_nextToTake < m_paths.size());
    while (!m_records.contains(m_nextToTake))
        m_stored.wait(&m_mutex);
    TagRecord record = m_records.take(m_nextToTake++);
    m_taken.wakeAll();
    return record;
}

void TagReadAhead::work()
{
    QMutexLocker lock(&m_mutex);
    for (;;) {
        while (!m_stopping && m_nextToRead < m_paths.size() && m_nextToRead >= m_nextToTake + m_window)
            m_taken.wait(&m_mutex);
        if (m_stopping || m_nextToRead >= m_paths.size())
            return;
        const int index = m_nextToRead++;
        lock.unlock();
        TagRecord record = m_covers == Covers::Decode ? TagReaderAndWriter::readAll(m_paths.at(index))
                                                      : TagReaderAndWriter::readTags(m_paths.at(index));
        lock.relock();
        m_records.insert(index, std::move(record));
        m_stored.wakeAll();
    }
}
