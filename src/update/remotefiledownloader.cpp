#include "update/remotefiledownloader.h"

#include <QDebug>
#include <QFile>
#include <QNetworkRequest>
#include <QUrl>

namespace {

// Qt 5 follows no redirect by itself and hands over error pages and cut-off
// bodies like any other: only a complete 2xx body is the installer.
QString deliveryProblem(const QNetworkReply *reply, qint64 received)
{
    if (reply->error() != QNetworkReply::NoError)
        return reply->errorString();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status < 200 || status > 299)
        return QStringLiteral("HTTP status %1").arg(status);
    if (received <= 0)
        return QStringLiteral("empty body");
    const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
    if (announced.isValid() && announced.toLongLong() != received)
        return QStringLiteral("received %1 of %2 bytes").arg(received).arg(announced.toLongLong());
    return QString();
}

} // namespace

RemoteFileDownloader::RemoteFileDownloader(QObject *parent)
    : QObject(parent)
{
    connect(&m_manager, &QNetworkAccessManager::finished, this, &RemoteFileDownloader::downloadFinished);
    connect(&m_manager, &QNetworkAccessManager::sslErrors, this, &RemoteFileDownloader::sslErrorsCallback);
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
    connect(&m_manager, &QNetworkAccessManager::networkAccessibleChanged, this,
            &RemoteFileDownloader::networkAccessibilityChanged);
QT_WARNING_POP

    m_stallTimer.setSingleShot(true);
    m_stallTimer.setInterval(DefaultStallTimeoutMs);
    connect(&m_stallTimer, &QTimer::timeout, this, [this] {
        qDebug().nospace() << "Download stalled: nothing received for " << m_stallTimer.interval() << " ms";
        if (m_reply)
            m_reply->abort();
    });
}

void RemoteFileDownloader::download(const QString &url, const QString &localFilePath)
{
    if (m_busy) {
        qDebug() << "Another file download already in progress";
        return;
    }
    m_localFilePath = localFilePath;
    qDebug().noquote() << QStringLiteral("Downloading Remote File: ") + url;

    const QUrl address = QUrl::fromEncoded(url.toLocal8Bit());
    QNetworkRequest request(address);
    // https to https only; a plain http address gets no redirect followed at all.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         address.scheme() == QLatin1String("https") ? QNetworkRequest::NoLessSafeRedirectPolicy
                                                                    : QNetworkRequest::ManualRedirectPolicy);
    m_reply = m_manager.get(request);
    connect(m_reply, &QNetworkReply::errorOccurred, this, &RemoteFileDownloader::replyError);
    connect(m_reply, &QNetworkReply::downloadProgress, this, &RemoteFileDownloader::sgDownloadProgress);
    connect(m_reply, &QNetworkReply::downloadProgress, &m_stallTimer, qOverload<>(&QTimer::start));
    m_stallTimer.start();
    m_busy = true;
}

void RemoteFileDownloader::downloadFinished(QNetworkReply *reply)
{
    // A reply given up on has been reported already.
    if (reply != m_reply) {
        reply->deleteLater();
        return;
    }
    m_stallTimer.stop();

    const QByteArray body = reply->isOpen() ? reply->readAll() : QByteArray();
    const QString problem = deliveryProblem(reply, body.size());
    bool success = false;
    if (!problem.isEmpty()) {
        qDebug().noquote() << QStringLiteral("Download Error: %1: %2").arg(problem, reply->url().toString());
    } else {
        QFile file(m_localFilePath);
        if (file.open(QIODevice::WriteOnly)) {
            success = file.write(body) == body.size() && file.flush();
            file.close();
            if (success)
                qDebug().noquote() << QStringLiteral("File downloaded successfully: ") + m_localFilePath;
            else
                qDebug().noquote() << QStringLiteral("Download Error: Could not write the whole file: ")
                                          + m_localFilePath;
        } else {
            qDebug().noquote() << QStringLiteral("Download Error: Could not create file on disk to write: ")
                                      + m_localFilePath;
        }
    }

    reply->deleteLater();
    m_reply = nullptr;
    report(success);
}

void RemoteFileDownloader::report(bool success)
{
    m_busy = false;
    const QString path = m_localFilePath;
    emit sgFileDownloaded(path, success);
    m_localFilePath.clear();
    emit sgCompleted();
}

// An unverified certificate is never accepted: the handshake fails and the
// download with it.
void RemoteFileDownloader::sslErrorsCallback(QNetworkReply *reply, const QList<QSslError> &errors)
{
    Q_UNUSED(reply)
    for (const QSslError &error : errors)
        qDebug().noquote() << QStringLiteral("SSL Error: ") + error.errorString();
}

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
void RemoteFileDownloader::networkAccessibilityChanged(QNetworkAccessManager::NetworkAccessibility accessible)
{
    if (accessible != QNetworkAccessManager::NotAccessible || !m_busy)
        return;
    qDebug() << "No network accessibility while downloading file ";
    abandonReply();
    report(false);
}
QT_WARNING_POP

// The reply is dropped before it is aborted, so its finished() is not taken
// for a second outcome.
void RemoteFileDownloader::abandonReply()
{
    m_stallTimer.stop();
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    if (reply) {
        disconnect(reply, nullptr, this, nullptr);
        reply->abort();
    }
}

// The reply finishes on its own right after reporting an error (and
// downloadFinished then reports the failure); aborting it from here would
// only make Qt warn about a second error.
void RemoteFileDownloader::replyError(QNetworkReply::NetworkError error)
{
    if (error == QNetworkReply::NoError || error == QNetworkReply::OperationCanceledError)
        return;
    qDebug() << "RemoteFileDownloader Network Error. Abort api network request";
}
