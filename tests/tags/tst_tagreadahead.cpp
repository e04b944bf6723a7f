#include "common/mp3fixture.h"
#include "common/testmain.h"
#include "tags/tagreadahead.h"
#include "tags/tagreaderandwriter.h"

#include <QTemporaryDir>

namespace F = Mp3Fixture;

namespace {

// File i of a list: a tagged MP3 with its own title, every third with its own
// cover, every seventh not MPEG at all, every eleventh not there.
QString makeFile(const QString &dir, int i)
{
    const QString name = QStringLiteral("%1.mp3").arg(i, 3, 10, QLatin1Char('0'));
    if (i % 11 == 10)
        return dir + QStringLiteral("/missing-") + name;
    if (i % 7 == 6)
        return F::createFile(dir, name, QByteArray(2000, 'x'));
    const QString path = F::create(dir, name);
    QList<TagLib::ID3v2::Frame *> frames{F::textFrame("TIT2", QStringLiteral("Track %1").arg(i))};
    if (i % 3 == 0) {
        const QImage cover = F::image(600 + i, 500, QColor::fromHsv((i * 37) % 360, 200, 200));
        frames << F::pictureFrame(F::encode(cover));
    }
    return !path.isEmpty() && F::addFrames(path, frames) ? path : QString();
}

} // namespace

class TestTagReadAhead : public QObject
{
    Q_OBJECT

private slots:
    void givesEachFileInListOrder_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("threads");
        QTest::addColumn<bool>("skipCovers");

        QTest::newRow("one file") << 1 << 2 << false;
        QTest::newRow("one worker") << 9 << 1 << false;
        QTest::newRow("more workers than files") << 3 << 8 << false;
        QTest::newRow("longer than the window") << 40 << 2 << false;
        QTest::newRow("no worker asked for") << 5 << 0 << false;
        QTest::newRow("covers skipped, longer than the window") << 80 << 2 << true;
    }

    // The records are exactly what reading the files one by one gives.
    void givesEachFileInListOrder()
    {
        QFETCH(int, files);
        QFETCH(int, threads);
        QFETCH(bool, skipCovers);
        QTemporaryDir tmp;
        QStringList paths;
        for (int i = 0; i < files; ++i) {
            paths << makeFile(tmp.path(), i);
            QVERIFY(!paths.last().isEmpty());
        }

        TagReadAhead records(paths, threads, skipCovers ? TagReadAhead::Covers::Skip : TagReadAhead::Covers::Decode);
        QCOMPARE(records.size(), files);
        for (int i = 0; i < files; ++i) {
            QVERIFY(!records.atEnd());
            const TagRecord record = records.take();
            const TagRecord expected = TagReaderAndWriter::readAll(paths.at(i));
            QCOMPARE(record.fields, expected.fields);
            QCOMPARE(record.cover, skipCovers ? QImage() : expected.cover);
            QCOMPARE(record.hasCover, i % 3 == 0 && i % 7 != 6 && i % 11 != 10);
            QCOMPARE(expected.cover.isNull(), !record.hasCover);
        }
        QVERIFY(records.atEnd());
    }

    void emptyListEndsAtOnce()
    {
        TagReadAhead records({});
        QCOMPARE(records.size(), 0);
        QVERIFY(records.atEnd());
    }

    void stopsWithRecordsNotTaken_data()
    {
        QTest::addColumn<int>("taken");
        QTest::newRow("none taken") << 0;
        QTest::newRow("some taken") << 3;
        QTest::newRow("all but one taken") << 29;
    }

    // Dropping the reader part way (the table gone, say) must neither hang
    // nor touch the files it did not reach.
    void stopsWithRecordsNotTaken()
    {
        QFETCH(int, taken);
        QTemporaryDir tmp;
        QStringList paths;
        for (int i = 0; i < 30; ++i) {
            paths << makeFile(tmp.path(), i);
            QVERIFY(!paths.last().isEmpty());
        }
        QList<QByteArray> bytes;
        for (const QString &path : paths)
            bytes << F::readBytes(path);
        {
            TagReadAhead records(paths, 2);
            for (int i = 0; i < taken; ++i)
                QCOMPARE(records.take().fields.value(QStringLiteral("Title")),
                         TagReaderAndWriter::readTitle(paths.at(i)));
        }
        for (int i = 0; i < paths.size(); ++i)
            QCOMPARE(F::readBytes(paths.at(i)), bytes.at(i));
    }
};

SONVEL_TEST_MAIN(TestTagReadAhead)
#include "tst_tagreadahead.moc"
