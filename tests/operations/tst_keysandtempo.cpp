#include "operations/bpmvalue.h"
#include "operations/musickey.h"

#include <QtTest>

Q_DECLARE_METATYPE(BpmValue::Precision)

namespace {

// The wheel in order 1A, 1B, 2A ... 12B, written out by hand.
struct WheelKey {
    const char *musical;
    const char *camelot;
    const char *openKey;
};

const WheelKey wheel[] = {
    {"Abm", "1A", "6m"},  {"B", "1B", "6d"},   {"Ebm", "2A", "7m"},  {"F#", "2B", "7d"},  {"Bbm", "3A", "8m"},
    {"Db", "3B", "8d"},   {"Fm", "4A", "9m"},  {"Ab", "4B", "9d"},   {"Cm", "5A", "10m"}, {"Eb", "5B", "10d"},
    {"Gm", "6A", "11m"},  {"Bb", "6B", "11d"}, {"Dm", "7A", "12m"},  {"F", "7B", "12d"},  {"Am", "8A", "1m"},
    {"C", "8B", "1d"},    {"Em", "9A", "2m"},  {"G", "9B", "2d"},    {"Bm", "10A", "3m"}, {"D", "10B", "3d"},
    {"F#m", "11A", "4m"}, {"A", "11B", "4d"},  {"Dbm", "12A", "5m"}, {"E", "12B", "5d"},
};

QString camelotOf(const QString &text)
{
    const std::optional<MusicKey::Key> key = MusicKey::parse(text);
    return key ? MusicKey::format(*key, KeyNotation::Camelot) : QString();
}

} // namespace

class TestKeysAndTempo : public QObject
{
    Q_OBJECT

private slots:
    void wheelKeys_data();
    void wheelKeys();
    void keyVariants_data();
    void keyVariants();
    void notationNames();
    void bpmParse_data();
    void bpmParse();
    void bpmNormalise_data();
    void bpmNormalise();
};

void TestKeysAndTempo::wheelKeys_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("musical");
    QTest::addColumn<QString>("camelot");
    QTest::addColumn<QString>("openKey");
    for (int i = 0; i < 24; ++i) {
        QTest::newRow(wheel[i].camelot) << i << wheel[i].musical << wheel[i].camelot << wheel[i].openKey;
    }
}

void TestKeysAndTempo::wheelKeys()
{
    QFETCH(int, position);
    QFETCH(QString, musical);
    QFETCH(QString, camelot);
    QFETCH(QString, openKey);
    const MusicKey::Key key{position / 2 + 1, position % 2 == 1};
    QCOMPARE(MusicKey::wheelPosition(key), position);
    const std::pair<QString, KeyNotation> texts[] = {
        {musical, KeyNotation::Musical}, {camelot, KeyNotation::Camelot}, {openKey, KeyNotation::OpenKey}};
    for (const auto &[text, notation] : texts) {
        QCOMPARE(MusicKey::format(key, notation), text);
        QCOMPARE(MusicKey::parse(text), std::optional<MusicKey::Key>(key));
    }
}

void TestKeysAndTempo::keyVariants_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("camelot"); // empty: no key

    const char *const rows[][2] = {
        // Musical spellings from stores, analysers and people.
        {"A minor", "8A"}, {"A Minor", "8A"}, {"a minor", "8A"}, {"Amin", "8A"}, {"A min", "8A"}, {"am", "8A"},
        {"AMINOR", "8A"}, {"  Am\t", "8A"}, {"Amaj", "11B"}, {"A maj", "11B"}, {"A Major", "11B"}, {"C maj", "8B"},
        {"Cmaj", "8B"}, {"c major", "8B"}, {"Bbmaj", "6B"}, {"Eb min", "2A"}, {"G#m", "1A"}, {"Ab", "4B"},
        {"A-Flat Minor", "1A"}, {"C-Sharp Major", "3B"}, {"F sharp minor", "11A"}, {"Bflat", "6B"},
        // Enharmonics land on the same place as the spelling format uses.
        {"Cb", "1B"}, {"Cbm", "10A"}, {"E#", "7B"}, {"Fb", "12B"}, {"B#", "8B"}, {"Gb", "2B"}, {"D#m", "2A"},
        {"A#m", "3A"}, {"C#", "3B"}, {"G#", "4B"}, {"C#m", "12A"}, {"Gbm", "11A"},
        // Wheel numbers: leading zeros and either case.
        {"08A", "8A"}, {"8a", "8A"}, {"8b", "8B"}, {" 12B ", "12B"}, {"01d", "8B"}, {"1D", "8B"}, {"9M", "4A"},
        {"12m", "7A"},
        // No key.
        {"", ""}, {"   ", ""}, {"o", ""}, {"C/G", ""}, {"x", ""}, {"13A", ""}, {"0A", ""}, {"0m", ""},
        {"13d", ""}, {"012A", ""}, {"8C", ""}, {"8 A", ""}, {"Hm", ""}, {"H", ""}, {"a", ""}, {"f#", ""},
        {"AM", ""}, {"AB", ""}, {"A##", ""}, {"Abb", ""}, {"Am7", ""}, {"A moll", ""}, {"8A/Am", ""},
    };
    for (const auto &row : rows) {
        QTest::newRow(row[0]) << QString::fromUtf8(row[0]) << QString::fromUtf8(row[1]);
    }
    QTest::newRow("music flat") << QStringLiteral("A\u266D") << "4B";
    QTest::newRow("music flat minor") << QStringLiteral("A\u266Dm") << "1A";
    QTest::newRow("music sharp minor") << QStringLiteral("G\u266Fm") << "1A";
    QTest::newRow("no-break spaces") << QStringLiteral("\u00A0B\u266D min\u00A0") << "3A";
}

void TestKeysAndTempo::keyVariants()
{
    QFETCH(QString, text);
    QTEST(camelotOf(text), "camelot");
}

void TestKeysAndTempo::notationNames()
{
    for (const KeyNotation notation : {KeyNotation::Musical, KeyNotation::Camelot, KeyNotation::OpenKey}) {
        QCOMPARE(MusicKey::notationFromName(MusicKey::notationName(notation)), std::optional<KeyNotation>(notation));
    }
    QCOMPARE(MusicKey::notationName(KeyNotation::OpenKey), QStringLiteral("Open Key"));
    QCOMPARE(MusicKey::notationFromName(QStringLiteral("Lancelot")), std::optional<KeyNotation>());
}

void TestKeysAndTempo::bpmParse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected"); // -1: no number

    QTest::newRow("whole") << "128" << 128.0;
    QTest::newRow("point") << "128.5" << 128.5;
    QTest::newRow("comma") << "128,50" << 128.5;
    QTest::newRow("spaces") << " \t96 " << 96.0;
    QTest::newRow("trailing separator") << "96." << 96.0;
    QTest::newRow("leading separator") << ",5" << 0.5;
    QTest::newRow("zero") << "0" << 0.0;
    QTest::newRow("empty") << "" << -1.0;
    QTest::newRow("separator only") << "." << -1.0;
    QTest::newRow("two separators") << "1.2.3" << -1.0;
    QTest::newRow("thousands") << "1,000.5" << -1.0;
    QTest::newRow("sign") << "+128" << -1.0;
    QTest::newRow("negative") << "-128" << -1.0;
    QTest::newRow("exponent") << "1e3" << -1.0;
    QTest::newRow("unit") << "128 BPM" << -1.0;
    QTest::newRow("arabic-indic digits") << QStringLiteral("\u0661\u0662\u0668") << -1.0;
    QTest::newRow("beyond double") << QString(400, QLatin1Char('9')) << -1.0;
}

void TestKeysAndTempo::bpmParse()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(BpmValue::parse(text).value_or(-1.0), expected);
}

void TestKeysAndTempo::bpmNormalise_data()
{
    using BpmValue::Precision;
    QTest::addColumn<QString>("text");
    QTest::addColumn<Precision>("precision");
    QTest::addColumn<double>("low"); // 0: no folding
    QTest::addColumn<double>("high");
    QTest::addColumn<QString>("expected"); // empty: left alone

    const Precision whole = Precision::Whole;
    const Precision tenth = Precision::OneDecimal;

    // Rounding: halves away from zero, in either notation of the separator.
    QTest::newRow("whole stays") << "128" << whole << 0.0 << 0.0 << "128";
    QTest::newRow("half up") << "126.5" << whole << 0.0 << 0.0 << "127";
    QTest::newRow("below half") << "127,49" << whole << 0.0 << 0.0 << "127";
    QTest::newRow("tenth added") << "128" << tenth << 0.0 << 0.0 << "128.0";
    QTest::newRow("tenth half up") << "127.25" << tenth << 0.0 << 0.0 << "127.3";
    QTest::newRow("x.05 not held in binary") << "128,05" << tenth << 0.0 << 0.0 << "128.1";
    QTest::newRow("x.45 stays below") << "127.449" << tenth << 0.0 << 0.0 << "127.4";
    // Left alone.
    QTest::newRow("zero") << "0" << whole << 70.0 << 140.0 << "";
    QTest::newRow("zero with decimals") << "0,0" << tenth << 0.0 << 0.0 << "";
    QTest::newRow("text") << "fast" << whole << 70.0 << 140.0 << "";
    QTest::newRow("rounds to zero") << "0.3" << whole << 0.0 << 0.0 << "";
    // Folding into 70-140.
    QTest::newRow("edge low") << "70" << whole << 70.0 << 140.0 << "70";
    QTest::newRow("edge high") << "140" << whole << 70.0 << 140.0 << "140";
    QTest::newRow("halved") << "150" << whole << 70.0 << 140.0 << "75";
    QTest::newRow("halved onto high") << "280" << whole << 70.0 << 140.0 << "140";
    QTest::newRow("doubled") << "35" << whole << 70.0 << 140.0 << "70";
    QTest::newRow("just below low doubled") << "69.94" << tenth << 70.0 << 140.0 << "139.9";
    QTest::newRow("written as low") << "69.96" << tenth << 70.0 << 140.0 << "70.0";
    QTest::newRow("written as high") << "140.04" << tenth << 70.0 << 140.0 << "140.0";
    QTest::newRow("written above high") << "140.5" << whole << 70.0 << 140.0 << "70";
    QTest::newRow("far above, written as high") << "1121" << whole << 70.0 << 140.0 << "140";
    QTest::newRow("far above, halves") << "100000" << tenth << 70.0 << 140.0 << "97.7";
    QTest::newRow("far below") << "0.001" << whole << 70.0 << 140.0 << "131";
    QTest::newRow("small, rounds after doubling") << "0.3" << whole << 70.0 << 140.0 << "77";
    QTest::newRow("huge") << "1" + QString(300, QLatin1Char('0')) << whole << 70.0 << 140.0 << "96";
    // Ranges narrower than an octave: the first fit, else the nearest.
    QTest::newRow("narrow fits") << "210" << whole << 100.0 << 110.0 << "105";
    QTest::newRow("narrow, nearer below") << "150" << whole << 100.0 << 110.0 << "75";
    QTest::newRow("narrow, nearer above") << "115" << whole << 100.0 << 110.0 << "115";
    QTest::newRow("narrow from below") << "47" << whole << 100.0 << 110.0 << "94";
    QTest::newRow("narrow tie takes lower") << "140" << whole << 100.0 << 110.0 << "70";
    QTest::newRow("single value") << "400" << tenth << 100.0 << 100.0 << "100.0";
    QTest::newRow("off-grid bounds") << "140.6" << whole << 70.3 << 140.4 << "70";
    // Unusable ranges fold nothing.
    QTest::newRow("reversed range") << "150" << whole << 140.0 << 70.0 << "150";
    QTest::newRow("negative range") << "150" << whole << -140.0 << -70.0 << "150";
}

void TestKeysAndTempo::bpmNormalise()
{
    QFETCH(QString, text);
    QFETCH(BpmValue::Precision, precision);
    QFETCH(double, low);
    QFETCH(double, high);
    const std::optional<BpmValue::Range> range =
        low == 0 && high == 0 ? std::nullopt : std::optional<BpmValue::Range>(BpmValue::Range{low, high});
    QTEST(BpmValue::normalise(text, precision, range).value_or(QString()), "expected");
}

QTEST_GUILESS_MAIN(TestKeysAndTempo)
#include "tst_keysandtempo.moc"
