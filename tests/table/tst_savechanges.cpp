#include "common/testmain.h"
#include "table/tablefixture.h"
#include "tags/fieldaccess.h"

#include <QDir>
#include <QTemporaryDir>

using namespace TableFixture;
using Fields = QMap<QString, QString>;

namespace {

// The frame lines whose id is not among ids, sorted: what a save that wrote
// only ids must leave exactly as it was.
QStringList framesOtherThan(const QString &path, const QStringList &ids)
{
    QStringList kept;
    for (const QString &line : F::frameDump(path)) {
        if (!ids.contains(line.left(4)))
            kept << line;
    }
    kept.sort();
    return kept;
}

QStringList frameIds(const QStringList &keys)
{
    QStringList ids;
    for (const QString &key : keys)
        ids << QString::fromLatin1(fieldByKey(key).frameId);
    return ids;
}

// Whether the audio frames came through the save unharmed and still close
// the file, ahead of any ID3v1 tag.
bool audioIntact(const QString &path)
{
    const QByteArray bytes = F::readBytes(path);
    return bytes.chopped(F::id3v1(path).size()).endsWith(F::silentAudio());
}

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

} // namespace

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
    void refusedRenameInSortedTableSavesOwnTags_data();
    void refusedRenameInSortedTableSavesOwnTags();
    void storesCoverAsOneFittedJpeg_data();
    void storesCoverAsOneFittedJpeg();
    void reportsFailuresAndSavesAgain_data();
    void reportsFailuresAndSavesAgain();
};

void TestSaveChanges::cleanup()
{
    closeNotifications();
}

void TestSaveChanges::writesOnlyChangedRowsAndFields_data()
{
    QTest::addColumn<Fields>("edits");
    QTest::addColumn<bool>("overlay"); // through the processing overlay or directly

    const Fields values = {
        {"Title", QString::fromUtf8("Sunrise 東京")}, {"Artist", "Ben Okri"}, {"Album", "Early"},
        {"Year", "2001"}, {"Comment", "Closing set"}, {"Track", "7"}, {"Genre", "Techno"}, {"BPM", "128"},
        {"Composer", "C. Diaz"}, {"Grouping", "Peak"}, {"Label", "Dawn Records"}, {"Remixer", "D. Fox"},
        {"InitialKey", "11B"}};
    bool overlay = true;
    for (auto it = values.cbegin(); it != values.cend(); ++it, overlay = !overlay)
        QTest::newRow(qPrintable(it.key())) << Fields{{it.key(), it.value()}} << overlay;
    QTest::newRow("title and BPM") << Fields{{"Title", "Peak"}, {"BPM", "126"}} << true;
    QTest::newRow("empty title") << Fields{{"Title", ""}} << false;
}

// Typical tags hold more than the table shows (a full date, a track total, a
// described comment, a back cover): a save must not rewrite them.
void TestSaveChanges::writesOnlyChangedRowsAndFields()
{
    QFETCH(Fields, edits);
    QFETCH(bool, overlay);
    QTemporaryDir tmp;
    const QStringList paths = {makeDetailed(tmp.path(), "a.mp3"), makeDetailed(tmp.path(), "b.mp3"),
                               makeDetailed(tmp.path(), "c.mp3")};
    QVERIFY(!paths.contains(QString()));
    const QString edited = paths.at(1);
    const QByteArray hashA = F::hash(paths.at(0));
    const QByteArray hashC = F::hash(paths.at(2));
    const QStringList ids = frameIds(edits.keys());
    const QStringList keptBefore = framesOtherThan(edited, ids);
    const auto commentsBefore = F::comments(edited);

    AddMediaFileWidget widget;
    widget.getMediaList(paths);
    for (auto it = edits.cbegin(); it != edits.cend(); ++it)
        QVERIFY(edit(widget, rowOf(widget, edited), it.key(), it.value()));

    NotificationWatch watch;
    QSignalSpy changed(&widget, &AddMediaFileWidget::someChangesHappen);
    if (overlay)
        widget.saveChangesToFile();
    else
        widget.initiateSaveChanges();

    QCOMPARE(watch.texts(), QStringList{savedText()});
    QCOMPARE(boolValues(changed), QList<bool>{false});
    QVERIFY(widget.changes().isEmpty());

    QCOMPARE(F::hash(paths.at(0)), hashA);
    QCOMPARE(F::hash(paths.at(2)), hashC);
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
        QCOMPARE(cell(widget, rowOf(widget, edited), it.key()), it.value());
}

void TestSaveChanges::renamesOnSave_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QStringList>("typed"); // successive edits of the cell
    QTest::addColumn<bool>("withTitle");    // the title changed too
    QTest::addColumn<QString>("shown");     // the cell after the save
    QTest::addColumn<bool>("renamed");
    QTest::addColumn<bool>("failed");

    const QString a = QStringLiteral("a.mp3");
    QTest::newRow("name") << a << QStringList{"b"} << false << "b.mp3" << true << false;
    QTest::newRow("name with extension") << a << QStringList{"b.mp3"} << false << "b.mp3" << true << false;
    QTest::newRow("capital extension is kept") << a << QStringList{"X.MP3"} << false << "X.MP3.mp3" << true << false;
    QTest::newRow("case only") << a << QStringList{"A"} << false << "A.mp3" << true << false;
    QTest::newRow("unicode and spaces") << a << QStringList{QString::fromUtf8("Café 東京 - 01 (Edit)")} << false
                                        << QString::fromUtf8("Café 東京 - 01 (Edit).mp3") << true << false;
    QTest::newRow("name and title") << a << QStringList{"b"} << true << "b.mp3" << true << false;
    QTest::newRow("own name without extension") << a << QStringList{"a"} << false << a << false << false;
    QTest::newRow("typed and back") << a << QStringList{"z", "a.mp3"} << false << a << false << false;
    QTest::newRow("existing file") << a << QStringList{"taken"} << false << a << false << true;
    QTest::newRow("existing file, with extension") << a << QStringList{"taken.mp3"} << false << a << false << true;
    QTest::newRow("existing file, title still written") << a << QStringList{"taken"} << true << a << false << true;
    QTest::newRow("parent folder") << a << QStringList{"../x"} << false << a << false << true;
    QTest::newRow("parent folder, title still written") << a << QStringList{"../x"} << true << a << false << true;
    QTest::newRow("sub folder") << a << QStringList{"sub/b"} << false << a << false << true;
    QTest::newRow("backslash") << a << QStringList{"a\\b"} << false << a << false << true;
    QTest::newRow("empty") << a << QStringList{""} << false << a << false << true;
    QTest::newRow("dot") << a << QStringList{"."} << false << a << false << true;
    QTest::newRow("dot dot") << a << QStringList{".."} << false << a << false << true;
    QTest::newRow("only the extension") << a << QStringList{".mp3"} << false << a << false << true;
    QTest::newRow("current name in capitals") << "Loud.MP3" << QStringList{"quiet"} << false << "quiet" << false
                                              << true;
    QTest::newRow("current name in capitals, title still written")
        << "Loud.MP3" << QStringList{"quiet"} << true << "quiet" << false << true;
}

void TestSaveChanges::renamesOnSave()
{
    QFETCH(QString, current);
    QFETCH(QStringList, typed);
    QFETCH(bool, withTitle);
    QFETCH(QString, shown);
    QFETCH(bool, renamed);
    QFETCH(bool, failed);
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(QStringLiteral("set"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/sub")));
    const QString path = makeDetailed(folder, current);
    const QString taken = makeTrack(folder, QStringLiteral("taken.mp3"), "Other", "Other");
    QVERIFY(!path.isEmpty() && !taken.isEmpty());
    const QByteArray hash = F::hash(path);
    const QByteArray takenHash = F::hash(taken);
    const QStringList keptBefore = framesOtherThan(path, {"TIT2"});

    AddMediaFileWidget widget;
    widget.getMediaList({path});
    for (const QString &name : typed)
        QVERIFY(edit(widget, 0, QStringLiteral("FileName"), name));
    if (withTitle)
        QVERIFY(edit(widget, 0, QStringLiteral("Title"), QStringLiteral("New title")));

    NotificationWatch watch;
    QSignalSpy changed(&widget, &AddMediaFileWidget::someChangesHappen);
    widget.saveChangesToFile();

    const QString finalPath = renamed ? QDir(folder).filePath(shown) : path;
    QCOMPARE(cell(widget, 0, QStringLiteral("FileName")), shown);
    QCOMPARE(location(widget, 0), finalPath);
    QVERIFY(QFile::exists(finalPath));
    QCOMPARE(QFile::exists(path), !renamed);
    QStringList expectedFiles = {QFileInfo(finalPath).fileName(), QStringLiteral("sub"), QStringLiteral("taken.mp3")};
    expectedFiles.sort();
    QCOMPARE(filesIn(folder), expectedFiles);
    QCOMPARE(filesIn(tmp.path()), QStringList{"set"});
    QVERIFY(filesIn(folder + QStringLiteral("/sub")).isEmpty());
    QCOMPARE(F::hash(taken), takenHash);

    if (withTitle) {
        QCOMPARE(TagReaderAndWriter::readTitle(finalPath), QStringLiteral("New title"));
        QCOMPARE(framesOtherThan(finalPath, {"TIT2"}), keptBefore);
        QVERIFY(audioIntact(finalPath));
    } else {
        QCOMPARE(F::hash(finalPath), hash);
    }

    if (failed) {
        QCOMPARE(watch.texts(), QStringList{failureText(1, path)});
        QVERIFY(!boolValues(changed).contains(false));
        QVERIFY(widget.changes().contains(finalPath));
    } else {
        QCOMPARE(watch.texts(), QStringList{savedText()});
        QCOMPARE(boolValues(changed), QList<bool>{false});
        QVERIFY(widget.changes().isEmpty());
    }
}

void TestSaveChanges::sortedTableSavesEachFilesOwnTags_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("order");
    QTest::newRow("artist ascending") << QStringLiteral("Artist") << int(Qt::AscendingOrder);
    QTest::newRow("artist descending") << QStringLiteral("Artist") << int(Qt::DescendingOrder);
    QTest::newRow("file name ascending") << QStringLiteral("FileName") << int(Qt::AscendingOrder);
    QTest::newRow("title descending") << QStringLiteral("Title") << int(Qt::DescendingOrder);
}

// Edits in a sorted table move rows (an edited sort column, a renamed file);
// the save must still write each file's own values.
void TestSaveChanges::sortedTableSavesEachFilesOwnTags()
{
    QFETCH(QString, key);
    QFETCH(int, order);
    QTemporaryDir tmp;
    const QStringList paths = {makeTrack(tmp.path(), "1.mp3", "Mango", "Cleo"),
                               makeTrack(tmp.path(), "2.mp3", "Apple", "Ana"),
                               makeTrack(tmp.path(), "3.mp3", "Kiwi", "Bea"),
                               makeTrack(tmp.path(), "4.mp3", "Fig", "Dan")};
    QVERIFY(!paths.contains(QString()));
    QList<QByteArray> hashes;
    for (const QString &path : paths)
        hashes << F::hash(path);

    AddMediaFileWidget widget;
    widget.getMediaList(paths);
    widget.table()->sortItems(column(widget, key), Qt::SortOrder(order));
    QVERIFY(edit(widget, rowOf(widget, paths.at(0)), QStringLiteral("FileName"), QStringLiteral("0 renamed")));
    QVERIFY(edit(widget, rowOf(widget, paths.at(2)), QStringLiteral("Title"), QStringLiteral("Aardvark")));
    QVERIFY(edit(widget, rowOf(widget, paths.at(1)), QStringLiteral("Artist"), QStringLiteral("Zed")));
    widget.initiateSaveChanges();
    QVERIFY(widget.changes().isEmpty());

    const QString renamed = tmp.filePath(QStringLiteral("0 renamed.mp3"));
    QVERIFY(!QFile::exists(paths.at(0)));
    QCOMPARE(F::hash(renamed), hashes.at(0));
    QCOMPARE(TagReaderAndWriter::readTitle(renamed), QStringLiteral("Mango"));
    QCOMPARE(TagReaderAndWriter::readTitle(paths.at(1)), QStringLiteral("Apple"));
    QCOMPARE(TagReaderAndWriter::readArtist(paths.at(1)), QStringLiteral("Zed"));
    QCOMPARE(TagReaderAndWriter::readTitle(paths.at(2)), QStringLiteral("Aardvark"));
    QCOMPARE(TagReaderAndWriter::readArtist(paths.at(2)), QStringLiteral("Bea"));
    QCOMPARE(F::hash(paths.at(3)), hashes.at(3));

    QStringList locations;
    for (int r = 0; r < widget.table()->rowCount(); ++r) {
        const QString path = location(widget, r);
        locations << path;
        QCOMPARE(cell(widget, r, QStringLiteral("FileName")), QFileInfo(path).fileName());
        QCOMPARE(cell(widget, r, QStringLiteral("Title")), TagReaderAndWriter::readTitle(path));
        QCOMPARE(cell(widget, r, QStringLiteral("Artist")), TagReaderAndWriter::readArtist(path));
    }
    locations.sort();
    QCOMPARE(locations, (QStringList{renamed, paths.at(1), paths.at(2), paths.at(3)}));
}

void TestSaveChanges::refusedRenameInSortedTableSavesOwnTags_data()
{
    QTest::addColumn<int>("order");
    QTest::newRow("file name ascending") << int(Qt::AscendingOrder);
    QTest::newRow("file name descending") << int(Qt::DescendingOrder);
}

// Sorted by file name, the save itself moves rows: a refused rename puts the
// old name back and a "0" becomes "0.mp3". Tags read after that must still
// come from the row being saved.
void TestSaveChanges::refusedRenameInSortedTableSavesOwnTags()
{
    QFETCH(int, order);
    QTemporaryDir tmp;
    const QStringList paths = {makeTrack(tmp.path(), "1.mp3", "Mango", "Cleo"),
                               makeTrack(tmp.path(), "2.mp3", "Apple", "Ana"),
                               makeTrack(tmp.path(), "3.mp3", "Kiwi", "Bea"),
                               makeTrack(tmp.path(), "4.mp3", "Fig", "Dan")};
    QVERIFY(!paths.contains(QString()));
    QList<QByteArray> hashes;
    for (const QString &path : paths)
        hashes << F::hash(path);

    AddMediaFileWidget widget;
    widget.getMediaList(paths);
    widget.table()->sortItems(column(widget, QStringLiteral("FileName")), Qt::SortOrder(order));
    QVERIFY(edit(widget, rowOf(widget, paths.at(0)), QStringLiteral("FileName"), QStringLiteral("4")));
    QVERIFY(edit(widget, rowOf(widget, paths.at(0)), QStringLiteral("Title"), QStringLiteral("One")));
    QVERIFY(edit(widget, rowOf(widget, paths.at(1)), QStringLiteral("FileName"), QStringLiteral("0")));
    QVERIFY(edit(widget, rowOf(widget, paths.at(3)), QStringLiteral("Title"), QStringLiteral("Four")));
    NotificationWatch watch;
    widget.initiateSaveChanges();

    QCOMPARE(watch.texts(), QStringList{failureText(1, paths.at(0))});
    QCOMPARE(widget.changes().size(), 1);
    QVERIFY(widget.changes().contains(paths.at(0)));
    const QString renamed = tmp.filePath(QStringLiteral("0.mp3"));
    QCOMPARE(TagReaderAndWriter::readTitle(paths.at(0)), QStringLiteral("One"));
    QCOMPARE(TagReaderAndWriter::readArtist(paths.at(0)), QStringLiteral("Cleo"));
    QCOMPARE(F::hash(renamed), hashes.at(1));
    QCOMPARE(F::hash(paths.at(2)), hashes.at(2));
    QCOMPARE(TagReaderAndWriter::readTitle(paths.at(3)), QStringLiteral("Four"));
    QCOMPARE(TagReaderAndWriter::readArtist(paths.at(3)), QStringLiteral("Dan"));
    for (int r = 0; r < widget.table()->rowCount(); ++r) {
        const QString path = location(widget, r);
        QCOMPARE(cell(widget, r, QStringLiteral("FileName")), QFileInfo(path).fileName());
        QCOMPARE(cell(widget, r, QStringLiteral("Title")), TagReaderAndWriter::readTitle(path));
        QCOMPARE(cell(widget, r, QStringLiteral("Artist")), TagReaderAndWriter::readArtist(path));
    }
    QCOMPARE(filesIn(tmp.path()), (QStringList{"0.mp3", "1.mp3", "3.mp3", "4.mp3"}));
}

void TestSaveChanges::storesCoverAsOneFittedJpeg_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QSize>("stored"); // invalid: no picture left

    QTest::newRow("wide") << F::image(1000, 500, Qt::red) << QSize(400, 200);
    QTest::newRow("small is enlarged") << F::image(100, 100, Qt::red) << QSize(400, 400);
    QTest::newRow("tall") << F::image(300, 600, Qt::red) << QSize(200, 400);
    QTest::newRow("exactly 400") << F::image(400, 400, Qt::red) << QSize(400, 400);
    QTest::newRow("large") << F::image(1500, 1500, Qt::red) << QSize(400, 400);

    QImage halfClear(200, 100, QImage::Format_ARGB32);
    halfClear.fill(Qt::transparent);
    for (int y = 0; y < 100; ++y) {
        for (int x = 100; x < 200; ++x)
            halfClear.setPixelColor(x, y, Qt::red);
    }
    QTest::newRow("transparent left half") << halfClear << QSize(400, 200);
    QImage clear(64, 64, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    QTest::newRow("fully transparent") << clear << QSize(400, 400);
    QTest::newRow("no picture removes them all") << QImage() << QSize();
}

void TestSaveChanges::storesCoverAsOneFittedJpeg()
{
    QFETCH(QImage, picture);
    QFETCH(QSize, stored);
    QTemporaryDir tmp;
    const QString other = makeDetailed(tmp.path(), "other.mp3");
    const QString path = makeDetailed(tmp.path(), "cover.mp3");
    QVERIFY(!path.isEmpty() && !other.isEmpty());
    QCOMPARE(F::pictures(path).size(), 2);
    const QByteArray otherHash = F::hash(other);
    const QStringList keptBefore = framesOtherThan(path, {"APIC"});

    AddMediaFileWidget widget;
    widget.getMediaList({other, path});
    replaceCover(widget, rowOf(widget, path), picture);
    NotificationWatch watch;
    widget.initiateSaveChanges();
    QCOMPARE(watch.texts(), QStringList{savedText()});

    QCOMPARE(F::hash(other), otherHash);
    QCOMPARE(framesOtherThan(path, {"APIC"}), keptBefore);
    QVERIFY(audioIntact(path));
    const QList<F::Picture> pictures = F::pictures(path);
    if (!stored.isValid()) {
        QVERIFY(pictures.isEmpty());
        return;
    }
    QCOMPARE(pictures.size(), 1);
    QCOMPARE(pictures.first().mime, QStringLiteral("image/jpeg"));
    QCOMPARE(pictures.first().type, 3);
    QVERIFY(pictures.first().data.startsWith("\xFF\xD8"));
    const QImage image = QImage::fromData(pictures.first().data, "JPG");
    QCOMPARE(image.size(), stored);

    // Transparent parts come out white, not black; opaque parts keep their colour.
    const QImage scaled = picture.scaled(stored, Qt::IgnoreAspectRatio);
    for (const QPoint &at : {QPoint(stored.width() / 8, stored.height() / 2),
                             QPoint(stored.width() * 7 / 8, stored.height() / 2)}) {
        const bool clearPixel = scaled.pixelColor(at).alpha() == 0;
        const QColor expected = clearPixel ? QColor(Qt::white) : scaled.pixelColor(at);
        const QColor got = image.pixelColor(at);
        QVERIFY2(qAbs(got.red() - expected.red()) < 24 && qAbs(got.green() - expected.green()) < 24
                     && qAbs(got.blue() - expected.blue()) < 24,
                 qPrintable(QStringLiteral("pixel at %1,%2 is %3, expected %4")
                                .arg(at.x()).arg(at.y()).arg(got.name(), expected.name())));
    }
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
    QTemporaryDir tmp;
    QTemporaryDir backup;
    QStringList paths;
    for (const QString &name : QStringList{"a.mp3", "b.mp3", "c.mp3"}) {
        paths << makeDetailed(tmp.path(), name);
        QVERIFY(QFile::copy(paths.last(), backup.filePath(name)));
    }
    QVERIFY(!paths.contains(QString()));

    AddMediaFileWidget widget;
    widget.getMediaList(paths);
    for (int i = 0; i < paths.size(); ++i)
        QVERIFY(edit(widget, rowOf(widget, paths.at(i)), QStringLiteral("Title"), QStringLiteral("New %1").arg(i)));
    if (renameMiddle)
        QVERIFY(edit(widget, rowOf(widget, paths.at(1)), QStringLiteral("FileName"), QStringLiteral("renamed")));

    int broken = 0;
    QString firstBroken;
    for (int i = 0; i < paths.size(); ++i) {
        if (breaks.at(i).isEmpty())
            continue;
        QVERIFY(QFile::remove(paths.at(i)));
        if (breaks.at(i) == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(paths.at(i)));
        if (!broken++)
            firstBroken = paths.at(i);
    }

    NotificationWatch watch;
    QSignalSpy changed(&widget, &AddMediaFileWidget::someChangesHappen);
    widget.saveChangesToFile();

    QCOMPARE(watch.texts(), QStringList{failureText(broken, firstBroken)});
    QVERIFY2(!boolValues(changed).contains(false), "the edits are not all saved");
    QVERIFY(widget.hasUnsavedChanges());
    QCOMPARE(widget.changes().size(), broken);
    QList<QByteArray> savedHashes;
    for (int i = 0; i < paths.size(); ++i) {
        const QString &path = paths.at(i);
        QCOMPARE(widget.changes().contains(path), !breaks.at(i).isEmpty());
        if (breaks.at(i).isEmpty())
            QCOMPARE(TagReaderAndWriter::readTitle(path), QStringLiteral("New %1").arg(i));
        else if (breaks.at(i) == QLatin1String("removed"))
            QVERIFY2(!QFile::exists(path), "a missing file must not be created");
        else
            QVERIFY(QFileInfo(path).isDir());
        savedHashes << F::hash(path);
    }
    QVERIFY(!QFile::exists(tmp.filePath(QStringLiteral("renamed.mp3"))));
    if (renameMiddle)
        QCOMPARE(cell(widget, rowOf(widget, paths.at(1)), QStringLiteral("FileName")), QStringLiteral("b.mp3"));

    // The file is back: the second save writes what is left, and only that.
    for (int i = 0; i < paths.size(); ++i) {
        if (breaks.at(i).isEmpty())
            continue;
        if (breaks.at(i) == QLatin1String("folder"))
            QVERIFY(QDir().rmdir(paths.at(i)));
        QVERIFY(QFile::copy(backup.filePath(QFileInfo(paths.at(i)).fileName()), paths.at(i)));
    }
    closeNotifications();
    NotificationWatch secondWatch;
    changed.clear();
    widget.saveChangesToFile();

    QCOMPARE(secondWatch.texts(), QStringList{savedText()});
    QCOMPARE(boolValues(changed), QList<bool>{false});
    QVERIFY(widget.changes().isEmpty());
    for (int i = 0; i < paths.size(); ++i) {
        QCOMPARE(TagReaderAndWriter::readTitle(paths.at(i)), QStringLiteral("New %1").arg(i));
        if (breaks.at(i).isEmpty())
            QCOMPARE(F::hash(paths.at(i)), savedHashes.at(i));
    }
}

SONVEL_TEST_MAIN(TestSaveChanges)
#include "tst_savechanges.moc"
