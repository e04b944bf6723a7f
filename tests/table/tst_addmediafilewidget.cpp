#include "common/testmain.h"
#include "table/tablefixture.h"
#include "tags/fieldaccess.h"

#include <QDir>
#include <QHeaderView>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace TableFixture;

namespace {

const QStringList kHeaders = {"Title", "Artist", "FileName", "Album", "Year", "Comment", "CoverArt", "Track",
                              "Genre", "BPM", "Composer", "Grouping", "Label", "Remixer", "InitialKey",
                              "Location"};

// Records the widget's signals in the order they come.
class SignalLog : public QObject
{
public:
    explicit SignalLog(AddMediaFileWidget *widget)
    {
        connect(widget, &AddMediaFileWidget::listPopulatesOrNot, this,
                [this](bool b) { events << QStringLiteral("list %1").arg(b); });
        connect(widget, &AddMediaFileWidget::someChangesHappen, this,
                [this](bool b) { events << QStringLiteral("changes %1").arg(b); });
        connect(widget, &AddMediaFileWidget::undoActionPerformed, this,
                [this](bool b) { events << QStringLiteral("undo %1").arg(b); });
    }
    QStringList events;
};

QStringList absolutePaths(const QStringList &paths)
{
    QStringList list;
    for (const QString &path : paths)
        list << QFileInfo(path).absoluteFilePath();
    return list;
}

} // namespace

class TestAddMediaFileWidget : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void addsOneRowPerNewPath_data();
    void addsOneRowPerNewPath();
    void textCellsShowWhatTheFileHolds_data();
    void textCellsShowWhatTheFileHolds();
    void coverCellFitsInto400_data();
    void coverCellFitsInto400();
    void editsAreRecorded_data();
    void editsAreRecorded();
    void addingKeepsUnsavedEdits();
    void sortingThenAddingKeepsCellsInTheirRows_data();
    void sortingThenAddingKeepsCellsInTheirRows();
    void undoReloadsFromTheFiles_data();
    void undoReloadsFromTheFiles();
    void clearEmptiesListAndChanges_data();
    void clearEmptiesListAndChanges();
    void removeSeratoTags_data();
    void removeSeratoTags();
};

void TestAddMediaFileWidget::cleanup()
{
    closeNotifications();
}

void TestAddMediaFileWidget::addsOneRowPerNewPath_data()
{
    // File names in the temporary folder; "rel:" names are handed over
    // relative to the current folder, which is the temporary folder.
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QStringList>("names");

    // Titles sort differently from the list order, so a table that sorts
    // itself on filling shows up.
    QTest::newRow("list order, not title order")
        << QStringList{"b.mp3", "a.mp3", "c.mp3"} << QStringList() << QStringList{"b.mp3", "a.mp3", "c.mp3"};
    QTest::newRow("same files again add nothing")
        << QStringList{"a.mp3", "b.mp3"} << QStringList{"b.mp3", "a.mp3"} << QStringList{"a.mp3", "b.mp3"};
    QTest::newRow("new files go below")
        << QStringList{"c.mp3"} << QStringList{"a.mp3", "c.mp3", "b.mp3"} << QStringList{"c.mp3", "a.mp3", "b.mp3"};
    QTest::newRow("repeats within one list")
        << QStringList{"a.mp3", "a.mp3", "b.mp3", "a.mp3"} << QStringList() << QStringList{"a.mp3", "b.mp3"};
    QTest::newRow("relative path of a listed file")
        << QStringList{"a.mp3"} << QStringList{"rel:a.mp3", "rel:./b.mp3"} << QStringList{"a.mp3", "b.mp3"};
    QTest::newRow("relative first, absolute later")
        << QStringList{"rel:a.mp3"} << QStringList{"a.mp3"} << QStringList{"a.mp3"};
    QTest::newRow("names differing in case are different files")
        << QStringList{"Track.mp3", "track.mp3"} << QStringList{"TRACK.mp3"}
        << QStringList{"Track.mp3", "track.mp3", "TRACK.mp3"};
    QTest::newRow("empty list") << QStringList() << QStringList() << QStringList();
}

void TestAddMediaFileWidget::addsOneRowPerNewPath()
{
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QStringList, names);
    QTemporaryDir tmp;
    const QMap<QString, QString> titles = {{"a.mp3", "Alpha"}, {"b.mp3", "Bravo"}, {"c.mp3", "Charlie"},
                                           {"Track.mp3", "Delta"}, {"track.mp3", "Echo"},
                                           {"TRACK.mp3", "Foxtrot"}};
    for (auto it = titles.cbegin(); it != titles.cend(); ++it)
        QVERIFY(!makeTrack(tmp.path(), it.key(), it.value(), QStringLiteral("Artist")).isEmpty());

    const QString previousCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(tmp.path()));
    const auto paths = [&](const QStringList &list) {
        QStringList out;
        for (const QString &name : list)
            out << (name.startsWith(QLatin1String("rel:")) ? name.mid(4) : tmp.filePath(name));
        return out;
    };

    AddMediaFileWidget widget;
    QSignalSpy listed(&widget, &AddMediaFileWidget::listPopulatesOrNot);
    QSignalSpy changed(&widget, &AddMediaFileWidget::someChangesHappen);
    widget.getMediaList(paths(first));
    if (!second.isEmpty())
        widget.getMediaList(paths(second));
    QDir::setCurrent(previousCurrent);

    QCOMPARE(widget.table()->columnCount(), kHeaders.size());
    for (int c = 0; c < kHeaders.size(); ++c)
        QCOMPARE(widget.table()->horizontalHeaderItem(c)->text(), kHeaders.at(c));
    QVERIFY(widget.table()->isColumnHidden(column(widget, QStringLiteral("Location"))));

    QCOMPARE(columnTexts(widget, QStringLiteral("FileName")), names);
    QStringList expectedLocations;
    for (const QString &name : names)
        expectedLocations << QFileInfo(tmp.filePath(name)).absoluteFilePath();
    QCOMPARE(columnTexts(widget, QStringLiteral("Location")), expectedLocations);
    QStringList expectedTitles;
    for (const QString &name : names)
        expectedTitles << titles.value(name);
    QCOMPARE(columnTexts(widget, QStringLiteral("Title")), expectedTitles);

    if (names.isEmpty())
        QVERIFY(!boolValues(listed).contains(true));
    else
        QCOMPARE(boolValues(listed).last(), true);
    QVERIFY2(changed.isEmpty(), "adding files is not a change");
    QVERIFY(!widget.records().hasChanges());
}

void TestAddMediaFileWidget::textCellsShowWhatTheFileHolds_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("all thirteen fields") << QStringLiteral("full");
    QTest::newRow("no tag at all") << QStringLiteral("empty");
    QTest::newRow("full date and track total") << QStringLiteral("detailed");
    QTest::newRow("unicode") << QStringLiteral("unicode");
}

// The table shows exactly what the single readers give, field by field.
void TestAddMediaFileWidget::textCellsShowWhatTheFileHolds()
{
    QFETCH(QString, kind);
    PopulatedTable t(1, [&](const QString &dir, int) {
        if (kind == QLatin1String("full")) {
            const QString path = F::create(dir, QStringLiteral("full.mp3"));
            return F::addFullTags(path) ? path : QString();
        }
        if (kind == QLatin1String("empty"))
            return F::create(dir, QStringLiteral("empty.mp3"));
        if (kind == QLatin1String("detailed"))
            return makeDetailed(dir, QStringLiteral("detailed.mp3"));
        return makeTrack(dir, QString::fromUtf8("東京 Café.mp3"), QString::fromUtf8("Ça plane 🎧"),
                         QString::fromUtf8("Björk & Ølaf"));
    });
    QVERIFY(t.list());
    const AddMediaFileWidget &widget = t.widget;
    const QString &path = t.paths.at(0);
    QCOMPARE(widget.table()->rowCount(), 1);
    for (const FieldAccess &field : fieldAccess())
        QCOMPARE(cell(widget, 0, field.key), field.read(path));
    QCOMPARE(cell(widget, 0, QStringLiteral("FileName")), QFileInfo(path).fileName());
    QCOMPARE(location(widget, 0), QFileInfo(path).absoluteFilePath());

    if (kind == QLatin1String("empty")) {
        QCOMPARE(cell(widget, 0, QStringLiteral("Year")), QStringLiteral("0"));
        QCOMPARE(cell(widget, 0, QStringLiteral("Track")), QStringLiteral("0"));
        for (const QString &key : QStringList{"BPM", "Composer", "Grouping", "Label", "Remixer", "InitialKey"})
            QCOMPARE(cell(widget, 0, key), QStringLiteral(" "));
    }
    if (kind == QLatin1String("unicode"))
        QCOMPARE(cell(widget, 0, QStringLiteral("Title")), QString::fromUtf8("Ça plane 🎧"));
}

// The fitting of read covers is tag access's (its own tests walk the sizes);
// here the cell shows what was read.
void TestAddMediaFileWidget::coverCellFitsInto400_data()
{
    QTest::addColumn<QSize>("picture"); // invalid: no picture
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("shown");   // invalid: null pixmap

    QTest::newRow("no picture") << QSize() << QByteArray() << QSize();
    QTest::newRow("small keeps its size") << QSize(120, 80) << QByteArray("JPG") << QSize(120, 80);
    QTest::newRow("exactly 400") << QSize(400, 400) << QByteArray("JPG") << QSize(400, 400);
    QTest::newRow("wide PNG") << QSize(800, 100) << QByteArray("PNG") << QSize(400, 50);
}

void TestAddMediaFileWidget::coverCellFitsInto400()
{
    QFETCH(QSize, picture);
    QFETCH(QByteArray, format);
    QFETCH(QSize, shown);
    PopulatedTable t(1, [&](const QString &dir, int) {
        const QByteArray bytes = picture.isValid()
            ? F::encode(F::image(picture.width(), picture.height(), Qt::magenta), format.constData())
            : QByteArray();
        return makeTrack(dir, QStringLiteral("cover.mp3"), QStringLiteral("t"), QStringLiteral("a"), bytes);
    });
    QVERIFY(t.list());
    const AddMediaFileWidget &widget = t.widget;
    QCOMPARE(widget.table()->rowCount(), 1);
    const int coverColumn = column(widget, QStringLiteral("CoverArt"));
    QVERIFY2(widget.table()->item(0, coverColumn)->text().isEmpty(), "the cover cell shows a label, no text");
    QVERIFY(coverLabel(widget, 0));
    QCOMPARE(coverSize(widget, 0), shown);
}

void TestAddMediaFileWidget::editsAreRecorded_data()
{
    // Edits as "row:key=text"; what the change set then holds per row as
    // "row:key,key[+cover]".
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QList<int>>("coverRows");
    QTest::addColumn<QStringList>("recorded");

    QTest::newRow("title") << QStringList{"0:Title=New"} << QList<int>() << QStringList{"0:Title"};
    QTest::newRow("file name") << QStringList{"1:FileName=renamed"} << QList<int>() << QStringList{"1:FileName"};
    QTest::newRow("number field") << QStringList{"2:Year=2001"} << QList<int>() << QStringList{"2:Year"};
    QTest::newRow("changed and back") << QStringList{"0:Title=X", "0:Title=Alpha"} << QList<int>()
                                      << QStringList();
    QTest::newRow("two fields in one row") << QStringList{"1:Genre=House", "1:BPM=124"} << QList<int>()
                                           << QStringList{"1:BPM,Genre"};
    QTest::newRow("fields in two rows") << QStringList{"0:InitialKey=8A", "2:Comment=Peak"} << QList<int>()
                                        << QStringList{"0:InitialKey", "2:Comment"};
    QTest::newRow("cover only") << QStringList() << QList<int>{1} << QStringList{"1:+cover"};
    QTest::newRow("cover and field") << QStringList{"1:Label=Nightshift"} << QList<int>{1}
                                     << QStringList{"1:Label+cover"};
    QTest::newRow("every text column")
        << QStringList{"0:Title=a", "0:Artist=b", "0:FileName=c", "0:Album=d", "0:Year=1", "0:Comment=e",
                       "0:Track=2", "0:Genre=f", "0:BPM=3", "0:Composer=g", "0:Grouping=h", "0:Label=i",
                       "0:Remixer=j", "0:InitialKey=k"}
        << QList<int>()
        << QStringList{"0:Album,Artist,BPM,Comment,Composer,FileName,Genre,Grouping,InitialKey,Label,Remixer,"
                       "Title,Track,Year"};
}

void TestAddMediaFileWidget::editsAreRecorded()
{
    QFETCH(QStringList, edits);
    QFETCH(QList<int>, coverRows);
    QFETCH(QStringList, recorded);
    PopulatedTable t;
    QVERIFY(t.list());
    QCOMPARE(t.widget.table()->rowCount(), 3);

    // Rows are found by file, so the edits do not depend on the row order.
    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    QVERIFY(t.editAll(edits));
    for (int index : coverRows)
        t.widget.replaceCover(t.row(index), F::image(50, 50, Qt::red));

    if (!edits.isEmpty()) {
        QVERIFY(!changed.isEmpty());
        QCOMPARE(boolValues(changed).last(), !recorded.isEmpty());
    }

    QCOMPARE(t.recorded(), recorded);
    QCOMPARE(t.widget.records().changedCount(), recorded.size());

    // Editing is not saving.
    QVERIFY(t.noneWritten());
}

// Adding files is not a change and must not throw away edits not yet saved.
void TestAddMediaFileWidget::addingKeepsUnsavedEdits()
{
    PopulatedTable t;
    const QString &a = t.paths.at(0), &b = t.paths.at(1), &c = t.paths.at(2);
    QVERIFY(t.list({a, b}));
    QVERIFY(edit(t.widget, rowOf(t.widget, b), QStringLiteral("Title"), QStringLiteral("Edited")));
    QVERIFY(t.widget.hasUnsavedChanges());

    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    t.widget.getMediaList({c, a});
    QVERIFY2(!boolValues(changed).contains(false), "adding files must not report the edits gone");
    QVERIFY(t.widget.hasUnsavedChanges());
    QCOMPARE(t.widget.table()->rowCount(), 3);
    QCOMPARE(cell(t.widget, rowOf(t.widget, b), QStringLiteral("Title")), QStringLiteral("Edited"));
    QCOMPARE(t.widget.records().changedFields(b), QSet<QString>{QStringLiteral("Title")});
    QCOMPARE(cell(t.widget, rowOf(t.widget, c), QStringLiteral("Title")), QStringLiteral("Charlie"));

    t.widget.initiateSaveChanges();
    QCOMPARE(TagReaderAndWriter::readTitle(b), QStringLiteral("Edited"));
    QVERIFY(!t.widget.records().hasChanges());
}

void TestAddMediaFileWidget::sortingThenAddingKeepsCellsInTheirRows_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("order");
    QTest::newRow("artist ascending") << QStringLiteral("Artist") << int(Qt::AscendingOrder);
    QTest::newRow("artist descending") << QStringLiteral("Artist") << int(Qt::DescendingOrder);
    QTest::newRow("title descending") << QStringLiteral("Title") << int(Qt::DescendingOrder);
    QTest::newRow("file name descending") << QStringLiteral("FileName") << int(Qt::DescendingOrder);
}

// A sorted table moves rows while it is filled; every cell, the cover
// included, must still belong to the file named in its row.
void TestAddMediaFileWidget::sortingThenAddingKeepsCellsInTheirRows()
{
    QFETCH(QString, key);
    QFETCH(int, order);
    const QList<Track> tracks = {{"1.mp3", "Mango", "Cleo", QSize(100, 50), Qt::blue},
                                 {"2.mp3", "Apple", "Ana"},
                                 {"3.mp3", "Kiwi", "Bea", QSize(200, 100), Qt::blue},
                                 {"4.mp3", "Fig", "Abe", QSize(300, 150), Qt::blue},
                                 {"5.mp3", "Date", "Dan"},
                                 {"6.mp3", "Zest", "Aaron", QSize(50, 25), Qt::blue}};
    PopulatedTable t(tracks);
    QMap<QString, QSize> covers;
    for (int i = 0; i < tracks.size(); ++i)
        covers.insert(t.paths.at(i), tracks.at(i).cover);
    QVERIFY(t.list(t.paths.mid(0, 3)));
    t.widget.table()->sortBy(column(t.widget, key), Qt::SortOrder(order));
    const int edited = rowOf(t.widget, t.paths.at(2));
    QVERIFY(edit(t.widget, edited, QStringLiteral("Album"), QStringLiteral("Edited")));
    t.widget.getMediaList(t.paths.mid(3));
    QCOMPARE(t.widget.table()->rowCount(), t.paths.size());
    QVERIFY(t.coversShown());

    for (int r = 0; r < t.widget.table()->rowCount(); ++r) {
        const QString path = location(t.widget, r);
        QVERIFY2(covers.contains(path), qPrintable(path));
        QCOMPARE(cell(t.widget, r, QStringLiteral("FileName")), QFileInfo(path).fileName());
        QCOMPARE(cell(t.widget, r, QStringLiteral("Title")), TagReaderAndWriter::readTitle(path));
        QCOMPARE(cell(t.widget, r, QStringLiteral("Artist")), TagReaderAndWriter::readArtist(path));
        QCOMPARE(cell(t.widget, r, QStringLiteral("Album")),
                 path == t.paths.at(2) ? QStringLiteral("Edited") : TagReaderAndWriter::readAlbum(path));
        QCOMPARE(coverSize(t.widget, r), covers.value(path));
    }

    // The edit recorded before the rows moved is saved into its own file.
    QCOMPARE(t.widget.records().changedCount(), 1);
    QVERIFY(t.widget.records().isChanged(t.paths.at(2)));
    QList<QByteArray> hashes;
    for (const QString &path : t.paths)
        hashes << F::hash(path);
    t.widget.initiateSaveChanges();
    for (int i = 0; i < t.paths.size(); ++i) {
        if (i == 2)
            QCOMPARE(TagReaderAndWriter::readAlbum(t.paths.at(i)), QStringLiteral("Edited"));
        else
            QCOMPARE(F::hash(t.paths.at(i)), hashes.at(i));
    }
}

void TestAddMediaFileWidget::undoReloadsFromTheFiles_data()
{
    QTest::addColumn<QString>("sortKey"); // empty: not sorted by the user
    QTest::newRow("list order") << QString();
    QTest::newRow("sorted by artist, descending") << QStringLiteral("Artist");
}

void TestAddMediaFileWidget::undoReloadsFromTheFiles()
{
    QFETCH(QString, sortKey);
    PopulatedTable t({{"b.mp3", "Bravo", "Bea"}, {"a.mp3", "Alpha", "Cleo"}, {"c.mp3", "Charlie", "Ana"}});
    QVERIFY(t.list());
    if (!sortKey.isEmpty())
        t.widget.table()->sortBy(column(t.widget, sortKey), Qt::DescendingOrder);
    const QStringList order = columnTexts(t.widget, QStringLiteral("Location"));
    if (sortKey.isEmpty())
        QCOMPARE(order, absolutePaths(t.paths));

    QVERIFY(edit(t.widget, 0, QStringLiteral("Title"), QStringLiteral("Edited 0")));
    QVERIFY(edit(t.widget, 2, QStringLiteral("Genre"), QStringLiteral("Edited 2")));
    t.widget.replaceCover(1, F::image(80, 80, Qt::green));
    // Another program changes a file meanwhile: undo shows what is there now.
    QVERIFY(TagReaderAndWriter::writeTitle(t.paths.at(1), QStringLiteral("Changed outside")));
    QMap<QString, QByteArray> hashes;
    for (const QString &path : t.paths)
        hashes.insert(path, F::hash(path));

    SignalLog log(&t.widget);
    t.widget.UndoChangesInTable();
    QVERIFY(t.coversShown());

    QCOMPARE(columnTexts(t.widget, QStringLiteral("Location")), order);
    for (int r = 0; r < t.widget.table()->rowCount(); ++r) {
        const QString path = location(t.widget, r);
        for (const FieldAccess &field : fieldAccess())
            QCOMPARE(cell(t.widget, r, field.key), field.read(path));
        QCOMPARE(coverSize(t.widget, r), QSize());
    }
    QVERIFY(!t.widget.records().hasChanges());
    QVERIFY(!t.widget.hasUnsavedChanges());
    QCOMPARE(log.events.filter(QRegularExpression("^(changes|undo)")),
             (QStringList{"changes 0", "undo 1"}));
    for (const QString &path : t.paths)
        QCOMPARE(F::hash(path), hashes.value(path));
}

void TestAddMediaFileWidget::clearEmptiesListAndChanges_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<bool>("edited");
    QTest::newRow("empty table") << 0 << false;
    QTest::newRow("three files") << 3 << false;
    QTest::newRow("three files with edits") << 3 << true;
}

void TestAddMediaFileWidget::clearEmptiesListAndChanges()
{
    QFETCH(int, files);
    QFETCH(bool, edited);
    PopulatedTable t(files, [](const QString &dir, int i) {
        return makeTrack(dir, QStringLiteral("%1.mp3").arg(i), "t", "a");
    });
    QVERIFY(files == 0 || t.list());
    if (edited) {
        QVERIFY(edit(t.widget, 1, QStringLiteral("Title"), QStringLiteral("x")));
        t.widget.replaceCover(2, QImage());
    }

    SignalLog log(&t.widget);
    t.widget.clearList();
    QCOMPARE(log.events, (QStringList{"list 0", "changes 0"}));
    QCOMPARE(t.widget.table()->rowCount(), 0);
    QVERIFY(!t.widget.records().hasChanges());
    QVERIFY(!t.widget.hasUnsavedChanges());
    QVERIFY(t.noneWritten());

    // The list starts afresh: the same files can be added again.
    if (files) {
        QVERIFY(t.list());
        QCOMPARE(t.widget.table()->rowCount(), files);
        QCOMPARE(cell(t.widget, 1, QStringLiteral("Title")), QStringLiteral("t"));
    }
}

void TestAddMediaFileWidget::removeSeratoTags_data()
{
    QTest::addColumn<int>("listed");  // how many of the two files are in the list
    QTest::addColumn<bool>("removeFirst");
    QTest::addColumn<QString>("outcome");

    QTest::newRow("empty list") << 0 << false << QStringLiteral("warning");
    QTest::newRow("two files") << 2 << false << QStringLiteral("success");
    QTest::newRow("first file gone") << 2 << true << QStringLiteral("error");
}

void TestAddMediaFileWidget::removeSeratoTags()
{
    QFETCH(int, listed);
    QFETCH(bool, removeFirst);
    QFETCH(QString, outcome);
    QTemporaryDir tmp;
    QStringList paths;
    for (const QString &name : {QStringLiteral("a.mp3"), QStringLiteral("b.mp3")}) {
        const QString path = F::create(tmp.path(), name);
        QVERIFY(F::addFullTags(path, F::encode(F::image(40, 40, Qt::red))));
        QVERIFY(F::addFrames(path, {F::geobFrame(QStringLiteral("Serato Markers_"), "\x01\x02 markers"),
                                    F::geobFrame(QStringLiteral("Serato Overview"), "\x03 overview"),
                                    F::commentFrame(QStringLiteral(" 00000000 00000210"), QStringLiteral("iTunSMPB"))}));
        QVERIFY(F::addId3v1(path, QStringLiteral("Night Drive")));
        QVERIFY(F::addApe(path, QStringLiteral("Night Drive")));
        paths << path;
    }
    QList<QByteArray> hashes;
    QList<QStringList> kept; // every frame but the Serato ones
    for (const QString &path : paths) {
        hashes << F::hash(path);
        QStringList dump = F::frameDump(path);
        dump.erase(std::remove_if(dump.begin(), dump.end(),
                                  [](const QString &line) { return line.startsWith("GEOB"); }),
                   dump.end());
        kept << dump;
    }

    AddMediaFileWidget widget;
    widget.getMediaList(paths.mid(0, listed));
    if (removeFirst)
        QVERIFY(QFile::remove(paths.at(0)));
    NotificationWatch watch;
    widget.removeSeratoTags();

    if (outcome == QLatin1String("warning")) {
        QCOMPARE(watch.texts(), QStringList{"File list is empty. Operation can not be performed."});
        for (int i = 0; i < paths.size(); ++i)
            QCOMPARE(F::hash(paths.at(i)), hashes.at(i));
        return;
    }
    if (outcome == QLatin1String("success")) {
        QCOMPARE(watch.texts(), QStringList{"Serato tags have been successfully removed!"});
    } else {
        QCOMPARE(watch.texts().size(), 1);
        const QString text = watch.texts().first();
        QVERIFY2(text.startsWith(QLatin1String("1 file could not be ")), qPrintable(text));
        QVERIFY2(text.endsWith(QStringLiteral(" First: %1 (the file is gone)").arg(paths.at(0))), qPrintable(text));
        QVERIFY2(!QFile::exists(paths.at(0)), "a missing file must not be created");
    }
    for (int i = removeFirst ? 1 : 0; i < paths.size(); ++i) {
        const QString &path = paths.at(i);
        QVERIFY2(!F::readBytes(path).contains("Serato"), qPrintable(path));
        QVERIFY(F::id3v1(path).isEmpty());
        QVERIFY(!F::hasApe(path));
        QCOMPARE(F::frameDump(path), kept.at(i));
    }
}

SONVEL_TEST_MAIN(TestAddMediaFileWidget)
#include "tst_addmediafilewidget.moc"
