// The media table with a DJ's library of every format: adding N files
// (default 10,000) beside kid3-cli and TagLib reading the same files, then
// sorting, searching, find and replace, covers scrolled into view, saving
// beside TagLib's own save loop, undo, deleting half the rows and clearing;
// with peak memory; then reading and saving each format beside TagLib's loop
// for that format. Run by hand with QT_QPA_PLATFORM=offscreen:
//   bench/bench_table [files] [--add-only] [--links] [--mp3-only]
//   bench/bench_table [files] --linearity [--links] [--mp3-only]
//   bench/bench_table [files] --formats-only   (the per-format rows and tags that grow)
// --links makes the corpus of hard links (very long lists; nothing saved).
// --mp3-only is the earlier corpus, to compare with its figures.
// --linearity adds a fifth of the files, then all of them (default 50,000).
// --formats-only runs only the per-format rows, without the window.
// Not a test.

#include "corpus.h"

#include "table/addmediafilewidget.h"
#include "table/covercolumn.h"
#include "table/mediafiletablewidget.h"
#include "table/selectionpanel.h"
#include "table/tableundo.h"
#include "tags/tagcolumns.h"
#include "tags/tagfilename.h"
#include "tags/tagreaderandwriter.h"
#include "theme/apptheme.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <taglib/fileref.h>

#include <cstdio>
#include <functional>

#include <unistd.h>

using Corpus::Kind;

namespace {

double seconds(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e9;
}

void report(const QString &what, double value, const char *unit = "s")
{
    std::printf("  %-56s %9.3f %s\n", qPrintable(what), value, unit);
    std::fflush(stdout);
}

void beside(const QString &what, double value, const QString &reference, double referenceValue)
{
    std::printf("  %-56s %9.3f s   %-44s %9.3f s  (%.2fx)\n", qPrintable(what), value, qPrintable(reference),
                referenceValue, referenceValue > 0 ? value / referenceValue : 0.0);
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

// The first and last rows in view.
QPair<int, int> rowsOnScreen(const MediaFileTableWidget &table)
{
    int last = table.rowAt(table.viewport()->height() - 1);
    if (last < 0)
        last = table.rowCount() - 1;
    return {qMax(0, table.rowAt(0)), last};
}

// Until every row on screen shows its cover cell.
double waitForScreen(AddMediaFileWidget &widget)
{
    MediaFileTableWidget *table = widget.table();
    QElapsedTimer timer;
    timer.start();
    const auto drawn = [table] {
        const QPair<int, int> rows = rowsOnScreen(*table);
        for (int row = rows.first; row <= rows.second; ++row) {
            if (!table->coverLabel(row))
                return false;
        }
        return true;
    };
    while (!drawn() && timer.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    return seconds(timer);
}

QStringList onScreen(const MediaFileTableWidget &table)
{
    const QPair<int, int> rows = rowsOnScreen(table);
    QStringList paths;
    for (int row = rows.first; row <= rows.second; ++row)
        paths << table.locationOf(row);
    return paths;
}

double add(AddMediaFileWidget &widget, const QStringList &files)
{
    QElapsedTimer timer;
    timer.start();
    widget.getMediaList(files);
    return seconds(timer);
}

QStringList listed(AddMediaFileWidget &widget)
{
    QStringList paths;
    for (int row = 0; row < widget.table()->rowCount(); ++row)
        paths << widget.locationOf(row);
    return paths;
}

QMap<Kind, QStringList> byKind(const QStringList &files, Corpus::Mix mix)
{
    QMap<Kind, QStringList> kinds;
    for (int i = 0; i < files.size(); ++i)
        kinds[Corpus::kindOf(i, mix)] << files.at(i);
    return kinds;
}

// What the table would show for the first file of each format, against what
// the corpus stored.
void checkReads(const QMap<Kind, QStringList> &kinds)
{
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it) {
        const TagRecord record = TagReaderAndWriter::readTags(it.value().first());
        QStringList wrong;
        for (auto field = Corpus::shownFields().cbegin(); field != Corpus::shownFields().cend(); ++field) {
            if (record.fields.value(field.key()) != field.value())
                wrong << QStringLiteral("%1 \"%2\"").arg(field.key(), record.fields.value(field.key()));
        }
        if (!wrong.isEmpty())
            std::printf("  ! %s reads %s\n", qPrintable(Corpus::kindName(it.key())), qPrintable(wrong.join(", ")));
    }
}

double timeEach(const QStringList &files, const std::function<void(int)> &work)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < files.size(); ++i)
        work(i);
    return seconds(timer);
}

// One title into each file, through the program; how many it refused.
int writeTitles(const QStringList &files, const char *sixLetters)
{
    int refused = 0;
    for (int i = 0; i < files.size(); ++i)
        refused += !TagReaderAndWriter::writeAll(files.at(i), {{QStringLiteral("Title"), Corpus::title(sixLetters, i)}});
    return refused;
}

// Whether TagLib reads the title the program wrote last.
bool titleWritten(const QStringList &files, const char *sixLetters)
{
    const TagLib::FileRef file(TagFileName(files.last()), false);
    return !file.isNull()
        && file.tag()->title() == TagLib::String(Corpus::title(sixLetters, files.size() - 1).toStdString());
}

// Per 1,000 files of each format (the first thousand of each at most):
// readTags beside TagLib's read loop; writeAll of one title beside TagLib's
// save loop, in turn twice, each shown (a first save can differ from the
// next ones: a text stored in another encoding, a tag made another size).
void perFormat(const QMap<Kind, QStringList> &kinds)
{
    std::printf("\n  per format, s per 1,000 files  files  readTags  TagLib  ratio    saves: TagLib  writeAll, again: TagLib  "
                "writeAll  ratio  refused\n");
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it) {
        const QStringList files = it.value().mid(0, 1000);
        const double per = 1000.0 / files.size();
        qint64 sink = 0;
        const double read = timeEach(files, [&](int i) {
            sink += TagReaderAndWriter::readTags(files.at(i)).fields.value(QStringLiteral("Title")).size();
        });
        const double taglibRead = Reference::taglibRead(files);
        const double taglibFirst = Reference::taglibSave(files);
        QElapsedTimer timer;
        timer.start();
        int refused = writeTitles(files, "Format");
        const double first = seconds(timer);
        const double taglibAgain = Reference::taglibSave(files);
        timer.restart();
        refused = qMax(refused, writeTitles(files, "Repeat"));
        const double again = seconds(timer);
        std::printf("  %-29s %6d %9.3f %7.3f %6.2f %14.3f %9.3f %14.3f %9.3f %6.2f %8d%s\n",
                    qPrintable(Corpus::kindName(it.key())), int(files.size()), read * per, taglibRead * per,
                    read / taglibRead, taglibFirst * per, first * per, taglibAgain * per, again * per,
                    again / taglibAgain, refused,
                    refused || titleWritten(files, "Repeat") ? "" : "  ! TagLib reads another title");
    }
    std::fflush(stdout);
}

// Saves whose tags must grow (a title longer than any padding) cost a new
// copy of the file beside it, flushed to disk: per 1,000 files of each format,
// beside TagLib's loop growing the same files in place. Each side's title is
// longer than the last, so every save grows.
void growing(const QMap<Kind, QStringList> &kinds)
{
    std::printf("\n  tags that grow, s per 1,000 files  files  TagLib  writeAll  ratio  refused\n");
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it) {
        const QStringList files = it.value().mid(0, 1000);
        const double per = 1000.0 / files.size();
        const double taglib = timeEach(files, [&](int i) {
            TagLib::FileRef file(TagFileName(files.at(i)), false);
            if (!file.isNull()) {
                file.tag()->setTitle(TagLib::String(std::string(4000, 'T')));
                file.save();
            }
        });
        int refused = 0;
        const double program = timeEach(files, [&](int i) {
            refused += !TagReaderAndWriter::writeAll(files.at(i), {{QStringLiteral("Title"), QString(8000, QLatin1Char('S'))}});
        });
        std::printf("  %-33s %6d %7.3f %9.3f %6.2f %8d\n", qPrintable(Corpus::kindName(it.key())), int(files.size()),
                    taglib * per, program * per, program / taglib, refused);
    }
    std::fflush(stdout);
}

void scrollCovers(AddMediaFileWidget &widget)
{
    MediaFileTableWidget *table = widget.table();
    for (int step = 1; step <= 3; ++step) {
        QElapsedTimer timer;
        timer.start();
        table->verticalScrollBar()->setValue(table->verticalScrollBar()->maximum() * step / 4);
        QApplication::processEvents();
        const double scrolled = seconds(timer) + waitForScreen(widget);
        waitForCovers(widget);
        beside(QStringLiteral("scroll to %1/4 and draw the screen's covers").arg(step), scrolled,
               QStringLiteral("a plain loop decodes those covers"), Reference::decodeCovers(onScreen(*table)));
    }
}

// Every row gets a value of its own in the sorted columns (the corpus holds
// one value per field), set with the table's signals held as a load would.
void varyColumns(MediaFileTableWidget *table)
{
    const QSignalBlocker blocker(table);
    const QStringList keys{"Am", "8A", "1m", "G#m", "Db", "12B", "Intro", " "};
    for (int r = 0; r < table->rowCount(); ++r) {
        const auto set = [&](const QString &key, const QString &text) {
            table->item(r, TagColumns::position(key))->setText(text);
        };
        set(QStringLiteral("Title"), QStringLiteral("Night Drive %1 é").arg((r * 7919) % 10007));
        set(QStringLiteral("BPM"), QString::number(60 + (r * 37) % 120) + QStringLiteral(",5"));
        set(QStringLiteral("InitialKey"), keys.at(r % keys.size()));
        set(QStringLiteral("Track"), QStringLiteral("%1/20").arg(1 + (r * 13) % 20));
        set(QStringLiteral("Year"), QStringLiteral("%1-0%2").arg(1980 + (r * 11) % 45).arg(1 + r % 9));
    }
}

// The yardstick: the same texts sorted by plain character order.
double plainSort(const MediaFileTableWidget *table, int column)
{
    QStringList texts;
    for (int r = 0; r < table->rowCount(); ++r)
        texts << table->item(r, column)->text();
    QElapsedTimer timer;
    timer.start();
    std::stable_sort(texts.begin(), texts.end());
    return seconds(timer);
}

// One column set in every row, each as the one step users make of it.
void bulkEdits(AddMediaFileWidget &widget)
{
    MediaFileTableWidget *table = widget.table();
    SelectionPanel panel(table);
    panel.show();
    const int rows = table->rowCount();
    QElapsedTimer timer;
    timer.start();
    table->selectAll();
    panel.refresh();
    report(QStringLiteral("select all %1 rows and fill the side panel").arg(rows), seconds(timer));

    timer.restart();
    widget.setFieldOfRows(QStringLiteral("Comment"), QStringLiteral("From the panel"), panel.selectedRows());
    QApplication::processEvents();
    report(QStringLiteral("side panel sets a field in %1 rows").arg(rows), seconds(timer));

    const int genre = TagColumns::position(QStringLiteral("Genre"));
    table->clearSelection();
    table->setCurrentCell(0, genre);
    table->copySelectedCell();
    table->setRangeSelected(QTableWidgetSelectionRange(0, genre, rows - 1, genre), true);
    timer.restart();
    table->pasteIntoSelectedCell();
    QApplication::processEvents();
    report(QStringLiteral("paste one value into %1 cells").arg(rows), seconds(timer));

    const int grouping = TagColumns::position(QStringLiteral("Grouping"));
    table->setCellText(0, grouping, QStringLiteral("Dragged"));
    widget.getInitialClickedItem(0, grouping);
    timer.restart();
    for (int r = 1; r < rows; ++r)
        widget.copyValueInItems(r, grouping);
    widget.history()->end();
    QApplication::processEvents();
    report(QStringLiteral("drag-copy down %1 rows").arg(rows), seconds(timer));
}

void sortAndSearch(AddMediaFileWidget &widget)
{
    MediaFileTableWidget *table = widget.table();
    varyColumns(table);
    QElapsedTimer timer;
    for (const char *key : {"Title", "FileName", "BPM", "InitialKey", "Track", "Year", "CoverArt"}) {
        const int column = TagColumns::position(QString::fromLatin1(key));
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            timer.restart();
            table->sortBy(column, order);
            QApplication::processEvents();
            beside(QStringLiteral("sort %1 rows by %2, %3")
                       .arg(table->rowCount())
                       .arg(QString::fromLatin1(key), order == Qt::AscendingOrder ? "ascending" : "descending"),
                   seconds(timer), QStringLiteral("std::stable_sort of its texts"), plainSort(table, column));
        }
    }

    for (const QString &typed : {QStringLiteral("N"), QStringLiteral("Ni"), QStringLiteral("Nig"), QString()}) {
        timer.restart();
        widget.getSearchPattern(typed);
        QApplication::processEvents();
        report(QStringLiteral("search keystroke \"%1\"").arg(typed), seconds(timer));
    }

    timer.restart();
    QStringList everyColumn = TagColumns::textKeys();
    widget.findAndReplace(everyColumn, QStringLiteral("e"), QStringLiteral("E"));
    QApplication::processEvents();
    report(QStringLiteral("find and replace over every column"), seconds(timer));
}

double saveTitles(AddMediaFileWidget &widget, const char *sixLetters)
{
    MediaFileTableWidget *table = widget.table();
    const int titleColumn = TagColumns::position(QStringLiteral("Title"));
    for (int r = 0; r < table->rowCount(); ++r)
        table->item(r, titleColumn)->setData(Qt::DisplayRole, Corpus::title(sixLetters, r));
    QElapsedTimer timer;
    timer.start();
    widget.initiateSaveChanges();
    const double saveTime = seconds(timer);
    if (widget.records().hasChanges())
        std::printf("  ! %d rows were not saved\n", widget.records().changedCount());
    return saveTime;
}

// One field in every row, as TagLib's loop saves one, in turn twice: a
// first save of a file can differ from the next ones.
void saveEveryRow(AddMediaFileWidget &widget)
{
    const QStringList rows = listed(widget);
    const double taglibFirst = Reference::taglibSave(rows);
    const double first = saveTitles(widget, "Edited");
    const double taglibAgain = Reference::taglibSave(rows);
    const double again = saveTitles(widget, "Second");
    beside(QStringLiteral("save the title of every row"), first, QStringLiteral("TagLib's save loop before it"),
           taglibFirst);
    beside(QStringLiteral("save the title of every row again"), again, QStringLiteral("TagLib's save loop before it"),
           taglibAgain);
    report(QStringLiteral("of which the tag writes alone (writeAll per file)"), timeEach(rows, [&](int i) {
               TagReaderAndWriter::writeAll(rows.at(i), {{QStringLiteral("Title"), Corpus::title("Repeat", i)}});
           }));
}

void deleteAndClear(AddMediaFileWidget &widget)
{
    MediaFileTableWidget *table = widget.table();
    const int rows = table->rowCount();
    QElapsedTimer timer;
    timer.start();
    table->setFocus();
    table->selectionModel()->select(QItemSelection(table->model()->index(0, 0), table->model()->index(rows / 2 - 1, 0)),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QTest::keyClick(table, Qt::Key_Delete);
    report(QStringLiteral("Delete of half the rows"), seconds(timer));
    if (table->rowCount() != rows - rows / 2)
        qFatal("%d rows left", table->rowCount());
    timer.restart();
    widget.clearList();
    report(QStringLiteral("Clear File List"), seconds(timer));
}

void reportListed(AddMediaFileWidget &widget, const QStringList &files, Corpus::Mix mix)
{
    if (widget.table()->rowCount() == files.size())
        return;
    const QStringList paths = listed(widget);
    const QSet<QString> rows(paths.cbegin(), paths.cend());
    QStringList left;
    // Gigabytes of new files still being written back would slow whichever
    // save comes first.
    ::sync();
    const QMap<Kind, QStringList> kinds = byKind(files, mix);
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it) {
        int missing = 0;
        for (const QString &path : it.value())
            missing += !rows.contains(path);
        if (missing)
            left << QStringLiteral("%1 %2").arg(missing).arg(Corpus::kindName(it.key()));
    }
    std::printf("  ! %d of %d files listed; not listed: %s\n", widget.table()->rowCount(), int(files.size()),
                qPrintable(left.join(", ")));
}

// A fifth of the files, then all of them, in the same window.
void linearity(AddMediaFileWidget &widget, const QStringList &files, Corpus::Mix mix)
{
    const QStringList fifth = files.mid(0, files.size() / 5);
    const double before = Corpus::peakMiB();
    const double small = add(widget, fifth);
    reportListed(widget, fifth, mix);
    const double smallPeak = Corpus::peakMiB();
    report(QStringLiteral("add %1 files").arg(fifth.size()), small);
    report(QStringLiteral("peak memory after adding %1").arg(fifth.size()), smallPeak, "MiB");
    widget.clearList();
    QApplication::processEvents();
    const double all = add(widget, files);
    reportListed(widget, files, mix);
    const double allPeak = Corpus::peakMiB();
    report(QStringLiteral("add %1 files").arg(files.size()), all);
    report(QStringLiteral("peak memory after adding %1").arg(files.size()), allPeak, "MiB");
    report(QStringLiteral("time ratio (linear: %1)").arg(double(files.size()) / fifth.size()), all / small, "x");
    report(QStringLiteral("memory per row, from the peak before the table"), (allPeak - before) * 1024 / files.size(),
           "KiB");
}

} // namespace

int main(int argc, char *argv[])
{
    AppTheme::registerResources();
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool linear = args.contains(QStringLiteral("--linearity"));
    const int n = args.size() > 1 && args.at(1).toInt() > 0 ? args.at(1).toInt() : (linear ? 50000 : 10000);
    const bool addOnly = args.contains(QStringLiteral("--add-only"));
    const bool links = args.contains(QStringLiteral("--links"));
    const Corpus::Mix mix = args.contains(QStringLiteral("--mp3-only")) ? Corpus::Mix::Mp3Only : Corpus::Mix::Library;
    QTemporaryDir tmp;
    if (!tmp.isValid())
        qFatal("no temporary folder");

    std::printf("bench_table: %d files%s%s, preparing the corpus...\n", n, mix == Corpus::Mix::Mp3Only ? " (MP3 only)" : "",
                links ? " (hard links)" : "");
    std::fflush(stdout);
    const QStringList files = Corpus::make(tmp.path(), n, links, mix);
    // Gigabytes of new files still being written back would slow whichever
    // save comes first.
    ::sync();
    const QMap<Kind, QStringList> kinds = byKind(files, mix);
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it)
        std::printf("  %s %d", qPrintable(Corpus::kindName(it.key())), int(it.value().size()));
    std::printf("\n");
    report(QStringLiteral("peak memory before the table"), Corpus::peakMiB(), "MiB");

    if (args.contains(QStringLiteral("--formats-only"))) {
        perFormat(kinds);
        growing(kinds);
        return 0;
    }

    AddMediaFileWidget widget;
    widget.resize(1280, 800);
    widget.show();
    QApplication::processEvents();
    if (linear) {
        linearity(widget, files, mix);
        return 0;
    }

    const QString adding = QStringLiteral("add (includes the overlay's 200 ms start)");
    if (addOnly) {
        report(adding, add(widget, files));
    } else {
        const double kid3 = Reference::kid3Read(files);
        const double taglib = Reference::taglibRead(files);
        const double added = add(widget, files);
        beside(adding, added, QStringLiteral("kid3-cli reads every frame (-1: missing)"), kid3);
        beside(QString(), added, QStringLiteral("TagLib reads every property and picture"), taglib);
    }
    reportListed(widget, files, mix);
    report(QStringLiteral("covers of the first screen shown after adding"), waitForCovers(widget));
    report(QStringLiteral("peak memory after adding"), Corpus::peakMiB(), "MiB");
    if (addOnly)
        return 0;
    checkReads(kinds);

    scrollCovers(widget);
    sortAndSearch(widget);
    bulkEdits(widget);
    QElapsedTimer timer;
    timer.start();
    widget.UndoChangesInTable();
    report(QStringLiteral("Undo All Changes (reloads)"), seconds(timer));
    saveEveryRow(widget);
    deleteAndClear(widget);
    report(QStringLiteral("peak memory at the end"), Corpus::peakMiB(), "MiB");
    perFormat(kinds);
    growing(kinds);
    return 0;
}
