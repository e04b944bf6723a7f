#include "common/testmain.h"
#include "tags/textencoding.h"

class TestTextEncoding : public QObject
{
    Q_OBJECT

private slots:
    void repair_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        // Old software stored UTF-8 bytes as Latin-1 characters.
        const auto latin1 = [](const char *bytes) { return QString::fromLatin1(bytes); };
        QTest::newRow("Latin-1 view of UTF-8") << latin1("Caf\xC3\xA9") << QString::fromUtf8("Café");
        QTest::newRow("CJK stored as Latin-1") << latin1("\xE6\x9D\xB1\xE4\xBA\xAC") << QString::fromUtf8("東京");
        QTest::newRow("emoji stored as Latin-1") << latin1("\xF0\x9F\x8E\xA7 mix") << QString::fromUtf8("🎧 mix");
        QTest::newRow("plain ASCII") << QStringLiteral("Night Drive") << QStringLiteral("Night Drive");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("real Latin-1") << latin1("\xC7" "a va") << latin1("\xC7" "a va");
        QTest::newRow("lone accented letter") << latin1("Caf\xE9") << latin1("Caf\xE9");
        QTest::newRow("truncated sequence") << latin1("Caf\xC3") << latin1("Caf\xC3");
        QTest::newRow("overlong slash") << latin1("a\xC0\xAF") << latin1("a\xC0\xAF");
        QTest::newRow("encoded surrogate") << latin1("\xED\xA0\x80") << latin1("\xED\xA0\x80");
        QTest::newRow("above U+10FFFF") << latin1("\xF4\x90\x80\x80") << latin1("\xF4\x90\x80\x80");
        // A character above U+00FF means the text was already real Unicode.
        const QString mixed = latin1("Caf\xC3\xA9 ") + QChar(0x20AC);
        QTest::newRow("char above U+00FF") << mixed << mixed;
        QTest::newRow("already proper Unicode") << QString::fromUtf8("東京 Café") << QString::fromUtf8("東京 Café");
    }

    void repair()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(TextEncoding::repairDoubleEncodedUtf8(text), expected);
    }

    void validUtf8_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");

        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("ASCII") << QByteArray("abc") << true;
        QTest::newRow("two bytes") << QByteArray("\xC3\xA9") << true;
        QTest::newRow("three bytes") << QByteArray("\xE6\x9D\xB1") << true;
        QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x8E\xA7") << true;
        QTest::newRow("U+D7FF") << QByteArray("\xED\x9F\xBF") << true;
        QTest::newRow("U+E000") << QByteArray("\xEE\x80\x80") << true;
        QTest::newRow("U+10FFFF") << QByteArray("\xF4\x8F\xBF\xBF") << true;
        QTest::newRow("overlong NUL") << QByteArray("\xC0\x80") << false;
        QTest::newRow("overlong two bytes") << QByteArray("\xC1\xBF") << false;
        QTest::newRow("overlong three bytes") << QByteArray("\xE0\x9F\xBF") << false;
        QTest::newRow("overlong four bytes") << QByteArray("\xF0\x8F\xBF\xBF") << false;
        QTest::newRow("high surrogate") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("low surrogate") << QByteArray("\xED\xBF\xBF") << false;
        QTest::newRow("U+110000") << QByteArray("\xF4\x90\x80\x80") << false;
        QTest::newRow("F5 lead") << QByteArray("\xF5\x80\x80\x80") << false;
        QTest::newRow("FF byte") << QByteArray("a\xFF") << false;
        QTest::newRow("lone continuation") << QByteArray("\x80") << false;
        QTest::newRow("truncated at end") << QByteArray("ab\xE6\x9D") << false;
        QTest::newRow("bad continuation") << QByteArray("\xC3\x28") << false;
        QTest::newRow("five-byte form") << QByteArray("\xF8\x88\x80\x80\x80") << false;
    }

    void validUtf8()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QCOMPARE(TextEncoding::isValidUtf8(bytes), valid);
    }
};

SONVEL_TEST_MAIN(TestTextEncoding)
#include "tst_textencoding.moc"
