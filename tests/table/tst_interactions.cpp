#include "common/testmain.h"
#include "table/coverartdisplaybox.h"
#include "table/tablefixture.h"

#include <QDir>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>

using namespace TableFixture;

// Steps and expectations name cells as "file:Key", the file by its place in
// the list the test made, so they hold wherever sorting puts its row.
namespace {

const QString kCover = QStringLiteral("CoverArt");

int fileRow(const PopulatedTable &t, const QString &token)
{
    return rowOf(t.widget, t.paths.value(token.section(QLatin1Char(':'), 0, 0).toInt()));
}

QModelIndex indexOf(const PopulatedTable &t, const QString &token)
{
    return t.widget.table()->model()->index(fileRow(t, token), column(t.widget, token.section(QLatin1Char(':'), 1)));
}

QModelIndexList indexesOf(const PopulatedTable &t, const QStringList &tokens)
{
    QModelIndexList list;
    for (const QString &token : tokens)
        list << indexOf(t, token);
    return list;
}

void selectOnly(QTableWidget *table, const QModelIndexList &indexes)
{
    QItemSelectionModel *selection = table->selectionModel();
    selection->setCurrentIndex(indexes.first(), QItemSelectionModel::ClearAndSelect);
    for (int i = 1; i < indexes.size(); ++i)
        selection->select(indexes.at(i), QItemSelectionModel::Select);
}

void selectRows(QTableWidget *table, const QList<int> &rows)
{
    table->selectionModel()->clearSelection();
    for (int row : rows) {
        const QItemSelection whole(table->model()->index(row, 0),
                                   table->model()->index(row, table->columnCount() - 1));
        table->selectionModel()->select(whole, QItemSelectionModel::Select);
    }
}

// "file:Key=text" against the table.
QStringList cellsNow(const PopulatedTable &t, const QStringList &expected)
{
    QStringList now;
    for (const QString &entry : expected) {
        const QString token = entry.section(QLatin1Char('='), 0, 0);
        now << QStringLiteral("%1=%2").arg(token, cell(t.widget, fileRow(t, token), token.section(QLatin1Char(':'), 1)));
    }
    return now;
}

// Each file's cover cell as "WxH" or "null".
QStringList coversNow(const PopulatedTable &t)
{
    QStringList now;
    for (int i = 0; i < t.paths.size(); ++i) {
        const QSize size = coverSize(t.widget, t.row(i));
        now << (size.isValid() ? QStringLiteral("%1x%2").arg(size.width()).arg(size.height())
                               : QStringLiteral("null"));
    }
    return now;
}

QPoint centerOf(const QTableWidget *table, const QModelIndex &index)
{
    return table->visualRect(index).center();
}

// Cells are entered only while a button is held; QTest's moves carry none.
void dragTo(QTableWidget *table, const QPoint &pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, table->viewport()->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(table->viewport(), &move);
}

QPoint belowLastRow(const QTableWidget *table, int column)
{
    const int last = table->rowCount() - 1;
    return QPoint(table->columnViewportPosition(column) + 10,
                  table->rowViewportPosition(last) + table->rowHeight(last) + 20);
}

bool isYellow(const QTableWidgetItem *item)
{
    return item->data(Qt::BackgroundRole).value<QBrush>().color() == QColor(Qt::yellow);
}

bool isPlain(const QTableWidgetItem *item)
{
    return item->data(Qt::BackgroundRole).value<QBrush>().color() == QColor(252, 252, 252);
}

QString borderOf(const AddMediaFileWidget &widget, int row)
{
    const QLabel *label = coverLabel(widget, row);
    if (!label)
        return QStringLiteral("<no label>");
    if (label->styleSheet() == changedCoverStyle())
        return QStringLiteral("blue");
    if (label->styleSheet() == QLatin1String("border: 0px"))
        return QStringLiteral("0px");
    return label->styleSheet().isEmpty() ? QStringLiteral("none") : label->styleSheet();
}

// An edit shows as an editor widget over the cell; the only other widgets in
// the cells are the cover labels.
QList<QWidget *> openEditors(const QTableWidget *table)
{
    QList<QWidget *> editors;
    for (QWidget *child : table->viewport()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!qobject_cast<QLabel *>(child) && child->isVisible())
            editors << child;
    }
    return editors;
}

} // namespace

class TestInteractions : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void copyAndPaste_data();
    void copyAndPaste();
    void dragCopiesDownTheColumn_data();
    void dragCopiesDownTheColumn();
    void dragIntoTheSortedColumnKeepsRowsInPlace();
    void dragCopiesCoverWithoutBorder_data();
    void dragCopiesCoverWithoutBorder();
    void forgottenPressCopiesNothing_data();
    void forgottenPressCopiesNothing();
    void deleteRemovesWholeRows_data();
    void deleteRemovesWholeRows();
    void deleteEmptiesSelectedCells_data();
    void deleteEmptiesSelectedCells();
    void arrowKeysMoveTheCurrentCell_data();
    void arrowKeysMoveTheCurrentCell();
    void otherKeysStartNoEdit_data();
    void otherKeysStartNoEdit();
    void searchHighlightsMatches_data();
    void searchHighlightsMatches();
    void tableViews_data();
    void tableViews();
    void coverBordersFollowSelection_data();
    void coverBordersFollowSelection();
    void doubleClickOpensCoverBox_data();
    void doubleClickOpensCoverBox();
};

void TestInteractions::cleanup()
{
    closeNotifications();
}

void TestInteractions::copyAndPaste_data()
{
    // Steps: "copy cells", "paste cells" (one or more cells, through Ctrl+C
    // and Ctrl+V) and "edit file:Key=text".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("covers");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<bool>("reported"); // someChangesHappen(true) from the copy and paste steps

    const QStringList covers = {"300x300", "null", "120x80"};

    QTest::newRow("text into another row")
        << QStringList{"copy 0:Title", "paste 1:Title"} << QStringList{"1:Title=Alpha", "0:Title=Alpha"} << covers
        << QStringList{"1:Title"} << true;
    QTest::newRow("text into another column")
        << QStringList{"copy 0:Artist", "paste 2:Album"} << QStringList{"2:Album=Ana", "2:Artist=Cleo"} << covers
        << QStringList{"2:Album"} << true;
    QTest::newRow("into the file name")
        << QStringList{"copy 0:Title", "paste 1:FileName"} << QStringList{"1:FileName=Alpha"} << covers
        << QStringList{"1:FileName"} << true;
    QTest::newRow("from the file name")
        << QStringList{"copy 2:FileName", "paste 0:Comment"} << QStringList{"0:Comment=c.mp3"} << covers
        << QStringList{"0:Comment"} << true;
    QTest::newRow("never into the location")
        << QStringList{"copy 0:Title", "paste 1:Location"} << QStringList{"1:Title=Bravo"} << covers
        << QStringList() << false;
    QTest::newRow("empty text changes nothing")
        << QStringList{"edit 0:Artist=", "copy 0:Artist", "paste 1:Title"} << QStringList{"1:Title=Bravo"}
        << covers << QStringList{"0:Artist"} << false;
    QTest::newRow("empty text replaces the copied text")
        << QStringList{"copy 2:Title", "edit 0:Artist=", "copy 0:Artist", "paste 1:Title"}
        << QStringList{"1:Title=Bravo"} << covers << QStringList{"0:Artist"} << false;
    QTest::newRow("two copied cells paste row by row")
        << QStringList{"copy 0:Title", "copy 1:Artist 2:Artist", "paste 1:Title"}
        << QStringList{"1:Title=Bea", "2:Title=Cleo"} << covers << QStringList{"1:Title", "2:Title"} << true;
    QTest::newRow("one value pastes into every selected cell")
        << QStringList{"copy 0:Title", "paste 1:Title 2:Artist"} << QStringList{"1:Title=Alpha", "2:Artist=Alpha"}
        << covers << QStringList{"1:Title", "2:Artist"} << true;
    QTest::newRow("cover into a row without one")
        << QStringList{"copy 0:CoverArt", "paste 1:CoverArt"} << QStringList()
        << QStringList{"300x300", "300x300", "120x80"} << QStringList{"1:+cover"} << true;
    QTest::newRow("cover over another cover")
        << QStringList{"copy 2:CoverArt", "paste 0:CoverArt"} << QStringList()
        << QStringList{"120x80", "null", "120x80"} << QStringList{"0:+cover"} << true;
    QTest::newRow("empty cover copies no picture")
        << QStringList{"copy 0:CoverArt", "copy 1:CoverArt", "paste 2:CoverArt"} << QStringList() << covers
        << QStringList() << false;
    QTest::newRow("copied text is no picture")
        << QStringList{"copy 0:Title", "paste 1:CoverArt"} << QStringList() << covers << QStringList() << false;
    QTest::newRow("copied picture is no text")
        << QStringList{"copy 0:CoverArt", "paste 1:Title"} << QStringList{"1:Title=Bravo"} << covers
        << QStringList() << false;
    QTest::newRow("text and picture kept side by side")
        << QStringList{"copy 0:CoverArt", "copy 2:Artist", "paste 1:CoverArt", "paste 1:Artist"}
        << QStringList{"1:Artist=Cleo"} << QStringList{"300x300", "300x300", "120x80"}
        << QStringList{"1:Artist+cover"} << true;
}

void TestInteractions::copyAndPaste()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, covers);
    QFETCH(QStringList, changes);
    QFETCH(bool, reported);
    PopulatedTable t(threeWithCovers());
    QVERIFY(t.listAndShow());
    QTableWidget *table = t.widget.table();

    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    for (const QString &step : steps) {
        const QString verb = step.section(QLatin1Char(' '), 0, 0);
        const QStringList tokens = step.section(QLatin1Char(' '), 1).split(QLatin1Char(' '));
        if (verb == QLatin1String("edit")) {
            const QString token = tokens.first().section(QLatin1Char('='), 0, 0);
            QVERIFY(edit(t.widget, fileRow(t, token), token.section(QLatin1Char(':'), 1),
                         tokens.first().section(QLatin1Char('='), 1)));
            changed.clear();
            continue;
        }
        const QModelIndexList indexes = indexesOf(t, tokens);
        for (const QModelIndex &index : indexes)
            QVERIFY2(index.isValid(), qPrintable(step));
        selectOnly(table, indexes);
        QTest::keyClick(table, verb == QLatin1String("copy") ? Qt::Key_C : Qt::Key_V, Qt::ControlModifier);
    }

    QCOMPARE(cellsNow(t, cells), cells);
    QCOMPARE(coversNow(t), covers);
    QCOMPARE(t.recorded(), changes);
    QCOMPARE(boolValues(changed).contains(true), reported);
    QVERIFY(!boolValues(changed).contains(false));
    for (const QString &path : t.paths)
        QCOMPARE(location(t.widget, rowOf(t.widget, path)), path);
}

void TestInteractions::dragCopiesDownTheColumn_data()
{
    // Steps with the real mouse on the table: "press file:Key", "press
    // below" (empty space under the last row), "move file:Key" with the
    // button held, "release".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("changes");

    QTest::newRow("down the column")
        << QStringList{"press 0:Title", "move 1:Title", "move 2:Title", "release"}
        << QStringList{"0:Title=Alpha", "1:Title=Alpha", "2:Title=Alpha"} << QStringList{"1:Title", "2:Title"};
    QTest::newRow("up the column")
        << QStringList{"press 2:Artist", "move 1:Artist", "move 0:Artist", "release"}
        << QStringList{"0:Artist=Cleo", "1:Artist=Cleo", "2:Artist=Cleo"} << QStringList{"0:Artist", "1:Artist"};
    QTest::newRow("a row skipped on the way")
        << QStringList{"press 0:Title", "move 2:Title", "release"}
        << QStringList{"1:Title=Bravo", "2:Title=Alpha"} << QStringList{"2:Title"};
    QTest::newRow("sideways in the pressed row")
        << QStringList{"press 0:Title", "move 0:Artist", "move 0:FileName", "release"}
        << QStringList{"0:Artist=Ana", "0:FileName=a.mp3"} << QStringList();
    QTest::newRow("into another column of another row")
        << QStringList{"press 0:Title", "move 1:Artist", "release"} << QStringList{"1:Artist=Bea"}
        << QStringList();
    QTest::newRow("back onto the pressed cell")
        << QStringList{"press 1:Title", "move 2:Year", "move 1:Title", "release"}
        << QStringList{"1:Title=Bravo", "2:Year=0"} << QStringList();
    QTest::newRow("file names are never copied")
        << QStringList{"press 0:FileName", "move 1:FileName", "move 2:FileName", "release"}
        << QStringList{"1:FileName=b.mp3", "2:FileName=c.mp3"} << QStringList();
    QTest::newRow("press below the last row")
        << QStringList{"press below", "move 1:Title", "move 0:Title", "release"}
        << QStringList{"0:Title=Alpha", "1:Title=Bravo"} << QStringList();
    QTest::newRow("press below forgets an earlier press")
        << QStringList{"press 0:Title", "release", "press below", "move 2:Title", "move 1:Title", "release"}
        << QStringList{"1:Title=Bravo", "2:Title=Charlie"} << QStringList();
    QTest::newRow("second drag copies its own cell")
        << QStringList{"press 0:Artist", "move 1:Artist", "release", "press 2:Artist", "move 1:Artist", "release"}
        << QStringList{"1:Artist=Cleo"} << QStringList{"1:Artist"};
}

void TestInteractions::dragCopiesDownTheColumn()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, changes);
    PopulatedTable t(threeWithCovers());
    QVERIFY(t.listAndShow());
    QTableWidget *table = t.widget.table();
    QWidget *viewport = table->viewport();

    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    QPoint last;
    for (const QString &step : steps) {
        const QString verb = step.section(QLatin1Char(' '), 0, 0);
        const QString target = step.section(QLatin1Char(' '), 1);
        if (target == QLatin1String("below")) {
            last = belowLastRow(table, column(t.widget, QStringLiteral("Title")));
            QVERIFY(!table->indexAt(last).isValid());
            QVERIFY(viewport->rect().contains(last));
        } else if (!target.isEmpty()) {
            const QModelIndex index = indexOf(t, target);
            QVERIFY2(index.isValid(), qPrintable(step));
            last = centerOf(table, index);
            QCOMPARE(table->indexAt(last), index);
        }
        if (verb == QLatin1String("press")) {
            QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, last);
            // A hand never holds still: the drag starts inside the pressed cell.
            dragTo(table, last + QPoint(1, 1));
        }
        else if (verb == QLatin1String("move"))
            dragTo(table, last);
        else
            QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, last);
    }

    QCOMPARE(cellsNow(t, cells), cells);
    QCOMPARE(t.recorded(), changes);
    QCOMPARE(!boolValues(changed).isEmpty(), !changes.isEmpty());
    QVERIFY(!boolValues(changed).contains(false));
    QCOMPARE(coversNow(t), (QStringList{"300x300", "null", "120x80"}));
    QVERIFY(t.noneWritten());
}

// Title descending lists Charlie, Bravo, Alpha. Copying Charlie two rows
// down would lift Alpha's row to the middle if the table sorted mid-drag, and
// the next cell entered would then belong to another file.
void TestInteractions::dragIntoTheSortedColumnKeepsRowsInPlace()
{
    PopulatedTable t(threeWithCovers());
    QVERIFY(t.listAndShow());
    MediaFileTableWidget *table = t.widget.table();
    const int title = column(t.widget, QStringLiteral("Title"));
    table->sortBy(title, Qt::DescendingOrder);
    QCOMPARE(columnTexts(t.widget, QStringLiteral("Title")), (QStringList{"Charlie", "Bravo", "Alpha"}));
    const QStringList order = columnTexts(t.widget, QStringLiteral("Location"));

    const QPoint start = centerOf(table, table->model()->index(0, title));
    QTest::mousePress(table->viewport(), Qt::LeftButton, Qt::NoModifier, start);
    dragTo(table, start + QPoint(1, 1));
    dragTo(table, centerOf(table, table->model()->index(2, title)));
    QCOMPARE(columnTexts(t.widget, QStringLiteral("Location")), order);
    QCOMPARE(columnTexts(t.widget, QStringLiteral("Title")), (QStringList{"Charlie", "Bravo", "Charlie"}));
    dragTo(table, centerOf(table, table->model()->index(1, title)));
    QCOMPARE(columnTexts(t.widget, QStringLiteral("Location")), order);
    const QPoint end = centerOf(table, table->model()->index(1, title));
    QTest::mouseRelease(table->viewport(), Qt::LeftButton, Qt::NoModifier, end);

    for (const QString &path : t.paths)
        QCOMPARE(cell(t.widget, rowOf(t.widget, path), QStringLiteral("Title")), QStringLiteral("Charlie"));
    QCOMPARE(t.recorded(), (QStringList{"0:Title", "1:Title"}));
    // The rows stay where they are after the button is up, the sort shown.
    QCOMPARE(columnTexts(t.widget, QStringLiteral("Location")), order);
    QCOMPARE(table->horizontalHeader()->sortIndicatorSection(), title);
    QCOMPARE(table->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    QVERIFY(t.widget.hasUnsavedChanges());
}

void TestInteractions::dragCopiesCoverWithoutBorder_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("covers");

    QTest::newRow("into a row without one") << 0 << 1 << QStringList{"300x300", "300x300", "120x80"};
    QTest::newRow("over another cover") << 2 << 0 << QStringList{"120x80", "null", "120x80"};
}

// Through the slots the table's press and enter signals reach, with no
// selection change that would restyle the cell.
void TestInteractions::dragCopiesCoverWithoutBorder()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, covers);
    PopulatedTable t(threeWithCovers());
    QVERIFY(t.list());
    const int cover = column(t.widget, kCover);
    const QLabel *before = coverLabel(t.widget, t.row(to));

    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    emit t.widget.table()->cellPressed(t.row(from), cover);
    emit t.widget.table()->cellEntered(t.row(to), cover);

    QCOMPARE(coversNow(t), covers);
    const QLabel *after = coverLabel(t.widget, t.row(to));
    QVERIFY(after != before);
    QCOMPARE(after->styleSheet(), QString());
    QCOMPARE(t.recorded(), QStringList{QStringLiteral("%1:+cover").arg(to)});
    QCOMPARE(boolValues(changed), QList<bool>{true});
}

void TestInteractions::forgottenPressCopiesNothing_data()
{
    // What happens between the press on Bravo's title and the cells entered.
    QTest::addColumn<QString>("between");
    QTest::newRow("list cleared and filled again") << QStringLiteral("clear");
    QTest::newRow("undo") << QStringLiteral("undo");
    QTest::newRow("pressed row removed") << QStringLiteral("remove 1");
    QTest::newRow("row above removed") << QStringLiteral("remove 0");
}

// Each of these leaves the remembered row pointing at another file, or at
// none; a drag must not pick up whatever sits there now.
void TestInteractions::forgottenPressCopiesNothing()
{
    QFETCH(QString, between);
    PopulatedTable t(threeWithCovers());
    QVERIFY(t.listAndShow());
    QTableWidget *table = t.widget.table();
    const int title = column(t.widget, QStringLiteral("Title"));
    const QPoint pressed = centerOf(table, table->model()->index(t.row(1), title));
    QTest::mousePress(table->viewport(), Qt::LeftButton, Qt::NoModifier, pressed);
    QTest::mouseRelease(table->viewport(), Qt::LeftButton, Qt::NoModifier, pressed);

    if (between == QLatin1String("clear")) {
        t.widget.clearList();
        t.widget.getMediaList(t.paths);
    } else if (between == QLatin1String("undo")) {
        t.widget.UndoChangesInTable();
    } else {
        selectRows(table, {rowOf(t.widget, t.paths.at(between.section(QLatin1Char(' '), 1).toInt()))});
        QTest::keyClick(table, Qt::Key_Delete);
    }

    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    for (int r = 0; r < table->rowCount(); ++r)
        emit table->cellEntered(r, title);

    for (int r = 0; r < table->rowCount(); ++r)
        QCOMPARE(cell(t.widget, r, QStringLiteral("Title")), TagReaderAndWriter::readTitle(location(t.widget, r)));
    QVERIFY(!t.widget.records().hasChanges());
    QVERIFY(changed.isEmpty());
}

void TestInteractions::deleteRemovesWholeRows_data()
{
    QTest::addColumn<QList<int>>("rows");    // files whose whole row is selected
    QTest::addColumn<QStringList>("extra");  // single cells selected as well
    QTest::addColumn<QStringList>("edits");  // made before, "file:Key=text"
    QTest::addColumn<QList<int>>("remaining");
    QTest::addColumn<QStringList>("changes");

    QTest::newRow("one row") << QList<int>{1} << QStringList() << QStringList() << QList<int>{0, 2}
                             << QStringList();
    QTest::newRow("two rows apart") << QList<int>{0, 2} << QStringList() << QStringList() << QList<int>{1}
                                    << QStringList();
    QTest::newRow("a cell of another row is ignored")
        << QList<int>{0} << QStringList{"1:Title", "2:CoverArt"} << QStringList() << QList<int>{1, 2}
        << QStringList();
    QTest::newRow("edits of removed rows dropped, others kept")
        << QList<int>{0} << QStringList() << QStringList{"0:Title=X", "2:Album=Y"} << QList<int>{1, 2}
        << QStringList{"2:Album"};
    QTest::newRow("every row") << QList<int>{0, 1, 2} << QStringList() << QStringList{"1:Title=Z"}
                               << QList<int>() << QStringList();
}

void TestInteractions::deleteRemovesWholeRows()
{
    QFETCH(QList<int>, rows);
    QFETCH(QStringList, extra);
    QFETCH(QStringList, edits);
    QFETCH(QList<int>, remaining);
    QFETCH(QStringList, changes);
    PopulatedTable t(threeWithCovers());
    QVERIFY(t.list());
    QTableWidget *table = t.widget.table();
    QVERIFY(t.editAll(edits));
    const bool editedBefore = t.widget.hasUnsavedChanges();

    QList<int> selectedRows;
    for (int file : rows)
        selectedRows << t.row(file);
    selectRows(table, selectedRows);
    for (const QString &token : extra)
        table->selectionModel()->select(indexOf(t, token), QItemSelectionModel::Select);

    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    QSignalSpy listed(&t.widget, &AddMediaFileWidget::listPopulatesOrNot);
    QTest::keyClick(table, Qt::Key_Delete);

    QStringList expected;
    for (int file : remaining)
        expected << t.paths.at(file);
    QStringList listedNow = columnTexts(t.widget, QStringLiteral("Location"));
    listedNow.sort();
    QCOMPARE(listedNow, expected);
    // What stays keeps its own cells.
    for (int file : remaining)
        QCOMPARE(cell(t.widget, t.row(file), QStringLiteral("Title")),
                 TagReaderAndWriter::readTitle(t.paths.at(file)));
    QCOMPARE(coverSize(t.widget, t.row(2)), remaining.contains(2) ? QSize(120, 80) : QSize(-2, -2));
    QCOMPARE(t.recorded(), changes);

    QVERIFY(t.noneWritten());

    if (remaining.isEmpty()) {
        QCOMPARE(boolValues(listed), QList<bool>{false});
        QCOMPARE(boolValues(changed), QList<bool>{false});
        QVERIFY(!t.widget.hasUnsavedChanges());
    } else {
        QVERIFY(listed.isEmpty());
        QVERIFY2(changed.isEmpty(), "removing rows is not an unsaved change");
        QCOMPARE(t.widget.hasUnsavedChanges(), editedBefore);
    }
}

void TestInteractions::deleteEmptiesSelectedCells_data()
{
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("sortKey"); // empty: list order
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QStringList>("covers");
    QTest::addColumn<QStringList>("changes");

    const QStringList covers = {"300x300", "null", "120x80"};
    QTest::newRow("text cells")
        << QStringList{"0:Title", "1:Artist", "2:BPM"} << QString()
        << QStringList{"0:Title=", "1:Artist=", "2:BPM=", "0:Artist=Ana", "1:Title=Bravo"} << covers
        << QStringList{"0:Title", "1:Artist", "2:BPM"};
    QTest::newRow("file name and location stay")
        << QStringList{"0:FileName", "1:Location", "2:Artist"} << QString()
        << QStringList{"0:FileName=a.mp3", "2:Artist="} << covers << QStringList{"2:Artist"};
    QTest::newRow("cover") << QStringList{"0:CoverArt"} << QString() << QStringList{"0:Title=Alpha"}
                           << QStringList{"null", "null", "120x80"} << QStringList{"0:+cover"};
    QTest::newRow("empty cover") << QStringList{"1:CoverArt"} << QString() << QStringList() << covers
                                 << QStringList{"1:+cover"};
    QTest::newRow("cover and text of one row")
        << QStringList{"2:CoverArt", "2:Title"} << QString() << QStringList{"2:Title="}
        << QStringList{"300x300", "null", "null"} << QStringList{"2:Title+cover"};
    // Descending, the first cell emptied sinks to the bottom row.
    QTest::newRow("sorted by the cleared column")
        << QStringList{"2:Title", "1:Title"} << QStringLiteral("Title")
        << QStringList{"0:Title=Alpha", "1:Title=", "2:Title="} << covers << QStringList{"1:Title", "2:Title"};
    QTest::newRow("sorted, first and last row")
        << QStringList{"2:Artist", "0:Artist"} << QStringLiteral("Artist")
        << QStringList{"0:Artist=", "1:Artist=Bea", "2:Artist="} << covers << QStringList{"0:Artist", "2:Artist"};
}

void TestInteractions::deleteEmptiesSelectedCells()
{
    QFETCH(QStringList, selected);
    QFETCH(QString, sortKey);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, covers);
    QFETCH(QStringList, changes);
    PopulatedTable t(threeWithCovers());
    QVERIFY(t.list());
    MediaFileTableWidget *table = t.widget.table();
    if (!sortKey.isEmpty())
        table->sortBy(column(t.widget, sortKey), Qt::DescendingOrder);
    QList<const QLabel *> before;
    for (const QString &path : t.paths)
        before << coverLabel(t.widget, rowOf(t.widget, path));

    selectOnly(table, indexesOf(t, selected));
    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    QSignalSpy coverDeleted(t.widget.table(), &MediaFileTableWidget::coverArtDeleted);
    QTest::keyClick(table, Qt::Key_Delete);

    QCOMPARE(cellsNow(t, cells), cells);
    QCOMPARE(coversNow(t), covers);
    QCOMPARE(t.recorded(), changes);
    QCOMPARE(table->rowCount(), 3);
    for (const QString &path : t.paths)
        QCOMPARE(location(t.widget, rowOf(t.widget, path)), path);
    QCOMPARE(boolValues(changed).contains(true), true);
    QVERIFY(!boolValues(changed).contains(false));

    const bool coverCleared = selected.join(QLatin1Char(' ')).contains(kCover);
    QCOMPARE(boolValues(coverDeleted), coverCleared ? QList<bool>{true} : QList<bool>());
    for (const QString &token : selected) {
        if (!token.endsWith(kCover))
            continue;
        const int file = token.section(QLatin1Char(':'), 0, 0).toInt();
        const QLabel *label = coverLabel(t.widget, t.row(file));
        QVERIFY(label);
        QVERIFY2(label != before.at(file), "a new label takes the emptied cover's place");
        QCOMPARE(label->styleSheet(), changedCoverStyle());
    }
}

void TestInteractions::arrowKeysMoveTheCurrentCell_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("arrow");
    QTest::addColumn<int>("toRow");
    QTest::addColumn<QString>("toKey");

    QTest::newRow("up in the first row") << 0 << "Title" << int(Qt::Key_Up) << 0 << "Title";
    QTest::newRow("up") << 2 << "Artist" << int(Qt::Key_Up) << 1 << "Artist";
    QTest::newRow("down in the last row") << 2 << "Album" << int(Qt::Key_Down) << 2 << "Album";
    QTest::newRow("down") << 0 << "CoverArt" << int(Qt::Key_Down) << 1 << "CoverArt";
    QTest::newRow("left in the first column") << 1 << "Title" << int(Qt::Key_Left) << 1 << "Title";
    QTest::newRow("left") << 1 << "FileName" << int(Qt::Key_Left) << 1 << "Artist";
    QTest::newRow("right onto the cover") << 0 << "Comment" << int(Qt::Key_Right) << 0 << "CoverArt";
    QTest::newRow("right onto the last column") << 2 << "Remixer" << int(Qt::Key_Right) << 2 << "InitialKey";
    QTest::newRow("right in the last column") << 1 << "InitialKey" << int(Qt::Key_Right) << 1 << "InitialKey";
}

void TestInteractions::arrowKeysMoveTheCurrentCell()
{
    QFETCH(int, row);
    QFETCH(QString, key);
    QFETCH(int, arrow);
    QFETCH(int, toRow);
    QFETCH(QString, toKey);
    PopulatedTable t(threeWithCovers());
    QVERIFY(t.list());
    QTableWidget *table = t.widget.table();
    table->setCurrentCell(row, column(t.widget, key));
    QTest::keyClick(table, Qt::Key(arrow));

    const QModelIndex expected = table->model()->index(toRow, column(t.widget, toKey));
    QCOMPARE(table->currentIndex(), expected);
    QCOMPARE(table->selectionModel()->selectedIndexes(), QModelIndexList{expected});
    QVERIFY(!t.widget.records().hasChanges());
}

void TestInteractions::otherKeysStartNoEdit_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("column");
    QTest::newRow("letter") << int(Qt::Key_X) << QStringLiteral("Title");
    QTest::newRow("digit") << int(Qt::Key_7) << QStringLiteral("Year");
    QTest::newRow("F2") << int(Qt::Key_F2) << QStringLiteral("Artist");
    QTest::newRow("Return") << int(Qt::Key_Return) << QStringLiteral("FileName");
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << QStringLiteral("Title");
}

void TestInteractions::otherKeysStartNoEdit()
{
    QFETCH(int, key);
    QFETCH(QString, column);
    PopulatedTable t(threeWithCovers());
    QVERIFY(t.listAndShow());
    QTableWidget *table = t.widget.table();
    table->setFocus();
    table->setCurrentCell(1, TableFixture::column(t.widget, column));
    const QString before = cell(t.widget, 1, column);

    QSignalSpy changed(&t.widget, &AddMediaFileWidget::someChangesHappen);
    QTest::keyClick(table, Qt::Key(key));
    QTest::keyClicks(table, QStringLiteral("ab"));

    QVERIFY2(openEditors(table).isEmpty(), "no editor opened");
    QCOMPARE(cell(t.widget, 1, column), before);
    QVERIFY(changed.isEmpty());
    QVERIFY(!t.widget.records().hasChanges());
}

void TestInteractions::searchHighlightsMatches_data()
{
    // Files in a folder named "Sonic Shelf": a.mp3 (Night Drive, Ana Ruiz,
    // album Late Hours), b.mp3 (Drive Home, Ruiz & Co), c.mp3 (Quiet, Bea).
    // Patterns hold a space or a dot, which the temporary folder's random
    // name never does.
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("yellow");

    const QStringList allNames = {"0:FileName", "0:Location", "1:FileName", "1:Location", "2:FileName",
                                  "2:Location"};
    QTest::newRow("two columns, any case") << QString() << "E h" << QStringList{"0:Album", "1:Title"};
    QTest::newRow("one cell") << QString() << "NIGHT d" << QStringList{"0:Title"};
    QTest::newRow("punctuation") << QString() << "iz &" << QStringList{"1:Artist"};
    QTest::newRow("folder name: only the hidden location")
        << QString() << "ic sh" << QStringList{"0:Location", "1:Location", "2:Location"};
    QTest::newRow("file names and locations") << QString() << ".MP3" << allNames;
    QTest::newRow("earlier matches cleared") << ".mp3" << "iz &" << QStringList{"1:Artist"};
    QTest::newRow("empty pattern only clears") << ".mp3" << QString() << QStringList();
    QTest::newRow("no match") << "E h" << "no such e h" << QStringList();
}

void TestInteractions::searchHighlightsMatches()
{
    QFETCH(QString, before);
    QFETCH(QString, pattern);
    QFETCH(QStringList, yellow);
    QTemporaryDir tmp;
    QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("Sonic Shelf")));
    const QString dir = tmp.filePath(QStringLiteral("Sonic Shelf"));
    const QStringList paths = {makeTrack(dir, "a.mp3", "Night Drive", "Ana Ruiz"),
                               makeTrack(dir, "b.mp3", "Drive Home", "Ruiz & Co"),
                               makeTrack(dir, "c.mp3", "Quiet", "Bea")};
    QVERIFY(!paths.contains(QString()));
    QVERIFY(F::addFrames(paths[0], {F::textFrame("TALB", QStringLiteral("Late Hours"))}));

    AddMediaFileWidget widget;
    widget.getMediaList(paths);
    QTableWidget *table = widget.table();
    QSignalSpy changed(&widget, &AddMediaFileWidget::someChangesHappen);
    if (!before.isNull())
        widget.getSearchPattern(before);
    widget.getSearchPattern(pattern);

    QStringList found;
    for (int i = 0; i < paths.size(); ++i) {
        const int row = rowOf(widget, paths.at(i));
        for (int c = 0; c < table->columnCount(); ++c) {
            const QString key = table->horizontalHeaderItem(c)->text();
            const QTableWidgetItem *item = table->item(row, c);
            if (key == kCover) {
                QVERIFY(!isYellow(item));
                continue;
            }
            const QString name = QStringLiteral("%1:%2").arg(i).arg(key);
            if (isYellow(item))
                found << name;
            else
                QVERIFY2(isPlain(item), qPrintable(name));
        }
    }
    QCOMPARE(found, yellow);
    QVERIFY(changed.isEmpty());
    QVERIFY(!widget.records().hasChanges());
    QVERIFY(!widget.hasUnsavedChanges());
}

void TestInteractions::tableViews_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<bool>("filled");
    QTest::addColumn<QString>("expected"); // "contents", "fixed" or "unchanged"

    QTest::newRow("fit to contents") << 1 << true << "contents";
    QTest::newRow("equal widths") << 2 << true << "fixed";
    QTest::newRow("zero") << 0 << true << "unchanged";
    QTest::newRow("three") << 3 << true << "unchanged";
    QTest::newRow("negative") << -1 << true << "unchanged";
    QTest::newRow("fit on an empty table") << 1 << false << "unchanged";
    QTest::newRow("equal widths on an empty table") << 2 << false << "unchanged";
}

void TestInteractions::tableViews()
{
    QFETCH(int, view);
    QFETCH(bool, filled);
    QFETCH(QString, expected);
    PopulatedTable t({{"a.mp3", "A rather long title that needs plenty of room", "Ana", QSize(300, 300)},
                      {"b.mp3", "Bravo", "Bea"}});
    QVERIFY(t.made());
    if (filled)
        QVERIFY(t.list());
    QVERIFY(t.show());
    QTableWidget *table = t.widget.table();
    QHeaderView *header = table->horizontalHeader();
    const QAbstractItemView *itemView = table;
    for (int c = 0; c < table->columnCount(); ++c)
        header->resizeSection(c, 57);
    const int cover = column(t.widget, kCover);
    // The last shown column is stretched to fill the view, whatever it is given.
    const int stretched = column(t.widget, QStringLiteral("InitialKey"));

    t.widget.changeTableView(view);

    for (int c = 0; c < table->columnCount(); ++c) {
        if (c == stretched || table->isColumnHidden(c))
            continue;
        const QString key = table->horizontalHeaderItem(c)->text();
        int width = 57;
        if (expected == QLatin1String("fixed"))
            width = c == cover ? 200 : 100;
        else if (expected == QLatin1String("contents"))
            width = c == cover ? 200 : qMax(itemView->sizeHintForColumn(c), header->sectionSizeHint(c));
        QVERIFY2(header->sectionSize(c) == width,
                 qPrintable(QStringLiteral("%1: %2, expected %3").arg(key).arg(header->sectionSize(c)).arg(width)));
    }
    if (expected == QLatin1String("contents")) {
        const int title = column(t.widget, QStringLiteral("Title"));
        QVERIFY(header->sectionSize(title) > table->fontMetrics().horizontalAdvance(cell(t.widget, t.row(0),
                                                                                            QStringLiteral("Title"))));
    }
}

void TestInteractions::coverBordersFollowSelection_data()
{
    // Steps: "select cells", "clear", "add" (the three files again), "undo",
    // "remove file" (its whole row, with Delete).
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("borders"); // per file still listed

    QTest::newRow("selected cover") << QStringList{"select 0:CoverArt"} << QStringList{"blue", "none", "none"};
    QTest::newRow("cover without a picture") << QStringList{"select 1:CoverArt"}
                                             << QStringList{"none", "blue", "none"};
    QTest::newRow("moving to another cover")
        << QStringList{"select 0:CoverArt", "select 2:CoverArt"} << QStringList{"0px", "none", "blue"};
    QTest::newRow("moving to a text cell")
        << QStringList{"select 1:CoverArt", "select 1:Title"} << QStringList{"none", "0px", "none"};
    QTest::newRow("two covers at once")
        << QStringList{"select 0:CoverArt 2:CoverArt"} << QStringList{"blue", "none", "blue"};
    QTest::newRow("text cells only") << QStringList{"select 0:Title 1:Artist"}
                                     << QStringList{"none", "none", "none"};
    QTest::newRow("after undo")
        << QStringList{"select 0:CoverArt", "undo", "select 1:CoverArt"} << QStringList{"none", "blue", "none"};
    QTest::newRow("after clearing and adding again")
        << QStringList{"select 0:CoverArt", "clear", "add", "select 2:CoverArt"}
        << QStringList{"none", "none", "blue"};
    QTest::newRow("after removing a row")
        << QStringList{"select 0:CoverArt", "remove 1", "select 2:CoverArt"} << QStringList{"0px", "blue"};
}

void TestInteractions::coverBordersFollowSelection()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, borders);
    PopulatedTable t(threeWithCovers());
    QVERIFY(t.list());
    QTableWidget *table = t.widget.table();
    for (const QString &step : steps) {
        const QString verb = step.section(QLatin1Char(' '), 0, 0);
        const QString rest = step.section(QLatin1Char(' '), 1);
        if (verb == QLatin1String("select")) {
            selectOnly(table, indexesOf(t, rest.split(QLatin1Char(' '))));
        } else if (verb == QLatin1String("clear")) {
            t.widget.clearList();
        } else if (verb == QLatin1String("add")) {
            t.widget.getMediaList(t.paths);
            QVERIFY(t.coversShown());
        } else if (verb == QLatin1String("undo")) {
            t.widget.UndoChangesInTable();
            QVERIFY(t.coversShown());
        } else {
            selectRows(table, {rowOf(t.widget, t.paths.at(rest.toInt()))});
            QTest::keyClick(table, Qt::Key_Delete);
        }
    }

    QStringList now;
    for (const QString &path : t.paths) {
        const int row = rowOf(t.widget, path);
        if (row >= 0)
            now << borderOf(t.widget, row);
    }
    QCOMPARE(now, borders);
}

void TestInteractions::doubleClickOpensCoverBox_data()
{
    QTest::addColumn<int>("file"); // 0: 600 x 300 blue cover, 1: none
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("opens");

    QTest::newRow("cover") << 0 << QStringLiteral("CoverArt") << true;
    QTest::newRow("no cover: placeholder") << 1 << QStringLiteral("CoverArt") << true;
    QTest::newRow("title") << 0 << QStringLiteral("Title") << false;
    QTest::newRow("file name") << 1 << QStringLiteral("FileName") << false;
    QTest::newRow("year") << 0 << QStringLiteral("Year") << false;
}

void TestInteractions::doubleClickOpensCoverBox()
{
    QFETCH(int, file);
    QFETCH(QString, key);
    QFETCH(bool, opens);
    PopulatedTable t({{"a.mp3", "Alpha", "Ana", QSize(600, 300), Qt::blue}, {"b.mp3", "Bravo", "Bea"}});
    QVERIFY(t.listAndShow());
    QTableWidget *table = t.widget.table();
    const int row = t.row(file);
    const QSize cellBefore = coverSize(t.widget, row);

    bool opened = false;
    QImage shown;
    QTimer::singleShot(0, &t.widget, [&] {
        if (auto *box = qobject_cast<CoverArtDisplayBox *>(QApplication::activeModalWidget())) {
            opened = true;
            shown = box->shownImage();
            box->reject();
        }
    });
    const QPoint at = centerOf(table, table->model()->index(row, column(t.widget, key)));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QCoreApplication::processEvents();

    QCOMPARE(opened, opens);
    QVERIFY(!QApplication::activeModalWidget());
    if (opens) {
        QVERIFY(!shown.isNull());
        QCOMPARE(shown.size(), QSize(250, 250));
        if (file == 0)
            QVERIFY(near(shown.pixelColor(125, 125), Qt::blue));
    }
    QCOMPARE(coverSize(t.widget, row), cellBefore);
    QCOMPARE(coverSize(t.widget, t.row(0)), QSize(400, 200));
    QVERIFY(!t.widget.records().hasChanges());
}

SONVEL_TEST_MAIN(TestInteractions)
#include "tst_interactions.moc"
