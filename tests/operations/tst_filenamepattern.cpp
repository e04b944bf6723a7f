#include "operations/filenamepattern.h"

#include <QtTest>

using Pairs = QList<QPair<QString, QString>>;
Q_DECLARE_METATYPE(Pairs)
Q_DECLARE_METATYPE(FileNamePattern::NameProblem)

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
    QTest::newRow("blanks around values dropped") << " Air -\tVenus .mp3" << artistTitle << "-"
                                                  << Pairs{{"Artist", "Air"}, {"Title", "Venus"}};
    QTest::newRow("inner blanks kept") << "Daft  Punk - One More Time.mp3" << artistTitle << "-"
                                       << Pairs{{"Artist", "Daft  Punk"}, {"Title", "One More Time"}};
    QTest::newRow("one tag, trimmed") << "  Air - Venus .mp3" << QStringList{"Title"} << "-"
                                      << Pairs{{"Title", "Air - Venus"}};
    QTest::newRow("blank after the last separator is no part") << "A - .mp3" << artistTitle << "-"
                                                               << Pairs{{"Artist", "A"}};
    QTest::newRow("blank before the first separator is empty") << " - B.mp3" << artistTitle << "-"
                                                               << Pairs{{"Artist", ""}, {"Title", "B"}};
    QTest::newRow("separator of several characters")
        << "Air - Venus - Moon.mp3" << QStringList{"Artist", "Title", "Album"} << " - "
        << Pairs{{"Artist", "Air"}, {"Title", "Venus"}, {"Album", "Moon"}};
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
    using P = FileNamePattern::NameProblem;
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<int>("expectedCount");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<P>("problem");

    QTest::newRow("joined") << QStringList{"Air", "Venus"} << 2 << "Air-Venus" << P::None;
    QTest::newRow("repeated tag") << QStringList{"Air", "Venus", "Air"} << 3 << "Air-Venus-Air" << P::None;
    QTest::newRow("missing value") << QStringList{"Air"} << 2 << "" << P::MissingValue;
    QTest::newRow("empty value") << QStringList{"Air", ""} << 2 << "" << P::MissingValue;
    QTest::newRow("one blank is missing") << QStringList{"Air", " "} << 2 << "" << P::MissingValue;
    QTest::newRow("two blanks are a value") << QStringList{"Air", "  "} << 2 << "Air-  " << P::None;
    QTest::newRow("slash would leave the folder") << QStringList{"AC/DC", "Thunder"} << 2 << "" << P::UnsafeValue;
    QTest::newRow("backslash") << QStringList{"a\\b", "c"} << 2 << "" << P::UnsafeValue;
    QTest::newRow("dot dot") << QStringList{"..", "x"} << 2 << "" << P::UnsafeValue;
    QTest::newRow("single dot value") << QStringList{"."} << 1 << "" << P::UnsafeValue;
    QTest::newRow("missing wins over unsafe") << QStringList{"AC/DC", ""} << 2 << "" << P::MissingValue;
    QTest::newRow("nothing at all") << QStringList{} << 0 << "" << P::MissingValue;
}

void TestFileNamePattern::baseNameFromValues()
{
    QFETCH(QStringList, values);
    QFETCH(int, expectedCount);
    const FileNamePattern::BaseName name =
        FileNamePattern::baseNameFromValues(values, QStringLiteral("-"), expectedCount);
    QTEST(name.text, "expected");
    QTEST(name.problem, "problem");
}

QTEST_GUILESS_MAIN(TestFileNamePattern)
#include "tst_filenamepattern.moc"
