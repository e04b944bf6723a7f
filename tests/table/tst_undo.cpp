#include "common/testmain.h"
#include "table/tablefixture.h"
#include "table/tablemenu.h"
#include "table/tableundo.h"
#include "widgets/previewdialog.h"

#include <QAction>
#include <QMenu>

using namespace TableFixture;

namespace {

const QString kCover = QStringLiteral("CoverArt");

void select(PopulatedTable &t, const QStringList &cells)
{
    QItemSelectionModel *selection = t.widget.table()->selectionModel();
    selection->clearSelection();
    for (const QString &token : cells) {
        const int row = t.row(token.section(QLatin1Char(':'), 0, 0).toInt());
        const QString key = token.section(QLatin1Char(':'), 1);
        QAbstractItemModel *model = t.widget.table()->model();
        const QItemSelection range(model->index(row, key.isEmpty() ? 0 : column(t.widget, key)),
                                   model->index(row, key.isEmpty() ? model->columnCount() - 1
                                                                   : column(t.widget, key)));
        selection->select(range, QItemSelectionModel::Select);
    }
}

// Every row in table order: its cells, the cover it shows, and the unsaved
// state.
QStringList shown(PopulatedTable &t)
{
    QStringList rows;
    for (int r = 0; r < t.widget.table()->rowCount(); ++r) {
        QStringList cells;
        for (const char *key : {"FileName", "Title", "Artist", "Album", "Location"})
            cells << cell(t.widget, r, key);
        const QSize size = coverSize(t.widget, r);
        rows << cells.join(QLatin1Char('|')) + QStringLiteral(" %1x%2").arg(size.width()).arg(size.height());
    }
    return rows << t.recorded() << QString::number(t.widget.hasUnsavedChanges());
}

void drag(PopulatedTable &t, int from, const QList<int> &to, const QString &key)
{
    MediaFileTableWidget *table = t.widget.table();
    emit table->cellPressed(t.row(from), column(t.widget, key));
    for (int file : to)
        emit table->cellEntered(t.row(file), column(t.widget, key));
    QTest::mouseRelease(table->viewport(), Qt::LeftButton);
}

void copyAndPaste(PopulatedTable &t, const QString &from, const QString &to)
{
    select(t, {from});
    t.widget.copyActionFired();
    select(t, {to});
    t.widget.pasteActionFired();
}

void doStep(PopulatedTable &t, const QString &kind)
{
    QStringList columns{QStringLiteral("Title")};
    if (kind == "edit")
        t.edit(0, QStringLiteral("Title"), QStringLiteral("New"));
    else if (kind == "paste")
        copyAndPaste(t, QStringLiteral("0:Artist"), QStringLiteral("1:Artist"));
    else if (kind == "paste cover")
        copyAndPaste(t, QStringLiteral("0:CoverArt"), QStringLiteral("1:CoverArt"));
    else if (kind == "drag")
        drag(t, 0, {1, 2}, QStringLiteral("Artist"));
    else if (kind == "drag cover")
        drag(t, 2, {1, 0}, kCover);
    else if (kind == "clear") {
        select(t, {QStringLiteral("0:Title"), QStringLiteral("0:CoverArt"), QStringLiteral("2:Album")});
        QTest::keyClick(t.widget.table(), Qt::Key_Delete);
    } else if (kind == "remove rows") {
        select(t, {QStringLiteral("0:"), QStringLiteral("2:")});
        QTest::keyClick(t.widget.table(), Qt::Key_Delete);
    } else if (kind == "replace artwork")
        t.widget.replaceCover(t.row(1), F::image(40, 30, Qt::blue));
    else if (kind == "find and replace")
        t.widget.findAndReplace(columns, QStringLiteral("a"), QStringLiteral("o"));
    else if (kind == "upper case")
        t.widget.formatText(QStringLiteral("Upper Case"), columns);
    else if (kind == "tags from file names")
        t.widget.getTagListAndSep_To_FetchFromFile(columns, QStringLiteral("-"));
    else
        QFAIL("unknown step");
}

} // namespace

class TestUndo : public QObject
{
    Q_OBJECT

private slots:
    // Renames and tags from names go ahead without their preview.
    void initTestCase() { PreviewDialog::ask = [](const RenamePreview::Preview &, QWidget *) { return true; }; }
    void stepUndoesAndRedoes_data();
    void stepUndoesAndRedoes();
    void renameUndoneWhereTheNameIsFree();
    void historyStartsAfresh_data();
    void historyStartsAfresh();
    void historyKeepsTheLatestSteps();
    void menuEntriesFollowTheState_data();
    void menuEntriesFollowTheState();
};

void TestUndo::stepUndoesAndRedoes_data()
{
    // Edits made before the step ("file:Key=text"), which its undo keeps.
    QTest::addColumn<QStringList>("earlier");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");

    QTest::newRow("typed edit") << QStringList() << "edit" << "Edit Title";
    QTest::newRow("edit after another") << QStringList{"1:Album=Kept"} << "edit" << "Edit Title";
    QTest::newRow("paste") << QStringList() << "paste" << "Paste";
    QTest::newRow("paste cover") << QStringList() << "paste cover" << "Paste Cover";
    QTest::newRow("drag-copy") << QStringList{"2:Artist=Dup"} << "drag" << "Drag-Copy Artist";
    QTest::newRow("drag-copy of a cover") << QStringList() << "drag cover" << "Drag-Copy CoverArt";
    QTest::newRow("delete on cells") << QStringList() << "clear" << "Clear Cells";
    QTest::newRow("delete on rows") << QStringList{"2:Album=Kept", "1:Title=Too"} << "remove rows"
                                    << "Remove 2 Rows";
    QTest::newRow("replace artwork") << QStringList() << "replace artwork" << "Replace Artwork";
    QTest::newRow("find and replace") << QStringList{"0:Title=Banana"} << "find and replace"
                                      << "Find and Replace";
    QTest::newRow("case format") << QStringList() << "upper case" << "Upper Case";
    QTest::newRow("tags from file names") << QStringList() << "tags from file names" << "Tags from File Names";
}

void TestUndo::stepUndoesAndRedoes()
{
    QFETCH(QStringList, earlier);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    PopulatedTable t(threeWithCovers());
    QVERIFY(t.listAndShow());
    QVERIFY(t.editAll(earlier));
    const QStringList before = shown(t);

    doStep(t, kind);
    QVERIFY(t.coversShown());
    const QStringList after = shown(t);
    QVERIFY(after != before);
    QCOMPARE(t.widget.history()->undoAction()->text(), "Undo " + text);
    QCOMPARE(t.widget.history()->stack().count(), earlier.size() + 1);

    // The window's shortcuts, wherever the focus is outside a text field.
    QTest::keyClick(t.widget.table(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(t.coversShown());
    QCOMPARE(shown(t), before);
    QCOMPARE(t.widget.history()->redoAction()->text(), "Redo " + text);

    QTest::keyClick(t.widget.table(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(t.coversShown());
    QCOMPARE(shown(t), after);
    QTest::keyClick(t.widget.table(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(t.widget.table(), Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(t.coversShown());
    QCOMPARE(shown(t), after);

    t.widget.initiateSaveChanges();
    QVERIFY(!t.widget.history()->undoAction()->isEnabled());
    QVERIFY(rowsShowTheirFiles(t.widget));
    QVERIFY(t.coversShown());
    // Covers are stored enlarged: the same picture is the same colour.
    for (int r = 0; r < t.widget.table()->rowCount(); ++r) {
        const QImage stored = TagReaderAndWriter::readCoverFitted(location(t.widget, r));
        const QImage onScreen = coverLabel(t.widget, r)->pixmap(Qt::ReturnByValue).toImage();
        QCOMPARE(stored.isNull(), onScreen.isNull());
        if (!stored.isNull())
            QVERIFY(near(stored.pixelColor(stored.rect().center()), onScreen.pixelColor(onScreen.rect().center())));
    }
}

void TestUndo::renameUndoneWhereTheNameIsFree()
{
    PopulatedTable t;
    QVERIFY(t.list());
    QStringList tags{QStringLiteral("Title")};
    t.widget.getTagsAndSepToRename(tags, QStringLiteral("-"));
    const QStringList renamed{"Alpha.mp3", "Bravo.mp3", "Charlie.mp3"};
    QCOMPARE(filesIn(t.dir.path()), renamed);
    QVERIFY(QFile::copy(t.filePath("Alpha.mp3"), t.paths.at(1)));

    NotificationWatch notes;
    t.widget.history()->undo();
    QCOMPARE(filesIn(t.dir.path()), (QStringList{"Bravo.mp3", "a.mp3", "b.mp3", "c.mp3"}));
    QVERIFY(rowOf(t.widget, t.filePath("Bravo.mp3")) >= 0);
    QCOMPARE(rowOf(t.widget, t.paths.at(1)), -1);
    QCOMPARE(notes.texts(), QStringList{QStringLiteral("1 file could not be renamed. First: %1 (the name is already taken)")
                                            .arg(t.filePath("Bravo.mp3"))});
    QVERIFY(rowsShowTheirFiles(t.widget));

    t.widget.history()->redo();
    QCOMPARE(filesIn(t.dir.path()), (QStringList{"Alpha.mp3", "Bravo.mp3", "Charlie.mp3", "b.mp3"}));
    QVERIFY(rowsShowTheirFiles(t.widget));
    QVERIFY(!t.widget.hasUnsavedChanges());
}

void TestUndo::historyStartsAfresh_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("save") << "save";
    QTest::newRow("undo all changes") << "undo all";
    QTest::newRow("clear file list") << "clear";
}

void TestUndo::historyStartsAfresh()
{
    QFETCH(QString, command);
    PopulatedTable t;
    QVERIFY(t.list());
    t.edit(0, QStringLiteral("Title"), QStringLiteral("New"));
    t.edit(1, QStringLiteral("Artist"), QStringLiteral("New"));
    t.widget.history()->undo();
    QVERIFY(t.widget.history()->undoAction()->isEnabled() && t.widget.history()->redoAction()->isEnabled());
    if (command == "save")
        t.widget.initiateSaveChanges();
    else if (command == "undo all")
        t.widget.UndoChangesInTable();
    else
        t.widget.clearList();
    QCOMPARE(t.widget.history()->stack().count(), 0);
    QVERIFY(!t.widget.history()->undoAction()->isEnabled() && !t.widget.history()->redoAction()->isEnabled());
}

void TestUndo::historyKeepsTheLatestSteps()
{
    PopulatedTable t;
    QVERIFY(t.list());
    const int edits = TableUndo::kLimit + 5;
    for (int i = 1; i <= edits; ++i)
        t.edit(0, QStringLiteral("Title"), QString::number(i));
    QCOMPARE(t.widget.history()->stack().count(), TableUndo::kLimit);
    for (int i = 0; i < edits; ++i)
        t.widget.history()->undo();
    QCOMPARE(t.cell(0, QStringLiteral("Title")), QStringLiteral("5"));
}

void TestUndo::menuEntriesFollowTheState_data()
{
    // What happens first: edits ("edit", "undo", "copy") and then the
    // selection; the entries enabled then.
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("selection");
    QTest::addColumn<QStringList>("enabled");

    QTest::newRow("nothing") << QStringList() << QStringList() << QStringList();
    QTest::newRow("one cell after an edit")
        << QStringList{"edit"} << QStringList{"1:Title"} << QStringList{"Undo Edit Title", "Copy", "Clear"};
    QTest::newRow("undone") << QStringList{"edit", "undo"} << QStringList{"1:Title"}
                            << QStringList{"Redo Edit Title", "Copy", "Clear"};
    QTest::newRow("copied text") << QStringList{"copy"} << QStringList{"1:Artist"}
                                 << QStringList{"Copy", "Paste", "Clear"};
    QTest::newRow("copied text, location-free cells only")
        << QStringList{"copy"} << QStringList{"1:FileName"} << QStringList{"Copy", "Paste"};
    QTest::newRow("nothing copied for a cover") << QStringList{"copy"} << QStringList{"1:CoverArt"}
                                                << QStringList{"Copy", "Clear"};
    QTest::newRow("several cells") << QStringList() << QStringList{"0:Title", "2:Artist"}
                                   << QStringList{"Copy", "Clear"};
    QTest::newRow("whole rows") << QStringList() << QStringList{"0:", "1:"} << QStringList{"Copy", "Remove from List"};
}

void TestUndo::menuEntriesFollowTheState()
{
    QFETCH(QStringList, actions);
    QFETCH(QStringList, selection);
    QFETCH(QStringList, enabled);
    PopulatedTable t;
    QVERIFY(t.list());
    for (const QString &action : actions) {
        if (action == "edit")
            t.edit(0, QStringLiteral("Title"), QStringLiteral("New"));
        else if (action == "undo")
            t.widget.history()->undo();
        else if (action == "copy") {
            select(t, {QStringLiteral("0:Title")});
            t.widget.copyActionFired();
        }
    }
    select(t, selection);

    const std::unique_ptr<QMenu> menu(TableMenu::create(t.widget.table(), t.widget.history()));
    QStringList on;
    QStringList entries;
    for (const QAction *action : menu->actions()) {
        if (action->isSeparator())
            continue;
        entries << action->text().section(QLatin1Char(' '), 0, 0);
        if (action->isEnabled())
            on << action->text();
    }
    QCOMPARE(entries, (QStringList{"Undo", "Redo", "Copy", "Paste", "Clear", "Remove"}));
    QCOMPARE(on, enabled);
}

SONVEL_TEST_MAIN(TestUndo)
#include "tst_undo.moc"
