#pragma once

#include "tags/tagfields.h"

#include <QHash>
#include <QMutex>
#include <QStringList>
#include <QThreadPool>
#include <QWaitCondition>

// Reads the tags of a list of files on worker threads, a few files ahead of
// the caller, who takes the records in list order. Decoding covers is most of
// the cost of listing files, and it spreads over the cores; the small window
// keeps only a handful of decoded covers waiting however long the list is.
class TagReadAhead
{
public:
    enum class Covers { Decode, Skip };

    explicit TagReadAhead(const QStringList &paths, int threads = defaultThreads(), Covers covers = Covers::Decode);
    // Stops the workers after the files they are reading; records not taken
    // are dropped.
    ~TagReadAhead();

    // One per core, but no more than a few: music libraries often live on
    // spinning disks, which many parallel readers would make seek.
    static int defaultThreads() { return qBound(1, QThread::idealThreadCount(), 4); }

    int size() const { return m_paths.size(); }
    bool atEnd() const;
    // The next file's record, as TagReaderAndWriter::readAll gives it; waits
    // until a worker has read it. Only while !atEnd().
    TagRecord take();

private:
    void work();

    const QStringList m_paths;
    const Covers m_covers;
    const int m_window;
    mutable QMutex m_mutex;
    QWaitCondition m_stored;
    QWaitCondition m_taken;
    QHash<int, TagRecord> m_records;
    int m_nextToRead = 0;
    int m_nextToTake = 0;
    bool m_stopping = false;
    QThreadPool m_pool;
};
