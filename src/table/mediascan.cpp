#include "table/mediascan.h"

#include "tags/audioformat.h"
#include "tags/safefile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace MediaScan {

namespace {

class Collector
{
public:
    void add(const QFileInfo &info)
    {
        if (info.isDir())
            walk(info);
        else if (info.isFile())
            addFile(info);
    }

    Result take()
    {
        std::sort(m_result.files.begin(), m_result.files.end());
        return std::move(m_result);
    }

    Result &result() { return m_result; }

private:
    void addFile(const QFileInfo &info)
    {
        // A save stopped half way left its new file beside the old one: it
        // is no music of the user's, and the old file is whole.
        if (SafeFile::isLeftover(info.fileName())) {
            SafeFile::removeLeftover(info.absoluteFilePath());
            return;
        }
        if (!isAudioName(info.fileName())) {
            ++m_result.skipped;
            return;
        }
        if (!m_seenFiles.contains(info.canonicalFilePath())) {
            m_seenFiles.insert(info.canonicalFilePath());
            m_result.files << info.absoluteFilePath();
        }
    }

    // Iterative, so a deep tree cannot exhaust the stack.
    void walk(const QFileInfo &root)
    {
        QList<QFileInfo> pending{root};
        while (!pending.isEmpty()) {
            const QFileInfo folder = pending.takeLast();
            const QString canonical = folder.canonicalFilePath();
            if (canonical.isEmpty() || m_seenFolders.contains(canonical))
                continue;
            m_seenFolders.insert(canonical);
            const QFileInfoList entries = QDir(folder.absoluteFilePath())
                                              .entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden
                                                             | QDir::System);
            for (const QFileInfo &entry : entries) {
                if (entry.isDir())
                    pending << entry;
                else if (entry.isFile())
                    addFile(entry);
            }
        }
    }

    Result m_result;
    QSet<QString> m_seenFolders;
    QSet<QString> m_seenFiles;
};

} // namespace

bool isAudioName(const QString &path)
{
    return AudioFormats::hasAudioExtension(path);
}

bool holdsMedia(const QStringList &paths)
{
    return std::any_of(paths.cbegin(), paths.cend(), [](const QString &path) {
        const QFileInfo info(path);
        return info.isDir() || (info.isFile() && isAudioName(path));
    });
}

QString addingMessage(int added, int skippedByName, const QStringList &refused)
{
    QStringList reasons;
    if (skippedByName > 0)
        reasons << QStringLiteral("%1 that %2").arg(skippedByName).arg(
            skippedByName == 1 ? QStringLiteral("is not an audio file") : QStringLiteral("are not audio files"));
    if (!refused.isEmpty())
        reasons << QStringLiteral("%1 whose content is not audio of a known format (%2%3)")
                       .arg(refused.size())
                       .arg(refused.size() == 1 ? QString() : QStringLiteral("first: "))
                       .arg(QDir::toNativeSeparators(refused.first()));
    if (reasons.isEmpty())
        return QString();
    return QStringLiteral("Added %1 %2; skipped %3")
        .arg(added)
        .arg(added == 1 ? QStringLiteral("file") : QStringLiteral("files"))
        .arg(reasons.join(QStringLiteral(" and ")));
}

Result collect(const QStringList &paths)
{
    Collector collector;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.exists())
            collector.add(info);
        else
            collector.result().missing << path;
    }
    return collector.take();
}

} // namespace MediaScan
