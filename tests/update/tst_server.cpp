#include "app/productinfo.h"
#include "common/logcapture.h"
#include "common/standinservice.h"
#include "update/server.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Query = QList<QPair<QString, QString>>;

const QByteArray kOffer = R"({"success": true, "result": {"appversion": "1.2",
    "downloadPath": "https://downloads.example/Sonvel%20Setup.exe", "osVersion": "win", "forceUpdate": "true"}})";

QString key()
{
    return QString::fromLatin1(ProductInfo::apiKey);
}

} // namespace

class TestServer : public QObject
{
    Q_OBJECT

private slots:
    void getUpdateAnswers_data();
    void getUpdateAnswers();
    void requestForm_data();
    void requestForm();
    void kindWithoutInstallersSendsNothing_data();
    void kindWithoutInstallersSendsNothing();
    void postSendsBody();
    void loggingWritesAddresses_data();
    void loggingWritesAddresses();
    void secondRequestWhileRunningIsRefused();
    void silentServerTimesOut();
    void interruptedRequestFails_data();
    void interruptedRequestFails();
    void unreachableServiceFails();
    void selfSignedCertificateIsRefused();
};

void TestServer::getUpdateAnswers_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("downloadPath");
    QTest::addColumn<int>("os");
    QTest::addColumn<bool>("forceUpdate");

    const QString path = QStringLiteral("https://downloads.example/Sonvel%20Setup.exe");
    QTest::newRow("offer") << kOffer << 200 << 0 << "1.2" << path << 1 << true;
    QTest::newRow("success TRUE in capitals") << QByteArray(R"({"success": " TRUE ", "result": {"appversion": "1.3",
        "downloadPath": "u", "osVersion": "mac", "forceUpdate": "false"}})")
                                              << 200 << 0 << "1.3" << "u" << 2 << false;
    QTest::newRow("success yes") << QByteArray(R"({"success": "yes", "result": {"appversion": "1.3",
        "downloadPath": "u", "osVersion": "win"}})") << 200 << 8 << "" << "" << 0 << false;
    QTest::newRow("success false") << QByteArray(R"({"success": false, "result": {"appversion": "1.3"}})")
                                   << 200 << 8 << "" << "" << 0 << false;
    QTest::newRow("bad json") << QByteArray("{\"success\": true, \"result\": {") << 200 << 8 << "" << "" << 0 << false;
    QTest::newRow("not found") << kOffer << 404 << 1 << "" << "" << 0 << false;
    QTest::newRow("server error") << kOffer << 500 << 1 << "" << "" << 0 << false;
    QTest::newRow("osVersion Win") << QByteArray(R"({"success": "true", "result": {"appversion": "1.2",
        "downloadPath": "u", "osVersion": "Win", "forceUpdate": "true"}})") << 200 << 0 << "1.2" << "u" << 0 << true;
    QTest::newRow("forceUpdate True") << QByteArray(R"({"success": "true", "result": {"appversion": "1.2",
        "downloadPath": "u", "osVersion": "win", "forceUpdate": "True"}})") << 200 << 0 << "1.2" << "u" << 1 << false;
    QTest::newRow("values as json numbers and booleans") << QByteArray(R"({"success": true, "result":
        {"appversion": 1.5, "downloadPath": "u", "osVersion": "win", "forceUpdate": true}})")
                                                         << 200 << 0 << "1.5" << "u" << 1 << true;
    QTest::newRow("no result") << QByteArray(R"({"success": true})") << 200 << 0 << "" << "" << 0 << false;
}

void TestServer::getUpdateAnswers()
{
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    StandInService service;
    QVERIFY(service.start());
    service.setUpdateAnswer(body, status);

    Server server(service.baseUrl());
    ServerError error = RequestBusy;
    const UpdateInfo info = server.getUpdate(OsKind::Windows, error);
    QTEST(int(error), "error");
    QTEST(info.version, "version");
    QTEST(info.downloadPath, "downloadPath");
    QTEST(info.os, "os");
    QTEST(info.forceUpdate, "forceUpdate");
    QCOMPARE(service.requests().size(), 1);
}

void TestServer::requestForm_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("word");
    QTest::newRow("windows") << int(OsKind::Windows) << "win";
    QTest::newRow("macos") << int(OsKind::MacOs) << "mac";
}

void TestServer::requestForm()
{
    QFETCH(int, kind);
    QFETCH(QString, word);
    StandInService service;
    QVERIFY(service.start());
    service.setUpdateAnswer(kOffer);

    Server server(service.baseUrl());
    QCOMPARE(server.apiUrl(QStringLiteral("getupdate")), service.baseUrl() + QStringLiteral("api/getupdate"));
    ServerError error = RequestBusy;
    server.getUpdate(kind, error);
    QCOMPARE(int(error), 0);

    QCOMPARE(service.requests().size(), 1);
    const StandInService::Request request = service.requests().first();
    QCOMPARE(request.method, QByteArray("GET"));
    QCOMPARE(request.path, QStringLiteral("/api/getupdate"));
    const Query expected = {{QStringLiteral("osversion"), word},
                            {QStringLiteral("X-API-KEY"), key()},
                            {QStringLiteral("product_id"), QStringLiteral("1")}};
    QCOMPARE(request.query, expected);
    QCOMPARE(request.headers.value("x-api-key"), key().toUtf8());
    QCOMPARE(request.headers.value("content-type"), QByteArray("application/json"));
}

void TestServer::kindWithoutInstallersSendsNothing_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("unknown") << 0;
    QTest::newRow("out of range") << 3;
}

void TestServer::kindWithoutInstallersSendsNothing()
{
    QFETCH(int, kind);
    StandInService service;
    QVERIFY(service.start());
    service.setUpdateAnswer(kOffer);

    Server server(service.baseUrl());
    ServerError error = RequestBusy;
    const UpdateInfo info = server.getUpdate(kind, error);
    QCOMPARE(int(error), int(RequestBusy));
    QVERIFY(info.downloadPath.isEmpty());
    QTest::qWait(50);
    QVERIFY(service.requests().isEmpty());
}

void TestServer::postSendsBody()
{
    StandInService service;
    QVERIFY(service.start());
    service.serveStatus(QStringLiteral("/api/echo"), 200, "{\"ok\": 1}");

    Server server(service.baseUrl());
    ServerError error = RequestBusy;
    const QByteArray answer = server.postJson(server.apiUrl(QStringLiteral("echo")), "{\"a\": \"b\"}", error);
    QCOMPARE(int(error), 0);
    QCOMPARE(answer, QByteArray("{\"ok\": 1}"));
    QCOMPARE(service.requests().size(), 1);
    QCOMPARE(service.requests().first().method, QByteArray("POST"));
    QCOMPARE(service.requests().first().body, QByteArray("{\"a\": \"b\"}"));
    QCOMPARE(service.requests().first().headers.value("x-api-key"), key().toUtf8());
}

void TestServer::loggingWritesAddresses_data()
{
    QTest::addColumn<bool>("logging");
    QTest::newRow("off") << false;
    QTest::newRow("on") << true;
}

void TestServer::loggingWritesAddresses()
{
    QFETCH(bool, logging);
    StandInService service;
    QVERIFY(service.start());
    service.serveStatus(QStringLiteral("/api/echo"), 200, "{}");

    Server server(service.baseUrl());
    server.setLogging(logging);
    const QString url = server.apiUrl(QStringLiteral("echo"));
    LogCapture log;
    ServerError error = RequestBusy;
    server.getJson(url, error);
    server.postJson(url, "{\"a\": 1}", error);

    const QStringList expected = {QStringLiteral("Get URL: ") + url, QStringLiteral("Post URL: ") + url,
                                  QStringLiteral("Post Input: {\"a\": 1}")};
    for (const QString &line : expected)
        QCOMPARE(log.contains(line), logging);
    if (!logging) {
        for (const QString &line : log.lines())
            QVERIFY2(!line.startsWith(QStringLiteral("Get URL: ")), qPrintable(line));
    }
}

void TestServer::secondRequestWhileRunningIsRefused()
{
    StandInService service;
    QVERIFY(service.start());
    service.setNeverAnswer(QStringLiteral("/api/slow"));
    service.serveStatus(QStringLiteral("/api/echo"), 200, "{}");

    Server server(service.baseUrl());
    server.setRequestTimeout(1000);
    ServerError secondError = NoServerError;
    QByteArray secondBody = "untouched";
    int requestsSeenDuringFirst = -1;
    QTimer::singleShot(300, &server, [&] {
        requestsSeenDuringFirst = service.requests().size();
        secondBody = server.getJson(server.apiUrl(QStringLiteral("echo")), secondError);
    });
    ServerError firstError = NoServerError;
    server.getJson(server.apiUrl(QStringLiteral("slow")), firstError);

    QCOMPARE(requestsSeenDuringFirst, 1);
    QCOMPARE(int(secondError), int(RequestBusy));
    QVERIFY(secondBody.isEmpty());
    QCOMPARE(int(firstError), int(RequestFailed));
    QTest::qWait(50);
    QVERIFY(service.requestsFor(QStringLiteral("/api/echo")).isEmpty());

    // The refusal left the client usable.
    ServerError error = RequestBusy;
    QCOMPARE(server.getJson(server.apiUrl(QStringLiteral("echo")), error), QByteArray("{}"));
    QCOMPARE(int(error), 0);
}

void TestServer::silentServerTimesOut()
{
    StandInService service;
    QVERIFY(service.start());
    service.setNeverAnswer(QStringLiteral("/api/getupdate"));

    Server server(service.baseUrl());
    server.setRequestTimeout(300);
    QElapsedTimer clock;
    clock.start();
    ServerError error = NoServerError;
    const UpdateInfo info = server.getUpdate(OsKind::Windows, error);
    QCOMPARE(int(error), int(RequestFailed));
    QVERIFY(info.version.isEmpty());
    // Qt's coarse timers may fire up to 5 % early.
    QVERIFY2(clock.elapsed() >= 285 && clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(service.requests().size(), 1);
}

void TestServer::interruptedRequestFails_data()
{
    QTest::addColumn<QString>("interruption");
    QTest::addColumn<QString>("logLine");
    QTest::newRow("abort") << "abort" << "Server abort. Closing network request";
    QTest::newRow("network lost") << "network lost" << "No network accessibility.";
}

void TestServer::interruptedRequestFails()
{
    QFETCH(QString, interruption);
    QFETCH(QString, logLine);
    StandInService service;
    QVERIFY(service.start());
    service.setNeverAnswer(QStringLiteral("/api/slow"));

    Server server(service.baseUrl());
    LogCapture log;
    QTimer::singleShot(200, &server, [&] {
        if (interruption == QLatin1String("abort")) {
            server.closeNetworkReply();
        } else {
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
            server.networkAccessibilityChanged(QNetworkAccessManager::NotAccessible);
QT_WARNING_POP
        }
    });
    QElapsedTimer clock;
    clock.start();
    ServerError error = NoServerError;
    server.getJson(server.apiUrl(QStringLiteral("slow")), error);
    QCOMPARE(int(error), int(RequestFailed));
    QVERIFY(clock.elapsed() < 5000);
    QVERIFY(log.contains(logLine));
}

void TestServer::unreachableServiceFails()
{
    StandInService service;
    QVERIFY(service.start());
    const QString base = service.baseUrl();
    service.close();

    Server server(base);
    ServerError error = NoServerError;
    server.getUpdate(OsKind::Windows, error);
    QCOMPARE(int(error), int(RequestFailed));
}

void TestServer::selfSignedCertificateIsRefused()
{
    QTemporaryDir folder;
    QSslKey key;
    QSslCertificate certificate;
    QString why;
    if (!StandInService::makeSelfSignedCertificate(folder.path(), key, certificate, why))
        QSKIP(qPrintable(QStringLiteral("No TLS test server: ") + why));

    StandInService service;
    QVERIFY(service.startTls(key, certificate));
    service.setUpdateAnswer(kOffer);
    QVERIFY(service.baseUrl().startsWith(QStringLiteral("https://")));

    Server server(service.baseUrl());
    LogCapture log;
    ServerError error = NoServerError;
    const UpdateInfo info = server.getUpdate(OsKind::Windows, error);
    QCOMPARE(int(error), int(RequestFailed));
    QVERIFY(info.downloadPath.isEmpty());
    QVERIFY(service.requests().isEmpty());
    bool sslLine = false;
    for (const QString &line : log.lines())
        sslLine = sslLine || line.startsWith(QStringLiteral("SSL error: "));
    QVERIFY2(sslLine, qPrintable(log.lines().join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(TestServer)

#include "tst_server.moc"
