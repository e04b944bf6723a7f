#include "common/logcapture.h"
#include "common/standinservice.h"
#include "update/updatefixture.h"
#include "update/updatefolder.h"
#include "update/updater.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QByteArray offer(const QString &version, const QString &downloadPath)
{
    return QStringLiteral(R"({"success": true, "result": {"appversion": "%1", "downloadPath": "%2",
        "osVersion": "win", "forceUpdate": "false"}})")
        .arg(version, downloadPath)
        .toUtf8();
}

bool hasLineStartingWith(const LogCapture &log, const QString &start)
{
    for (const QString &line : log.lines()) {
        if (line.startsWith(start))
            return true;
    }
    return false;
}

} // namespace

class TestUpdater : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void versionDecides_data();
    void versionDecides();
    void serviceFailureStartsNothing();
    void otherSystemsSkipTheCheck();
    void updateDownloadsAndInstalls_data();
    void updateDownloadsAndInstalls();
    void failedDownloadKeepsSession_data();
    void failedDownloadKeepsSession();
    void installerThatCannotStart();
    void unsignedInstallerIsDeletedAndNotRun_data();
    void unsignedInstallerIsDeletedAndNotRun();
    void declinedInstallKeepsSession();
    void failureBeforeAnyFolderSparesWorkingDirectory();
    void removeDirectoryRecursively_data();
    void removeDirectoryRecursively();

private:
    // Points the application-data folder at a fresh place that does not exist
    // yet, as on a machine where the program never ran.
    QString freshDataHome();

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<StandInService> m_service;
    QString m_runLog;
};

void TestUpdater::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home->filePath(QStringLiteral("data"))));
    m_service = std::make_unique<StandInService>();
    QVERIFY(m_service->start());
    m_runLog = m_home->filePath(QStringLiteral("runs.txt"));
}

void TestUpdater::cleanup()
{
    m_service.reset();
    m_home.reset();
}

QString TestUpdater::freshDataHome()
{
    const QString base = updateBaseFolder();
    if (!base.startsWith(m_home->path()))
        qFatal("the application-data folder is not the test's own");
    return base;
}


void TestUpdater::versionDecides_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("withPath");
    QTest::addColumn<bool>("started");
    QTest::addColumn<QString>("logLine");
    const QString notNewer = QStringLiteral("Update version is less that or equal to current version");
    QTest::newRow("same version") << "1.1" << true << false << notNewer;
    QTest::newRow("1.10 reads as 1.1") << "1.10" << true << false << notNewer;
    QTest::newRow("older") << "1.0" << true << false << notNewer;
    QTest::newRow("not a number") << "2.0.1" << true << false << notNewer;
    QTest::newRow("newer without download path") << "1.2" << false << false
                                                  << QStringLiteral("Update download path is empty");
    QTest::newRow("newer") << "1.2" << true << true << QStringLiteral("Downloading app from url : ");
}

void TestUpdater::versionDecides()
{
    QFETCH(QString, version);
    QFETCH(bool, withPath);
    QFETCH(bool, started);
    QFETCH(QString, logLine);
    const QString base = freshDataHome();
    const QString downloadPath = withPath ? m_service->baseUrl() + QStringLiteral("files/Setup.exe") : QString();
    m_service->setUpdateAnswer(offer(version, downloadPath));
    m_service->serveSignedFile(QStringLiteral("/files/Setup.exe"), installerScript(m_runLog, 1));

    CommandRecorder recorder;
    LogCapture log;
    auto updater = makeTestUpdater(m_service->baseUrl());
    QCOMPARE(updater->checkForUpdate(), started);
    QVERIFY2(hasLineStartingWith(log, logLine), qPrintable(log.lines().join(QLatin1Char('\n'))));
    if (started) {
        QTRY_COMPARE_WITH_TIMEOUT(recorder.withId(Commands::Quit).size(), 1, 10000);
    } else {
        QTest::qWait(100);
        QVERIFY(recorder.commands.isEmpty());
        QVERIFY(updateFolders(base).isEmpty());
    }
    QCOMPARE(m_service->requestsFor(QStringLiteral("/files/Setup.exe")).size(), started ? 1 : 0);
    QCOMPARE(installerRuns(m_runLog).size(), started ? 1 : 0);
}

void TestUpdater::serviceFailureStartsNothing()
{
    m_service->setUpdateAnswer(offer(QStringLiteral("1.2"), m_service->baseUrl() + QStringLiteral("Setup.exe")), 404);
    CommandRecorder recorder;
    auto updater = makeTestUpdater(m_service->baseUrl());
    QVERIFY(!updater->checkForUpdate());
    QVERIFY(recorder.commands.isEmpty());
    QVERIFY(updateFolders(freshDataHome()).isEmpty());
}

void TestUpdater::otherSystemsSkipTheCheck()
{
    m_service->setUpdateAnswer(offer(QStringLiteral("1.2"), m_service->baseUrl() + QStringLiteral("Setup.exe")));
    LogCapture log;
    Updater updater(m_service->baseUrl());
    QVERIFY(!updater.checkForUpdate());
    QVERIFY(log.contains(QStringLiteral("Update check skipped: the web service has no installer for this system")));
    QTest::qWait(50);
    QVERIFY(m_service->requests().isEmpty());
}

void TestUpdater::updateDownloadsAndInstalls_data()
{
    QTest::addColumn<QString>("servedAt");
    QTest::addColumn<QString>("downloadPath");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("installed");

    QTest::newRow("exit status 1 is success") << "/files/Setup.exe" << "files/Setup.exe" << "Setup.exe" << 1 << true;
    QTest::newRow("exit status 0 is failure") << "/files/Setup.exe" << "files/Setup.exe" << "Setup.exe" << 0 << false;
    QTest::newRow("exit status 2 is failure") << "/files/Setup.exe" << "files/Setup.exe" << "Setup.exe" << 2 << false;
    QTest::newRow("address ending in a slash") << "/files/" << "files/" << "Sonvel.exe" << 1 << true;
    QTest::newRow("blank and shell characters in the name")
        << "/files/Sonvel Setup;$(id).exe" << "files/Sonvel%20Setup%3B%24(id).exe" << "Sonvel Setup;$(id).exe" << 1
        << true;
}

void TestUpdater::updateDownloadsAndInstalls()
{
    QFETCH(QString, servedAt);
    QFETCH(QString, downloadPath);
    QFETCH(QString, fileName);
    QFETCH(int, exitCode);
    QFETCH(bool, installed);
    const QString base = freshDataHome();
    QVERIFY(!QFileInfo::exists(base));
    const QByteArray installer = installerScript(m_runLog, exitCode);
    m_service->setUpdateAnswer(offer(QStringLiteral("1.2"), m_service->baseUrl() + downloadPath));
    m_service->serveSignedFile(servedAt, installer);

    CommandRecorder recorder;
    LogCapture log;
    auto updater = makeTestUpdater(m_service->baseUrl());
    QVERIFY(updater->checkForUpdate());
    QTRY_COMPARE_WITH_TIMEOUT(recorder.withId(Commands::Quit).size(), 1, 10000);

    QCOMPARE(recorder.ids(), QList<int>({Commands::UpdateDialogVisibility, Commands::UpdateDownloadProgress,
                                         Commands::ConfirmUpdateInstall, Commands::Quit}));
    const Command show = recorder.commands.first();
    QCOMPARE(show.parameters.value(Commands::ShowDialog).toBool(), true);
    QCOMPARE(show.parameters.value(Commands::CloseDialog).toBool(), false);
    const QList<Command> progress = recorder.withId(Commands::UpdateDownloadProgress);
    QVERIFY2(progress.size() > 2, "the download reports its progress several times");
    qint64 previous = 0;
    for (const Command &report : progress) {
        QCOMPARE(report.parameters.value(Commands::BytesTotal).toLongLong(), qint64(installer.size()));
        QVERIFY(report.parameters.value(Commands::BytesReceived).toLongLong() >= previous);
        previous = report.parameters.value(Commands::BytesReceived).toLongLong();
    }
    QCOMPARE(previous, qint64(installer.size()));
    QCOMPARE(recorder.withId(Commands::Quit).first().parameters.value(Commands::InstallSucceeded).toBool(), installed);

    const QStringList folders = updateFolders(base);
    QCOMPARE(folders.size(), 1);
    QVERIFY(QRegularExpression(QStringLiteral("^update\\d+$")).match(folders.first()).hasMatch());
    const QString localFile = base + folders.first() + QLatin1Char('/') + fileName;
    QCOMPARE(updater->downloadDir(), base + folders.first());
    QCOMPARE(installerRuns(m_runLog), QStringList{localFile});
    QVERIFY(log.contains(QStringLiteral("Update res: %1").arg(exitCode)));
}

void TestUpdater::failedDownloadKeepsSession_data()
{
    QTest::addColumn<QString>("failure");
    QTest::newRow("not found") << "404";
    QTest::newRow("cut short") << "cut short";
    QTest::newRow("redirected") << "redirect";
    QTest::newRow("stalled") << "stalled";
}

void TestUpdater::failedDownloadKeepsSession()
{
    QFETCH(QString, failure);
    const QString base = freshDataHome();
    const QString path = QStringLiteral("/files/Setup.exe");
    const QByteArray installer = installerScript(m_runLog, 1);
    if (failure == QLatin1String("404"))
        m_service->serveStatus(path, 404, "<html>" + QByteArray(5000, 'x') + "</html>");
    else if (failure == QLatin1String("cut short"))
        m_service->serveFile(path, installer, StandInService::Delivery::CutShort);
    else if (failure == QLatin1String("redirect"))
        m_service->serveRedirect(path, m_service->baseUrl() + QStringLiteral("elsewhere/Setup.exe"));
    else
        m_service->setNeverAnswer(path);
    m_service->serveFile(QStringLiteral("/elsewhere/Setup.exe"), installer);
    m_service->setUpdateAnswer(offer(QStringLiteral("1.2"), m_service->baseUrl() + QStringLiteral("files/Setup.exe")));

    CommandRecorder recorder;
    LogCapture log;
    auto updater = makeTestUpdater(m_service->baseUrl());
    updater->setDownloadStallTimeout(300);
    QVERIFY(updater->checkForUpdate());
    QCOMPARE(updateFolders(base).size(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(recorder.withId(Commands::ShowErrorNotification).size(), 1, 10000);

    QList<int> ids = recorder.ids();
    ids.removeAll(Commands::UpdateDownloadProgress);
    QCOMPARE(ids, QList<int>({Commands::UpdateDialogVisibility, Commands::UpdateDialogVisibility,
                              Commands::ShowErrorNotification}));
    const Command close = recorder.withId(Commands::UpdateDialogVisibility).last();
    QCOMPARE(close.parameters.value(Commands::ShowDialog).toBool(), true);
    QCOMPARE(close.parameters.value(Commands::CloseDialog).toBool(), true);
    const Command notification = recorder.withId(Commands::ShowErrorNotification).first();
    QVERIFY(!notification.parameters.value(Commands::NotificationText).toString().isEmpty());
    QVERIFY(log.contains(QStringLiteral("Could not download the updated from remote")));
    QVERIFY(updateFolders(base).isEmpty());
    QVERIFY(QFileInfo::exists(base));
    QVERIFY(installerRuns(m_runLog).isEmpty());
    QVERIFY(m_service->requestsFor(QStringLiteral("/elsewhere/Setup.exe")).isEmpty());

    QTest::qWait(200);
    QVERIFY(recorder.withId(Commands::Quit).isEmpty());
}

void TestUpdater::installerThatCannotStart()
{
    const QString base = freshDataHome();
    m_service->setUpdateAnswer(offer(QStringLiteral("1.2"), m_service->baseUrl() + QStringLiteral("Setup.exe")));
    m_service->serveSignedFile(QStringLiteral("/Setup.exe"), QByteArray("MZ") + QByteArray(30000, '\0'));

    CommandRecorder recorder;
    LogCapture log;
    auto updater = makeTestUpdater(m_service->baseUrl());
    QVERIFY(updater->checkForUpdate());
    QTRY_COMPARE_WITH_TIMEOUT(recorder.withId(Commands::ShowErrorNotification).size(), 1, 10000);
    QList<int> ids = recorder.ids();
    ids.removeAll(Commands::UpdateDownloadProgress);
    QCOMPARE(ids, QList<int>({Commands::UpdateDialogVisibility, Commands::ConfirmUpdateInstall,
                              Commands::UpdateDialogVisibility, Commands::ShowErrorNotification}));
    QVERIFY(hasLineStartingWith(log, QStringLiteral("Could not start the update installer")));
    QVERIFY(!hasLineStartingWith(log, QStringLiteral("Update res: ")));
    QVERIFY(updateFolders(base).isEmpty());
    QTest::qWait(100);
    QVERIFY(recorder.withId(Commands::Quit).isEmpty());
}

void TestUpdater::unsignedInstallerIsDeletedAndNotRun_data()
{
    QTest::addColumn<Signing>("signing");
    QTest::addColumn<bool>("trustStandIn");
    QTest::newRow("no signature") << Signing::Unsigned << true;
    QTest::newRow("installer changed after signing") << Signing::Tampered << true;
    QTest::newRow("signature cut short") << Signing::Truncated << true;
    QTest::newRow("signature as base64 text") << Signing::Base64Text << true;
    QTest::newRow("signed, but not with the trusted key") << Signing::Signed << false;
}

void TestUpdater::unsignedInstallerIsDeletedAndNotRun()
{
    QFETCH(Signing, signing);
    QFETCH(bool, trustStandIn);
    const QString base = freshDataHome();
    m_service->setUpdateAnswer(offer(QStringLiteral("1.2"), m_service->baseUrl() + QStringLiteral("files/Setup.exe")));
    serveInstaller(*m_service, QStringLiteral("/files/Setup.exe"), installerScript(m_runLog, 1), signing);

    CommandRecorder recorder;
    auto updater = makeTestUpdater(m_service->baseUrl());
    if (!trustStandIn)
        InstallerSignature::setTrustedKey(QByteArray());
    QVERIFY(updater->checkForUpdate());
    QTRY_COMPARE_WITH_TIMEOUT(recorder.withId(Commands::ShowErrorNotification).size(), 1, 10000);

    QList<int> ids = recorder.ids();
    ids.removeAll(Commands::UpdateDownloadProgress);
    QCOMPARE(ids, QList<int>({Commands::UpdateDialogVisibility, Commands::UpdateDialogVisibility,
                              Commands::ShowErrorNotification}));
    QCOMPARE(recorder.withId(Commands::ShowErrorNotification).first().parameters.value(Commands::NotificationText),
             QVariant(notSignedNotification()));
    QCOMPARE(m_service->requestsFor(QStringLiteral("/files/Setup.exe.sig")).size(), 1);
    QVERIFY(updateFolders(base).isEmpty());
    QTest::qWait(100);
    QVERIFY(installerRuns(m_runLog).isEmpty());
    QVERIFY(recorder.withId(Commands::Quit).isEmpty());
}

void TestUpdater::declinedInstallKeepsSession()
{
    const QString base = freshDataHome();
    m_service->setUpdateAnswer(offer(QStringLiteral("1.2"), m_service->baseUrl() + QStringLiteral("Setup.exe")));
    m_service->serveSignedFile(QStringLiteral("/Setup.exe"), installerScript(m_runLog, 1));

    CommandRecorder recorder(CommandRecorder::DeclineInstall);
    auto updater = makeTestUpdater(m_service->baseUrl());
    QVERIFY(updater->checkForUpdate());
    QTRY_COMPARE_WITH_TIMEOUT(recorder.withId(Commands::UpdateDialogVisibility).size(), 2, 10000);
    QList<int> ids = recorder.ids();
    ids.removeAll(Commands::UpdateDownloadProgress);
    QCOMPARE(ids, QList<int>({Commands::UpdateDialogVisibility, Commands::ConfirmUpdateInstall,
                              Commands::UpdateDialogVisibility}));
    QCOMPARE(recorder.commands.last().parameters.value(Commands::CloseDialog).toBool(), true);
    QVERIFY(updateFolders(base).isEmpty());
    QTest::qWait(100);
    QVERIFY(installerRuns(m_runLog).isEmpty());
    QVERIFY(recorder.withId(Commands::Quit).isEmpty());
}

void TestUpdater::failureBeforeAnyFolderSparesWorkingDirectory()
{
    QTemporaryDir work;
    QFile keep(work.filePath(QStringLiteral("keep.txt")));
    QVERIFY(keep.open(QIODevice::WriteOnly));
    keep.close();
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work.path()));
    auto back = qScopeGuard([&] { QDir::setCurrent(previous); });

    CommandRecorder recorder;
    auto updater = makeTestUpdater(m_service->baseUrl());
    QVERIFY(updater->downloadDir().isEmpty());
    updater->updateDowlonaded(QString(), false);
    QVERIFY(QFile::exists(work.filePath(QStringLiteral("keep.txt"))));
    QCOMPARE(recorder.ids(), QList<int>({Commands::UpdateDialogVisibility, Commands::ShowErrorNotification}));
}

void TestUpdater::removeDirectoryRecursively_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<bool>("removed");
    QTest::newRow("nested tree with hidden files") << "tree" << true;
    QTest::newRow("missing folder") << "missing" << true;
    QTest::newRow("link to an outside folder") << "link" << true;
    QTest::newRow("empty path") << "empty" << false;
    QTest::newRow("relative path") << "relative" << false;
}

void TestUpdater::removeDirectoryRecursively()
{
    QFETCH(QString, layout);
    QFETCH(bool, removed);
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("update123"));
    const QString outside = root.filePath(QStringLiteral("outside"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/a/.hidden/b")));
    QVERIFY(QDir().mkpath(outside));
    for (const QString &file : {folder + QStringLiteral("/Setup.exe"), folder + QStringLiteral("/a/.hidden/b/x"),
                                folder + QStringLiteral("/.dot"), outside + QStringLiteral("/precious")}) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    if (layout == QLatin1String("link"))
        QVERIFY(QFile::link(outside, folder + QStringLiteral("/a/link")));

    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(root.path()));
    auto back = qScopeGuard([&] { QDir::setCurrent(previous); });

    QString argument = folder;
    if (layout == QLatin1String("missing"))
        argument = root.filePath(QStringLiteral("never-made"));
    else if (layout == QLatin1String("empty"))
        argument = QString();
    else if (layout == QLatin1String("relative"))
        argument = QStringLiteral("update123");

    QCOMPARE(::removeDirectoryRecursively(argument), removed);
    const bool treeShouldRemain = layout == QLatin1String("empty") || layout == QLatin1String("relative")
                                  || layout == QLatin1String("missing");
    QCOMPARE(QFileInfo::exists(folder), treeShouldRemain);
    QVERIFY(QFile::exists(outside + QStringLiteral("/precious")));
    if (treeShouldRemain)
        QVERIFY(QFile::exists(folder + QStringLiteral("/a/.hidden/b/x")));
}

QTEST_GUILESS_MAIN(TestUpdater)

#include "tst_updater.moc"
