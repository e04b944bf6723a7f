#pragma once

#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QSslError>
#include <QString>
#include <QTimer>

// One HTTP download into a local file. The body is kept in memory and
// written only when it has arrived complete.
class RemoteFileDownloader : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultStallTimeoutMs = 60000;

    explicit RemoteFileDownloader(QObject *parent = nullptr);

    void download(const QString &url, const QString &localFilePath);

    // A download that receives nothing for this long fails.
    void setStallTimeout(int milliseconds) { m_stallTimer.setInterval(milliseconds); }

    bool isBusy() const { return m_busy; }

signals:
    void sgFileDownloaded(QString localFilePath, bool success);
    void sgCompleted();
    void sgDownloadProgress(qlonglong bytesReceived, qlonglong bytesTotal);

public slots:
    void downloadFinished(QNetworkReply *reply);
    void sslErrorsCallback(QNetworkReply *reply, const QList<QSslError> &errors);
#ifndef Q_MOC_RUN // moc cannot expand these macros; Qt's own header guards them the same way
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
#endif
    void networkAccessibilityChanged(QNetworkAccessManager::NetworkAccessibility accessible);
#ifndef Q_MOC_RUN
    QT_WARNING_POP
#endif
    void replyError(QNetworkReply::NetworkError error);

private:
    void abandonReply();
    void report(bool success);

    bool m_busy = false;
    QString m_localFilePath;
    QNetworkAccessManager m_manager;
    QNetworkReply *m_reply = nullptr;
    QTimer m_stallTimer;
};
