#include "common/testmain.h"
#include "operations/filenamerules.h"

class TestFileNameRules : public QObject
{
    Q_OBJECT

private slots:
    void isSafeBaseName_data();
    void isSafeBaseName();
    void targetForTypedName_data();
    void targetForTypedName();
    void targetForBaseName_data();
    void targetForBaseName();
};

void TestFileNameRules::isSafeBaseName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");

    QTest::newRow("plain") << QStringLiteral("track") << true;
    QTest::newRow("artist - title") << QStringLiteral("Ana Ruiz - Night Drive (Extended Mix)") << true;
    QTest::newRow("inner dots") << QStringLiteral("a.b.c") << true;
    QTest::newRow("leading dot") << QStringLiteral(".hidden") << true;
    QTest::newRow("three dots") << QStringLiteral("...") << true;
    QTest::newRow("unicode") << QString::fromUtf8("Café 東京 🎧") << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("dot") << QStringLiteral(".") << false;
    QTest::newRow("dot dot") << QStringLiteral("..") << false;
    QTest::newRow("slash") << QStringLiteral("a/b") << false;
    QTest::newRow("parent folder") << QStringLiteral("../x") << false;
    QTest::newRow("absolute") << QStringLiteral("/tmp/x") << false;
    QTest::newRow("trailing slash") << QStringLiteral("x/") << false;
    QTest::newRow("backslash") << QStringLiteral("a\\b") << false;
    QTest::newRow("parent folder, backslash") << QStringLiteral("..\\x") << false;
    // The system would cut the name at the NUL and rename to another file.
    QTest::newRow("NUL") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << false;
}

void TestFileNameRules::isSafeBaseName()
{
    QFETCH(QString, name);
    QTEST(FileNameRules::isSafeBaseName(name), "safe");
}

void TestFileNameRules::targetForTypedName_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("target");

    const QString a = QStringLiteral("/music/set/a.mp3");
    QTest::newRow("name without extension") << a << QStringLiteral("b") << true << QStringLiteral("/music/set/b.mp3");
    QTest::newRow("name with extension") << a << QStringLiteral("b.mp3") << true << QStringLiteral("/music/set/b.mp3");
    QTest::newRow("capital extension is the extension as written")
        << a << QStringLiteral("X.MP3") << true << QStringLiteral("/music/set/X.mp3");
    QTest::newRow("extension twice") << a << QStringLiteral("b.mp3.mp3") << true
                                     << QStringLiteral("/music/set/b.mp3.mp3");
    const QString flac = QStringLiteral("/music/set/a.FLAC");
    QTest::newRow("own extension kept as written") << flac << QStringLiteral("Intro") << true
                                                   << QStringLiteral("/music/set/Intro.FLAC");
    QTest::newRow("own extension in another case") << flac << QStringLiteral("Intro.flac") << true
                                                   << QStringLiteral("/music/set/Intro.FLAC");
    QTest::newRow("other extension stays in the name")
        << QStringLiteral("/music/set/a.flac") << QStringLiteral("Intro.wav") << true
        << QStringLiteral("/music/set/Intro.wav.flac");
    QTest::newRow("own name in another case") << flac << QStringLiteral("a.flac") << true << flac;
    QTest::newRow("own name") << a << QStringLiteral("a") << true << a;
    QTest::newRow("unicode") << a << QString::fromUtf8("Café 東京") << true
                             << QString::fromUtf8("/music/set/Café 東京.mp3");
    QTest::newRow("folder with spaces") << QStringLiteral("/my music/a.mp3") << QStringLiteral("b") << true
                                        << QStringLiteral("/my music/b.mp3");
    QTest::newRow("empty") << a << QString() << false << QString();
    QTest::newRow("only the extension") << a << QStringLiteral(".mp3") << false << QString();
    QTest::newRow("dot") << a << QStringLiteral(".") << false << QString();
    QTest::newRow("dot dot") << a << QStringLiteral("..") << false << QString();
    QTest::newRow("dot with extension") << a << QStringLiteral("..mp3") << false << QString();
    QTest::newRow("dot dot with extension") << a << QStringLiteral("...mp3") << false << QString();
    QTest::newRow("parent folder") << a << QStringLiteral("../x") << false << QString();
    QTest::newRow("parent folder with extension") << a << QStringLiteral("../x.mp3") << false << QString();
    QTest::newRow("sub folder") << a << QStringLiteral("a/b") << false << QString();
    QTest::newRow("backslash") << a << QStringLiteral("a\\b") << false << QString();
    QTest::newRow("only the own extension, other case") << flac << QStringLiteral(".flac") << false << QString();
    QTest::newRow("current name without extension") << QStringLiteral("/music/set/a") << QStringLiteral("b.mp3")
                                                    << true << QStringLiteral("/music/set/b.mp3");
}

void TestFileNameRules::targetForTypedName()
{
    QFETCH(QString, current);
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    const FileNameRules::RenameTarget target = FileNameRules::targetForTypedName(current, typed);
    QCOMPARE(target.ok, ok);
    if (ok)
        QTEST(target.path, "target");
}

void TestFileNameRules::targetForBaseName_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("base");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("target");

    const QString a = QStringLiteral("/music/set/a.mp3");
    QTest::newRow("artist - title") << a << QStringLiteral("Ana Ruiz - Night Drive") << true
                                    << QStringLiteral("/music/set/Ana Ruiz - Night Drive.mp3");
    QTest::newRow("base ending in the extension still gets it")
        << a << QStringLiteral("x.mp3") << true << QStringLiteral("/music/set/x.mp3.mp3");
    QTest::newRow("own base name") << a << QStringLiteral("a") << true << a;
    QTest::newRow("empty") << a << QString() << false << QString();
    QTest::newRow("dot dot") << a << QStringLiteral("..") << false << QString();
    QTest::newRow("slash from a tag value") << a << QStringLiteral("AC/DC - Thunder") << false << QString();
    QTest::newRow("backslash") << a << QStringLiteral("a\\b") << false << QString();
    QTest::newRow("own extension as written") << QStringLiteral("/music/set/A.AIFF") << QStringLiteral("b") << true
                                              << QStringLiteral("/music/set/b.AIFF");
    QTest::newRow("current name without extension") << QStringLiteral("/music/set/a") << QStringLiteral("b") << true
                                                    << QStringLiteral("/music/set/b");
}

void TestFileNameRules::targetForBaseName()
{
    QFETCH(QString, current);
    QFETCH(QString, base);
    QFETCH(bool, ok);
    const FileNameRules::RenameTarget target = FileNameRules::targetForBaseName(current, base);
    QCOMPARE(target.ok, ok);
    if (ok)
        QTEST(target.path, "target");
}

SONVEL_TEST_MAIN(TestFileNameRules)
#include "tst_filenamerules.moc"
