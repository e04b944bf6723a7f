#include "app/application.h"
#include "app/command.h"
#include "app/commandhandler.h"
#include "app/mainwindow.h"
#include "app/windowplacement.h"
#include "common/logcapture.h"
#include "theme/apptheme.h"
#include "settings/settingsdialog.h"
#include "update/updatedialog.h"

#include <QFontDatabase>
#include <QProgressBar>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

// Drives the real application object; it must be the process's only
// QApplication, so this test has a main() of its own.
class TestApplication : public QObject
{
    Q_OBJECT

public:
    explicit TestApplication(Application *app) : m_app(app) {}

private slots:
    void placement_data();
    void placement();
    void restoredPlacement_data();
    void restoredPlacement();
    void startUpLoadsFontsAndStyleSheet();
    void mainWindowAppearsAfterTimer();
    void updateDialogCommands();
    void unknownCommandLeavesResult();
    void settingsCommandOpensDialogOnce();
    void quitCommandEndsEventLoop();

private:
    Application *m_app;
};

void TestApplication::placement_data()
{
    QTest::addColumn<QSize>("available");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("full hd") << QSize(1920, 1040) << QRect(96, 104, 1728, 832);
    QTest::newRow("odd width") << QSize(1365, 768) << QRect(68, 77, 1228, 614);
    QTest::newRow("odd height") << QSize(800, 601) << QRect(40, 60, 720, 480);
}

void TestApplication::placement()
{
    QFETCH(QSize, available);
    QTEST(initialMainWindowGeometry(available), "expected");
}

void TestApplication::restoredPlacement_data()
{
    QTest::addColumn<QRect>("saved");
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QRect>("expected");
    const QRect left(0, 0, 1920, 1040);
    const QRect right(1920, 0, 1280, 984);
    const QRect first = initialMainWindowGeometry(QSize(1920, 1040));
    QTest::newRow("nothing saved") << QRect() << QList<QRect>{left} << first;
    QTest::newRow("on the primary") << QRect(100, 50, 900, 700) << QList<QRect>{left} << QRect(100, 50, 900, 700);
    QTest::newRow("on the second screen") << QRect(2000, 40, 1000, 800) << QList<QRect>{left, right}
                                          << QRect(2000, 40, 1000, 800);
    QTest::newRow("second screen gone") << QRect(2000, 40, 1000, 800) << QList<QRect>{left} << first;
    QTest::newRow("middle off every screen") << QRect(-900, -700, 1000, 800) << QList<QRect>{left, right} << first;
    QTest::newRow("overlapping an edge") << QRect(1500, 100, 800, 600) << QList<QRect>{left}
                                         << QRect(1500, 100, 800, 600);
}

void TestApplication::restoredPlacement()
{
    QFETCH(QRect, saved);
    QFETCH(QList<QRect>, screens);
    QTEST(restoredMainWindowGeometry(saved, screens, QSize(1920, 1040)), "expected");
}

void TestApplication::startUpLoadsFontsAndStyleSheet()
{
    LogCapture log;
    QVERIFY(Application::loadFont(QStringLiteral(":/fonts/droid-sans/DroidSans.ttf")));
    QVERIFY(Application::loadFont(QStringLiteral(":/fonts/droid-sans/DroidSans-Bold.ttf")));
    QVERIFY(!Application::loadFont(QStringLiteral(":/fonts/no-such-font.ttf")));
    QCOMPARE(log.lines(), QStringList({QStringLiteral("Font added successfully"),
                                       QStringLiteral("Font added successfully"),
                                       QStringLiteral("Could not open font file")}));

    QFontDatabase database;
    QVERIFY(database.families().contains(QStringLiteral("Droid Sans")));
    QVERIFY(database.styles(QStringLiteral("Droid Sans")).contains(QStringLiteral("Bold")));

    log.clear();
    m_app->recordScreenMetrics();
    QCOMPARE(log.lines().size(), 2);
    QVERIFY(log.lines().at(0).startsWith(QStringLiteral("Device Pixel Ratio: ")));
    QVERIFY(log.lines().at(1).startsWith(QStringLiteral("DPI: ")));

    m_app->applyStyleSheet();
    QVERIFY(m_app->styleSheet().startsWith(QStringLiteral("QCheckBox")));
    QVERIFY(m_app->styleSheet().contains(QStringLiteral("QPushButton[custom_messagebox=true]")));
}

void TestApplication::mainWindowAppearsAfterTimer()
{
    QElapsedTimer clock;
    clock.start();
    m_app->start();
    MainWindow *window = m_app->mainWindow();
    QVERIFY(window);
    QCOMPARE(MainWindow::instance(), window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Sonvel: Manage Your Music Tags"));
    QVERIFY(!window->isVisible());

    QTRY_VERIFY_WITH_TIMEOUT(window->isVisible(), 2000);
    QVERIFY(clock.elapsed() >= 100);
    // The offscreen screen is small: the window may not shrink below what its
    // toolbar needs, but it stays where it was placed.
    const QRect expected = initialMainWindowGeometry(QGuiApplication::primaryScreen()->availableSize());
    QCOMPARE(window->geometry().topLeft(), expected.topLeft());
    QCOMPARE(window->geometry().size(), expected.size().expandedTo(window->minimumSizeHint()));
}

void TestApplication::updateDialogCommands()
{
    QVERIFY(m_app->mainWindow());
    Command hidden;
    hidden.id = Commands::UpdateDialogVisibility;
    hidden.parameters[Commands::ShowDialog] = false;
    hidden.parameters[Commands::CloseDialog] = false;
    CommandHandler::instance()->dispatch(hidden);
    QVERIFY(!m_app->updateDialog());

    Command early;
    early.id = Commands::UpdateDownloadProgress;
    early.parameters[Commands::BytesTotal] = qint64(10);
    early.parameters[Commands::BytesReceived] = qint64(5);
    CommandHandler::instance()->dispatch(early);
    QVERIFY(!m_app->updateDialog());

    Command show;
    show.id = Commands::UpdateDialogVisibility;
    show.parameters[Commands::ShowDialog] = true;
    show.parameters[Commands::CloseDialog] = false;
    CommandHandler::instance()->dispatch(show);
    UpdateDialog *dialog = m_app->updateDialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->parent(), m_app->mainWindow());
    CommandHandler::instance()->dispatch(show);
    QCOMPARE(m_app->updateDialog(), dialog);
    QCOMPARE(m_app->mainWindow()->findChildren<UpdateDialog *>().size(), 1);
    QVERIFY(dialog->isVisible());

    Command progress;
    progress.id = Commands::UpdateDownloadProgress;
    progress.parameters[Commands::BytesTotal] = qint64(5000);
    progress.parameters[Commands::BytesReceived] = qint64(1200);
    CommandHandler::instance()->dispatch(progress);
    QCOMPARE(dialog->progressBar()->maximum(), 5000);
    QCOMPARE(dialog->progressBar()->value(), 1200);

    Command close = show;
    close.parameters[Commands::CloseDialog] = true;
    CommandHandler::instance()->dispatch(close);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(m_app->updateDialog(), dialog);
}

void TestApplication::unknownCommandLeavesResult()
{
    Command unknown;
    unknown.id = 99;
    unknown.result = true;
    CommandHandler::instance()->dispatch(unknown);
    QCOMPARE(unknown.result, true);
}

// The dialog runs modally, is parented to the main window and is gone once it
// has closed, so repeated openings leave nothing behind.
void TestApplication::settingsCommandOpensDialogOnce()
{
    QVERIFY(m_app->mainWindow());
    for (int round = 0; round < 2; ++round) {
        QPointer<SettingsDialog> seen;
        bool shown = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, m_app, [&] {
            auto *dialog = m_app->mainWindow()->findChild<SettingsDialog *>();
            if (dialog && dialog->isVisible()) {
                seen = dialog;
                shown = true;
                dialog->accept();
            }
        });
        poll.start(20);
        QTimer::singleShot(3000, m_app, [this] {
            if (auto *dialog = m_app->mainWindow()->findChild<SettingsDialog *>())
                dialog->reject();
        });
        Command open;
        open.id = Commands::OpenSettings;
        open.result = true;
        CommandHandler::instance()->dispatch(open);
        poll.stop();
        QVERIFY(shown);
        QVERIFY(seen.isNull()); // deleted after closing
        QCOMPARE(m_app->mainWindow()->findChildren<SettingsDialog *>().size(), 0);
    }
}

void TestApplication::quitCommandEndsEventLoop()
{
    QTimer::singleShot(0, [] {
        Command quit;
        quit.id = Commands::Quit;
        CommandHandler::instance()->dispatch(quit);
    });
    QTimer watchdog;
    bool timedOut = false;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [&] { timedOut = true; QCoreApplication::exit(1); });
    watchdog.start(3000);
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!timedOut);
}

int main(int argc, char *argv[])
{
    AppTheme::registerResources();
    // The window's remembered layout must not come from the user's own file.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    LogCapture log;
    Application app(argc, argv);
    if (!log.contains(QStringLiteral("Number of command observers: 1")))
        qFatal("the application did not register itself as a command observer");
    TestApplication tc(&app);
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_application.moc"
