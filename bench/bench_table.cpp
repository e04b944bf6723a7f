// Time to add N files to the real media table and to save one edited field
// in every row, with peak memory; run by hand with QT_QPA_PLATFORM=offscreen:
// bench/bench_table [files]. Not a test.

#include "common/mp3fixture.h"
#include "table/addmediafilewidget.h"
#include "table/mediafiletablewidget.h"
#include "tags/tagreadahead.h"
#include "tags/tagreaderandwriter.h"
#include "theme/apptheme.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace F = Mp3Fixture;

namespace {

// Peak resident memory of the process so far, in MiB.
double peakMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

double seconds(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e9;
}

// N files with all thirteen fields: a third without a cover, a third with a
// 500 x 500 and a third with a 1500 x 1500 JPEG cover, interleaved.
QStringList makeFiles(const QString &dir, int n)
{
    const QList<QByteArray> covers = {QByteArray(), F::busyCoverJpeg(500), F::busyCoverJpeg(1500)};
    QStringList sources;
    for (int k = 0; k < covers.size(); ++k) {
        const QString source = F::create(dir, QStringLiteral("source%1.bin").arg(k));
        if (source.isEmpty() || !F::addFullTags(source, covers.at(k)))
            qFatal("cannot make the fixture in %s", qPrintable(dir));
        sources << source;
    }
    QStringList files;
    for (int i = 0; i < n; ++i) {
        files << QStringLiteral("%1/%2.mp3").arg(dir).arg(i, 6, 10, QLatin1Char('0'));
        if (!QFile::copy(sources.at(i % 3), files.last()))
            qFatal("cannot copy the fixture");
    }
    return files;
}

} // namespace

int main(int argc, char *argv[])
{
    AppTheme::registerResources();
    QApplication app(argc, argv);
    const int n = argc > 1 ? qMax(1, atoi(argv[1])) : 1000;
    QTemporaryDir tmp;
    if (!tmp.isValid())
        qFatal("no temporary folder");

    std::printf("bench_table: %d files, preparing...\n", n);
    std::fflush(stdout);
    const QStringList files = makeFiles(tmp.path(), n);
    std::printf("  peak memory before the table: %.0f MiB\n", peakMiB());

    AddMediaFileWidget widget;
    widget.resize(1280, 800);
    widget.show();
    QApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    widget.getMediaList(files);
    const double addTime = seconds(timer);
    if (widget.table()->rowCount() != n)
        qFatal("the table holds %d rows, not %d", widget.table()->rowCount(), n);
    std::printf("  add (getMediaList, includes the 200 ms overlay delay): %.2f s\n", addTime);
    std::printf("  peak memory after adding: %.0f MiB\n", peakMiB());

    const int titleColumn = widget.columnOf(QStringLiteral("Title"));
    timer.restart();
    for (int r = 0; r < n; ++r)
        widget.table()->item(r, titleColumn)->setData(Qt::DisplayRole, QStringLiteral("Edited %1").arg(r));
    std::printf("  edit the title of every row: %.2f s\n", seconds(timer));

    timer.restart();
    widget.initiateSaveChanges();
    const double saveTime = seconds(timer);
    if (!!widget.records().hasChanges())
        qFatal("%d rows were not saved", widget.records().changedCount());
    std::printf("  save (initiateSaveChanges): %.2f s\n", saveTime);
    std::printf("  peak memory at the end: %.0f MiB\n", peakMiB());

    // The parts on their own, to see what dominates the two figures above.
    // Keeping the covers, as the table does, costs first-touch memory.
    timer.restart();
    for (const QString &file : files)
        TagReaderAndWriter::readAll(file);
    std::printf("  of which reading tags alone, one thread, covers dropped: %.2f s\n", seconds(timer));
    timer.restart();
    {
        TagReadAhead ahead(files);
        while (!ahead.atEnd())
            ahead.take();
    }
    std::printf("  reading with the read-ahead, covers dropped: %.2f s\n", seconds(timer));
    timer.restart();
    {
        QList<QImage> kept;
        TagReadAhead ahead(files);
        while (!ahead.atEnd())
            kept << ahead.take().cover;
        std::printf("  reading with the read-ahead, covers kept: %.2f s\n", seconds(timer));
    }
    timer.restart();
    for (int i = 0; i < n; ++i)
        TagReaderAndWriter::writeAll(files.at(i), {{QStringLiteral("Title"), QStringLiteral("Again %1").arg(i)}});
    std::printf("  of which writing tags alone (writeAll per file): %.2f s\n", seconds(timer));
    return 0;
}
