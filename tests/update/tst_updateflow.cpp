#include "app/application.h"
#include "app/command.h"
#include "app/commandhandler.h"
#include "app/mainwindow.h"
#include "common/logcapture.h"
#include "common/standinservice.h"
#include "table/addmediafilewidget.h"
#include "theme/apptheme.h"
#include "update/updatedialog.h"
#include "update/updatefixture.h"
#include "update/updatefolder.h"
#include "update/updater.h"
#include "widgets/sonvelmessagebox.h"
#include "widgets/vrnotification.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray offer(const QString &downloadPath)
{
    return QStringLiteral(R"({"success": true, "result": {"appversion": "1.2", "downloadPath": "%1"}})")
        .arg(downloadPath)
        .toUtf8();
}

// Presses a button of the next confirmation box once it is up and records
// the box's question. The returned poll ends with the test that armed it.
QTimer *answerNextConfirmation(bool ok, QString *question)
{
    auto *poll = new QTimer;
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, ok, question] {
        auto *box = qobject_cast<SonvelMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        *question = box->findChild<QLabel *>(QStringLiteral("messageLabel"))->text();
        poll->stop();
        QTest::mouseClick(box->findChild<QPushButton *>(ok ? QStringLiteral("okButton") : QStringLiteral("cancelButton")),
                          Qt::LeftButton);
    });
    poll->start();
    return poll;
}

QStringList notificationTexts()
{
    QStringList texts;
    for (QWidget *widget : QApplication::allWidgets()) {
        if (auto *notification = qobject_cast<VrNotification *>(widget)) {
            if (notification->isVisible())
                texts << notification->findChild<QLabel *>(QStringLiteral("textLabel"))->text();
        }
    }
    return texts;
}

} // namespace

// Drives the real application object against the stand-in service; it must
// be the process's only QApplication, so this test has a main() of its own.
class TestUpdateFlow : public QObject
{
    Q_OBJECT

public:
    explicit TestUpdateFlow(Application *app) : m_app(app) {}

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startSkipsTheCheckOnThisSystem();
    void errorNotificationCommand();
    void confirmation_data();
    void confirmation();
    void failedDownloadKeepsEditing_data();
    void failedDownloadKeepsEditing();
    void declinedInstallKeepsEditing();
    void installEndsTheProgram();

private:
    void setUnsavedChanges(bool unsaved);

    Application *m_app;
    QStringList m_startLog;
    std::unique_ptr<QTimer> m_confirmationPoll;
    std::unique_ptr<StandInService> m_service;
    QTemporaryDir m_home;
    QString m_runLog;
};

void TestUpdateFlow::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(QStringLiteral("data"))));
    m_runLog = m_home.filePath(QStringLiteral("runs.txt"));
    LogCapture log;
    m_app->start();
    QTRY_VERIFY_WITH_TIMEOUT(m_app->mainWindow()->isVisible(), 3000);
    QTest::qWait(100);
    m_startLog = log.lines();
}

void TestUpdateFlow::init()
{
    m_service = std::make_unique<StandInService>();
    QVERIFY(m_service->start());
    QFile::remove(m_runLog);
}

void TestUpdateFlow::cleanup()
{
    m_confirmationPoll.reset();
    m_service.reset();
    setUnsavedChanges(false);
}

void TestUpdateFlow::setUnsavedChanges(bool unsaved)
{
    emit m_app->mainWindow()->mediaWidget()->someChangesHappen(unsaved);
    QCOMPARE(m_app->mainWindow()->mediaWidget()->hasUnsavedChanges(), unsaved);
}


void TestUpdateFlow::startSkipsTheCheckOnThisSystem()
{
    QVERIFY(m_app->updater());
    QVERIFY(m_startLog.contains(QStringLiteral("Update check skipped: the web service has no installer for this system")));
    QVERIFY(!m_app->updateDialog());
}

void TestUpdateFlow::errorNotificationCommand()
{
    Command command;
    command.id = Commands::ShowErrorNotification;
    command.parameters[Commands::NotificationText] = QStringLiteral("Something went wrong.");
    CommandHandler::instance()->dispatch(command);
    QTRY_VERIFY(notificationTexts().contains(QStringLiteral("Something went wrong.")));
}

void TestUpdateFlow::confirmation_data()
{
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<bool>("pressOk");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("result");
    QTest::newRow("nothing unsaved") << false << false << false << true;
    QTest::newRow("unsaved, Ok") << true << true << true << true;
    QTest::newRow("unsaved, Cancel") << true << false << true << false;
}

void TestUpdateFlow::confirmation()
{
    QFETCH(bool, unsaved);
    QFETCH(bool, pressOk);
    setUnsavedChanges(unsaved);
    QString question;
    if (unsaved)
        m_confirmationPoll.reset(answerNextConfirmation(pressOk, &question));

    Command command;
    command.id = Commands::ConfirmUpdateInstall;
    command.result = !pressOk;
    CommandHandler::instance()->dispatch(command);
    QTEST(command.result, "result");
    QTEST(!question.isEmpty(), "asked");
    if (!question.isEmpty())
        QVERIFY(question.contains(QStringLiteral("unsaved changes will be lost")));
    QTest::qWait(50);
    QCOMPARE(m_app->mainWindow()->mediaWidget()->hasUnsavedChanges(), unsaved);
}

void TestUpdateFlow::failedDownloadKeepsEditing_data()
{
    QTest::addColumn<bool>("found");
    QTest::addColumn<Signing>("signing");
    QTest::addColumn<QString>("expectedText");
    QTest::newRow("installer not found") << false << Signing::Signed << QString();
    QTest::newRow("unsigned installer") << true << Signing::Unsigned << notSignedNotification();
    QTest::newRow("tampered installer") << true << Signing::Tampered << notSignedNotification();
}

void TestUpdateFlow::failedDownloadKeepsEditing()
{
    QFETCH(bool, found);
    QFETCH(Signing, signing);
    QFETCH(QString, expectedText);
    setUnsavedChanges(true);
    m_service->setUpdateAnswer(offer(m_service->baseUrl() + QStringLiteral("Setup.exe")));
    if (found)
        serveInstaller(*m_service, QStringLiteral("/Setup.exe"), installerScript(m_runLog, 1), signing);
    else
        m_service->serveStatus(QStringLiteral("/Setup.exe"), 404, "<html>gone</html>");

    CommandRecorder recorder(CommandRecorder::LeaveAnswer);
    auto updater = makeTestUpdater(m_service->baseUrl());
    QVERIFY(updater->checkForUpdate());
    QVERIFY(m_app->updateDialog());
    QVERIFY(m_app->updateDialog()->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(recorder.withId(Commands::ShowErrorNotification).size(), 1, 10000);
    const QString text = recorder.withId(Commands::ShowErrorNotification).first()
                             .parameters.value(Commands::NotificationText).toString();
    if (!expectedText.isEmpty())
        QCOMPARE(text, expectedText);
    QTRY_VERIFY(notificationTexts().contains(text));
    QVERIFY(installerRuns(m_runLog).isEmpty());
    QVERIFY(!m_app->updateDialog()->isVisible());
    QVERIFY(m_app->mainWindow()->isVisible());
    QVERIFY(m_app->mainWindow()->mediaWidget()->hasUnsavedChanges());
    QVERIFY(recorder.withId(Commands::Quit).isEmpty());
    QVERIFY(updateFolders(updateBaseFolder()).isEmpty());
}

void TestUpdateFlow::declinedInstallKeepsEditing()
{
    setUnsavedChanges(true);
    m_service->setUpdateAnswer(offer(m_service->baseUrl() + QStringLiteral("Setup.exe")));
    m_service->serveSignedFile(QStringLiteral("/Setup.exe"), installerScript(m_runLog, 1));

    CommandRecorder recorder(CommandRecorder::LeaveAnswer);
    QString question;
    m_confirmationPoll.reset(answerNextConfirmation(false, &question));
    auto updater = makeTestUpdater(m_service->baseUrl());
    QVERIFY(updater->checkForUpdate());
    QTRY_COMPARE_WITH_TIMEOUT(recorder.withId(Commands::UpdateDialogVisibility).size(), 2, 10000);
    QVERIFY(!question.isEmpty());
    QVERIFY(!m_app->updateDialog()->isVisible());
    QTest::qWait(100);
    QVERIFY(installerRuns(m_runLog).isEmpty());
    QVERIFY(recorder.withId(Commands::Quit).isEmpty());
    QVERIFY(recorder.withId(Commands::ShowErrorNotification).isEmpty());
    QVERIFY(m_app->mainWindow()->isVisible());
    QVERIFY(m_app->mainWindow()->mediaWidget()->hasUnsavedChanges());
    QVERIFY(updateFolders(updateBaseFolder()).isEmpty());
}

// Last: it ends the event loop the way the program ends.
void TestUpdateFlow::installEndsTheProgram()
{
    m_service->setUpdateAnswer(offer(m_service->baseUrl() + QStringLiteral("Setup.exe")));
    m_service->serveSignedFile(QStringLiteral("/Setup.exe"), installerScript(m_runLog, 1));
    auto updater = makeTestUpdater(m_service->baseUrl());
    QTimer::singleShot(0, updater.get(), [&updater] { updater->checkForUpdate(); });
    QTimer watchdog;
    bool timedOut = false;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [&] { timedOut = true; QCoreApplication::exit(1); });
    watchdog.start(10000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!timedOut);
    QCOMPARE(installerRuns(m_runLog).size(), 1);
}

int main(int argc, char *argv[])
{
    AppTheme::registerResources();
    Application app(argc, argv);
    TestUpdateFlow tc(&app);
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_updateflow.moc"
