#include "tablefixture.h"

#include "operations/keysandbpmbox.h"
#include "table/tableundo.h"
#include "theme/apptheme.h"

#include <QRadioButton>
#include <QTemporaryDir>

using namespace TableFixture;

namespace {

// One file per value of the column (no frame for an empty value).
PopulatedTable *tableWith(const QString &key, const QStringList &values)
{
    return new PopulatedTable(values.size(), [&](const QString &dir, int file) {
        const QString path = F::create(dir, QStringLiteral("%1.mp3").arg(file));
        const char *frame = Fields::of(*Fields::fromKey(key)).id3;
        const QString value = values.at(file);
        return !path.isEmpty() && F::addFrames(path, {F::textFrame(value.isEmpty() ? "TIT2" : frame, value)})
            ? path
            : QString();
    });
}

QStringList byFile(const PopulatedTable &t, const QString &key)
{
    QStringList texts;
    for (int i = 0; i < t.paths.size(); ++i)
        texts << t.cell(i, key);
    return texts;
}

} // namespace

class TestKeyPasses : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void passes_data();
    void passes();
    void typedCellsShowWhatTheyAre_data();
    void typedCellsShowWhatTheyAre();
    void saveLeavesTrackAndYearItCannotStore();
    void notationIsRemembered();

private:
    QTemporaryDir m_settings;
};

void TestKeyPasses::initTestCase()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settings.path());
}

void TestKeyPasses::passes_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("pass"); // a notation, or how tempos are normalised
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("told");

    const QStringList keys{"Am", "8A", "1m", "G#m", "Intro", "", "Db"};
    QTest::newRow("keys to Camelot") << "InitialKey" << keys
        << "Camelot"
        << QStringList{"8A", "8A", "8A", "1A", "Intro", " ", "3B"}
        << "4 keys converted to Camelot. 1 cell holds no key and was left as it is.";
    QTest::newRow("keys to Musical") << "InitialKey" << keys
        << "Musical"
        << QStringList{"Am", "Am", "Am", "Abm", "Intro", " ", "Db"}
        << "3 keys converted to Musical. 1 cell holds no key and was left as it is.";
    QTest::newRow("keys to Open Key") << "InitialKey" << keys
        << "Open Key"
        << QStringList{"1m", "1m", "1m", "6m", "Intro", " ", "8d"}
        << "4 keys converted to Open Key. 1 cell holds no key and was left as it is.";

    const QStringList tempos{"128,5", "64", "175.0", "abc", "", "0", "120"};
    QTest::newRow("tempos whole, folded") << "BPM" << tempos
        << "whole, 70-140"
        << QStringList{"129", "128", "88", "abc", " ", "0", "120"}
        << "3 tempos normalised. 2 cells hold no tempo and were left as they are.";
    QTest::newRow("tempos one decimal") << "BPM" << tempos
        << "one decimal"
        << QStringList{"128.5", "64.0", "175.0", "abc", " ", "0", "120.0"}
        << "3 tempos normalised. 2 cells hold no tempo and were left as they are.";
}

// Each pass is one step: one undo puts every cell back, nothing is written.
void TestKeyPasses::passes()
{
    QFETCH(QString, key);
    QFETCH(QStringList, values);
    QFETCH(QString, pass);
    QFETCH(QStringList, expected);
    QFETCH(QString, told);
    std::unique_ptr<PopulatedTable> t(tableWith(key, values));
    QVERIFY(t->list());
    const QStringList before = byFile(*t, key);
    const NotificationWatch watch;
    if (const std::optional<KeyNotation> notation = MusicKey::notationFromName(pass))
        t->widget.convertKeys(*notation);
    else if (pass == QLatin1String("whole, 70-140"))
        t->widget.normaliseBpm(BpmValue::Precision::Whole, BpmValue::Range{70, 140});
    else
        t->widget.normaliseBpm(BpmValue::Precision::OneDecimal, std::nullopt);
    QCOMPARE(byFile(*t, key), expected);
    QCOMPARE(watch.texts(), QStringList{told});
    QCOMPARE(t->widget.history()->stack().count(), 1);
    t->widget.history()->undo();
    QCOMPARE(byFile(*t, key), before);
    QVERIFY(t->recorded().isEmpty());
    QVERIFY(t->noneWritten());
}

void TestKeyPasses::typedCellsShowWhatTheyAre_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("flagged");

    QTest::newRow("key, musical") << "InitialKey" << "F#m" << false;
    QTest::newRow("key, Open Key") << "InitialKey" << "10d" << false;
    QTest::newRow("no key") << "InitialKey" << "H minor" << true;
    QTest::newRow("key cleared") << "InitialKey" << "" << false;
    QTest::newRow("tempo, comma") << "BPM" << "127,5" << false;
    QTest::newRow("no tempo") << "BPM" << "fast" << true;
    QTest::newRow("track with total") << "Track" << "3/12" << false;
    QTest::newRow("no track") << "Track" << "3/x" << true;
    QTest::newRow("date") << "Year" << "2024-05-31" << false;
    QTest::newRow("no year") << "Year" << "20x5" << true;
    QTest::newRow("month 13") << "Year" << "2024-13" << true;
    QTest::newRow("title is free text") << "Title" << "3/x" << false;
}

// Typed text is kept whatever it is; what is not what the column holds is
// shown in the error colour with the reason.
void TestKeyPasses::typedCellsShowWhatTheyAre()
{
    QFETCH(QString, key);
    QFETCH(QString, typed);
    QFETCH(bool, flagged);
    PopulatedTable t;
    QVERIFY(t.list());
    QVERIFY(t.edit(0, key, typed));
    const QTableWidgetItem *item = t.widget.table()->item(t.row(0), column(t.widget, key));
    QCOMPARE(item->text(), typed);
    QCOMPARE(item->data(Qt::ToolTipRole).toString().isEmpty(), !flagged);
    QCOMPARE(item->data(Qt::ForegroundRole).value<QColor>() == AppTheme::errorText(), flagged);
    QCOMPARE(t.recorded(), typed == t.cell(1, key) ? QStringList() : QStringList{"0:" + key});
}

// A track or year the file cannot store leaves the file's own and says so;
// the row's other edits are saved, and it stays unsaved.
void TestKeyPasses::saveLeavesTrackAndYearItCannotStore()
{
    PopulatedTable t(detailedTracks({"a.mp3"}));
    QVERIFY(t.list());
    QVERIFY(t.editAll({"0:Track=3/x", "0:Year=20x5", "0:Genre=Techno"}));
    const NotificationWatch watch;
    t.widget.saveChangesToFile();
    QCOMPARE(F::frameTexts(t.paths.at(0), "TRCK"), QStringList{"3/12"});
    QCOMPARE(F::frameTexts(t.paths.at(0), "TDRC"), QStringList{"2019-05-03"});
    QCOMPARE(F::frameTexts(t.paths.at(0), "TCON"), QStringList{"Techno"});
    QCOMPARE(t.recorded(), QStringList{"0:Track,Year"});
    QCOMPARE(watch.texts().size(), 1);
    QVERIFY(watch.texts().first().contains(QStringLiteral("2 fields were left as the files hold them")));
    QVERIFY(watch.texts().first().contains(QStringLiteral("Track \"3/x\"")));
}

void TestKeyPasses::notationIsRemembered()
{
    {
        KeysAndBpmBox box;
        auto *openKey = box.findChild<QRadioButton *>(QStringLiteral("notationOpenKey"));
        QVERIFY(openKey);
        openKey->click();
        QCOMPARE(box.notation(), KeyNotation::OpenKey);
        box.findChild<QRadioButton *>(QStringLiteral("oneDecimal"))->click();
    }
    KeysAndBpmBox again;
    QCOMPARE(again.notation(), KeyNotation::OpenKey);
    QCOMPARE(again.precision(), BpmValue::Precision::OneDecimal);
}

QTEST_MAIN(TestKeyPasses)
#include "tst_keypasses.moc"
