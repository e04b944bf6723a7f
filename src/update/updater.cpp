#include "update/updater.h"

#include "app/command.h"
#include "app/commandhandler.h"
#include "app/productinfo.h"
#include "update/installerplatform.h"
#include "update/installersignature.h"
#include "update/remotefiledownloader.h"
#include "update/updatefolder.h"
#include "update/updateinstaller.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace {

// Returns the observers' answer; nobody answering counts as no.
bool dispatch(int id, const QMap<int, QVariant> &parameters = {})
{
    Command command;
    command.id = id;
    command.parameters = parameters;
    command.result = false;
    CommandHandler::instance()->dispatch(command);
    return command.result;
}

void closeUpdateDialog()
{
    dispatch(Commands::UpdateDialogVisibility, {{Commands::ShowDialog, true}, {Commands::CloseDialog, true}});
}

// The signature is served beside the installer, at its address plus ".sig"
// (before any query, which the service may use for the installer).
QString signatureAddress(const QString &installerAddress)
{
    QUrl url(installerAddress);
    url.setPath(url.path(QUrl::FullyEncoded) + QStringLiteral(".sig"), QUrl::TolerantMode);
    return url.toString(QUrl::FullyEncoded);
}

bool signedByMaker(const QString &installerPath, const QString &signaturePath)
{
    QFile installer(installerPath);
    QFile signature(signaturePath);
    if (!installer.open(QIODevice::ReadOnly) || !signature.open(QIODevice::ReadOnly))
        return false;
    // One byte more than a signature has, so an overlong file is refused too.
    return InstallerSignature::verify(installer.readAll(), signature.read(InstallerSignature::SignatureSize + 1),
                                      InstallerSignature::trustedKey());
}

} // namespace

Updater::Updater(const QString &serviceBaseUrl, QObject *parent)
    : QObject(parent)
    , m_installer(new UpdateInstaller(this))
    , m_server(serviceBaseUrl)
    , m_osKind(InstallerPlatform::systemKind())
    , m_downloadStallTimeoutMs(RemoteFileDownloader::DefaultStallTimeoutMs)
{
    connect(m_installer, &UpdateInstaller::sgInstallationFinished, this, &Updater::installationFinished);
    connect(m_installer, &UpdateInstaller::sgInstallerNotStarted, this, &Updater::installerNotStarted);
}

bool Updater::checkForUpdate()
{
    if (osWord(m_osKind).isEmpty()) {
        qDebug() << "Update check skipped: the web service has no installer for this system";
        return false;
    }

    ServerError error = NoServerError;
    const UpdateInfo info = m_server.getUpdate(m_osKind, error);
    qDebug().noquote() << QStringLiteral("%1 %2 %3 %4")
                              .arg(info.version, info.downloadPath, QString::number(info.os),
                                   QString::number(info.forceUpdate ? 1 : 0));
    if (info.downloadPath.isEmpty()) {
        qDebug().noquote() << "Update download path is empty" << info.downloadPath;
        return false;
    }
    if (!isNewerVersion(info.version, QString::fromLatin1(ProductInfo::version))) {
        qDebug().noquote() << "Update version is less that or equal to current version" << info.version;
        return false;
    }

    m_downloadDir.clear();
    const QString fileName = installerFileName(info.downloadPath);
    const QString base = updateBaseFolder();
    const QString folderName = updateFolderName(QDateTime::currentDateTime());
    // Nothing else creates the application-data folder on a fresh machine.
    if (!QDir().mkpath(base) || !QDir(base).mkdir(folderName))
        return false;

    auto *downloader = newDownloader();
    connect(downloader, &RemoteFileDownloader::sgFileDownloaded, this, &Updater::updateDowlonaded);
    connect(downloader, &RemoteFileDownloader::sgDownloadProgress, this, &Updater::onUpdateDownloadProgress);

    dispatch(Commands::UpdateDialogVisibility, {{Commands::CloseDialog, false}, {Commands::ShowDialog, true}});

    m_downloadDir = QStringLiteral("%1%2").arg(base, folderName);
    m_installerAddress = info.downloadPath;
    const QString localFile = QStringLiteral("%1/%2").arg(m_downloadDir, fileName);
    qDebug().noquote() << QStringLiteral("Downloading app from url : ") + info.downloadPath;
    qDebug().noquote() << QStringLiteral("Update will be saved to file: ") + localFile;
    downloader->download(info.downloadPath, localFile);
    return true;
}

RemoteFileDownloader *Updater::newDownloader()
{
    auto *downloader = new RemoteFileDownloader;
    downloader->setStallTimeout(m_downloadStallTimeoutMs);
    connect(downloader, &RemoteFileDownloader::sgCompleted, downloader, &QObject::deleteLater);
    return downloader;
}

void Updater::onUpdateDownloadProgress(qlonglong bytesReceived, qlonglong bytesTotal)
{
    dispatch(Commands::UpdateDownloadProgress,
             {{Commands::BytesTotal, bytesTotal}, {Commands::BytesReceived, bytesReceived}});
}

void Updater::updateDowlonaded(QString path, bool success)
{
    if (!success) {
        qDebug() << "Could not download the updated from remote";
        abandonUpdate(tr("The update could not be downloaded."));
        return;
    }
    m_installerPath = QFileInfo(path).absoluteFilePath();
    auto *downloader = newDownloader();
    connect(downloader, &RemoteFileDownloader::sgFileDownloaded, this, &Updater::signatureDownloaded);
    downloader->download(signatureAddress(m_installerAddress), m_installerPath + QStringLiteral(".sig"));
}

// A web service that was broken into could serve anything: only what the
// maker signed runs, and a missing signature counts as a wrong one.
void Updater::signatureDownloaded(QString path, bool success)
{
    if (!success || !signedByMaker(m_installerPath, path)) {
        qDebug() << "The downloaded installer's signature is missing or wrong";
        abandonUpdate(tr("The downloaded installer is not signed by Sonvel's maker; it was deleted and not started."));
        return;
    }
    if (!confirmInstall()) {
        qDebug() << "Update installation declined: unsaved changes are kept";
        abandonUpdate(QString());
        return;
    }
    m_installer->install(m_installerPath);
}

// The installer closes the program: whoever holds unsaved edits has to agree
// first.
bool Updater::confirmInstall()
{
    return dispatch(Commands::ConfirmUpdateInstall);
}

void Updater::installationFinished(bool success)
{
    dispatch(Commands::Quit, {{Commands::InstallSucceeded, success}});
}

void Updater::installerNotStarted()
{
    abandonUpdate(tr("The update installer could not be started."));
}

// The editor goes on: the half-done update is cleared away and the user told.
void Updater::abandonUpdate(const QString &notification)
{
    removeDirectoryRecursively(m_downloadDir);
    m_downloadDir.clear();
    closeUpdateDialog();
    if (!notification.isEmpty())
        dispatch(Commands::ShowErrorNotification, {{Commands::NotificationText, notification}});
}
