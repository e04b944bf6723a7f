#include "common/mp3fixture.h"
#include "common/testmain.h"
#include "table/mediascan.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class TestMediaScan : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString at(const QString &relative) const { return m_dir.filePath(relative); }

    QStringList at(const QStringList &relative) const
    {
        QStringList paths;
        for (const QString &path : relative)
            paths << at(path);
        return paths;
    }

private slots:
    // music/{a.mp3, B.MP3, D.Flac, e.m4a, notes.txt,
    //        sub/{c.mp3, f.AIFF, h.wav, cover.jpg, g.ogg.txt, again.mp3 -> ../a.mp3, loop -> ..}}, loose.mp3
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("music/sub")));
        for (const char *name : {"music/a.mp3", "music/B.MP3", "music/sub/c.mp3", "loose.mp3"})
            QVERIFY(!Mp3Fixture::create(m_dir.path(), QString::fromLatin1(name)).isEmpty());
        // No audio in the other audio names: the scan goes by names alone.
        for (const char *name : {"music/D.Flac", "music/e.m4a", "music/sub/f.AIFF", "music/sub/h.wav",
                                 "music/notes.txt", "music/sub/cover.jpg", "music/sub/g.ogg.txt"})
            QVERIFY(!Mp3Fixture::createFile(m_dir.path(), QString::fromLatin1(name), "x").isEmpty());
        QVERIFY(QFile::link(QStringLiteral("../a.mp3"), at("music/sub/again.mp3")));
        QVERIFY(QFile::link(QStringLiteral(".."), at("music/sub/loop")));
    }

    void collect_data()
    {
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("skipped");
        QTest::addColumn<QStringList>("missing");

        const QStringList music = {"music/B.MP3", "music/D.Flac", "music/a.mp3", "music/e.m4a",
                                   "music/sub/c.mp3", "music/sub/f.AIFF", "music/sub/h.wav"};
        QTest::newRow("nested folder with a link loop") << QStringList{"music"} << music << 3 << QStringList();
        QTest::newRow("folder, a file in it and the folder again")
            << QStringList{"music/sub/c.mp3", "music", "music/"} << music << 3 << QStringList();
        QStringList throughLoop;
        for (const QString &path : music)
            throughLoop << QStringLiteral("music/sub/loop/") + path.mid(6);
        QTest::newRow("through the loop's link") << QStringList{"music/sub/loop"} << throughLoop << 3 << QStringList();
        QTest::newRow("files, one missing")
            << QStringList{"loose.mp3", "gone.mp3", "music/notes.txt"} << QStringList{"loose.mp3"} << 1
            << QStringList{"gone.mp3"};
        // a.mp3 is met first through its link, and listed once under that name.
        QTest::newRow("sorted by path, links met first")
            << QStringList{"music/sub", "loose.mp3"}
            << QStringList{"loose.mp3", "music/sub/again.mp3", "music/sub/c.mp3", "music/sub/f.AIFF",
                           "music/sub/h.wav", "music/sub/loop/B.MP3", "music/sub/loop/D.Flac",
                           "music/sub/loop/e.m4a"}
            << 3 << QStringList();
    }

    void collect()
    {
        QFETCH(QStringList, given);
        QFETCH(QStringList, files);
        QFETCH(int, skipped);
        QFETCH(QStringList, missing);
        const MediaScan::Result result = MediaScan::collect(at(given));
        QCOMPARE(result.files, at(files));
        QCOMPARE(result.skipped, skipped);
        QCOMPARE(result.missing, at(missing));
    }

    void holdsMedia_data()
    {
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<bool>("holds");
        QTest::newRow("folder") << QStringList{"music/sub"} << true;
        QTest::newRow("capital extension") << QStringList{"music/B.MP3"} << true;
        QTest::newRow("other format, mixed case") << QStringList{"music/D.Flac"} << true;
        QTest::newRow("audio name, no audio inside") << QStringList{"music/sub/h.wav"} << true;
        QTest::newRow("audio extension not at the end") << QStringList{"music/sub/g.ogg.txt"} << false;
        QTest::newRow("other files only") << QStringList{"music/notes.txt", "music/sub/cover.jpg"} << false;
        QTest::newRow("missing") << QStringList{"gone.mp3"} << false;
        QTest::newRow("nothing") << QStringList() << false;
    }

    void holdsMedia()
    {
        QFETCH(QStringList, given);
        QFETCH(bool, holds);
        QCOMPARE(MediaScan::holdsMedia(at(given)), holds);
    }
};

SONVEL_TEST_MAIN(TestMediaScan)
#include "tst_mediascan.moc"
