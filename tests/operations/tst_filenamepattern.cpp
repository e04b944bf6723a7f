#include "operations/filenamepattern.h"

#include <QtTest>

using Pairs = QList<QPair<QString, QString>>;
Q_DECLARE_METATYPE(Pairs)

class TestFileNamePattern : public QObject
{
    Q_OBJECT

private slots:
    void valuesFromFileName_data();
    void valuesFromFileName();
    void baseNameFromValues_data();
    void baseNameFromValues();
};

void TestFileNamePattern::valuesFromFileName_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<Pairs>("expected");

    const QStringList artistTitle = {"Artist", "Title"};
    QTest::newRow("two parts") << "Air-Venus.mp3" << artistTitle << "-" << Pairs{{"Artist", "Air"}, {"Title", "Venus"}};
    QTest::newRow("no trimming") << "Air - Venus.mp3" << artistTitle << "-"
                                 << Pairs{{"Artist", "Air "}, {"Title", " Venus"}};
    QTest::newRow("extra part dropped") << "A-B-C.mp3" << artistTitle << "-" << Pairs{{"Artist", "A"}, {"Title", "B"}};
    QTest::newRow("empty middle") << "A--B.mp3" << QStringList{"Artist", "Title", "Album"} << "-"
                                  << Pairs{{"Artist", "A"}, {"Title", ""}, {"Album", "B"}};
    QTest::newRow("trailing separator") << "A-.mp3" << artistTitle << "-" << Pairs{{"Artist", "A"}};
    QTest::newRow("leading separator") << "-B.mp3" << artistTitle << "-" << Pairs{{"Artist", ""}, {"Title", "B"}};
    QTest::newRow("one tag takes the whole name") << "Air-Venus.mp3" << QStringList{"Title"} << "-"
                                                  << Pairs{{"Title", "Air-Venus"}};
    QTest::newRow("too few separators") << "A-B.mp3" << QStringList{"Artist", "Title", "Album"} << "-" << Pairs{};
    QTest::newRow("no separator") << "AirVenus.mp3" << artistTitle << "-" << Pairs{};
    QTest::newRow("capital extension") << "Air-Venus.MP3" << artistTitle << "-"
                                       << Pairs{{"Artist", "Air"}, {"Title", "Venus"}};
    QTest::newRow("flac") << "Air-Venus.flac" << artistTitle << "-" << Pairs{{"Artist", "Air"}, {"Title", "Venus"}};
    QTest::newRow("mixed-case opus") << "Air-Venus.OpUs" << QStringList{"Title"} << "-"
                                     << Pairs{{"Title", "Air-Venus"}};
    QTest::newRow("only the last extension goes") << "Air-Venus.wav.aiff" << artistTitle << "-"
                                                  << Pairs{{"Artist", "Air"}, {"Title", "Venus.wav"}};
    QTest::newRow("other separator") << "Air_Venus.mp3" << artistTitle << "_" << Pairs{{"Artist", "Air"}, {"Title", "Venus"}};
    QTest::newRow("repeated tag, later wins in order") << "A-B-C.mp3" << QStringList{"Artist", "Title", "Artist"} << "-"
                                                        << Pairs{{"Artist", "A"}, {"Title", "B"}, {"Artist", "C"}};
}

void TestFileNamePattern::valuesFromFileName()
{
    QFETCH(QString, fileName);
    QFETCH(QStringList, tags);
    QFETCH(QString, separator);
    QTEST(FileNamePattern::valuesFromFileName(fileName, tags, separator), "expected");
}

void TestFileNamePattern::baseNameFromValues_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<int>("expectedCount");
    QTest::addColumn<QString>("expected");

    QTest::newRow("joined") << QStringList{"Air", "Venus"} << 2 << "Air-Venus";
    QTest::newRow("repeated tag") << QStringList{"Air", "Venus", "Air"} << 3 << "Air-Venus-Air";
    QTest::newRow("missing value") << QStringList{"Air"} << 2 << "";
    QTest::newRow("empty value") << QStringList{"Air", ""} << 2 << "";
    QTest::newRow("one blank is missing") << QStringList{"Air", " "} << 2 << "";
    QTest::newRow("two blanks are a value") << QStringList{"Air", "  "} << 2 << "Air-  ";
    QTest::newRow("slash would leave the folder") << QStringList{"AC/DC", "Thunder"} << 2 << "";
    QTest::newRow("backslash") << QStringList{"a\\b", "c"} << 2 << "";
    QTest::newRow("dot dot") << QStringList{"..", "x"} << 2 << "";
    QTest::newRow("single dot value") << QStringList{"."} << 1 << "";
    QTest::newRow("nothing at all") << QStringList{} << 0 << "";
}

void TestFileNamePattern::baseNameFromValues()
{
    QFETCH(QStringList, values);
    QFETCH(int, expectedCount);
    QTEST(FileNamePattern::baseNameFromValues(values, QStringLiteral("-"), expectedCount), "expected");
}

QTEST_GUILESS_MAIN(TestFileNamePattern)
#include "tst_filenamepattern.moc"
