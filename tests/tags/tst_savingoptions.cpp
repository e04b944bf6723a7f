#include "common/mp3fixture.h"
#include "common/mutagenview.h"
#include "common/testmain.h"
#include "tags/savingoptions.h"
#include "tags/tagreaderandwriter.h"

#include <QJsonArray>
#include <QTemporaryDir>

namespace F = Mp3Fixture;
namespace M = MutagenView;
using Version = SavingOptions::Id3v2Version;
using Copy = SavingOptions::Id3v1Copy;

class TestSavingOptions : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        if (!M::available())
            QSKIP("/usr/bin/python3 cannot import mutagen (apt-get install python3-mutagen)");
        QVERIFY(m_dir.isValid());
    }

    void cleanup() { SavingOptions::setCurrent(SavingOptions()); }

    void combinations_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("copy");
        QTest::addColumn<bool>("hadId3v1");
        QTest::addColumn<bool>("hadApe");
        QTest::addColumn<bool>("id3v1After");

        QTest::newRow("2.4, always write (defaults)") << 4 << int(Copy::AlwaysWrite) << false << false << true;
        QTest::newRow("2.3, always write") << 3 << int(Copy::AlwaysWrite) << false << true << true;
        QTest::newRow("2.4, keep as found, none") << 4 << int(Copy::KeepAsFound) << false << false << false;
        QTest::newRow("2.3, keep as found, one") << 3 << int(Copy::KeepAsFound) << true << false << true;
        QTest::newRow("2.4, remove, with APE") << 4 << int(Copy::Remove) << true << true << false;
        QTest::newRow("2.3, remove, none") << 3 << int(Copy::Remove) << false << false << false;
    }

    void combinations()
    {
        QFETCH(int, version);
        QFETCH(int, copy);
        QFETCH(bool, hadId3v1);
        QFETCH(bool, hadApe);
        QFETCH(bool, id3v1After);
        const QString path = F::createRaw(m_dir.path(), QStringLiteral("%1.mp3").arg(QTest::currentDataTag()),
                                          {F::rawTextFrame("TPE1", 0, "Artist"),
                                           F::rawTextFrame("TDRC", 0, "2004-03-15T12:30")});
        if (hadApe)
            QVERIFY(F::addApe(path, QStringLiteral("Ape Title")));
        if (hadId3v1)
            QVERIFY(F::addId3v1(path, QStringLiteral("V1 Title")));

        SavingOptions::setCurrent({version == 3 ? Version::V23 : Version::V24, Copy(copy)});
        const QString album = QString::fromUtf8("東京の夜");
        QVERIFY(TagReaderAndWriter::writeAll(path, {{"Album", album}}));

        QCOMPARE(F::id3v2Version(path), version);
        const QJsonObject tag = M::view(path);
        const QList<QJsonObject> albums = M::framesWithId(tag, "TALB");
        QCOMPARE(albums.size(), 1);
        QCOMPARE(albums.first().value("text").toArray().at(0).toString(), album);
        QCOMPARE(albums.first().value("encoding").toInt(), version == 3 ? 1 : 3); // UTF-16 : UTF-8
        if (version == 3) {
            QCOMPARE(M::text(path, "TYER"), QStringLiteral("2004"));
            QCOMPARE(M::text(path, "TDAT"), QStringLiteral("1503"));
            QCOMPARE(M::text(path, "TIME"), QStringLiteral("1230"));
        } else {
            QCOMPARE(F::frameTexts(path, "TDRC"), QStringList{"2004-03-15T12:30"});
        }
        // ID3v1-only text lands in ID3v2 before the copy is dropped.
        QCOMPARE(M::text(path, "TIT2"), hadId3v1 ? QStringLiteral("V1 Title") : QString());
        QCOMPARE(!F::id3v1(path).isEmpty(), id3v1After);
        QCOMPARE(F::hasApe(path), hadApe);
        QCOMPARE(TagReaderAndWriter::readAlbum(path), album);
    }
};

SONVEL_TEST_MAIN(TestSavingOptions)
#include "tst_savingoptions.moc"
