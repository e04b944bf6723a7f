#include "common/mp3fixture.h"
#include "common/testmain.h"
#include "table/covercache.h"
#include "table/coverloader.h"
#include "tags/tagreaderandwriter.h"

#include <QSignalSpy>
#include <QTemporaryDir>

namespace F = Mp3Fixture;

class TestCoverCache : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_files; // every other one with a cover of its own colour

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (int i = 0; i < 24; ++i) {
            const QString path = F::create(m_dir.path(), QStringLiteral("%1.mp3").arg(i));
            if (i % 2 == 0)
                QVERIFY(F::addFrames(path, {F::pictureFrame(F::encode(F::image(500, 500, QColor::fromHsv(i * 15, 200, 200))))}));
            m_files << path;
        }
    }

    // Scrolling through a long list: every screen's covers go in, the cache
    // never holds more than its capacity, and what was just used stays.
    void staysWithinItsCapacity()
    {
        const QImage cover = F::image(400, 400, Qt::red);
        CoverCache cache(5 * cover.sizeInBytes());
        for (int row = 0; row < 500; ++row) {
            cache.insert(QString::number(row), cover);
            if (row % 4 == 0)
                QVERIFY(!cache.find(QStringLiteral("0")).isNull()); // the first row, kept in use
            QVERIFY(cache.costBytes() <= cache.capacityBytes());
        }
        QCOMPARE(cache.count(), 5);
        QVERIFY(cache.contains(QStringLiteral("499")));
        QVERIFY(cache.contains(QStringLiteral("0")));
        QVERIFY(!cache.contains(QStringLiteral("495")));

        cache.insert(QStringLiteral("none"), QImage());
        QVERIFY(cache.contains(QStringLiteral("none")));
        QVERIFY(cache.find(QStringLiteral("none")).isNull());
    }

    void loadsWhatIsWanted()
    {
        CoverLoader loader;
        QSignalSpy loaded(&loader, &CoverLoader::loaded);
        loader.setWanted(m_files);
        QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), m_files.size(), 20000);
        for (const QList<QVariant> &args : qAsConst(loaded)) {
            const QString path = args.at(0).toString();
            QCOMPARE(args.at(1).value<QImage>(), TagReaderAndWriter::readAll(path).cover);
        }
    }

    // Rows scrolled past before their turn are not decoded.
    void onlyTheLatestWishCounts()
    {
        CoverLoader loader(nullptr, 1);
        QSignalSpy loaded(&loader, &CoverLoader::loaded);
        loader.setWanted(m_files.mid(0, 20));
        const QStringList last = m_files.mid(20);
        loader.setWanted(last);
        QTRY_VERIFY(loaded.size() >= last.size());
        QTest::qWait(200);
        QSet<QString> paths;
        for (const QList<QVariant> &args : qAsConst(loaded))
            paths << args.at(0).toString();
        for (const QString &path : last)
            QVERIFY(paths.contains(path));
        QVERIFY(loaded.size() <= last.size() + 1); // at most the one already under way
    }
};

SONVEL_TEST_MAIN(TestCoverCache)
#include "tst_covercache.moc"
