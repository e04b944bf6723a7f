// The media table with a DJ's library: adding N files (default 10,000) beside
// kid3-cli and TagLib reading the same files, then sorting, searching, find
// and replace, covers scrolled into view, saving beside TagLib's own save
// loop, undo, deleting half the rows and clearing; with peak memory.
// Run by hand with QT_QPA_PLATFORM=offscreen:
//   bench/bench_table [files] [--add-only] [--links]
// --links makes the corpus of hard links (very long lists; nothing saved).
// Not a test.

#include "corpus.h"

#include "table/addmediafilewidget.h"
#include "table/covercolumn.h"
#include "table/mediafiletablewidget.h"
#include "tags/tagcolumns.h"
#include "tags/tagreaderandwriter.h"
#include "theme/apptheme.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

double seconds(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e9;
}

void report(const char *what, double value, const char *unit = "s")
{
    std::printf("  %-58s %9.3f %s\n", what, value, unit);
    std::fflush(stdout);
}

// Until the covers of the rows in view are shown.
double waitForCovers(AddMediaFileWidget &widget)
{
    QElapsedTimer timer;
    timer.start();
    if (!QTest::qWaitFor([&] { return !widget.table()->covers()->pending(); }, 60000))
        qFatal("covers never came");
    return seconds(timer);
}

// Until every row on screen shows its cover cell.
double waitForScreen(AddMediaFileWidget &widget)
{
    MediaFileTableWidget *table = widget.table();
    QElapsedTimer timer;
    timer.start();
    const auto drawn = [table] {
        const int first = table->rowAt(0);
        int last = table->rowAt(table->viewport()->height() - 1);
        if (last < 0)
            last = table->rowCount() - 1;
        for (int row = qMax(0, first); row <= last; ++row) {
            if (!table->coverLabel(row))
                return false;
        }
        return true;
    };
    while (!drawn() && timer.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    return seconds(timer);
}

} // namespace

int main(int argc, char *argv[])
{
    AppTheme::registerResources();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int n = args.size() > 1 && args.at(1).toInt() > 0 ? args.at(1).toInt() : 10000;
    const bool addOnly = args.contains(QStringLiteral("--add-only"));
    const bool links = args.contains(QStringLiteral("--links"));
    QTemporaryDir tmp;
    if (!tmp.isValid())
        qFatal("no temporary folder");

    std::printf("bench_table: %d files%s, preparing the corpus...\n", n, links ? " (hard links)" : "");
    std::fflush(stdout);
    const QStringList files = Corpus::make(tmp.path(), n, links);
    report("peak memory before the table", Corpus::peakMiB(), "MiB");

    if (!addOnly) {
        report("kid3-cli reads every frame of every file (-1: missing)", Reference::kid3Read(files));
        report("TagLib reads every field and the picture bytes", Reference::taglibRead(files));
    }

    AddMediaFileWidget widget;
    widget.resize(1280, 800);
    widget.show();
    QApplication::processEvents();
    MediaFileTableWidget *table = widget.table();

    QElapsedTimer timer;
    timer.start();
    widget.getMediaList(files);
    report("add (includes the overlay's 200 ms start)", seconds(timer));
    if (table->rowCount() != n)
        qFatal("the table holds %d rows, not %d", table->rowCount(), n);
    report("covers of the first screen shown after adding", waitForCovers(widget));
    report("peak memory after adding", Corpus::peakMiB(), "MiB");
    if (addOnly)
        return 0;

    for (int step = 1; step <= 3; ++step) {
        timer.restart();
        table->verticalScrollBar()->setValue(table->verticalScrollBar()->maximum() * step / 4);
        QApplication::processEvents();
        const double scrolled = seconds(timer);
        report(qPrintable(QStringLiteral("scroll to %1/4 and draw the screen's covers").arg(step)),
               scrolled + waitForScreen(widget));
        waitForCovers(widget);
    }

    const int titleColumn = TagColumns::position(QStringLiteral("Title"));
    timer.restart();
    table->sortItems(titleColumn, Qt::DescendingOrder);
    QApplication::processEvents();
    report("sort by title", seconds(timer));
    timer.restart();
    table->sortItems(TagColumns::position(QStringLiteral("FileName")), Qt::AscendingOrder);
    QApplication::processEvents();
    report("sort by file name", seconds(timer));

    for (const QString &typed : {QStringLiteral("N"), QStringLiteral("Ni"), QStringLiteral("Nig"), QString()}) {
        timer.restart();
        widget.getSearchPattern(typed);
        QApplication::processEvents();
        report(qPrintable(QStringLiteral("search keystroke \"%1\"").arg(typed)), seconds(timer));
    }

    QStringList everyColumn = TagColumns::textKeys();
    timer.restart();
    widget.findAndReplace(everyColumn, QStringLiteral("e"), QStringLiteral("E"));
    QApplication::processEvents();
    report("find and replace over every column", seconds(timer));

    timer.restart();
    widget.UndoChangesInTable();
    report("Undo All Changes (reloads)", seconds(timer));

    // One field in every row, as TagLib's loop saves one; its loop runs
    // before and after the table's save, as the disk's state drifts.
    const double taglibBefore = Reference::taglibSave(files);
    for (int r = 0; r < n; ++r)
        table->item(r, titleColumn)->setData(Qt::DisplayRole, QStringLiteral("Edited %1").arg(r));
    timer.restart();
    widget.initiateSaveChanges();
    const double saveTime = seconds(timer);
    if (widget.records().hasChanges())
        qFatal("%d rows were not saved", widget.records().changedCount());
    report("save the title of every row", saveTime);
    report("TagLib saves one field per file, before and after (mean)",
           (taglibBefore + Reference::taglibSave(files)) / 2);
    timer.restart();
    for (int i = 0; i < n; ++i)
        TagReaderAndWriter::writeAll(files.at(i), {{QStringLiteral("Title"), QStringLiteral("Again %1").arg(i)}});
    report("of which the tag writes alone (writeAll per file)", seconds(timer));

    timer.restart();
    table->setFocus();
    table->selectionModel()->select(QItemSelection(table->model()->index(0, 0), table->model()->index(n / 2 - 1, 0)),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QTest::keyClick(table, Qt::Key_Delete);
    report("Delete of half the rows", seconds(timer));
    if (table->rowCount() != n - n / 2)
        qFatal("%d rows left", table->rowCount());

    timer.restart();
    widget.clearList();
    report("Clear File List", seconds(timer));
    report("peak memory at the end", Corpus::peakMiB(), "MiB");
    return 0;
}
