#include "common/testmain.h"
#include "table/failurereport.h"

class TestFailureReport : public QObject
{
    Q_OBJECT

private slots:
    void namesCountAndFirstFile_data();
    void namesCountAndFirstFile();
};

void TestFailureReport::namesCountAndFirstFile_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("verb");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("reasons"); // per path; none: no reason given

    QTest::newRow("one file") << QStringList{"/music/a.mp3"} << QStringLiteral("saved")
                              << QStringLiteral("1 file could not be saved. First: /music/a.mp3") << QStringList();
    QTest::newRow("two files") << QStringList{"/music/b.mp3", "/music/a.mp3"} << QStringLiteral("saved")
                               << QStringLiteral("2 files could not be saved. First: /music/b.mp3") << QStringList();
    QStringList many;
    for (int i = 0; i < 12; ++i)
        many << QStringLiteral("/music/%1.mp3").arg(i);
    QTest::newRow("twelve files, other verb") << many << QStringLiteral("changed")
                                              << QStringLiteral("12 files could not be changed. First: /music/0.mp3")
                                              << QStringList();
    QTest::newRow("path with spaces and accents")
        << QStringList{QString::fromUtf8("/music/Café del Mar/01 - Intro.mp3")} << QStringLiteral("saved")
        << QString::fromUtf8("1 file could not be saved. First: /music/Café del Mar/01 - Intro.mp3") << QStringList();
    // A path holding "%1" must come out as written, not as an argument slot.
    QTest::newRow("path with a percent sign")
        << QStringList{"/music/100%1 mix.mp3", "/music/x.mp3"} << QStringLiteral("saved")
        << QStringLiteral("2 files could not be saved. First: /music/100%1 mix.mp3") << QStringList();

    // The first file's reason follows it; later reasons are not told.
    QTest::newRow("with reasons") << QStringList{"/music/a.mp3", "/music/b.mp3"} << QStringLiteral("saved")
                                  << QStringLiteral("2 files could not be saved. First: /music/a.mp3 (the file is gone)")
                                  << QStringList{"the file is gone", "it could not be written"};
    QTest::newRow("reason holding a percent sign")
        << QStringList{"/music/%2.mp3"} << QStringLiteral("renamed")
        << QStringLiteral("1 file could not be renamed. First: /music/%2.mp3 (100%1 odd)") << QStringList{"100%1 odd"};
}

void TestFailureReport::namesCountAndFirstFile()
{
    QFETCH(QStringList, paths);
    QFETCH(QString, verb);
    FailureReport report;
    QVERIFY(report.isEmpty());
    QFETCH(QStringList, reasons);
    for (int i = 0; i < paths.size(); ++i)
        report.addFailure(paths.at(i), reasons.value(i));
    QVERIFY(!report.isEmpty());
    QCOMPARE(report.count(), paths.size());
    QCOMPARE(report.firstPath(), paths.first());
    QTEST(report.message(verb), "message");
}

SONVEL_TEST_MAIN(TestFailureReport)
#include "tst_failurereport.moc"
