#include "common/mp3fixture.h"
#include "common/testmain.h"
#include "tags/tagreaderandwriter.h"

#include <QTemporaryDir>

namespace F = Mp3Fixture;

namespace {

// Frames by name, so rows can say what a tag holds and what must go.
TagLib::ID3v2::Frame *makeFrame(const QString &name)
{
    const QByteArray blob("\x01\x02\x03\x00\xFF binary", 12);
    const QByteArray jpeg = F::encode(F::image(16, 16, Qt::red));
    if (name.startsWith("geob:"))
        return F::geobFrame(name.mid(5), blob);
    if (name == "title")
        return F::textFrame("TIT2", QStringLiteral("Night Drive"));
    if (name == "serato title")
        return F::textFrame("TIT2", QStringLiteral("Live at Serato Night"));
    if (name == "artist")
        return F::textFrame("TPE1", QStringLiteral("Ana Ruiz"));
    if (name == "serato comment")
        return F::commentFrame(QStringLiteral("Analysed with Serato DJ"));
    if (name == "lowercase comment")
        return F::commentFrame(QStringLiteral("ripped for serato later"));
    if (name == "iTunSMPB comment")
        return F::commentFrame(QStringLiteral(" 00000000 00000210 000007E4"), QStringLiteral("iTunSMPB"));
    if (name == "other tool PRIV")
        return F::privFrame(QStringLiteral("com.example.cuetool"), blob);
    if (name == "TXXX")
        return F::txxxFrame(QStringLiteral("REPLAYGAIN_TRACK_GAIN"), QStringLiteral("-6.20 dB"));
    if (name == "uppercase TXXX")
        return F::txxxFrame(QStringLiteral("SERATO_PLAYCOUNT"), QStringLiteral("4"));
    if (name == "front picture")
        return F::pictureFrame(jpeg, 3);
    if (name == "back picture")
        return F::pictureFrame(jpeg, 4);
    qFatal("unknown frame %s", qPrintable(name));
}

} // namespace

class TestSeratoRemoval : public QObject
{
    Q_OBJECT

private slots:
    void removal_data()
    {
        QTest::addColumn<QStringList>("frames");
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<bool>("otherTags"); // ID3v1 and APE behind the audio
        QTest::addColumn<QString>("folder");

        const QStringList markers = {"geob:Serato Markers_", "geob:Serato Markers2",
                                     "geob:Serato BeatGrid", "geob:Serato Overview"};
        QTest::newRow("Serato GEOBs") << markers + QStringList{"title"} << markers << false << "";
        QTest::newRow("only Serato data") << markers << markers << true << "";
        QTest::newRow("no Serato data") << QStringList{"title", "TXXX"} << QStringList() << true << "";
        QTest::newRow("no ID3v2 tag") << QStringList() << QStringList() << true << "";
        QTest::newRow("lowercase comment kept")
            << QStringList{"lowercase comment", "geob:Serato Autotags"}
            << QStringList{"geob:Serato Autotags"} << false << "";
        QTest::newRow("title mentioning Serato")
            << QStringList{"serato title", "artist"} << QStringList{"serato title"} << false << "";
        QTest::newRow("Serato comment beside described one")
            << QStringList{"iTunSMPB comment", "serato comment"} << QStringList{"serato comment"}
            << false << "";
        QTest::newRow("Serato GEOB beside another tool's")
            << QStringList{"geob:CueTool Cues", "geob:Serato Markers2", "geob:serato lowercase"}
            << QStringList{"geob:Serato Markers2"} << false << "";
        QTest::newRow("other frames survive")
            << QStringList{"other tool PRIV", "geob:Serato Analysis", "TXXX", "uppercase TXXX",
                           "front picture", "back picture"}
            << QStringList{"geob:Serato Analysis"} << true << "";
        QTest::newRow("non-ASCII path")
            << markers + QStringList{"title"} << markers << true << QString::fromUtf8("Café 音楽");
    }

    void removal()
    {
        QFETCH(QStringList, frames);
        QFETCH(QStringList, removed);
        QFETCH(bool, otherTags);
        QFETCH(QString, folder);
        QTemporaryDir tmp;
        const QString dir = tmp.path() + '/' + folder;
        QVERIFY(QDir().mkpath(dir));
        const QString path = F::create(dir, QString::fromUtf8("set – 東京.mp3"));
        QList<TagLib::ID3v2::Frame *> made;
        for (const QString &name : frames)
            made << makeFrame(name);
        if (!made.isEmpty())
            QVERIFY(F::addFrames(path, made));
        if (otherTags) {
            QVERIFY(F::addApe(path, QStringLiteral("Serato title")));
            QVERIFY(F::addId3v1(path, QStringLiteral("Serato title")));
        }
        const QStringList before = F::frameDump(path);
        QCOMPARE(before.size(), frames.size());
        QStringList expected;
        for (int i = 0; i < frames.size(); ++i) {
            if (!removed.contains(frames.at(i)))
                expected << before.at(i);
        }

        QVERIFY(TagReaderAndWriter::removeSeratoData(path.toUtf8().constData()));
        QCOMPARE(F::frameDump(path), expected);
        QCOMPARE(F::id3v1(path), QByteArray());
        QVERIFY(!F::hasApe(path));
        QVERIFY(F::readBytes(path).endsWith(F::silentAudio()));
    }

    void missingFile()
    {
        QTemporaryDir tmp;
        const QString path = tmp.filePath(QStringLiteral("gone.mp3"));
        QVERIFY(!TagReaderAndWriter::removeSeratoData(path.toUtf8().constData()));
        QVERIFY(!QFileInfo::exists(path));
    }
};

SONVEL_TEST_MAIN(TestSeratoRemoval)
#include "tst_seratoremoval.moc"
