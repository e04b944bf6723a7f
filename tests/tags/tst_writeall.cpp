#include "common/mp3fixture.h"
#include "common/testmain.h"
#include "tags/fieldaccess.h"

#include <QTemporaryDir>

namespace F = Mp3Fixture;
using T = TagReaderAndWriter;
using FieldTexts = QMap<QString, QString>;

namespace {

enum Cover { NoCover, NullCover, NewCover };

FieldTexts allFields(const QString &text, const QString &number)
{
    FieldTexts fields;
    for (const FieldAccess &field : fieldAccess())
        fields.insert(field.key, field.kind == FieldAccess::Number ? number : text);
    return fields;
}

// The frame lines of the ids that the written keys (and cover) do not touch.
QStringList untouched(const QStringList &dump, const FieldTexts &fields, bool cover)
{
    QStringList ids;
    for (const QString &key : fields.keys())
        ids << QString::fromLatin1(fieldByKey(key).frameId);
    if (cover)
        ids << QStringLiteral("APIC");
    QStringList kept;
    for (const QString &line : dump) {
        if (!ids.contains(line.left(4)))
            kept << line;
    }
    return kept;
}

} // namespace

class TestWriteAll : public QObject
{
    Q_OBJECT

private slots:
    void matchesSingleWriters_data()
    {
        QTest::addColumn<FieldTexts>("fields");
        QTest::addColumn<int>("cover");

        const QString unicode = QString::fromUtf8("Café 東京 🎧");
        QTest::newRow("all fields") << allFields(QStringLiteral("Peak Time"), QStringLiteral("2021")) << int(NoCover);
        QTest::newRow("all fields and cover") << allFields(QStringLiteral("Peak"), QStringLiteral("5")) << int(NewCover);
        QTest::newRow("some fields")
            << FieldTexts{{"Title", "Sunrise"}, {"BPM", "128"}, {"Comment", "Closing"}} << int(NoCover);
        QTest::newRow("empty strings") << allFields(QString(), QString()) << int(NoCover);
        QTest::newRow("placeholders") << allFields(QStringLiteral(" "), QStringLiteral(" ")) << int(NoCover);
        QTest::newRow("non-numeric numbers")
            << FieldTexts{{"Year", "2019abc"}, {"Track", "3/12"}, {"Title", "x"}} << int(NoCover);
        QTest::newRow("date and no track") << FieldTexts{{"Year", "2020-05-01"}, {"Track", "3/x"}} << int(NoCover);
        QTest::newRow("unicode") << allFields(unicode, QStringLiteral("7")) << int(NewCover);
        QTest::newRow("cover only") << FieldTexts() << int(NewCover);
        QTest::newRow("null cover removes pictures") << FieldTexts{{"Artist", "Ana"}} << int(NullCover);
        QTest::newRow("empty comment only") << FieldTexts{{"Comment", ""}} << int(NoCover);
    }

    void matchesSingleWriters()
    {
        QFETCH(FieldTexts, fields);
        QFETCH(int, cover);
        QTemporaryDir tmp;
        const QString together = F::create(tmp.path(), QStringLiteral("together.mp3"));
        const QString single = tmp.filePath(QStringLiteral("single.mp3"));
        QVERIFY(F::addFullTags(together, F::encode(F::image(80, 80, Qt::green))));
        QVERIFY(F::addFrames(together,
                             {F::commentFrame(QStringLiteral(" 00000000 00000210"), QStringLiteral("iTunSMPB")),
                              F::txxxFrame(QStringLiteral("REPLAYGAIN_TRACK_GAIN"), QStringLiteral("-3 dB")),
                              F::privFrame(QStringLiteral("com.example.cuetool"), "cues"),
                              F::pictureFrame(F::encode(F::image(40, 40, Qt::blue)), 4)}));
        QVERIFY(F::addId3v1(together, QStringLiteral("Old title")));
        QVERIFY(QFile::copy(together, single));
        const QStringList before = F::frameDump(together);

        const QImage image = cover == NewCover ? F::image(120, 90, Qt::red) : QImage();
        const std::optional<QImage> given =
            cover == NoCover ? std::nullopt : std::optional<QImage>(image);
        QVERIFY(T::writeAll(together, fields, given));
        for (const FieldAccess &field : fieldAccess()) {
            if (fields.contains(field.key))
                QVERIFY2(field.write(single, fields.value(field.key)), qPrintable(field.key));
        }
        if (given)
            QVERIFY(T::writeCoverArt(single, image));

        QCOMPARE(F::frameDump(together), F::frameDump(single));
        // ID3v1 up to the blanks around its fixed-width text: a chain of
        // single writes may drop a leading blank of a copied comment.
        QCOMPARE(F::id3v1Fields(together), F::id3v1Fields(single));
        QCOMPARE(untouched(F::frameDump(together), fields, given.has_value()),
                 untouched(before, fields, given.has_value()));
    }
};

SONVEL_TEST_MAIN(TestWriteAll)
#include "tst_writeall.moc"
