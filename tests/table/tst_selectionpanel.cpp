#include "tablefixture.h"

#include "table/selectionpanel.h"
#include "table/tableundo.h"

#include <QFont>
#include <QLineEdit>
#include <QPushButton>

using namespace TableFixture;

namespace {

// The table owner and its side panel, wired as the main window wires them.
struct PanelTable
{
    explicit PanelTable(const QList<Track> &tracks = plainThree())
        : t(tracks)
    {
        QObject::connect(&panel, &SelectionPanel::fieldSet, &t.widget, &AddMediaFileWidget::setFieldOfRows);
        QObject::connect(&panel, &SelectionPanel::coverSet, &t.widget, &AddMediaFileWidget::setCoverOfRows);
        QObject::connect(t.widget.history(), &TableUndo::changed, &panel, &SelectionPanel::scheduleRefresh);
    }
    bool listAndShow()
    {
        if (!t.list())
            return false;
        panel.show();
        return true;
    }
    // Selects whole rows of the given files.
    void select(const QList<int> &files)
    {
        QItemSelection selection;
        for (int file : files) {
            const int row = t.row(file);
            selection.select(t.widget.table()->model()->index(row, 0),
                             t.widget.table()->model()->index(row, t.widget.table()->columnCount() - 1));
        }
        t.widget.table()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        panel.refresh();
    }
    // Types into a field and presses Enter.
    void type(const QString &key, const QString &text)
    {
        QLineEdit *edit = panel.field(key);
        edit->setFocus();
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Delete);
        else
            QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    QStringList shown(const QString &key) const
    {
        return {panel.field(key)->text(), panel.field(key)->placeholderText()};
    }

    PopulatedTable t;
    SelectionPanel panel{t.widget.table()};
};

} // namespace

class TestSelectionPanel : public QObject
{
    Q_OBJECT

private slots:
    void showsSharedAndDifferingValues_data();
    void showsSharedAndDifferingValues();
    void setsEveryRowAsOneStep_data();
    void setsEveryRowAsOneStep();
    void coversOfTheSelection();
    void followsSortingUndoAndRemoval();
    void pastesIntoManyCells();
    void marksEditedCellsAndFailedRows();
};

void TestSelectionPanel::showsSharedAndDifferingValues_data()
{
    QTest::addColumn<QList<int>>("files");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("shown"); // text, placeholder

    QTest::newRow("one row") << QList<int>{1} << "Title" << QStringList{"Bravo", ""};
    QTest::newRow("rows differ") << QList<int>{0, 2} << "Title" << QStringList{"", "<different values>"};
    QTest::newRow("rows share") << QList<int>{0, 1, 2} << "Year" << QStringList{"0", ""};
    QTest::newRow("nothing selected") << QList<int>{} << "Title" << QStringList{"", ""};
}

void TestSelectionPanel::showsSharedAndDifferingValues()
{
    QFETCH(QList<int>, files);
    QFETCH(QString, key);
    QFETCH(QStringList, shown);
    PanelTable p;
    QVERIFY(p.listAndShow());
    p.select(files);
    QCOMPARE(p.shown(key), shown);
    QCOMPARE(p.panel.field(key)->isEnabled(), !files.isEmpty());
}

void TestSelectionPanel::setsEveryRowAsOneStep_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QStringList>("recorded");

    QTest::newRow("set over differing values") << "Title" << "Same" << "Set Title in 3 Rows"
                                               << QStringList{"0:Title", "1:Title", "2:Title"};
    QTest::newRow("clear a shared value") << "Year" << "" << "Clear Year in 3 Rows"
                                          << QStringList{"0:Year", "1:Year", "2:Year"};
}

void TestSelectionPanel::setsEveryRowAsOneStep()
{
    QFETCH(QString, key);
    QFETCH(QString, typed);
    QFETCH(QString, step);
    QFETCH(QStringList, recorded);
    PanelTable p;
    QVERIFY(p.listAndShow());
    const QStringList before = columnTexts(p.t.widget, key);
    p.select({0, 1, 2});
    p.type(key, typed);
    QCOMPARE(columnTexts(p.t.widget, key), (QStringList{typed, typed, typed}));
    QCOMPARE(p.t.recorded(), recorded);
    QCOMPARE(p.t.widget.history()->stack().count(), 1);
    QCOMPARE(p.t.widget.history()->stack().undoText(), step);
    QTRY_COMPARE(p.shown(key), (QStringList{typed, ""}));

    p.t.widget.history()->undo();
    QCOMPARE(columnTexts(p.t.widget, key), before);
    QVERIFY(p.t.recorded().isEmpty());
    // The panel shows the table again.
    QTRY_COMPARE(p.shown(key).first(), key == "Year" ? QStringLiteral("0") : QString());
}

void TestSelectionPanel::coversOfTheSelection()
{
    PanelTable p(threeWithCovers());
    QVERIFY(p.listAndShow());
    p.select({0, 2});
    QCOMPARE(p.panel.coverText(), QStringLiteral("<different pictures>"));

    QTemporaryDir dir;
    const QString file = dir.filePath("cover.png");
    QVERIFY(F::image(64, 64, Qt::green).save(file));
    SelectionPanel::choosePictureFile = [file](QWidget *) { return file; };
    p.panel.findChild<QPushButton *>("panelChooseCover")->click();
    QCOMPARE(p.t.recorded(), (QStringList{"0:+cover", "2:+cover"}));
    QCOMPARE(p.t.widget.history()->stack().count(), 1);
    QTRY_VERIFY(!p.panel.shownCover().isNull());
    QVERIFY(near(p.panel.shownCover().pixelColor(10, 10), Qt::green));

    p.panel.findChild<QPushButton *>("panelRemoveCover")->click();
    QCOMPARE(p.t.widget.history()->stack().count(), 2);
    QTRY_COMPARE(p.panel.coverText(), QStringLiteral("No cover"));
    p.t.widget.history()->undo();
    p.t.widget.history()->undo();
    QVERIFY(p.t.recorded().isEmpty());
    QVERIFY(p.t.noneWritten());
}

// The selection follows its rows when the table sorts, and the panel
// follows the selection, undo and removal.
void TestSelectionPanel::followsSortingUndoAndRemoval()
{
    PanelTable p;
    QVERIFY(p.listAndShow());
    p.select({0});
    QCOMPARE(p.shown("Title").first(), QStringLiteral("Alpha"));
    p.t.widget.table()->sortBy(column(p.t.widget, "Title"), Qt::DescendingOrder);
    QTRY_COMPARE(p.shown("Title").first(), QStringLiteral("Alpha"));
    QVERIFY(p.t.edit(0, "Title", "Changed"));
    QTRY_COMPARE(p.shown("Title").first(), QStringLiteral("Changed"));
    p.t.widget.history()->undo();
    QTRY_COMPARE(p.shown("Title").first(), QStringLiteral("Alpha"));
    p.t.widget.table()->removeRowsAt({p.t.row(0)});
    QTRY_VERIFY(!p.panel.field("Title")->isEnabled());
}

void TestSelectionPanel::pastesIntoManyCells()
{
    PanelTable p;
    QVERIFY(p.listAndShow());
    MediaFileTableWidget *table = p.t.widget.table();
    const int genre = column(p.t.widget, "Genre");
    const int title = column(p.t.widget, "Title");
    QVERIFY(p.t.edit(1, "Genre", "Techno"));
    table->setCurrentCell(p.t.row(1), genre);
    table->copySelectedCell();
    table->setRangeSelected(QTableWidgetSelectionRange(0, genre, 2, genre), true);
    QVERIFY(!table->pasteIntoSelectedCell());
    QCOMPARE(columnTexts(p.t.widget, "Genre"), (QStringList{"Techno", "Techno", "Techno"}));
    QCOMPARE(columnTexts(p.t.widget, "Title"), (QStringList{"Alpha", "Bravo", "Charlie"}));

    // Two rows of two cells paste row by row from the top-left cell.
    table->clearSelection();
    table->setRangeSelected(QTableWidgetSelectionRange(0, title, 1, title + 1), true);
    table->copySelectedCell();
    table->clearSelection();
    table->setCurrentCell(1, title);
    const int steps = p.t.widget.history()->stack().count();
    table->pasteIntoSelectedCell();
    QCOMPARE(p.t.widget.history()->stack().count(), steps + 1);
    QCOMPARE(columnTexts(p.t.widget, "Title"), (QStringList{"Alpha", "Alpha", "Bravo"}));
    QCOMPARE(columnTexts(p.t.widget, "Artist"), (QStringList{"Ana", "Ana", "Bea"}));
}

void TestSelectionPanel::marksEditedCellsAndFailedRows()
{
    PanelTable p;
    QVERIFY(p.listAndShow());
    MediaFileTableWidget *table = p.t.widget.table();
    const QTableWidgetItem *title = table->item(p.t.row(0), column(p.t.widget, "Title"));
    QVERIFY(!title->data(Qt::FontRole).value<QFont>().bold());
    QVERIFY(p.t.edit(0, "Title", "Edited"));
    QVERIFY(title->data(Qt::FontRole).value<QFont>().bold());
    p.t.widget.history()->undo();
    QVERIFY(!title->data(Qt::FontRole).value<QFont>().bold());

    // A file that went away fails to save; its row says why.
    QVERIFY(p.t.edit(0, "Title", "Edited"));
    QVERIFY(QFile::remove(p.t.paths.at(0)));
    p.t.widget.saveChangesToFile();
    QVERIFY(title->data(Qt::FontRole).value<QFont>().bold());
    QVERIFY(title->data(Qt::ToolTipRole).toString().startsWith(QStringLiteral("Not saved: ")));
    QVERIFY(!table->item(p.t.row(1), column(p.t.widget, "Title"))->data(Qt::ToolTipRole).isValid());
}

QTEST_MAIN(TestSelectionPanel)
#include "tst_selectionpanel.moc"
