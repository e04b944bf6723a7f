#include "app/productinfo.h"
#include "common/testmain.h"

#include <QProcess>
#include <QTemporaryDir>

// Runs the program itself, as a shell would.
class TestCommandLine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;

    // No display at all unless the run needs a window.
    QProcessEnvironment environment(bool display) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QString::fromLatin1(name));
        if (display)
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
        return env;
    }

private slots:
    void answersWithoutADisplay_data()
    {
        const QString version = QStringLiteral("sonvel ") + QString::fromLatin1(ProductInfo::version) + '\n';
        const QStringList help = {QStringLiteral("Usage:"), QStringLiteral("--verbose"),
                                  QStringLiteral("[FILE|FOLDER]...")};
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("--version") << QStringList{"--version"} << QStringList{version};
        QTest::newRow("-v") << QStringList{"-v"} << QStringList{version};
        QTest::newRow("--help") << QStringList{"--help"} << help;
        QTest::newRow("-h") << QStringList{"-h"} << help;
        QTest::newRow("--help after a path") << QStringList{"a.mp3", "--help"} << help;
    }

    void answersWithoutADisplay()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, printed);
        QProcess sonvel;
        sonvel.setProcessEnvironment(environment(false));
        sonvel.start(QStringLiteral(SONVEL_BINARY), arguments);
        QVERIFY(sonvel.waitForFinished(20000));
        QCOMPARE(sonvel.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sonvel.exitCode(), 0);
        QCOMPARE(sonvel.readAllStandardError(), QByteArray());
        const QString out = QString::fromLocal8Bit(sonvel.readAllStandardOutput());
        if (printed.size() == 1)
            QCOMPARE(out, printed.first());
        for (const QString &text : printed)
            QVERIFY2(out.contains(text), qPrintable(out));
    }

    void diagnosticsOnlyWhenVerbose_data()
    {
        QTest::addColumn<bool>("verbose");
        QTest::newRow("quiet") << false;
        QTest::newRow("--verbose") << true;
    }

    void diagnosticsOnlyWhenVerbose()
    {
        QFETCH(bool, verbose);
        const QString gone = m_config.filePath(QStringLiteral("gone.mp3"));
        QProcess sonvel;
        sonvel.setProcessEnvironment(environment(true));
        sonvel.start(QStringLiteral(SONVEL_BINARY),
                     verbose ? QStringList{QStringLiteral("--verbose"), gone} : QStringList{gone});
        // The missing path is reported once the window is up, after every
        // start-up step that has something to tell.
        QByteArray errors;
        QTRY_VERIFY_WITH_TIMEOUT((errors += sonvel.readAllStandardError()).contains("no such file or folder"), 20000);
        sonvel.kill();
        sonvel.waitForFinished();
        for (const char *line : {"Number of command observers", "Font added successfully", "Device Pixel Ratio", "DPI: "})
            QVERIFY2(errors.contains(line) == verbose, line);
    }
};

SONVEL_TEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
