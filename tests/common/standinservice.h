#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSslCertificate>
#include <QSslKey>
#include <QString>
#include <QTcpServer>

// A stand-in for the maker's web service: a small HTTP/1.1 server on
// 127.0.0.1 that answers "api/getupdate" and serves installer files, records
// every request, and can misbehave on purpose. One request per connection.
class StandInService : public QTcpServer
{
    Q_OBJECT

public:
    struct Request
    {
        QByteArray method;
        QString path;
        QList<QPair<QString, QString>> query; // in the order sent
        QHash<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;
    };

    enum class Delivery {
        Complete,
        CutShort, // Content-Length announced, half the body sent, connection closed
        NoContentLength, // body ended by closing the connection
        NeverAnswer,
    };

    explicit StandInService(QObject *parent = nullptr);

    // Listens on 127.0.0.1 at a free port.
    bool start();
    bool startTls(const QSslKey &key, const QSslCertificate &certificate);
    // "http://127.0.0.1:port/" or its https form.
    QString baseUrl() const;

    void setUpdateAnswer(const QByteArray &json, int status = 200);
    // Files go out in chunks, so the client sees several progress reports.
    void serveFile(const QString &path, const QByteArray &content, Delivery delivery = Delivery::Complete);
    // Serves content at path and, at path + ".sig", its signature made with
    // the stand-in's signing key.
    void serveSignedFile(const QString &path, const QByteArray &content, Delivery delivery = Delivery::Complete);
    void serveRedirect(const QString &path, const QString &location);
    void serveStatus(const QString &path, int status, const QByteArray &body);
    void setNeverAnswer(const QString &path);

    QList<Request> requests() const { return m_requests; }
    QList<Request> requestsFor(const QString &path) const;
    // Connections that ended before a whole request arrived, such as a
    // refused TLS handshake.
    int abandonedConnections() const { return m_abandonedConnections; }

    // The stand-in's own Ed25519 signing key (a fixed test key, not the
    // maker's): its raw public half, and detached signatures made with it.
    static QByteArray signingPublicKey();
    static QByteArray sign(const QByteArray &content);

    // A key and a self-signed certificate for 127.0.0.1, made by the openssl
    // command in folder. False, with the reason, when they cannot be made.
    static bool makeSelfSignedCertificate(const QString &folder, QSslKey &key, QSslCertificate &certificate,
                                          QString &why);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Route
    {
        int status = 200;
        QByteArray body;
        QList<QPair<QByteArray, QByteArray>> headers;
        Delivery delivery = Delivery::Complete;
    };

    void readRequest(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const Route &route);

    QHash<QString, Route> m_routes;
    QList<Request> m_requests;
    int m_abandonedConnections = 0;
    bool m_tls = false;
    QSslKey m_key;
    QSslCertificate m_certificate;
};
