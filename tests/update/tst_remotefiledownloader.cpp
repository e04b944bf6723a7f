#include "common/logcapture.h"
#include "common/standinservice.h"
#include "update/remotefiledownloader.h"

#include <QSignalSpy>
#include <QSslConfiguration>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray payload(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xff);
    return bytes;
}

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestRemoteFileDownloader : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void outcomes_data();
    void outcomes();
    void unwritableTargetFails();
    void secondDownloadIsIgnored();
    void stalledDownloadFails();
    void lostNetworkReportsOnce();
    void lostNetworkWhileIdleReportsNothing();
    void tlsRedirects_data();
    void tlsRedirects();

private:
    QTemporaryDir m_folder;
};

void TestRemoteFileDownloader::init()
{
    QVERIFY(m_folder.isValid());
}

void TestRemoteFileDownloader::outcomes_data()
{
    QTest::addColumn<QString>("route");
    QTest::addColumn<bool>("success");
    QTest::addColumn<qint64>("announcedTotal");
    QTest::addColumn<QStringList>("pathsRequested");

    const QStringList installer = {QStringLiteral("/files/Setup.exe")};
    QTest::newRow("complete") << "complete" << true << qint64(64 * 1024) << installer;
    QTest::newRow("no content length") << "no length" << true << qint64(-1) << installer;
    QTest::newRow("redirect to another address")
        << "redirect" << false << qint64(-2) << QStringList{QStringLiteral("/files/Setup.exe")};
    QTest::newRow("not found with a body") << "404" << false << qint64(-2) << installer;
    QTest::newRow("server error with a body") << "500" << false << qint64(-2) << installer;
    QTest::newRow("cut short of its length") << "cut short" << false << qint64(64 * 1024) << installer;
    QTest::newRow("empty body") << "empty" << false << qint64(-2) << installer;
    QTest::newRow("refused connection") << "refused" << false << qint64(-2) << QStringList();
}

void TestRemoteFileDownloader::outcomes()
{
    QFETCH(QString, route);
    QFETCH(bool, success);
    QFETCH(qint64, announcedTotal);

    const QByteArray content = payload(64 * 1024);
    const QString path = QStringLiteral("/files/Setup.exe");
    StandInService service;
    StandInService elsewhere;
    QVERIFY(service.start());
    QVERIFY(elsewhere.start());
    elsewhere.serveFile(path, content);
    if (route == QLatin1String("complete"))
        service.serveFile(path, content);
    else if (route == QLatin1String("no length"))
        service.serveFile(path, content, StandInService::Delivery::NoContentLength);
    else if (route == QLatin1String("redirect"))
        service.serveRedirect(path, elsewhere.baseUrl() + QStringLiteral("files/Setup.exe"));
    else if (route == QLatin1String("404"))
        service.serveStatus(path, 404, "<html><body>" + QByteArray(2000, 'x') + "</body></html>");
    else if (route == QLatin1String("500"))
        service.serveStatus(path, 500, "<html><body>broken</body></html>");
    else if (route == QLatin1String("cut short"))
        service.serveFile(path, content, StandInService::Delivery::CutShort);
    else if (route == QLatin1String("empty"))
        service.serveFile(path, QByteArray());
    const QString url = service.baseUrl() + QStringLiteral("files/Setup.exe");
    if (route == QLatin1String("refused"))
        service.close();

    const QString target = m_folder.filePath(QStringLiteral("Setup.exe"));
    QFile::remove(target);
    auto *downloader = new RemoteFileDownloader;
    QPointer<RemoteFileDownloader> alive(downloader);
    connect(downloader, &RemoteFileDownloader::sgCompleted, downloader, &QObject::deleteLater);
    QSignalSpy done(downloader, &RemoteFileDownloader::sgFileDownloaded);
    QSignalSpy completed(downloader, &RemoteFileDownloader::sgCompleted);
    QSignalSpy progress(downloader, &RemoteFileDownloader::sgDownloadProgress);
    downloader->download(url, target);
    QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 10000);
    QCOMPARE(done.first().at(0).toString(), target);
    QCOMPARE(done.first().at(1).toBool(), success);
    QCOMPARE(completed.size(), 1);
    QTRY_VERIFY(alive.isNull());

    QCOMPARE(QFile::exists(target), success);
    if (success)
        QCOMPARE(fileContent(target), content);
    if (announcedTotal != -2) {
        QVERIFY2(progress.size() > 2, qPrintable(QStringLiteral("%1 progress reports").arg(progress.size())));
        // Without an announced size Qt names the total only in its final
        // report, once it is known.
        for (int i = 0; i < progress.size() - 1; ++i)
            QCOMPARE(progress.at(i).at(1).toLongLong(), announcedTotal);
        if (success)
            QCOMPARE(progress.last().at(0).toLongLong(), qint64(content.size()));
    }
    QStringList requested;
    for (const StandInService::Request &request : service.requests())
        requested << request.path;
    QTEST(requested, "pathsRequested");
    QVERIFY2(elsewhere.requests().isEmpty(), "a redirect is not followed");
}

void TestRemoteFileDownloader::unwritableTargetFails()
{
    StandInService service;
    QVERIFY(service.start());
    service.serveFile(QStringLiteral("/Setup.exe"), payload(1000));

    const QString target = m_folder.filePath(QStringLiteral("missing/Setup.exe"));
    RemoteFileDownloader downloader;
    QSignalSpy done(&downloader, &RemoteFileDownloader::sgFileDownloaded);
    LogCapture log;
    downloader.download(service.baseUrl() + QStringLiteral("Setup.exe"), target);
    QTRY_COMPARE(done.size(), 1);
    QCOMPARE(done.first().at(1).toBool(), false);
    QVERIFY(log.contains(QStringLiteral("Download Error: Could not create file on disk to write: ") + target));
}

void TestRemoteFileDownloader::secondDownloadIsIgnored()
{
    StandInService service;
    QVERIFY(service.start());
    service.serveFile(QStringLiteral("/first.exe"), payload(32 * 1024));
    service.serveFile(QStringLiteral("/second.exe"), payload(100));

    RemoteFileDownloader downloader;
    QSignalSpy done(&downloader, &RemoteFileDownloader::sgFileDownloaded);
    LogCapture log;
    const QString first = m_folder.filePath(QStringLiteral("first.exe"));
    downloader.download(service.baseUrl() + QStringLiteral("first.exe"), first);
    downloader.download(service.baseUrl() + QStringLiteral("second.exe"), m_folder.filePath(QStringLiteral("second.exe")));
    QVERIFY(log.contains(QStringLiteral("Another file download already in progress")));
    QTRY_COMPARE(done.size(), 1);
    QTest::qWait(200);
    QCOMPARE(done.size(), 1);
    QCOMPARE(done.first().at(0).toString(), first);
    QCOMPARE(done.first().at(1).toBool(), true);
    QCOMPARE(service.requests().size(), 1);
    QVERIFY(!QFile::exists(m_folder.filePath(QStringLiteral("second.exe"))));

    // Once the first has ended, the next download is taken.
    downloader.download(service.baseUrl() + QStringLiteral("second.exe"), m_folder.filePath(QStringLiteral("second.exe")));
    QTRY_COMPARE(done.size(), 2);
    QCOMPARE(done.last().at(1).toBool(), true);
}

void TestRemoteFileDownloader::stalledDownloadFails()
{
    StandInService service;
    QVERIFY(service.start());
    service.setNeverAnswer(QStringLiteral("/Setup.exe"));

    RemoteFileDownloader downloader;
    downloader.setStallTimeout(300);
    QSignalSpy done(&downloader, &RemoteFileDownloader::sgFileDownloaded);
    QElapsedTimer clock;
    clock.start();
    downloader.download(service.baseUrl() + QStringLiteral("Setup.exe"), m_folder.filePath(QStringLiteral("Setup.exe")));
    QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 5000);
    QCOMPARE(done.first().at(1).toBool(), false);
    QVERIFY2(clock.elapsed() >= 285, qPrintable(QString::number(clock.elapsed()))); // coarse timers may fire 5 % early
    QVERIFY(!downloader.isBusy());
}

void TestRemoteFileDownloader::lostNetworkReportsOnce()
{
    StandInService service;
    QVERIFY(service.start());
    service.setNeverAnswer(QStringLiteral("/Setup.exe"));

    RemoteFileDownloader downloader;
    QSignalSpy done(&downloader, &RemoteFileDownloader::sgFileDownloaded);
    QSignalSpy completed(&downloader, &RemoteFileDownloader::sgCompleted);
    const QString target = m_folder.filePath(QStringLiteral("Setup.exe"));
    downloader.download(service.baseUrl() + QStringLiteral("Setup.exe"), target);
    QTRY_COMPARE(service.requests().size(), 1);

    LogCapture log;
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
    downloader.networkAccessibilityChanged(QNetworkAccessManager::NotAccessible);
QT_WARNING_POP
    QCOMPARE(done.size(), 1);
    QCOMPARE(done.first().at(0).toString(), target);
    QCOMPARE(done.first().at(1).toBool(), false);
    QCOMPARE(completed.size(), 1);
    QVERIFY(log.contains(QStringLiteral("No network accessibility while downloading file ")));
    // The aborted reply's own end is no second outcome.
    QTest::qWait(300);
    QCOMPARE(done.size(), 1);
    QCOMPARE(completed.size(), 1);
}

void TestRemoteFileDownloader::lostNetworkWhileIdleReportsNothing()
{
    RemoteFileDownloader downloader;
    QSignalSpy done(&downloader, &RemoteFileDownloader::sgFileDownloaded);
    QSignalSpy completed(&downloader, &RemoteFileDownloader::sgCompleted);
QT_WARNING_PUSH
QT_WARNING_DISABLE_DEPRECATED
    downloader.networkAccessibilityChanged(QNetworkAccessManager::NotAccessible);
QT_WARNING_POP
    QCOMPARE(done.size(), 0);
    QCOMPARE(completed.size(), 0);
}

void TestRemoteFileDownloader::tlsRedirects_data()
{
    QTest::addColumn<bool>("trusted");
    QTest::addColumn<QString>("route");
    QTest::addColumn<bool>("success");
    QTest::newRow("self-signed certificate") << false << "direct" << false;
    QTest::newRow("trusted certificate") << true << "direct" << true;
    QTest::newRow("https to https redirect followed") << true << "to https" << true;
    QTest::newRow("https to http redirect refused") << true << "to http" << false;
}

void TestRemoteFileDownloader::tlsRedirects()
{
    QFETCH(bool, trusted);
    QFETCH(QString, route);
    QFETCH(bool, success);
    QSslKey key;
    QSslCertificate certificate;
    QString why;
    if (!StandInService::makeSelfSignedCertificate(m_folder.path(), key, certificate, why))
        QSKIP(qPrintable(QStringLiteral("No TLS test server: ") + why));

    const QSslConfiguration original = QSslConfiguration::defaultConfiguration();
    if (trusted) {
        QSslConfiguration withOurCertificate = original;
        withOurCertificate.addCaCertificate(certificate);
        QSslConfiguration::setDefaultConfiguration(withOurCertificate);
    }
    auto restore = qScopeGuard([&] { QSslConfiguration::setDefaultConfiguration(original); });

    const QByteArray content = payload(20000);
    StandInService secure;
    StandInService plain;
    QVERIFY(secure.startTls(key, certificate));
    QVERIFY(plain.start());
    secure.serveFile(QStringLiteral("/final/Setup.exe"), content);
    plain.serveFile(QStringLiteral("/final/Setup.exe"), content);
    secure.serveRedirect(QStringLiteral("/moved/Setup.exe"),
                         (route == QLatin1String("to http") ? plain.baseUrl() : secure.baseUrl())
                             + QStringLiteral("final/Setup.exe"));
    const QString start = route == QLatin1String("direct") ? QStringLiteral("final/Setup.exe")
                                                            : QStringLiteral("moved/Setup.exe");

    const QString target = m_folder.filePath(QStringLiteral("Setup.exe"));
    QFile::remove(target);
    RemoteFileDownloader downloader;
    QSignalSpy done(&downloader, &RemoteFileDownloader::sgFileDownloaded);
    LogCapture log;
    downloader.download(secure.baseUrl() + start, target);
    QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 10000);
    QCOMPARE(done.first().at(1).toBool(), success);
    QCOMPARE(fileContent(target), success ? content : QByteArray());
    QVERIFY(plain.requests().isEmpty());
    if (!trusted) {
        QVERIFY(secure.requests().isEmpty());
        bool sslLine = false;
        for (const QString &line : log.lines())
            sslLine = sslLine || line.startsWith(QStringLiteral("SSL Error: "));
        QVERIFY(sslLine);
    }
}

QTEST_GUILESS_MAIN(TestRemoteFileDownloader)

#include "tst_remotefiledownloader.moc"
