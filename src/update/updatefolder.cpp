#include "update/updatefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QUrl>

QString updateFolderName(const QDateTime &moment)
{
    const uint hash = qHash(moment.toString(QStringLiteral("ddmmyyhhmmsszzz")), 0);
    return QStringLiteral("update") + QString::number(hash);
}

QString installerFileName(const QString &downloadAddress)
{
    const QString name = QFileInfo(QUrl(downloadAddress).path(QUrl::FullyDecoded)).fileName();
    return name.isEmpty() ? QStringLiteral("Sonvel.exe") : name;
}

QString updateBaseFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base;
}

bool removeDirectoryRecursively(const QString &folder)
{
    if (folder.isEmpty() || QDir::isRelativePath(folder))
        return false;
    QDir dir(folder);
    if (!dir.exists())
        return true;
    const QFileInfoList entries = dir.entryInfoList(
        QDir::NoDotAndDotDot | QDir::System | QDir::Hidden | QDir::AllDirs | QDir::Files, QDir::DirsFirst);
    for (const QFileInfo &entry : entries) {
        // A link is removed itself, never followed into the folder it names.
        const bool removed = entry.isDir() && !entry.isSymLink() ? removeDirectoryRecursively(entry.absoluteFilePath())
                                                                  : QFile::remove(entry.absoluteFilePath());
        if (!removed)
            return false;
    }
    return dir.rmdir(dir.absolutePath());
}
