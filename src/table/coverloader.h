#pragma once

#include <QMutex>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QThreadPool>

// Reads and decodes covers off the GUI thread, for the rows coming into view:
// scrolling never waits for a picture. Only the latest wish counts, so rows
// scrolled past before their turn are never decoded.
class CoverLoader : public QObject
{
    Q_OBJECT

public:
    explicit CoverLoader(QObject *parent = nullptr, int threads = 2);
    // Waits for the decodes under way; the others are dropped.
    ~CoverLoader() override;

    // The files whose covers are wanted now, most urgent first; replaces the
    // wish before. Files being decoded are not asked again.
    void setWanted(const QStringList &paths);
    // Drops what is not under way yet.
    void cancel() { setWanted({}); }
    // Also waits for what is under way: no file is read after it returns
    // (while files are rewritten).
    void cancelAndWait();

signals:
    // On the loader's thread; cover is null when the file has none (or is gone).
    void loaded(const QString &path, const QImage &cover);

private:
    void work();

    QMutex m_mutex;
    QStringList m_queue;
    QSet<QString> m_underWay;
    int m_workers = 0;
    const int m_maxWorkers;
    QThreadPool m_pool;
};
