#pragma once

#include "update/updateinfo.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QSslError>
#include <QString>

class QAuthenticator;

// Outcome of a request, handed back through an out-parameter.
enum ServerError {
    NoServerError = 0,
    RequestFailed = 1, // network error, lost network, authentication demanded, abort, TLS error, time-out
    NoReply = 2,
    RequestBusy = 4, // another request of this Server runs; nothing was sent
    UpdateRefused = 8, // getUpdate only: the service did not answer "success"
};

// Client of the maker's web service. One request at a time, waited for in a
// local event loop so callers read as straight-line code.
class Server : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultRequestTimeoutMs = 30000;

    explicit Server(const QString &baseUrl = defaultBaseUrl(), QObject *parent = nullptr);

    static QString defaultBaseUrl();

    QString apiUrl(const QString &endpoint) const;
    UpdateInfo getUpdate(int osKind, ServerError &error);

    // A request without an answer after this long ends with RequestFailed.
    void setRequestTimeout(int milliseconds) { m_requestTimeoutMs = milliseconds; }

public slots:
    QByteArray getJson(const QString &url, ServerError &error);
    QByteArray postJson(const QString &url, const QByteArray &postDataString, ServerError &error);
    void resetRequestInProcessFlag();
    void closeNetworkReply();
    void setLogging(bool logging);

    void sslErrorsCallback(QNetworkReply *reply, const QList<QSslError> &errors);
#ifndef Q_MOC_RUN // moc cannot expand these macros; Qt's own header guards them the same way
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
#endif
    // Qt 5.15 deprecates network accessibility without a successor, but still
    // reports it, and a lost network should end a waiting request at once.
    void networkAccessibilityChanged(QNetworkAccessManager::NetworkAccessibility accessible);
#ifndef Q_MOC_RUN
    QT_WARNING_POP
#endif
    void onAuthenticationRequired(QNetworkReply *reply, QAuthenticator *authenticator);
    void networkError(QNetworkReply::NetworkError code);

private:
    bool beginRequest(ServerError &error);
    QNetworkRequest makeRequest(const QString &url) const;
    QByteArray send(QNetworkReply *reply, ServerError &error);
    void waitForReply(ServerError &error);
    void failCurrentReply();

    QNetworkAccessManager m_manager;
    QPointer<QNetworkReply> m_reply;
    bool m_requestInProcess = false;
    QByteArray m_response;
    bool m_logging = false;
    int m_errorOverride = NoServerError;
    QString m_baseUrl;
    int m_requestTimeoutMs = DefaultRequestTimeoutMs;
};
