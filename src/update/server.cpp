#include "update/server.h"

#include "app/productinfo.h"

#include <QAuthenticator>
#include <QDebug>
#include <QEventLoop>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace {

QString apiKey()
{
    return QString::fromLatin1(ProductInfo::apiKey);
}

} // namespace

Server::Server(const QString &baseUrl, QObject *parent)
    : QObject(parent)
    , m_baseUrl(baseUrl)
{
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
    connect(&m_manager, &QNetworkAccessManager::networkAccessibleChanged, this,
            &Server::networkAccessibilityChanged);
QT_WARNING_POP
    connect(&m_manager, &QNetworkAccessManager::sslErrors, this, &Server::sslErrorsCallback);
    connect(&m_manager, &QNetworkAccessManager::authenticationRequired, this, &Server::onAuthenticationRequired);
}

QString Server::defaultBaseUrl()
{
    return QString::fromLatin1(ProductInfo::serviceBaseUrl);
}

QString Server::apiUrl(const QString &endpoint) const
{
    return m_baseUrl + QLatin1String("api/") + endpoint;
}

QNetworkRequest Server::makeRequest(const QString &url) const
{
    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    request.setRawHeader("X-API-KEY", apiKey().toUtf8());
    return request;
}

bool Server::beginRequest(ServerError &error)
{
    error = NoServerError;
    m_errorOverride = NoServerError;
    if (m_requestInProcess) {
        error = RequestBusy;
        return false;
    }
    m_requestInProcess = true;
    return true;
}

QByteArray Server::getJson(const QString &url, ServerError &error)
{
    if (!beginRequest(error))
        return QByteArray();
    if (m_logging)
        qDebug().noquote() << QStringLiteral("Get URL: ") + url;
    return send(m_manager.get(makeRequest(url)), error);
}

QByteArray Server::postJson(const QString &url, const QByteArray &postDataString, ServerError &error)
{
    if (!beginRequest(error))
        return QByteArray();
    if (m_logging) {
        qDebug().noquote() << QStringLiteral("Post URL: ") + url;
        qDebug().noquote() << QStringLiteral("Post Input: ") + QString::fromUtf8(postDataString);
    }
    return send(m_manager.post(makeRequest(url), postDataString), error);
}

QByteArray Server::send(QNetworkReply *reply, ServerError &error)
{
    if (!reply) {
        error = NoReply;
        m_requestInProcess = false;
        return QByteArray();
    }
    m_reply = reply;
    connect(reply, &QNetworkReply::errorOccurred, this, &Server::networkError);
    waitForReply(error);
    m_requestInProcess = false;
    return m_response;
}

void Server::waitForReply(ServerError &error)
{
    m_response.clear();
    if (m_reply && !m_reply->isFinished()) {
        QEventLoop loop;
        connect(m_reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        connect(m_reply, &QObject::destroyed, &loop, &QEventLoop::quit);
        QTimer timeout;
        timeout.setSingleShot(true);
        connect(&timeout, &QTimer::timeout, this, [this] {
            qDebug().nospace() << "Server request timed out after " << m_requestTimeoutMs
                               << " ms. Abort api network request";
            failCurrentReply();
        });
        timeout.start(m_requestTimeoutMs);
        loop.exec();
    }

    if (!m_reply) {
        error = RequestFailed;
        return;
    }
    if (m_reply->error() == QNetworkReply::ContentAccessDenied && m_errorOverride == NoServerError)
        error = NoReply;
    else if (m_errorOverride != NoServerError)
        error = static_cast<ServerError>(m_errorOverride);
    if (m_reply->isOpen())
        m_response = m_reply->readAll();
    m_reply->deleteLater();
    m_reply = nullptr;
}

// Aborting (rather than closing) also drops the connection, so a silent
// server cannot hold it.
void Server::failCurrentReply()
{
    m_errorOverride = RequestFailed;
    if (m_reply && m_reply->isRunning())
        m_reply->abort();
}

UpdateInfo Server::getUpdate(int osKind, ServerError &error)
{
    const QString word = osWord(osKind);
    if (word.isEmpty())
        return UpdateInfo();

    QString address = apiUrl(QStringLiteral("getupdate"));
    address += QStringLiteral("?%1=%2").arg(QStringLiteral("osversion"), word);
    address += QStringLiteral("&%1=%2").arg(QStringLiteral("X-API-KEY"), apiKey());
    address += QStringLiteral("&%1=%2").arg(QStringLiteral("product_id")).arg(1);

    const QByteArray body = getJson(address, error);
    if (error != NoServerError)
        return UpdateInfo();

    bool accepted = false;
    const UpdateInfo info = parseUpdateAnswer(body, accepted);
    if (!accepted)
        error = UpdateRefused;
    return info;
}

void Server::resetRequestInProcessFlag()
{
    m_requestInProcess = false;
}

void Server::closeNetworkReply()
{
    qDebug() << "Server abort. Closing network request";
    if (m_reply)
        failCurrentReply();
}

void Server::setLogging(bool logging)
{
    m_logging = logging;
}

// An unverified certificate is never accepted: the errors are logged and the
// handshake fails, which ends the request with RequestFailed.
void Server::sslErrorsCallback(QNetworkReply *reply, const QList<QSslError> &errors)
{
    Q_UNUSED(reply)
    for (const QSslError &sslError : errors)
        qDebug().noquote() << QStringLiteral("SSL error: ") + sslError.errorString();
    m_errorOverride = RequestFailed;
}

QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
void Server::networkAccessibilityChanged(QNetworkAccessManager::NetworkAccessibility accessible)
{
    if (accessible != QNetworkAccessManager::NotAccessible)
        return;
    qDebug() << "No network accessibility.";
    failCurrentReply();
}
QT_WARNING_POP

void Server::onAuthenticationRequired(QNetworkReply *reply, QAuthenticator *authenticator)
{
    Q_UNUSED(authenticator)
    qDebug().noquote() << QStringLiteral("Authentication required on request: ") + reply->url().toString();
    m_errorOverride = RequestFailed;
    reply->abort();
}

// The reply finishes on its own right after reporting an error; aborting it
// from here would only make Qt warn about a second error.
void Server::networkError(QNetworkReply::NetworkError code)
{
    if (code == QNetworkReply::NoError || code == QNetworkReply::OperationCanceledError)
        return;
    m_errorOverride = RequestFailed;
    qDebug().nospace() << "Server Network Error. Abort api network request QNetworkReply::NetworkError = " << code;
}
