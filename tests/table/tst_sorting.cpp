#include "tablefixture.h"

#include <QHeaderView>

using namespace TableFixture;

namespace {

// One file per value, stored in the column's own frame; an empty value
// stores none (a cover column: "cover" stores a picture).
QString makeWith(const QString &dir, int file, const QString &key, const QString &value)
{
    const QString path = F::create(dir, QStringLiteral("%1.mp3").arg(file, 2, 10, QLatin1Char('0')));
    QList<TagLib::ID3v2::Frame *> frames = {F::textFrame("TPE1", QStringLiteral("Artist %1").arg(file))};
    if (key == QLatin1String("CoverArt")) {
        if (!value.isEmpty())
            frames << F::pictureFrame(F::encode(F::image(40, 40, Qt::red)));
    } else if (!value.isEmpty()) {
        frames = {F::textFrame(Fields::of(*Fields::fromKey(key)).id3, value)};
    }
    return !path.isEmpty() && F::addFrames(path, frames) ? path : QString();
}

// What the sorted column shows, row by row (a cover column: whether the
// row's file had one).
QStringList shown(const PopulatedTable &t, const QString &key, const QStringList &values)
{
    if (key != QLatin1String("CoverArt"))
        return columnTexts(t.widget, key);
    QStringList covers;
    for (int r = 0; r < t.widget.table()->rowCount(); ++r)
        covers << values.at(t.paths.indexOf(location(t.widget, r)));
    return covers;
}

} // namespace

class TestSorting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sortsByWhatCellsMean_data();
    void sortsByWhatCellsMean();
    void editsDoNotMoveRows();
    void headerClickSortsWithoutSelecting();
    void coverSortFollowsUnsavedCovers();
};

void TestSorting::initTestCase()
{
    // Accents sort with their letters in the user's language; the tests'
    // C locale would be no language at all.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestSorting::sortsByWhatCellsMean_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("values"); // as stored, one file each
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("expected");

    const QStringList tempos{"101", "86", "128,5", "", "97", "172", "128.2"};
    QTest::newRow("BPM by number, empty last") << "BPM" << tempos << int(Qt::AscendingOrder)
        << QStringList{"86", "97", "101", "128.2", "128,5", "172", " "};
    QTest::newRow("BPM descending, empty still last") << "BPM" << tempos << int(Qt::DescendingOrder)
        << QStringList{"172", "128,5", "128.2", "101", "97", "86", " "};
    const QStringList tracks{"10", "2/12", "", "1", "3"};
    QTest::newRow("Track by number, missing last") << "Track" << tracks << int(Qt::AscendingOrder)
        << QStringList{"1", "2/12", "3", "10", "0"};
    QTest::newRow("Track descending") << "Track" << tracks << int(Qt::DescendingOrder)
        << QStringList{"10", "3", "2/12", "1", "0"};
    const QStringList years{"2020-05-01", "1999", "", "2020", "2020-04"};
    QTest::newRow("Year by date") << "Year" << years << int(Qt::AscendingOrder)
        << QStringList{"1999", "2020", "2020-04", "2020-05-01", "0"};
    QTest::newRow("Year descending") << "Year" << years << int(Qt::DescendingOrder)
        << QStringList{"2020-05-01", "2020-04", "2020", "1999", "0"};
    const QStringList keys{"12B", "G#m", "1d", "Intro", "Db", "7A", "08a", ""};
    QTest::newRow("keys around the wheel, any notation") << "InitialKey" << keys << int(Qt::AscendingOrder)
        << QStringList{"G#m", "Db", "7A", "08a", "1d", "12B", "Intro", " "};
    QTest::newRow("keys descending, no key last") << "InitialKey" << keys << int(Qt::DescendingOrder)
        << QStringList{"12B", "1d", "08a", "7A", "Db", "G#m", "Intro", " "};
    const QStringList titles{"Pulse", "été", "Echo", "Track 10", "track 2", "", "Étoile"};
    QTest::newRow("titles as people read") << "Title" << titles << int(Qt::AscendingOrder)
        << QStringList{"Echo", "été", "Étoile", "Pulse", "track 2", "Track 10", ""};
    QTest::newRow("titles descending") << "Title" << titles << int(Qt::DescendingOrder)
        << QStringList{"Track 10", "track 2", "Pulse", "Étoile", "été", "Echo", ""};
    const QStringList covers{"", "cover", "", "cover"};
    QTest::newRow("covers first") << "CoverArt" << covers << int(Qt::AscendingOrder)
        << QStringList{"cover", "cover", "", ""};
    QTest::newRow("covers last") << "CoverArt" << covers << int(Qt::DescendingOrder)
        << QStringList{"", "", "cover", "cover"};
}

void TestSorting::sortsByWhatCellsMean()
{
    QFETCH(QString, key);
    QFETCH(QStringList, values);
    QFETCH(int, order);
    QFETCH(QStringList, expected);
    PopulatedTable t(values.size(), [&](const QString &dir, int file) { return makeWith(dir, file, key, values.at(file)); });
    QVERIFY(t.list());
    t.widget.table()->sortBy(column(t.widget, key), Qt::SortOrder(order));
    QCOMPARE(shown(t, key, values), expected);
    QCOMPARE(t.widget.table()->horizontalHeader()->sortIndicatorSection(), column(t.widget, key));
    QVERIFY(t.noneWritten());
}

// A row whose BPM is edited stays where the user is looking; it moves when
// the user sorts again.
void TestSorting::editsDoNotMoveRows()
{
    const QStringList tempos{"90", "120", "140"};
    PopulatedTable t(3, [&](const QString &dir, int file) { return makeWith(dir, file, "BPM", tempos.at(file)); });
    QVERIFY(t.list());
    MediaFileTableWidget *table = t.widget.table();
    table->sortBy(column(t.widget, "BPM"), Qt::AscendingOrder);
    QVERIFY(t.edit(0, "BPM", "150"));
    QCOMPARE(columnTexts(t.widget, "BPM"), (QStringList{"150", "120", "140"}));
    QVERIFY(t.edit(2, "Title", "Zebra"));
    QCOMPARE(columnTexts(t.widget, "BPM"), (QStringList{"150", "120", "140"}));
    table->sortAgain();
    QCOMPARE(columnTexts(t.widget, "BPM"), (QStringList{"120", "140", "150"}));
    QCOMPARE(t.recorded(), (QStringList{"0:BPM", "2:Title"}));
}

void TestSorting::headerClickSortsWithoutSelecting()
{
    const QStringList tempos{"140", "", "90"};
    PopulatedTable t(3, [&](const QString &dir, int file) { return makeWith(dir, file, "BPM", tempos.at(file)); });
    QVERIFY(t.listAndShow());
    QHeaderView *header = t.widget.table()->horizontalHeader();
    const int bpm = column(t.widget, "BPM");
    const QPoint section(header->sectionViewportPosition(bpm) + header->sectionSize(bpm) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, section);
    QCOMPARE(columnTexts(t.widget, "BPM"), (QStringList{"90", "140", " "}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, section);
    QCOMPARE(columnTexts(t.widget, "BPM"), (QStringList{"140", "90", " "}));
    QVERIFY(t.widget.table()->selectionModel()->selectedIndexes().isEmpty());
}

// A cover set or removed and not saved yet sorts as the row now shows it.
void TestSorting::coverSortFollowsUnsavedCovers()
{
    const QStringList covers{"cover", "", ""};
    PopulatedTable t(3, [&](const QString &dir, int file) { return makeWith(dir, file, "CoverArt", covers.at(file)); });
    QVERIFY(t.list());
    MediaFileTableWidget *table = t.widget.table();
    const int coverColumn = column(t.widget, "CoverArt");
    table->setCurrentCell(t.row(0), coverColumn);
    table->clearSelectedCells();
    t.widget.replaceCover(t.row(2), F::image(30, 30, Qt::blue));
    QCOMPARE(t.recorded(), (QStringList{"0:+cover", "2:+cover"}));
    table->sortBy(coverColumn, Qt::AscendingOrder);
    QCOMPARE(columnTexts(t.widget, "Location"), (QStringList{t.paths.at(2), t.paths.at(0), t.paths.at(1)}));
}

QTEST_MAIN(TestSorting)
#include "tst_sorting.moc"
