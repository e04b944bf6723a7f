#include "common/standinservice.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSslSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>

#include <openssl/evp.h>

#include <memory>

namespace {

constexpr int kChunkSize = 4096;
// Qt reports download progress at most every 100 ms: a file must take a few
// hundred milliseconds to show several reports.
constexpr int kChunkIntervalMs = 25;
const char *const kBufferProperty = "standInBuffer";
const char *const kAnsweredProperty = "standInAnswered";

// A fixed seed, so a failing run can be repeated byte for byte.
const unsigned char kSigningSeed[32] = {
    0x22, 0x11, 0x52, 0x99, 0xaa, 0xc9, 0x91, 0x15, 0x1f, 0x50, 0x55, 0xa7, 0x8d, 0x0e, 0x9d, 0x05,
    0xeb, 0xe8, 0xca, 0xc7, 0xa8, 0x64, 0xc5, 0x5d, 0xfd, 0x2a, 0x98, 0x40, 0xa3, 0xf0, 0xf0, 0x25,
};

using KeyPtr = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;

KeyPtr signingKey()
{
    KeyPtr key(EVP_PKEY_new_raw_private_key(EVP_PKEY_ED25519, nullptr, kSigningSeed, sizeof kSigningSeed),
               &EVP_PKEY_free);
    if (!key)
        qFatal("OpenSSL cannot make the stand-in's Ed25519 key");
    return key;
}

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

} // namespace

StandInService::StandInService(QObject *parent)
    : QTcpServer(parent)
{
}

bool StandInService::start()
{
    m_tls = false;
    return listen(QHostAddress::LocalHost, 0);
}

bool StandInService::startTls(const QSslKey &key, const QSslCertificate &certificate)
{
    m_tls = true;
    m_key = key;
    m_certificate = certificate;
    return listen(QHostAddress::LocalHost, 0);
}

QString StandInService::baseUrl() const
{
    return QStringLiteral("%1://127.0.0.1:%2/").arg(m_tls ? QStringLiteral("https") : QStringLiteral("http")).arg(serverPort());
}

void StandInService::setUpdateAnswer(const QByteArray &json, int status)
{
    Route route;
    route.status = status;
    route.body = json;
    route.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("application/json")));
    m_routes.insert(QStringLiteral("/api/getupdate"), route);
}

void StandInService::serveFile(const QString &path, const QByteArray &content, Delivery delivery)
{
    Route route;
    route.body = content;
    route.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("application/octet-stream")));
    route.delivery = delivery;
    m_routes.insert(path, route);
}

void StandInService::serveSignedFile(const QString &path, const QByteArray &content, Delivery delivery)
{
    serveFile(path, content, delivery);
    serveFile(path + QStringLiteral(".sig"), sign(content));
}

QByteArray StandInService::signingPublicKey()
{
    QByteArray raw(32, '\0');
    size_t size = size_t(raw.size());
    if (EVP_PKEY_get_raw_public_key(signingKey().get(), reinterpret_cast<unsigned char *>(raw.data()), &size) != 1)
        qFatal("OpenSSL cannot give the stand-in's public key");
    return raw.left(int(size));
}

QByteArray StandInService::sign(const QByteArray &content)
{
    const KeyPtr key = signingKey();
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    QByteArray signature(64, '\0');
    size_t size = size_t(signature.size());
    if (!context || EVP_DigestSignInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1
        || EVP_DigestSign(context.get(), reinterpret_cast<unsigned char *>(signature.data()), &size,
                          reinterpret_cast<const unsigned char *>(content.constData()), size_t(content.size()))
               != 1)
        qFatal("OpenSSL cannot sign for the stand-in");
    return signature.left(int(size));
}

void StandInService::serveRedirect(const QString &path, const QString &location)
{
    Route route;
    route.status = 302;
    route.body = "moved";
    route.headers.append(qMakePair(QByteArray("Location"), QByteArray(location.toUtf8())));
    m_routes.insert(path, route);
}

void StandInService::serveStatus(const QString &path, int status, const QByteArray &body)
{
    Route route;
    route.status = status;
    route.body = body;
    route.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("text/html")));
    m_routes.insert(path, route);
}

void StandInService::setNeverAnswer(const QString &path)
{
    Route route;
    route.delivery = Delivery::NeverAnswer;
    m_routes.insert(path, route);
}

QList<StandInService::Request> StandInService::requestsFor(const QString &path) const
{
    QList<Request> matching;
    for (const Request &request : m_requests) {
        if (request.path == path)
            matching.append(request);
    }
    return matching;
}

void StandInService::incomingConnection(qintptr descriptor)
{
    QTcpSocket *socket = nullptr;
    if (m_tls) {
        auto *sslSocket = new QSslSocket(this);
        sslSocket->setSocketDescriptor(descriptor);
        sslSocket->setPrivateKey(m_key);
        sslSocket->setLocalCertificate(m_certificate);
        sslSocket->startServerEncryption();
        socket = sslSocket;
    } else {
        socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
    }
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        if (!socket->property(kAnsweredProperty).toBool())
            ++m_abandonedConnections;
        socket->deleteLater();
    });
}

void StandInService::readRequest(QTcpSocket *socket)
{
    if (socket->property(kAnsweredProperty).toBool())
        return;
    QByteArray buffer = socket->property(kBufferProperty).toByteArray() + socket->readAll();
    socket->setProperty(kBufferProperty, buffer);

    const int headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    Request request;
    request.method = requestLine.value(0);
    for (int i = 1; i < lines.size(); ++i) {
        const int colon = lines.at(i).indexOf(':');
        if (colon > 0)
            request.headers.insert(lines.at(i).left(colon).trimmed().toLower(), lines.at(i).mid(colon + 1).trimmed());
    }
    const int bodyLength = request.headers.value("content-length").toInt();
    if (buffer.size() < headerEnd + 4 + bodyLength)
        return;
    request.body = buffer.mid(headerEnd + 4, bodyLength);

    const QUrl target(QStringLiteral("http://127.0.0.1") + QString::fromLatin1(requestLine.value(1)));
    request.path = target.path(QUrl::FullyDecoded);
    request.query = QUrlQuery(target).queryItems(QUrl::FullyDecoded);
    m_requests.append(request);
    socket->setProperty(kAnsweredProperty, true);

    Route route;
    route.status = 404;
    route.body = "<html><body>No such page</body></html>";
    answer(socket, m_routes.value(request.path, route));
}

void StandInService::answer(QTcpSocket *socket, const Route &route)
{
    if (route.delivery == Delivery::NeverAnswer)
        return;

    QByteArray head = "HTTP/1.1 " + QByteArray::number(route.status) + ' ' + reasonPhrase(route.status) + "\r\n";
    for (const auto &header : route.headers)
        head += header.first + ": " + header.second + "\r\n";
    if (route.delivery != Delivery::NoContentLength)
        head += "Content-Length: " + QByteArray::number(route.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head);

    const QByteArray body = route.delivery == Delivery::CutShort ? route.body.left(route.body.size() / 2) : route.body;
    auto *pacer = new QTimer(socket);
    pacer->setInterval(kChunkIntervalMs);
    auto sent = std::make_shared<int>(0);
    connect(pacer, &QTimer::timeout, socket, [socket, pacer, body, sent] {
        if (*sent < body.size()) {
            socket->write(body.mid(*sent, kChunkSize));
            *sent += kChunkSize;
            return;
        }
        pacer->stop();
        socket->disconnectFromHost();
    });
    pacer->start();
}

bool StandInService::makeSelfSignedCertificate(const QString &folder, QSslKey &key, QSslCertificate &certificate,
                                               QString &why)
{
    if (!QSslSocket::supportsSsl()) {
        why = QStringLiteral("Qt has no TLS support here");
        return false;
    }
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (openssl.isEmpty()) {
        why = QStringLiteral("the openssl command is not installed (Debian package openssl)");
        return false;
    }
    const QString keyPath = QDir(folder).filePath(QStringLiteral("key.pem"));
    const QString certificatePath = QDir(folder).filePath(QStringLiteral("certificate.pem"));
    QProcess process;
    process.start(openssl, {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                            QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-subj"),
                            QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                            QStringLiteral("subjectAltName=IP:127.0.0.1"), QStringLiteral("-days"), QStringLiteral("1"),
                            QStringLiteral("-keyout"), keyPath, QStringLiteral("-out"), certificatePath});
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        why = QStringLiteral("openssl failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
        return false;
    }
    QFile keyFile(keyPath);
    QFile certificateFile(certificatePath);
    if (!keyFile.open(QIODevice::ReadOnly) || !certificateFile.open(QIODevice::ReadOnly)) {
        why = QStringLiteral("openssl wrote no key or certificate");
        return false;
    }
    key = QSslKey(keyFile.readAll(), QSsl::Rsa, QSsl::Pem);
    certificate = QSslCertificate(certificateFile.readAll(), QSsl::Pem);
    if (key.isNull() || certificate.isNull()) {
        why = QStringLiteral("the key or certificate openssl wrote does not load");
        return false;
    }
    return true;
}
