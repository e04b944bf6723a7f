#include "common/testmain.h"
#include "table/rowrecords.h"

namespace {

QImage redPicture()
{
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    return picture;
}

// "field|<location>|<key>[|<text>]" (the text "edited" unless given),
// "read|<location>|<key>|<text>" (listed holding text), "cover|<location>" (a red picture),
// "nocover|<location>", "saved|<location>", "rename|<from>|<to>",
// "remove|<location>", "clear".
void apply(RowRecords &changes, const QStringList &script)
{
    for (const QString &line : script) {
        const QStringList parts = line.split(QLatin1Char('|'));
        const QString &op = parts.at(0);
        if (op == QLatin1String("field"))
            changes.setField(parts.at(1), parts.at(2), parts.value(3, QStringLiteral("edited")));
        else if (op == QLatin1String("read"))
            changes.add(parts.at(1), {{parts.at(2), parts.at(3)}});
        else if (op == QLatin1String("cover") || op == QLatin1String("nocover"))
            changes.setCover(parts.at(1), op == QLatin1String("cover") ? redPicture() : QImage());
        else if (op == QLatin1String("saved"))
            changes.markSaved(parts.at(1));
        else if (op == QLatin1String("rename"))
            changes.rename(parts.at(1), parts.at(2));
        else if (op == QLatin1String("remove"))
            changes.remove(parts.at(1));
        else if (op == QLatin1String("clear"))
            changes.clear();
        else
            qFatal("unknown step %s", qPrintable(line));
    }
}

// "<location>: <sorted fields>[ +cover| -cover]" for a changed row,
// "<location>: -" for one that is not.
QString describe(const RowRecords &changes, const QString &location)
{
    if (!changes.isChanged(location))
        return location + QStringLiteral(": -");
    QStringList fields = changes.changedFields(location).values();
    fields.sort();
    QString text = location + QStringLiteral(": ") + fields.join(QLatin1Char(','));
    const RowRecord record = changes.record(location);
    if (record.cover == RowRecord::Cover::Replaced && record.picture == redPicture())
        text += QStringLiteral(" +cover");
    else if (record.cover == RowRecord::Cover::Cleared && record.picture.isNull())
        text += QStringLiteral(" -cover");
    else if (changes.coverChanged(location))
        text += QStringLiteral(" ?cover");
    return text;
}

} // namespace

class TestRowRecords : public QObject
{
    Q_OBJECT

private slots:
    void recordsRowsFieldsAndCover_data();
    void recordsRowsFieldsAndCover();
};

void TestRowRecords::recordsRowsFieldsAndCover_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("size");

    const QString a = QStringLiteral("/music/a.mp3");
    const QString b = QStringLiteral("/music/b.mp3");
    const QString c = QStringLiteral("/music/c.mp3");

    QTest::newRow("nothing recorded") << QStringList() << QStringList{a + ": -"} << 0;
    QTest::newRow("one field") << QStringList{"field|" + a + "|Title"} << QStringList{a + ": Title", b + ": -"} << 1;
    QTest::newRow("same field twice")
        << QStringList{"field|" + a + "|Title", "field|" + a + "|Title"} << QStringList{a + ": Title"} << 1;
    QTest::newRow("fields of two rows kept apart")
        << QStringList{"field|" + a + "|Title", "field|" + b + "|Artist", "field|" + a + "|FileName"}
        << QStringList{a + ": FileName,Title", b + ": Artist"} << 2;
    QTest::newRow("cover only") << QStringList{"cover|" + a} << QStringList{a + ":  +cover"} << 1;
    QTest::newRow("rename carries fields and cover")
        << QStringList{"field|" + a + "|Title", "cover|" + a, "rename|" + a + "|" + c}
        << QStringList{a + ": -", c + ": Title +cover"} << 1;
    QTest::newRow("rename onto a recorded row joins them")
        << QStringList{"field|" + a + "|Title", "field|" + b + "|Artist", "cover|" + b, "rename|" + a + "|" + b}
        << QStringList{a + ": -", b + ": Artist,Title +cover"} << 1;
    QTest::newRow("rename to the same path keeps the row")
        << QStringList{"field|" + a + "|Title", "rename|" + a + "|" + a} << QStringList{a + ": Title"} << 1;
    QTest::newRow("rename of an unrecorded row records nothing")
        << QStringList{"field|" + a + "|Title", "rename|" + b + "|" + c}
        << QStringList{a + ": Title", b + ": -", c + ": -"} << 1;
    QTest::newRow("later edits after a rename join the new path")
        << QStringList{"field|" + a + "|FileName", "rename|" + a + "|" + c, "field|" + c + "|Year"}
        << QStringList{c + ": FileName,Year"} << 1;
    QTest::newRow("remove one row")
        << QStringList{"field|" + a + "|Title", "field|" + b + "|Artist", "remove|" + a}
        << QStringList{a + ": -", b + ": Artist"} << 1;
    QTest::newRow("remove of an unrecorded row")
        << QStringList{"field|" + a + "|Title", "remove|" + c} << QStringList{a + ": Title"} << 1;
    QTest::newRow("cleared cover") << QStringList{"cover|" + a, "nocover|" + a} << QStringList{a + ":  -cover"} << 1;
    QTest::newRow("rename carries a cleared cover")
        << QStringList{"nocover|" + a, "rename|" + a + "|" + c} << QStringList{a + ": -", c + ":  -cover"} << 1;
    QTest::newRow("saved row is as read again")
        << QStringList{"field|" + a + "|Title", "cover|" + a, "field|" + b + "|BPM", "saved|" + a}
        << QStringList{a + ": -", b + ": BPM"} << 1;
    QTest::newRow("clear") << QStringList{"field|" + a + "|Title", "cover|" + b, "clear"}
                           << QStringList{a + ": -", b + ": -"} << 0;
    QTest::newRow("record after clear")
        << QStringList{"cover|" + a, "clear", "field|" + a + "|Genre"} << QStringList{a + ": Genre"} << 1;
    QTest::newRow("typed back to the value read")
        << QStringList{"read|" + a + "|Title|Alpha", "field|" + a + "|Title", "field|" + a + "|Title|Alpha"}
        << QStringList{a + ": -"} << 0;
    QTest::newRow("file name typed back to the one on disk")
        << QStringList{"field|" + a + "|FileName", "field|" + a + "|FileName|a.mp3"} << QStringList{a + ": -"} << 0;
    QTest::newRow("a saved value is the one read from then on")
        << QStringList{"read|" + a + "|Title|Alpha", "field|" + a + "|Title|Beta", "saved|" + a,
                       "field|" + a + "|Title|Alpha"}
        << QStringList{a + ": Title"} << 1;
    QTest::newRow("rename to the name typed is no change of name")
        << QStringList{"field|" + a + "|FileName|c.mp3", "rename|" + a + "|" + c} << QStringList{c + ": -"} << 0;
    QTest::newRow("paths differing in case are different rows")
        << QStringList{"field|/music/Track.mp3|Title", "field|/music/track.mp3|BPM"}
        << QStringList{"/music/Track.mp3: Title", "/music/track.mp3: BPM", "/music/TRACK.mp3: -"} << 2;
}

void TestRowRecords::recordsRowsFieldsAndCover()
{
    QFETCH(QStringList, script);
    QFETCH(QStringList, expected);
    QFETCH(int, size);
    RowRecords changes;
    apply(changes, script);

    QStringList described;
    for (const QString &line : expected)
        described << describe(changes, line.section(QStringLiteral(": "), 0, 0));
    QCOMPARE(described, expected);
    QCOMPARE(changes.changedCount(), size);
    QCOMPARE(changes.hasChanges(), size != 0);
}

SONVEL_TEST_MAIN(TestRowRecords)
#include "tst_rowrecords.moc"
