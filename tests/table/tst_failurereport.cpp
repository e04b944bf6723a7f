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

    QTest::newRow("one file") << QStringList{"/music/a.mp3"} << QStringLiteral("saved")
                              << QStringLiteral("1 file could not be saved. First: /music/a.mp3");
    QTest::newRow("two files") << QStringList{"/music/b.mp3", "/music/a.mp3"} << QStringLiteral("saved")
                               << QStringLiteral("2 files could not be saved. First: /music/b.mp3");
    QStringList many;
    for (int i = 0; i < 12; ++i)
        many << QStringLiteral("/music/%1.mp3").arg(i);
    QTest::newRow("twelve files, other verb") << many << QStringLiteral("changed")
                                              << QStringLiteral("12 files could not be changed. First: /music/0.mp3");
    QTest::newRow("path with spaces and accents")
        << QStringList{QString::fromUtf8("/music/Café del Mar/01 - Intro.mp3")} << QStringLiteral("saved")
        << QString::fromUtf8("1 file could not be saved. First: /music/Café del Mar/01 - Intro.mp3");
    // A path holding "%1" must come out as written, not as an argument slot.
    QTest::newRow("path with a percent sign")
        << QStringList{"/music/100%1 mix.mp3", "/music/x.mp3"} << QStringLiteral("saved")
        << QStringLiteral("2 files could not be saved. First: /music/100%1 mix.mp3");
}

void TestFailureReport::namesCountAndFirstFile()
{
    QFETCH(QStringList, paths);
    QFETCH(QString, verb);
    FailureReport report;
    QVERIFY(report.isEmpty());
    for (const QString &path : paths)
        report.addFailure(path);
    QVERIFY(!report.isEmpty());
    QCOMPARE(report.count(), paths.size());
    QCOMPARE(report.firstPath(), paths.first());
    QTEST(report.message(verb), "message");
}

SONVEL_TEST_MAIN(TestFailureReport)
#include "tst_failurereport.moc"
