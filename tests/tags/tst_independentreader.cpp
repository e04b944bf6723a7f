#include "common/mp3fixture.h"
#include "common/mutagenview.h"
#include "common/testmain.h"
#include "tags/fieldaccess.h"

#include <QJsonArray>
#include <QTemporaryDir>

namespace F = Mp3Fixture;
using T = TagReaderAndWriter;

using MutagenView::framesWithId;
using MutagenView::view;

class TestIndependentReader : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        if (!MutagenView::available())
            QSKIP("/usr/bin/python3 cannot import mutagen (apt-get install python3-mutagen)");
        QVERIFY(m_dir.isValid());
    }

    void unicodeText_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("accented title") << "Title" << QString::fromUtf8("Café");
        QTest::newRow("CJK title") << "Title" << QString::fromUtf8("東京の夜");
        QTest::newRow("accented artist") << "Artist" << QString::fromUtf8("Beyoncé & Ñoño");
        QTest::newRow("emoji album") << "Album" << QString::fromUtf8("Bass 🎧🔥");
        QTest::newRow("CJK comment") << "Comment" << QString::fromUtf8("夜のセット");
        QTest::newRow("emoji composer") << "Composer" << QString::fromUtf8("DJ 🎹");
        QTest::newRow("CJK label") << "Label" << QString::fromUtf8("東京レコード");
    }

    void unicodeText()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        const FieldAccess &field = fieldByKey(key);
        const QString path = F::create(m_dir.path(), key + QStringLiteral(".mp3"));
        QVERIFY(field.write(path, value));
        const QJsonObject tag = view(path);
        QCOMPARE(tag.value(QStringLiteral("version")).toArray().at(1).toInt(), 4);
        const QList<QJsonObject> frames = framesWithId(tag, QString::fromLatin1(field.frameId));
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames.first().value(QStringLiteral("text")).toArray().at(0).toString(), value);
    }

    void coverArt()
    {
        const QString path = F::create(m_dir.path(), QStringLiteral("cover.mp3"));
        const QByteArray jpeg = F::encode(F::image(30, 30, Qt::red));
        QVERIFY(F::addFrames(path, {F::pictureFrame(jpeg, 3), F::pictureFrame(jpeg, 4)}));
        QVERIFY(T::writeCoverArt(path, F::image(200, 100, Qt::blue)));
        const QList<QJsonObject> pictures = framesWithId(view(path), QStringLiteral("APIC"));
        QCOMPARE(pictures.size(), 1);
        QCOMPARE(pictures.first().value(QStringLiteral("mime")).toString(), QStringLiteral("image/jpeg"));
        QCOMPARE(pictures.first().value(QStringLiteral("type")).toInt(), 3);
    }

    void seratoRemoval()
    {
        const QString path = F::create(m_dir.path(), QStringLiteral("serato.mp3"));
        QVERIFY(F::addFrames(path, {F::geobFrame(QStringLiteral("Serato Markers2"), "m"),
                                    F::geobFrame(QStringLiteral("Serato BeatGrid"), "b"),
                                    F::geobFrame(QStringLiteral("CueTool Cues"), "c")}));
        QCOMPARE(framesWithId(view(path), QStringLiteral("GEOB")).size(), 3);
        QVERIFY(T::removeSeratoData(path.toUtf8().constData()));
        const QList<QJsonObject> geobs = framesWithId(view(path), QStringLiteral("GEOB"));
        QCOMPARE(geobs.size(), 1);
        QCOMPARE(geobs.first().value(QStringLiteral("desc")).toString(), QStringLiteral("CueTool Cues"));
    }
};

SONVEL_TEST_MAIN(TestIndependentReader)
#include "tst_independentreader.moc"
