#include "common/testmain.h"
#include "table/tablefixture.h"
#include "tags/fieldaccess.h"
#include "widgets/previewdialog.h"

#include <QDir>
#include <QTemporaryDir>

using namespace TableFixture;
using FieldTexts = QMap<QString, QString>;

namespace {

const QString kEmptyList = QStringLiteral("File list is empty. Operation can not be performed.");
const QString kRenamed = QStringLiteral("File rename operation has been successfully completed for all possible rows!");
const QString kFetched = QStringLiteral("Operation has been successfully performed!");

// A real MP3 with the given text fields; an empty value writes no frame.
QString makeFile(const QString &dir, const QString &name, const FieldTexts &fields)
{
    const QString path = F::create(dir, name);
    QList<TagLib::ID3v2::Frame *> frames;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        if (!it.value().isEmpty())
            frames << F::textFrame(fieldByKey(it.key()).frameId, it.value());
    }
    return !path.isEmpty() && (frames.isEmpty() || F::addFrames(path, frames)) ? path : QString();
}

// "<kind>: <text>" of every notification on screen; callers close the old
// ones first.
QStringList shownNotifications()
{
    QStringList list;
    for (const VrNotification *notification : liveNotifications())
        list << QStringList{"Unknown", "Success", "Error", "Warning", "Info"}.at(notificationKind(notification) + 1)
                    + QStringLiteral(": ") + notificationText(notification);
    return list;
}

// What a pass over the listed columns says: how many cells find and replace
// changed, or that nothing matched.
QString notice(const QString &operation, int replaced = 0)
{
    if (operation == QLatin1String("replace")) {
        if (replaced == 0)
            return QStringLiteral("Info: Nothing matched.");
        return replaced == 1 ? QStringLiteral("Success: Replaced in 1 cell.")
                             : QStringLiteral("Success: Replaced in %1 cells.").arg(replaced);
    }
    if (operation == QLatin1String("spaces"))
        return QStringLiteral("Success: All extra spaces have been successfully removed!");
    const QString shown = operation == QLatin1String("Capitalize") ? QStringLiteral("Title Case") : operation;
    return QStringLiteral("Success: Selected fields text is converted to \"%1\" successfully!").arg(shown);
}

// operation: "replace" (args: match, replacement), "spaces", "rename" or
// "fetch" (args: separator), or a format option.
void runOperation(AddMediaFileWidget &widget, const QString &operation, const QStringList &args,
                  QStringList columns)
{
    if (operation == QLatin1String("replace"))
        widget.findAndReplace(columns, args.at(0), args.at(1));
    else if (operation == QLatin1String("spaces"))
        widget.removeExtraSpaces(columns);
    else if (operation == QLatin1String("rename"))
        widget.getTagsAndSepToRename(columns, args.at(0));
    else if (operation == QLatin1String("fetch"))
        widget.getTagListAndSep_To_FetchFromFile(columns, args.at(0));
    else
        widget.formatText(operation, columns);
}

// Every cell text of the row but those of the given columns.
QStringList otherCells(const AddMediaFileWidget &widget, int row, const QStringList &columns)
{
    QStringList texts;
    for (int c = 0; c < widget.table()->columnCount(); ++c) {
        const QString key = widget.table()->horizontalHeaderItem(c)->text();
        if (!columns.contains(key))
            texts << key + QLatin1Char('=') + cell(widget, row, key);
    }
    return texts;
}

// Runs a pass over the listed table and checks that what it did counts as
// edits: it says notice ("Kind: text"), per file the keys show expected (a
// file's old values where it changed nothing), every other cell stays, the
// records hold just the changed keys and nothing is written; then a save
// stores what the table shows.
void checkPassIsEdits(PopulatedTable &t, const QStringList &keys, const QList<QStringList> &old,
                      const QList<QStringList> &expected, const QString &notice,
                      const std::function<void()> &pass)
{
    QList<QStringList> untouched;
    for (int i = 0; i < t.paths.size(); ++i)
        untouched << otherCells(t.widget, t.row(i), keys);
    closeNotifications();
    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    pass();

    QCOMPARE(shownNotifications(), QStringList{notice});
    bool anyChanged = false;
    for (int i = 0; i < t.paths.size(); ++i) {
        QStringList shown;
        QSet<QString> changedKeys;
        for (int k = 0; k < keys.size(); ++k) {
            shown << t.cell(i, keys.at(k));
            if (expected.at(i).at(k) != old.at(i).at(k))
                changedKeys.insert(keys.at(k));
        }
        QCOMPARE(shown, expected.at(i));
        QCOMPARE(otherCells(t.widget, t.row(i), keys), untouched.at(i));
        QCOMPARE(t.widget.records().changedFields(t.paths.at(i)), changedKeys);
        anyChanged = anyChanged || !changedKeys.isEmpty();
        QVERIFY(t.unchanged(i));
    }
    QCOMPARE(changed.isEmpty(), !anyChanged);
    QVERIFY(!boolValues(changed).contains(false));
    if (!anyChanged)
        return;

    t.widget.initiateSaveChanges();
    QVERIFY(!t.widget.records().hasChanges());
    for (int i = 0; i < t.paths.size(); ++i) {
        for (int k = 0; k < keys.size(); ++k)
            QCOMPARE(fieldByKey(keys.at(k)).read(t.paths.at(i)), expected.at(i).at(k));
        if (expected.at(i) == old.at(i))
            QVERIFY(t.unchanged(i));
    }
}

} // namespace

class TestBulkOperations : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void emptyListIsRefused_data();
    void emptyListIsRefused();
    void rewritesListedColumns_data();
    void rewritesListedColumns();
    void sortedColumnIsRewrittenOncePerRow_data();
    void sortedColumnIsRewrittenOncePerRow();
    void renamesFilesFromTags_data();
    void renamesFilesFromTags();
    void renameKeepsUnsavedEdits_data();
    void renameKeepsUnsavedEdits();
    void fillsTagsFromFileNames_data();
    void fillsTagsFromFileNames();

private:
    const PreviewDialog::Ask m_dialog = PreviewDialog::ask;
};

// The passes that show a preview first are answered as if the user went
// ahead; what the previews list is tested in tst_renamepreview.
void TestBulkOperations::init()
{
    PreviewDialog::ask = [](const RenamePreview::Preview &, QWidget *) { return true; };
}

void TestBulkOperations::cleanup()
{
    PreviewDialog::ask = m_dialog;
    closeNotifications();
}

void TestBulkOperations::emptyListIsRefused_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("cleared"); // files were listed, then the list cleared

    QTest::newRow("replace") << "replace" << QStringList{"a", "b"} << false;
    QTest::newRow("extra spaces") << "spaces" << QStringList() << false;
    QTest::newRow("upper case") << "Upper Case" << QStringList() << false;
    QTest::newRow("title case, after clearing") << "Capitalize" << QStringList() << true;
    QTest::newRow("rename from tags") << "rename" << QStringList{"-"} << false;
    QTest::newRow("rename from tags, after clearing") << "rename" << QStringList{"-"} << true;
    QTest::newRow("tags from file names, after clearing") << "fetch" << QStringList{"-"} << true;
}

void TestBulkOperations::emptyListIsRefused()
{
    QFETCH(QString, operation);
    QFETCH(QStringList, args);
    QFETCH(bool, cleared);
    PopulatedTable t({{"air-venus.mp3", "venus", "air"}});
    if (cleared) {
        QVERIFY(t.list() && t.edit(0, QStringLiteral("Title"), QStringLiteral("a venus")));
        t.widget.clearList();
    }
    closeNotifications();
    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    runOperation(t.widget, operation, args, {QStringLiteral("Artist"), QStringLiteral("Title")});

    QCOMPARE(shownNotifications(), QStringList{QStringLiteral("Warning: ") + kEmptyList});
    QCOMPARE(t.widget.table()->rowCount(), 0);
    QVERIFY(changed.isEmpty());
    QVERIFY(!t.widget.records().hasChanges());
    QCOMPARE(filesIn(t.dir.path()), QStringList{"air-venus.mp3"});
    QVERIFY(t.unchanged(0));
}

void TestBulkOperations::rewritesListedColumns_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QStringList>("before"); // each file's title; its artist holds the same
    QTest::addColumn<QStringList>("after");  // the titles afterwards, and the artists when listed
    QTest::addColumn<int>("replaced");       // the cells find and replace says it changed

    const QStringList title = {"Title"};
    const QStringList both = {"Title", "Artist"};
    const QString nbsp = QString(QChar(0x00A0));

    QTest::newRow("replace: only cells holding the match, case-sensitive")
        << "replace" << QStringList{"Love", "Hate"} << title << QStringList{"Love Song", "love me", "ReLove"}
        << QStringList{"Hate Song", "love me", "ReHate"} << 2;
    QTest::newRow("replace: every occurrence, once")
        << "replace" << QStringList{"a", "aa"} << title << QStringList{"banana", "Abba", "xyz"}
        << QStringList{"baanaanaa", "Abbaa", "xyz"} << 2;
    QTest::newRow("replace: inside words")
        << "replace" << QStringList{"the", "a"} << title << QStringList{"Other Theme", "the the", "Them"}
        << QStringList{"Oar Theme", "a a", "Them"} << 2;
    QTest::newRow("replace: by nothing")
        << "replace" << QStringList{" (Remix)", ""} << title << QStringList{"Go (Remix)", "Go", "(Remix)"}
        << QStringList{"Go", "Go", "(Remix)"} << 1;
    QTest::newRow("replace: by itself tracks nothing")
        << "replace" << QStringList{"a", "a"} << title << QStringList{"banana", "Abba", "xyz"}
        << QStringList{"banana", "Abba", "xyz"} << 2;
    QTest::newRow("replace: title and artist")
        << "replace" << QStringList{QString::fromUtf8("東京"), "Tokyo"} << both
        << QStringList{QString::fromUtf8("東京 Night"), "Osaka", QString::fromUtf8("東京東京")}
        << QStringList{"Tokyo Night", "Osaka", "TokyoTokyo"} << 4;
    QTest::newRow("replace: nothing matched, case counts")
        << "replace" << QStringList{"LOVE", "x"} << title << QStringList{"Love Song", "love me", "ReLove"}
        << QStringList{"Love Song", "love me", "ReLove"} << 0;
    QTest::newRow("replace: unlisted column")
        << "replace" << QStringList{"a", "b"} << QStringList{"Genre"} << QStringList{"banana", "Abba", "xyz"}
        << QStringList{"banana", "Abba", "xyz"} << 0;

    QTest::newRow("spaces: runs, ends and tabs")
        << "spaces" << QStringList() << title
        << QStringList{"  Blue   Monday ", "Blue Monday", "\tTab\t\tSeparated\t"}
        << QStringList{"Blue Monday", "Blue Monday", "Tab Separated"} << 0;
    QTest::newRow("spaces: no-break space, all blank")
        << "spaces" << QStringList() << both << QStringList{"A" + nbsp + nbsp + "B", "   ", nbsp + " \t"}
        << QStringList{"A B", "", ""} << 0;

    QTest::newRow("upper case") << "Upper Case" << QStringList() << both
                                << QStringList{QString::fromUtf8("straße"), "Mixed Case", "ABC 1"}
                                << QStringList{"STRASSE", "MIXED CASE", "ABC 1"} << 0;
    QTest::newRow("lower case") << "Lower Case" << QStringList() << title
                                << QStringList{QString::fromUtf8("ÉLAN"), "Mixed Case", "abc"}
                                << QStringList{QString::fromUtf8("élan"), "mixed case", "abc"} << 0;
    QTest::newRow("title case: accented first letters")
        << "Capitalize" << QStringList() << title
        << QStringList{QString::fromUtf8("élan vital"), QString::fromUtf8("über alles"), QString::fromUtf8("ça VA")}
        << QStringList{QString::fromUtf8("Élan Vital"), QString::fromUtf8("Über Alles"), QString::fromUtf8("Ça VA")}
        << 0;
    QTest::newRow("title case: the rest lowered")
        << "Capitalize" << QStringList() << both << QStringList{"McDONALD", "o'neil", "rock-n-roll"}
        << QStringList{"McDonald", "O'neil", "Rock-n-roll"} << 0;
    QTest::newRow("title case: words start after ASCII white space")
        << "Capitalize" << QStringList() << title << QStringList{"4ever young", "tab\tsep", "a" + nbsp + "b"}
        << QStringList{"4Ever Young", "Tab\tSep", "A" + nbsp + "b"} << 0;
    QTest::newRow("title case: other alphabets")
        << "Capitalize" << QStringList() << title
        << QStringList{QString::fromUtf8("привет мир"), QString::fromUtf8("γΕΙΑ σΟΥ"), "x"}
        << QStringList{QString::fromUtf8("Привет Мир"), QString::fromUtf8("Γεια Σου"), "X"} << 0;
    QTest::newRow("title case: nothing to change")
        << "Capitalize" << QStringList() << both << QStringList{"Night Drive", "Ana", ""}
        << QStringList{"Night Drive", "Ana", ""} << 0;
}

// Each changed cell is an ordinary edit: tracked, nothing written until the
// save, which then stores what the table shows.
void TestBulkOperations::rewritesListedColumns()
{
    QFETCH(QString, operation);
    QFETCH(QStringList, args);
    QFETCH(QStringList, columns);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(int, replaced);
    PopulatedTable t(before.size(), [&](const QString &dir, int i) {
        return makeFile(dir, QStringLiteral("%1.mp3").arg(i),
                        {{"Title", before.at(i)}, {"Artist", before.at(i)}, {"Album", "Same Album"}});
    });
    QVERIFY(t.list());
    QCOMPARE(columnTexts(t.widget, QStringLiteral("Title")), before);
    QList<QStringList> old;
    QList<QStringList> expected;
    for (int i = 0; i < before.size(); ++i) {
        old << QStringList{before.at(i), before.at(i)};
        expected << QStringList();
        for (const QString &key : {QStringLiteral("Title"), QStringLiteral("Artist")})
            expected.last() << (columns.contains(key) ? after.at(i) : before.at(i));
    }
    checkPassIsEdits(t, {QStringLiteral("Title"), QStringLiteral("Artist")}, old, expected, notice(operation, replaced),
                     [&] { runOperation(t.widget, operation, args, columns); });
}

void TestBulkOperations::sortedColumnIsRewrittenOncePerRow_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("order");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");

    // A rewritten row moves past rows not yet visited (ascending) or back
    // over one already visited (descending).
    QTest::newRow("a by b, ascending") << "replace" << QStringList{"a", "b"} << int(Qt::AscendingOrder)
                                       << QStringList{"a1", "a2", "a3", "c"} << QStringList{"b1", "b2", "b3", "c"};
    QTest::newRow("a by b, descending") << "replace" << QStringList{"a", "b"} << int(Qt::DescendingOrder)
                                        << QStringList{"a1", "a2", "a3", "c"} << QStringList{"b1", "b2", "b3", "c"};
    QTest::newRow("a by aa, ascending") << "replace" << QStringList{"a", "aa"} << int(Qt::AscendingOrder)
                                        << QStringList{"ab", "ac", "ad", "b"}
                                        << QStringList{"aab", "aac", "aad", "b"};
    QTest::newRow("a by aa, descending") << "replace" << QStringList{"a", "aa"} << int(Qt::DescendingOrder)
                                         << QStringList{"ab", "ac", "ad", "b"}
                                         << QStringList{"aab", "aac", "aad", "b"};
    QTest::newRow("upper case, ascending") << "Upper Case" << QStringList() << int(Qt::AscendingOrder)
                                           << QStringList{"b", "C", "a", "D"} << QStringList{"B", "C", "A", "D"};
}

void TestBulkOperations::sortedColumnIsRewrittenOncePerRow()
{
    QFETCH(QString, operation);
    QFETCH(QStringList, args);
    QFETCH(int, order);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QList<Track> tracks;
    for (int i = 0; i < before.size(); ++i)
        tracks.append({QStringLiteral("%1.mp3").arg(i), before.at(i), QStringLiteral("Artist")});
    PopulatedTable t(tracks);
    QVERIFY(t.list());
    t.widget.table()->sortBy(column(t.widget, QStringLiteral("Title")), Qt::SortOrder(order));
    runOperation(t.widget, operation, args, {QStringLiteral("Title")});

    QCOMPARE(t.widget.table()->rowCount(), t.paths.size());
    for (int i = 0; i < t.paths.size(); ++i) {
        const QString &path = t.paths.at(i);
        QCOMPARE(cell(t.widget, rowOf(t.widget, path), QStringLiteral("Title")), after.at(i));
        QCOMPARE(t.widget.records().isChanged(path), after.at(i) != before.at(i));
    }
    t.widget.initiateSaveChanges();
    for (int i = 0; i < t.paths.size(); ++i)
        QCOMPARE(TagReaderAndWriter::readTitle(t.paths.at(i)), after.at(i));
}

void TestBulkOperations::renamesFilesFromTags_data()
{
    QTest::addColumn<QStringList>("files");    // "name|artist|title", listed in this order
    QTest::addColumn<QStringList>("unlisted"); // names already in the folder, not listed
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QString>("sep");
    QTest::addColumn<QString>("sortBy");       // descending, when given
    QTest::addColumn<QStringList>("names");    // each listed file's name afterwards
    QTest::addColumn<QStringList>("failed");   // names of the files reported, first first
    QTest::addColumn<QString>("notice");       // when no success or failure is told

    const QStringList at = {"Artist", "Title"};
    const QStringList none;
    const QString airVenus = QStringLiteral("a.mp3|Air|Venus");

    QTest::newRow("artist and title") << QStringList{airVenus} << none << at << "-" << ""
                                      << QStringList{"Air-Venus.mp3"} << none << "";
    QTest::newRow("one tag") << QStringList{airVenus} << none << QStringList{"Title"} << "-" << ""
                             << QStringList{"Venus.mp3"} << none << "";
    QTest::newRow("repeated tag") << QStringList{airVenus} << none << QStringList{"Artist", "Title", "Artist"} << "-"
                                  << "" << QStringList{"Air-Venus-Air.mp3"} << none << "";
    QTest::newRow("underscore, tags reversed") << QStringList{airVenus} << none << QStringList{"Title", "Artist"}
                                               << "_" << "" << QStringList{"Venus_Air.mp3"} << none << "";
    QTest::newRow("star") << QStringList{airVenus} << none << at << "*" << "" << QStringList{"Air*Venus.mp3"}
                          << none << "";
    QTest::newRow("unicode, spaces and inner dots")
        << QStringList{QString::fromUtf8("a.mp3|Café Tacvba|東京 Vol. 2")} << none << at << "+" << ""
        << QStringList{QString::fromUtf8("Café Tacvba+東京 Vol. 2.mp3")} << none << "";
    QTest::newRow("each row its own name")
        << QStringList{"a.mp3|Air|Venus", "b.mp3|Bo|Kiwi", "c.mp3|Cy|Fig"} << none << at << "-" << ""
        << QStringList{"Air-Venus.mp3", "Bo-Kiwi.mp3", "Cy-Fig.mp3"} << none << "";

    QTest::newRow("empty value keeps the name")
        << QStringList{"a.mp3|Air|", "b.mp3|Bo|Kiwi"} << none << at << "-" << ""
        << QStringList{"a.mp3", "Bo-Kiwi.mp3"} << none << "";
    QTest::newRow("single blank counts as missing")
        << QStringList{"a.mp3|Air| ", "b.mp3| |Kiwi"} << none << at << "-" << "" << QStringList{"a.mp3", "b.mp3"}
        << none << "";
    QTest::newRow("two blanks count as present") << QStringList{"a.mp3|Air|  "} << none << at << "-" << ""
                                                 << QStringList{"Air-  .mp3"} << none << "";
    QTest::newRow("absent frame shows a blank") << QStringList{airVenus} << none << QStringList{"Artist", "Composer"}
                                                << "-" << "" << QStringList{"a.mp3"} << none << "";
    QTest::newRow("tag without a column") << QStringList{airVenus} << none << QStringList{"Artist", "Nonsense"}
                                          << "-" << "" << QStringList{"a.mp3"} << none << "";
    QTest::newRow("slash") << QStringList{"a.mp3|AC/DC|Venus", "b.mp3|Bo|Kiwi"} << none << at << "-" << ""
                           << QStringList{"a.mp3", "Bo-Kiwi.mp3"} << none << "";
    QTest::newRow("backslash") << QStringList{"a.mp3|AC\\DC|Venus"} << none << at << "-" << ""
                               << QStringList{"a.mp3"} << none << "";
    QTest::newRow("dot") << QStringList{"a.mp3|Air|."} << none << at << "-" << "" << QStringList{"a.mp3"} << none << "";
    QTest::newRow("dot dot, one tag") << QStringList{"a.mp3|Air|.."} << none << QStringList{"Title"} << "-" << ""
                                      << QStringList{"a.mp3"} << none << "";
    QTest::newRow("capital extension") << QStringList{"Song.MP3|Air|Venus", "b.flac|Bo|Kiwi"} << none << at << "-"
                                       << "" << QStringList{"Air-Venus.MP3", "Bo-Kiwi.flac"} << none << "";
    QTest::newRow("already so named") << QStringList{"Air-Venus.mp3|Air|Venus"} << none << at << "-" << ""
                                      << QStringList{"Air-Venus.mp3"} << none
                                      << "Info: Every file already has the name its tags give.";

    QTest::newRow("two rows, one name")
        << QStringList{"a.mp3|Air|Venus", "b.mp3|Air|Venus"} << none << at << "-" << ""
        << QStringList{"Air-Venus.mp3", "b.mp3"} << QStringList{"b.mp3"} << "";
    QTest::newRow("name held by an unlisted file")
        << QStringList{airVenus, "b.mp3|Bo|Kiwi"} << QStringList{"Air-Venus.mp3"} << at << "-" << ""
        << QStringList{"a.mp3", "Bo-Kiwi.mp3"} << QStringList{"a.mp3"} << "";
    QTest::newRow("two failures, the first reported")
        << QStringList{"c.mp3|Air|Venus", "b.mp3|Air|Venus", "a.mp3|Air|Venus"} << none << at << "-" << ""
        << QStringList{"Air-Venus.mp3", "b.mp3", "a.mp3"} << QStringList{"b.mp3", "a.mp3"} << "";

    // Renames move rows of a table sorted by file name.
    QTest::newRow("sorted by file name")
        << QStringList{"a.mp3|Zed|One", "b.mp3|Amy|Two", "c.mp3|Mo|Three"} << none << at << "-" << "FileName"
        << QStringList{"Zed-One.mp3", "Amy-Two.mp3", "Mo-Three.mp3"} << none << "";
    QTest::newRow("sorted by file name, a clash")
        << QStringList{"a.mp3|Zed|One", "b.mp3|Zed|One", "c.mp3|Mo|Three"} << none << at << "-" << "FileName"
        << QStringList{"a.mp3", "Zed-One.mp3", "Mo-Three.mp3"} << QStringList{"a.mp3"} << "";
}

// Renaming is no edit: the file on disk already has its new name, so nothing
// is left to save.
void TestBulkOperations::renamesFilesFromTags()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, unlisted);
    QFETCH(QStringList, tags);
    QFETCH(QString, sep);
    QFETCH(QString, sortBy);
    QFETCH(QStringList, names);
    QFETCH(QStringList, failed);
    QFETCH(QString, notice);
    PopulatedTable t(files.size(), [&](const QString &dir, int i) {
        const QStringList parts = files.at(i).split(QLatin1Char('|'));
        return makeFile(dir, parts.at(0), {{"Artist", parts.at(1)}, {"Title", parts.at(2)}});
    });
    QVERIFY(t.made());
    QList<QByteArray> unlistedHashes;
    for (const QString &name : unlisted) {
        QVERIFY(!makeTrack(t.dir.path(), name, "Other", "Other").isEmpty());
        unlistedHashes << F::hash(t.filePath(name));
    }
    QVERIFY(t.list());
    for (int i = 0; i < files.size(); ++i)
        QCOMPARE(cell(t.widget, rowOf(t.widget, t.paths.at(i)), QStringLiteral("Title")), files.at(i).section('|', 2));
    if (!sortBy.isEmpty())
        t.widget.table()->sortBy(column(t.widget, sortBy), Qt::DescendingOrder);
    closeNotifications();
    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    runOperation(t.widget, QStringLiteral("rename"), {sep}, tags);

    const QString expected = !notice.isEmpty() ? notice
        : failed.isEmpty()                      ? QStringLiteral("Success: ") + kRenamed
        : QStringLiteral("Warning: %1 could not be renamed. First: %2 (the name is already taken)")
              .arg(failed.size() == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(failed.size()),
                   t.filePath(failed.first()));
    QCOMPARE(shownNotifications(), QStringList{expected});
    QVERIFY(changed.isEmpty());
    QVERIFY(!t.widget.records().hasChanges());

    QStringList expectedFiles = names + unlisted;
    expectedFiles.sort();
    QCOMPARE(filesIn(t.dir.path()), expectedFiles);
    QCOMPARE(t.widget.table()->rowCount(), t.paths.size());
    for (int i = 0; i < names.size(); ++i) {
        const QString path = t.filePath(names.at(i));
        QCOMPARE(F::hash(path), t.hashes.at(i));
        const int row = rowOf(t.widget, path);
        QVERIFY2(row >= 0, qPrintable(path));
        QCOMPARE(cell(t.widget, row, QStringLiteral("FileName")), names.at(i));
        QCOMPARE(cell(t.widget, row, QStringLiteral("Title")), files.at(i).section('|', 2));
    }
    for (int i = 0; i < unlisted.size(); ++i)
        QCOMPARE(F::hash(t.filePath(unlisted.at(i))), unlistedHashes.at(i));
}

void TestBulkOperations::renameKeepsUnsavedEdits_data()
{
    QTest::addColumn<QString>("sortBy");
    QTest::addColumn<int>("order");
    QTest::newRow("list order") << QString() << int(Qt::AscendingOrder);
    QTest::newRow("file name ascending") << QStringLiteral("FileName") << int(Qt::AscendingOrder);
    QTest::newRow("file name descending") << QStringLiteral("FileName") << int(Qt::DescendingOrder);
    QTest::newRow("title descending") << QStringLiteral("Title") << int(Qt::DescendingOrder);
}

// The rename takes the edited title, the edit follows the file to its new
// name, and the save writes it there.
void TestBulkOperations::renameKeepsUnsavedEdits()
{
    QFETCH(QString, sortBy);
    QFETCH(int, order);
    PopulatedTable t({{"a.mp3", "Venus", "Air"}, {"b.mp3", "Kiwi", "Bo"}, {"c.mp3", "", "Cy"}});
    QVERIFY(t.list());
    const QString &c = t.paths.at(2);
    const QByteArray hashB = t.hashes.at(1);
    if (!sortBy.isEmpty())
        t.widget.table()->sortBy(column(t.widget, sortBy), Qt::SortOrder(order));
    QVERIFY(t.editAll({"0:Title=Mars", "2:Artist=Cyd"}));
    QVERIFY(t.widget.hasUnsavedChanges());
    closeNotifications();
    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    QStringList tags = {QStringLiteral("Artist"), QStringLiteral("Title")};
    t.widget.getTagsAndSepToRename(tags, QStringLiteral("-"));

    QCOMPARE(shownNotifications(), QStringList{QStringLiteral("Success: ") + kRenamed});
    QVERIFY(changed.isEmpty());
    QVERIFY(t.widget.hasUnsavedChanges());
    const QString renamedA = t.filePath(QStringLiteral("Air-Mars.mp3"));
    const QString renamedB = t.filePath(QStringLiteral("Bo-Kiwi.mp3"));
    QCOMPARE(filesIn(t.dir.path()), (QStringList{"Air-Mars.mp3", "Bo-Kiwi.mp3", "c.mp3"}));
    QCOMPARE(t.widget.records().changedCount(), 2);
    QCOMPARE(t.widget.records().changedFields(renamedA), QSet<QString>{"Title"});
    QCOMPARE(t.widget.records().changedFields(c), QSet<QString>{"Artist"});
    QCOMPARE(cell(t.widget, rowOf(t.widget, renamedA), QStringLiteral("FileName")), QStringLiteral("Air-Mars.mp3"));
    QCOMPARE(cell(t.widget, rowOf(t.widget, renamedB), QStringLiteral("FileName")), QStringLiteral("Bo-Kiwi.mp3"));

    t.widget.initiateSaveChanges();
    QVERIFY(!t.widget.records().hasChanges());
    QCOMPARE(filesIn(t.dir.path()), (QStringList{"Air-Mars.mp3", "Bo-Kiwi.mp3", "c.mp3"}));
    QCOMPARE(TagReaderAndWriter::readTitle(renamedA), QStringLiteral("Mars"));
    QCOMPARE(TagReaderAndWriter::readArtist(renamedA), QStringLiteral("Air"));
    QCOMPARE(F::hash(renamedB), hashB);
    QCOMPARE(TagReaderAndWriter::readArtist(c), QStringLiteral("Cyd"));
}

void TestBulkOperations::fillsTagsFromFileNames_data()
{
    // Every file starts with artist "Old A", title "Old T", album "Old Al".
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("tags");
    QTest::addColumn<QString>("sep");
    QTest::addColumn<QString>("sortBy");     // descending, when given
    QTest::addColumn<QStringList>("values"); // each file's "artist|title|album" afterwards
    QTest::addColumn<QString>("notice");

    const QStringList at = {"Artist", "Title"};
    const QStringList ata = {"Artist", "Title", "Album"};
    const QString old = QStringLiteral("Old A|Old T|Old Al");
    const QString done = QStringLiteral("Success: ") + kFetched;

    QTest::newRow("artist and title") << QStringList{"Air-Venus.mp3"} << at << "-" << ""
                                      << QStringList{"Air|Venus|Old Al"} << done;
    QTest::newRow("blanks around the separator are dropped")
        << QStringList{"Air - Venus.mp3"} << at << "-" << "" << QStringList{"Air|Venus|Old Al"} << done;
    QTest::newRow("extra parts dropped") << QStringList{"A-B-C.mp3"} << at << "-" << "" << QStringList{"A|B|Old Al"}
                                         << done;
    QTest::newRow("empty middle part") << QStringList{"A--B.mp3"} << ata << "-" << "" << QStringList{"A||B"} << done;
    QTest::newRow("trailing separator") << QStringList{"A-.mp3"} << at << "-" << "" << QStringList{"A|Old T|Old Al"}
                                        << done;
    QTest::newRow("leading separator") << QStringList{"-B.mp3"} << at << "-" << "" << QStringList{"|B|Old Al"} << done;
    QTest::newRow("no separator") << QStringList{"Air.mp3"} << at << "-" << "" << QStringList{old} << done;
    QTest::newRow("too few separators") << QStringList{"A-B.mp3"} << ata << "-" << "" << QStringList{old} << done;
    QTest::newRow("one tag takes the whole name") << QStringList{"Air-Venus.mp3"} << QStringList{"Title"} << "-"
                                                  << "" << QStringList{"Old A|Air-Venus|Old Al"} << done;
    QTest::newRow("repeated tag, the later wins")
        << QStringList{"A-B-C.mp3"} << QStringList{"Artist", "Title", "Artist"} << "-" << ""
        << QStringList{"C|B|Old Al"} << done;
    QTest::newRow("capital extension") << QStringList{"Air-Venus.MP3"} << at << "-" << ""
                                       << QStringList{"Air|Venus|Old Al"} << done;
    QTest::newRow("another format") << QStringList{"Air-Venus.Flac"} << at << "-" << ""
                                    << QStringList{"Air|Venus|Old Al"} << done;
    QTest::newRow("underscore, other separators are text")
        << QStringList{"Air-Venus_Mars.mp3"} << at << "_" << "" << QStringList{"Air-Venus|Mars|Old Al"} << done;
    QTest::newRow("plus") << QStringList{"Air+Venus+Moon.mp3"} << ata << "+" << ""
                          << QStringList{"Air|Venus|Moon"} << done;
    QTest::newRow("unicode") << QStringList{QString::fromUtf8("Café-東京 Night.mp3")} << at << "-" << ""
                             << QStringList{QString::fromUtf8("Café|東京 Night|Old Al")} << done;
    QTest::newRow("values already there")
        << QStringList{"Old A-Old T.mp3"} << at << "-" << "" << QStringList{old}
        << "Info: The file names give no value the rows do not already hold.";
    QTest::newRow("each row from its own name")
        << QStringList{"Air-Venus.mp3", "Bo-Kiwi.mp3", "Solo.mp3"} << at << "-" << ""
        << QStringList{"Air|Venus|Old Al", "Bo|Kiwi|Old Al", old} << done;
    // A filled artist moves its row past rows not yet visited.
    QTest::newRow("sorted by artist")
        << QStringList{"A-1.mp3", "B-2.mp3", "C-3.mp3", "Z-4.mp3"} << at << "-" << "Artist"
        << QStringList{"A|1|Old Al", "B|2|Old Al", "C|3|Old Al", "Z|4|Old Al"} << done;
}

// Filled cells are edits like typed ones: tracked, written by the save.
void TestBulkOperations::fillsTagsFromFileNames()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, tags);
    QFETCH(QString, sep);
    QFETCH(QString, sortBy);
    QFETCH(QStringList, values);
    QFETCH(QString, notice);
    PopulatedTable t(names.size(), [&](const QString &dir, int i) {
        return makeFile(dir, names.at(i), {{"Artist", "Old A"}, {"Title", "Old T"}, {"Album", "Old Al"}});
    });
    QVERIFY(t.list());
    if (!sortBy.isEmpty())
        t.widget.table()->sortBy(column(t.widget, sortBy), Qt::DescendingOrder);
    QList<QStringList> old;
    QList<QStringList> expected;
    for (const QString &value : values) {
        old << QStringList{"Old A", "Old T", "Old Al"};
        expected << value.split(QLatin1Char('|'));
    }
    checkPassIsEdits(t, {"Artist", "Title", "Album"}, old, expected, notice,
                     [&] { runOperation(t.widget, QStringLiteral("fetch"), {sep}, tags); });
    QCOMPARE(filesIn(t.dir.path()), [&] {
        QStringList sorted = names;
        sorted.sort();
        return sorted;
    }());
}

SONVEL_TEST_MAIN(TestBulkOperations)
#include "tst_bulkoperations.moc"
