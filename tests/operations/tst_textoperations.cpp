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
    QTest::newRow("after Mc as typed") << "McDONALD mcdonald MCDonald" << "McDonald Mcdonald McDonald";
    QTest::newRow("accented first letter") << QString::fromUtf8("élan") << QString::fromUtf8("Élan");
    QTest::newRow("umlaut") << QString::fromUtf8("über alles") << QString::fromUtf8("Über Alles");
    QTest::newRow("cedilla") << QString::fromUtf8("çava") << QString::fromUtf8("Çava");
    QTest::newRow("cyrillic") << QString::fromUtf8("нОЧЬ ТЕМНА") << QString::fromUtf8("Ночь ТЕМНА");
    QTest::newRow("greek") << QString::fromUtf8("αθήνα") << QString::fromUtf8("Αθήνα");
    QTest::newRow("no-break space joins words") << QString::fromUtf8("deep\u00a0house") << QString::fromUtf8("Deep\u00a0house");
    QTest::newRow("tab and newline start words") << "a\tb\nc" << "A\tB\nC";
    QTest::newRow("punctuation first") << "(live) mix" << "(Live) Mix";
    QTest::newRow("cjk unchanged") << QString::fromUtf8("夜 の mix") << QString::fromUtf8("夜 の Mix");
    QTest::newRow("empty") << "" << "";
    QTest::newRow("blanks only") << "   " << "   ";
    QTest::newRow("letter beyond the BMP") << QString::fromUtf8("𐐨ab") << QString::fromUtf8("𐐀ab");
    QTest::newRow("capitals beyond the BMP") << QString::fromUtf8("𐐀𐐁 𐐀𐐁𐐩") << QString::fromUtf8("𐐀𐐁 𐐀𐐩𐐩");
    QTest::newRow("title case unlike upper case") << QString::fromUtf8("ǆungla") << QString::fromUtf8("ǅungla");
    QTest::newRow("no one-letter title case") << QString::fromUtf8("ßa STRAßE") << QString::fromUtf8("ßa Straße");
    QTest::newRow("dotted capital i") << QString::fromUtf8("İZMİR kİLİM") << QString::fromUtf8("İZMİR Ki̇li̇m");

    QTest::newRow("capitals kept") << "DJ Sonvel, KL" << "DJ Sonvel, KL";
    QTest::newRow("roman numerals as typed") << "rocky XIV part ii" << "Rocky XIV Part Ii";
    QTest::newRow("one capital is a first letter") << "I saw A CAT, i" << "I Saw A CAT, I";
    QTest::newRow("digits among capitals") << "MK2 B2B 3AM A1" << "MK2 B2B 3AM A1";
    QTest::newRow("digits among small letters") << "mk2 b2B 3am" << "Mk2 B2b 3Am";
    QTest::newRow("capitals split by points") << "U.K. R&B D'N'B u.k." << "U.K. R&B D'N'B U.k.";
    QTest::newRow("capitals part of a word") << "DJ's KLF-style hip-HOP" << "DJ's KLF-style Hip-HOP";
    QTest::newRow("capitals with apostrophe") << "DON'T O'NEIL" << "DON'T O'NEIL";
    QTest::newRow("after apostrophe as typed") << "K. O'Neil rock'n'ROLL" << "K. O'Neil Rock'n'ROLL";
    QTest::newRow("other apostrophes") << QString::fromUtf8("o’Neil d`Arc lʼAmour") << QString::fromUtf8("O’Neil D`Arc LʼAmour");
    QTest::newRow("apostrophe first") << "'til 'N' dawn" << "'Til 'N' Dawn";
    QTest::newRow("small letters typed") << "feat. dj x" << "Feat. Dj X";
    QTest::newRow("brackets and quotes") << "(original mix) [free DL] \"so\"" << "(Original Mix) [Free DL] \"So\"";
    QTest::newRow("slash starts a word") << "AC/DC vocal/dub mix(edit)" << "AC/DC Vocal/Dub Mix(Edit)";
    QTest::newRow("mixed capitals lowered") << "DjS mIXeD" << "Djs Mixed";
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

    QTest::newRow("capitalize") << "Capitalize" << "the BEST song" << "The BEST Song" << "Title Case";
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
