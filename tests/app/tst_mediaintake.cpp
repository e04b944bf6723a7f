#include "app/mainwindow.h"
#include "app/mediaintake.h"
#include "app/topsectionwidget.h"
#include "common/testmain.h"
#include "table/tablefixture.h"

#include <QDir>
#include <QMimeData>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrl>

using namespace TableFixture;

class TestMediaIntake : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_tree; // set/{b.mp3, A.MP3, readme.txt, deeper/{c.mp3, notes.mp3 (text), up -> ..}}

    QStringList listed(MainWindow &window) { return columnTexts(*window.mediaWidget(), QStringLiteral("Location")); }

    // As a file manager drags: an enter, then (when asked) the drop.
    bool sendDrag(MainWindow &window, const QStringList &paths, QEvent::Type type)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls << QUrl::fromLocalFile(path);
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        if (type == QEvent::DragEnter || !enter.isAccepted())
            return enter.isAccepted();
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        return drop.isAccepted();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.filePath("config"));
        m_tree = m_dir.filePath("set");
        QVERIFY(QDir().mkpath(m_tree + "/deeper"));
        QVERIFY(!makeTrack(m_tree, "b.mp3", "B", "Artist").isEmpty());
        QVERIFY(!makeTrack(m_tree, "A.MP3", "A", "Artist").isEmpty());
        QVERIFY(!makeTrack(m_tree + "/deeper", "c.mp3", "C", "Artist").isEmpty());
        QVERIFY(!F::createFile(m_tree, "readme.txt", "notes").isEmpty());
        QVERIFY(!F::createFile(m_tree + "/deeper", "notes.mp3", "not audio at all").isEmpty());
        QVERIFY(QFile::link("..", m_tree + "/deeper/up"));
    }

    void cleanup() { closeNotifications(); }

    void dropOfAMixedTree()
    {
        MainWindow window;
        QVERIFY(!sendDrag(window, {m_tree + "/readme.txt"}, QEvent::DragEnter));
        QVERIFY(sendDrag(window, {m_tree, m_tree + "/b.mp3"}, QEvent::DragEnter));

        NotificationWatch watch;
        QVERIFY(sendDrag(window, {m_tree, m_tree + "/b.mp3"}, QEvent::Drop));
        const QStringList expected = {m_tree + "/A.MP3", m_tree + "/b.mp3", m_tree + "/deeper/c.mp3"};
        QTRY_COMPARE(listed(window), expected);
        // Named like audio, but its content is none: never listed.
        QTRY_COMPARE(watch.texts(), QStringList{"Added 3 files; skipped 1 that is not an audio file and 1 whose content "
                                                "is not audio of a known format ("
                                                + QDir::toNativeSeparators(m_tree + "/deeper/notes.mp3") + ")"});

        // Dropped again: nothing is listed twice.
        QVERIFY(sendDrag(window, {m_tree}, QEvent::Drop));
        QTest::qWait(400);
        QCOMPARE(listed(window), expected);
    }

    void pathsFromTheCommandLine()
    {
        MainWindow window;
        NotificationWatch watch;
        const QString gone = m_dir.filePath("gone.mp3");
        QCOMPARE(window.intake()->addPaths({m_tree + "/b.mp3", gone, m_tree + "/A.MP3"}), QStringList{gone});
        QCOMPARE(listed(window), (QStringList{m_tree + "/A.MP3", m_tree + "/b.mp3"}));
        QCOMPARE(watch.texts(), QStringList{"Not found: " + QDir::toNativeSeparators(gone)});
    }

    void programReportsMissingPaths()
    {
        QProcess sonvel;
        sonvel.setProcessChannelMode(QProcess::SeparateChannels);
        sonvel.start(QStringLiteral(SONVEL_BINARY), {"--version"});
        QVERIFY(sonvel.waitForFinished(20000));
        QCOMPARE(sonvel.readAllStandardOutput().trimmed(), QByteArray("sonvel 1.1"));

        const QString gone = m_dir.filePath("gone.mp3");
        sonvel.start(QStringLiteral(SONVEL_BINARY), {m_tree + "/b.mp3", gone});
        QByteArray errors;
        QTRY_VERIFY_WITH_TIMEOUT((errors += sonvel.readAllStandardError())
                                     .contains("sonvel: no such file or folder: " + QFile::encodeName(gone)),
                                 20000);
        sonvel.kill();
        sonvel.waitForFinished();
    }

    void dialogsOpenWhereTheUserLastAdded()
    {
        QStringList asked;
        TopSectionWidget::openFilesDialog = [&](QWidget *, const QString &, const QString &dir, const QString &) {
            asked << dir;
            return QStringList{m_tree + "/deeper/c.mp3"};
        };
        TopSectionWidget::openFolderDialog = [&](QWidget *, const QString &, const QString &dir) {
            asked << dir;
            return m_tree;
        };
        TopSectionWidget first;
        QSignalSpy folders(&first, &TopSectionWidget::passMediaPaths);
        first.addFile_ButtonClicked();
        first.addFolder_ButtonClicked();
        TopSectionWidget afterRestart;
        afterRestart.addFile_ButtonClicked();
        QCOMPARE(asked, (QStringList{QDir::currentPath(), m_tree + "/deeper", m_tree}));
        QCOMPARE(folders.size(), 1);
        QCOMPARE(folders.first().first().toStringList(), QStringList{m_tree});
    }
};

SONVEL_TEST_MAIN(TestMediaIntake)
#include "tst_mediaintake.moc"
