#pragma once

#include "update/server.h"

#include <QObject>
#include <QString>

class RemoteFileDownloader;
class UpdateInstaller;

// Asks the web service for a newer version, downloads its installer and the
// installer's signature into a fresh folder and runs the installer only when
// the maker signed it. Reaches the application only over the command
// bus: the update dialog, the install confirmation, error notifications and
// the final quit are all commands.
class Updater : public QObject
{
    Q_OBJECT

public:
    explicit Updater(const QString &serviceBaseUrl = Server::defaultBaseUrl(), QObject *parent = nullptr);

    // Returns true when a download was started.
    bool checkForUpdate();

    // The operating-system kind asked for; 0 skips the check.
    void setOsKind(int kind) { m_osKind = kind; }
    void setRequestTimeout(int milliseconds) { m_server.setRequestTimeout(milliseconds); }
    void setDownloadStallTimeout(int milliseconds) { m_downloadStallTimeoutMs = milliseconds; }

    QString downloadDir() const { return m_downloadDir; }

public slots:
    void updateDowlonaded(QString path, bool success);
    void signatureDownloaded(QString path, bool success);
    void installationFinished(bool success);
    void onUpdateDownloadProgress(qlonglong bytesReceived, qlonglong bytesTotal);

private:
    void installerNotStarted();
    bool confirmInstall();
    void abandonUpdate(const QString &notification);
    RemoteFileDownloader *newDownloader();

    UpdateInstaller *m_installer;
    QString m_downloadDir;
    QString m_installerAddress;
    QString m_installerPath;
    Server m_server;
    int m_osKind;
    int m_downloadStallTimeoutMs;
};
