#include "common/testmain.h"
#include "table/tablefixture.h"
#include "tags/fieldaccess.h"

#include <QDir>
#include <QTemporaryDir>

using namespace TableFixture;
using FieldTexts = QMap<QString, QString>;

class TestSaveChanges : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void writesOnlyChangedRowsAndFields_data();
    void writesOnlyChangedRowsAndFields();
    void renamesOnSave_data();
    void renamesOnSave();
    void sortedTableSavesEachFilesOwnTags_data();
    void sortedTableSavesEachFilesOwnTags();
    void savesReplacedCover();
    void reportsFailuresAndSavesAgain_data();
    void reportsFailuresAndSavesAgain();
};

void TestSaveChanges::cleanup()
{
    closeNotifications();
}

void TestSaveChanges::writesOnlyChangedRowsAndFields_data()
{
    QTest::addColumn<FieldTexts>("edits");
    QTest::addColumn<bool>("overlay"); // through the processing overlay or directly

    const FieldTexts values = {
        {"Title", QString::fromUtf8("Sunrise 東京")}, {"Artist", "Ben Okri"}, {"Album", "Early"},
        {"Year", "2001"}, {"Comment", "Closing set"}, {"Track", "7"}, {"Genre", "Techno"}, {"BPM", "128"},
        {"Composer", "C. Diaz"}, {"Grouping", "Peak"}, {"Label", "Dawn Records"}, {"Remixer", "D. Fox"},
        {"InitialKey", "11B"}};
    bool overlay = true;
    for (auto it = values.cbegin(); it != values.cend(); ++it, overlay = !overlay)
        QTest::newRow(qPrintable(it.key())) << FieldTexts{{it.key(), it.value()}} << overlay;
    QTest::newRow("title and BPM") << FieldTexts{{"Title", "Peak"}, {"BPM", "126"}} << true;
    QTest::newRow("empty title") << FieldTexts{{"Title", ""}} << false;
}

// Typical tags hold more than the table shows (a full date, a track total, a
// described comment, a back cover): a save must not rewrite them.
void TestSaveChanges::writesOnlyChangedRowsAndFields()
{
    QFETCH(FieldTexts, edits);
    QFETCH(bool, overlay);
    PopulatedTable t(detailedTracks({"a.mp3", "b.mp3", "c.mp3"}));
    const QString edited = t.paths.at(1);
    const QStringList ids = frameIds(edits.keys());
    const QStringList keptBefore = framesOtherThan(edited, ids);
    const auto commentsBefore = F::comments(edited);
    QVERIFY(t.list());
    for (auto it = edits.cbegin(); it != edits.cend(); ++it)
        QVERIFY(edit(t.widget, rowOf(t.widget, edited), it.key(), it.value()));

    NotificationWatch watch;
    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    if (overlay)
        t.widget.saveChangesToFile();
    else
        t.widget.initiateSaveChanges();

    QCOMPARE(watch.texts(), QStringList{savedText()});
    QCOMPARE(boolValues(changed), QList<bool>{false});
    QVERIFY(!t.widget.records().hasChanges());

    QVERIFY(t.unchanged(0) && t.unchanged(2));
    for (auto it = edits.cbegin(); it != edits.cend(); ++it)
        QCOMPARE(fieldByKey(it.key()).read(edited), it.value());
    QCOMPARE(framesOtherThan(edited, ids), keptBefore);
    if (edits.contains(QStringLiteral("Comment"))) {
        // The plain comment changes; the described one stays as it was.
        const auto after = F::comments(edited);
        QCOMPARE(after.size(), commentsBefore.size());
        QVERIFY(after.contains(commentsBefore.at(1)));
        QCOMPARE(F::frameDump(edited, "COMM").size(), 2);
    }
    QVERIFY(audioIntact(edited));
    // The table shows what was saved.
    for (auto it = edits.cbegin(); it != edits.cend(); ++it)
        QCOMPARE(cell(t.widget, rowOf(t.widget, edited), it.key()), it.value());
}

void TestSaveChanges::renamesOnSave_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QStringList>("typed"); // successive edits of the cell
    QTest::addColumn<QString>("shown");     // the cell after the save
    QTest::addColumn<QString>("failure");   // empty when saved
    QTest::addColumn<bool>("keepChanges");

    const QString a = QStringLiteral("a.mp3");
    QTest::newRow("name") << a << QStringList{"b"} << "b.mp3" << "" << false;
    QTest::newRow("own name without extension") << a << QStringList{"a"} << a << "" << false;
    QTest::newRow("typed and back") << a << QStringList{"z", "a.mp3"} << a << "" << false;
    QTest::newRow("existing file") << a << QStringList{"taken"} << a << "the name is already taken" << true;
    QTest::newRow("refused name") << a << QStringList{"../x"} << a << "the name was refused" << true;
    QTest::newRow("current name in capitals") << "Loud.MP3" << QStringList{"quiet"} << "quiet.MP3" << "" << false;
}

// The rename rules themselves are the core save's; here the row shows what
// became of its file, and stays unsaved only when trying again can help.
void TestSaveChanges::renamesOnSave()
{
    QFETCH(QString, current);
    QFETCH(QStringList, typed);
    QFETCH(QString, shown);
    QFETCH(QString, failure);
    QFETCH(bool, keepChanges);
    PopulatedTable t({Track(current, "", "", QSize(), Qt::red, true), Track("taken.mp3", "Other", "Other")});
    QVERIFY(t.list({t.paths.at(0)}));
    AddMediaFileWidget &widget = t.widget;
    for (const QString &name : typed)
        QVERIFY(edit(widget, 0, QStringLiteral("FileName"), name));
    QVERIFY(edit(widget, 0, QStringLiteral("Title"), QStringLiteral("New title")));

    NotificationWatch watch;
    QSignalSpy changed(&widget, &AddMediaFileWidget::someChangesHappen);
    widget.saveChangesToFile();

    const QString finalPath = t.filePath(shown);
    QCOMPARE(cell(widget, 0, QStringLiteral("FileName")), shown);
    QCOMPARE(location(widget, 0), finalPath);
    QCOMPARE(TagReaderAndWriter::readTitle(finalPath), QStringLiteral("New title"));
    QCOMPARE(watch.texts(), QStringList{failure.isEmpty() ? savedText() : failureText(1, finalPath, failure)});
    QCOMPARE(widget.records().isChanged(finalPath), keepChanges);
    QCOMPARE(boolValues(changed), keepChanges ? QList<bool>() : QList<bool>{false});

    // A second save has nothing new to say about a row that was let go.
    if (keepChanges)
        return;
    closeNotifications();
    NotificationWatch secondWatch;
    widget.initiateSaveChanges();
    QCOMPARE(secondWatch.texts(), QStringList{savedText()});
}

void TestSaveChanges::sortedTableSavesEachFilesOwnTags_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("edits");     // "file:Key=text"
    QTest::addColumn<QStringList>("files");     // in the folder afterwards
    QTest::addColumn<QStringList>("stored");    // "name:Title|Artist"
    QTest::addColumn<QStringList>("untouched"); // "name=file" still as that file was made
    QTest::addColumn<int>("failed");            // the file reported, -1 for none

    const QStringList edits = {"0:FileName=0 renamed", "2:Title=Aardvark", "1:Artist=Zed"};
    const QStringList files = {"0 renamed.mp3", "2.mp3", "3.mp3", "4.mp3"};
    const QStringList stored = {"0 renamed.mp3:Mango|Cleo", "2.mp3:Apple|Zed", "3.mp3:Aardvark|Bea"};
    const QStringList untouched = {"0 renamed.mp3=0", "4.mp3=3"};
    for (const auto &[key, order] : {std::pair{"Artist", Qt::AscendingOrder}, {"Artist", Qt::DescendingOrder},
                                     {"FileName", Qt::AscendingOrder}, {"Title", Qt::DescendingOrder}}) {
        QTest::addRow("%s %d", key, int(order))
            << QString::fromLatin1(key) << int(order) << edits << files << stored << untouched << -1;
    }
    // The save itself moves rows: a refused rename puts the old name back and
    // a "0" becomes "0.mp3".
    for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        QTest::addRow("refused rename, file name %d", int(order))
            << "FileName" << int(order) << QStringList{"0:FileName=4", "0:Title=One", "1:FileName=0", "3:Title=Four"}
            << QStringList{"0.mp3", "1.mp3", "3.mp3", "4.mp3"} << QStringList{"1.mp3:One|Cleo", "4.mp3:Four|Dan"}
            << QStringList{"0.mp3=1", "3.mp3=2"} << 0;
    }
}

// Edits in a sorted table move rows (an edited sort column, a renamed file);
// the save must still write each file's own values.
void TestSaveChanges::sortedTableSavesEachFilesOwnTags()
{
    QFETCH(QString, key);
    QFETCH(int, order);
    QFETCH(QStringList, edits);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, untouched);
    QFETCH(int, failed);
    PopulatedTable t({{"1.mp3", "Mango", "Cleo"}, {"2.mp3", "Apple", "Ana"}, {"3.mp3", "Kiwi", "Bea"},
                      {"4.mp3", "Fig", "Dan"}});
    QVERIFY(t.list());
    t.widget.table()->sortBy(column(t.widget, key), Qt::SortOrder(order));
    QVERIFY(t.editAll(edits));
    NotificationWatch watch;
    t.widget.initiateSaveChanges();

    QCOMPARE(watch.texts(), QStringList{failed < 0 ? savedText()
                                                   : failureText(1, t.paths.at(failed),
                                                                 QStringLiteral("the name is already taken"))});
    QCOMPARE(t.widget.records().changedCount(), failed < 0 ? 0 : 1);
    QVERIFY(failed < 0 || t.widget.records().isChanged(t.paths.at(failed)));
    QTEST(filesIn(t.dir.path()), "files");
    for (const QString &entry : stored) {
        const QString path = t.filePath(entry.section(QLatin1Char(':'), 0, 0));
        QCOMPARE(TagReaderAndWriter::readTitle(path) + QLatin1Char('|') + TagReaderAndWriter::readArtist(path),
                 entry.section(QLatin1Char(':'), 1));
    }
    for (const QString &entry : untouched) {
        QCOMPARE(F::hash(t.filePath(entry.section(QLatin1Char('='), 0, 0))),
                 t.hashes.at(entry.section(QLatin1Char('='), 1).toInt()));
    }
    QVERIFY(rowsShowTheirFiles(t.widget));
}

// The fitting and storing of covers is the core save's; here only that a
// row's new cover reaches its file and no other.
void TestSaveChanges::savesReplacedCover()
{
    PopulatedTable t(detailedTracks({"other.mp3", "cover.mp3"}));
    QVERIFY(t.list());
    t.widget.replaceCover(t.row(1), F::image(1000, 500, Qt::red));
    NotificationWatch watch;
    t.widget.initiateSaveChanges();
    QCOMPARE(watch.texts(), QStringList{savedText()});

    QVERIFY(t.unchanged(0));
    const QList<F::Picture> pictures = F::pictures(t.paths.at(1));
    QCOMPARE(pictures.size(), 1);
    QCOMPARE(QImage::fromData(pictures.first().data, "JPG").size(), QSize(400, 200));
    QVERIFY(!t.widget.records().hasChanges());
}

void TestSaveChanges::reportsFailuresAndSavesAgain_data()
{
    // Per file of three, what happens to it after it was listed: "" nothing,
    // "removed", "folder" (removed and a folder put in its place).
    QTest::addColumn<QStringList>("breaks");
    QTest::addColumn<bool>("renameMiddle"); // the middle file's name edited too

    QTest::newRow("one removed") << QStringList{"", "removed", ""} << false;
    QTest::newRow("one replaced by a folder") << QStringList{"", "folder", ""} << false;
    QTest::newRow("two broken, first named") << QStringList{"removed", "", "folder"} << false;
    QTest::newRow("all three") << QStringList{"folder", "removed", "removed"} << false;
    QTest::newRow("removed while renamed") << QStringList{"", "removed", ""} << true;
    QTest::newRow("folder while renamed") << QStringList{"", "folder", ""} << true;
}

void TestSaveChanges::reportsFailuresAndSavesAgain()
{
    QFETCH(QStringList, breaks);
    QFETCH(bool, renameMiddle);
    PopulatedTable t(detailedTracks({"a.mp3", "b.mp3", "c.mp3"}));
    QTemporaryDir backup;
    for (const QString &path : t.paths)
        QVERIFY(QFile::copy(path, backup.filePath(QFileInfo(path).fileName())));
    QVERIFY(t.list());
    for (int i = 0; i < t.paths.size(); ++i)
        QVERIFY(t.edit(i, QStringLiteral("Title"), QStringLiteral("New %1").arg(i)));
    if (renameMiddle)
        QVERIFY(t.edit(1, QStringLiteral("FileName"), QStringLiteral("renamed")));

    int broken = 0;
    QString firstBroken;
    for (int i = 0; i < t.paths.size(); ++i) {
        if (breaks.at(i).isEmpty())
            continue;
        QVERIFY(QFile::remove(t.paths.at(i)));
        if (breaks.at(i) == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(t.paths.at(i)));
        if (!broken++)
            firstBroken = t.paths.at(i);
    }

    NotificationWatch watch;
    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    t.widget.saveChangesToFile();

    QCOMPARE(watch.texts(), QStringList{failureText(broken, firstBroken, QStringLiteral("the file is gone"))});
    QVERIFY2(!boolValues(changed).contains(false), "the edits are not all saved");
    QVERIFY(t.widget.hasUnsavedChanges());
    QCOMPARE(t.widget.records().changedCount(), broken);
    QList<QByteArray> savedHashes;
    for (int i = 0; i < t.paths.size(); ++i) {
        const QString &path = t.paths.at(i);
        QCOMPARE(t.widget.records().isChanged(path), !breaks.at(i).isEmpty());
        if (breaks.at(i).isEmpty())
            QCOMPARE(TagReaderAndWriter::readTitle(path), QStringLiteral("New %1").arg(i));
        else if (breaks.at(i) == QLatin1String("removed"))
            QVERIFY2(!QFile::exists(path), "a missing file must not be created");
        else
            QVERIFY(QFileInfo(path).isDir());
        savedHashes << F::hash(path);
    }
    QVERIFY(!QFile::exists(t.filePath(QStringLiteral("renamed.mp3"))));
    if (renameMiddle)
        QCOMPARE(cell(t.widget, rowOf(t.widget, t.paths.at(1)), QStringLiteral("FileName")), QStringLiteral("b.mp3"));

    // The file is back: the second save writes what is left, and only that.
    for (int i = 0; i < t.paths.size(); ++i) {
        if (breaks.at(i).isEmpty())
            continue;
        if (breaks.at(i) == QLatin1String("folder"))
            QVERIFY(QDir().rmdir(t.paths.at(i)));
        QVERIFY(QFile::copy(backup.filePath(QFileInfo(t.paths.at(i)).fileName()), t.paths.at(i)));
    }
    closeNotifications();
    NotificationWatch secondWatch;
    changed.clear();
    t.widget.saveChangesToFile();

    QCOMPARE(secondWatch.texts(), QStringList{savedText()});
    QCOMPARE(boolValues(changed), QList<bool>{false});
    QVERIFY(!t.widget.records().hasChanges());
    for (int i = 0; i < t.paths.size(); ++i) {
        QCOMPARE(TagReaderAndWriter::readTitle(t.paths.at(i)), QStringLiteral("New %1").arg(i));
        if (breaks.at(i).isEmpty())
            QCOMPARE(F::hash(t.paths.at(i)), savedHashes.at(i));
    }
}

SONVEL_TEST_MAIN(TestSaveChanges)
#include "tst_savechanges.moc"
