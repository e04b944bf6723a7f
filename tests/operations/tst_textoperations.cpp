#include "operations/textoperations.h"

#include <QtTest>

class TestTextOperations : public QObject
{
    Q_OBJECT

private slots:
    void titleCase_data();
    void titleCase();
    void formatText_data();
    void formatText();
};

void TestTextOperations::titleCase_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::newRow("mixed case") << "hELLO wORLD" << "Hello World";
    QTest::newRow("apostrophe") << "o'neil" << "O'neil";
    QTest::newRow("hyphens") << "rock-n-roll" << "Rock-n-roll";
    QTest::newRow("digit first") << "4ever young" << "4Ever Young";
    QTest::newRow("rest lowered") << "McDONALD" << "Mcdonald";
    QTest::newRow("accented first letter") << QString::fromUtf8("élan") << QString::fromUtf8("Élan");
    QTest::newRow("umlaut") << QString::fromUtf8("über alles") << QString::fromUtf8("Über Alles");
    QTest::newRow("cedilla") << QString::fromUtf8("çava") << QString::fromUtf8("Çava");
    QTest::newRow("cyrillic") << QString::fromUtf8("ночь ТЕМНА") << QString::fromUtf8("Ночь Темна");
    QTest::newRow("greek") << QString::fromUtf8("αθήνα") << QString::fromUtf8("Αθήνα");
    QTest::newRow("no-break space joins words") << QString::fromUtf8("deep\u00a0house") << QString::fromUtf8("Deep\u00a0house");
    QTest::newRow("tab and newline start words") << "a\tb\nc" << "A\tB\nC";
    QTest::newRow("punctuation first") << "(live) mix" << "(Live) Mix";
    QTest::newRow("cjk unchanged") << QString::fromUtf8("夜 の mix") << QString::fromUtf8("夜 の Mix");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("blanks only") << "   " << "   ";
    QTest::newRow("letter beyond the BMP") << QString::fromUtf8("𐐨ab") << QString::fromUtf8("𐐀ab");
}

void TestTextOperations::titleCase()
{
    QFETCH(QString, input);
    QTEST(TextOperations::toTitleCase(input), "expected");
}

void TestTextOperations::formatText_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("name");

    QTest::newRow("capitalize") << "Capitalize" << "the BEST song" << "The Best Song" << "Title Case";
    QTest::newRow("upper, full unicode") << "Upper Case" << QString::fromUtf8("straße") << QString::fromUtf8("STRASSE")
                                         << "Upper Case";
    QTest::newRow("lower") << "Lower Case" << QString::fromUtf8("ÉTÉ") << QString::fromUtf8("été") << "Lower Case";
    QTest::newRow("unknown option unchanged") << "upper case" << "MiXeD" << "MiXeD" << "upper case";
}

void TestTextOperations::formatText()
{
    QFETCH(QString, option);
    QFETCH(QString, input);
    QTEST(TextOperations::formatText(option, input), "expected");
    QTEST(TextOperations::conversionName(option), "name");
}

QTEST_GUILESS_MAIN(TestTextOperations)
#include "tst_textoperations.moc"
