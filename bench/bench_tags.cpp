// Files per second for the per-field tag access against the one-open readAll
// and one-save writeAll, on generated MP3s with full tags and a cover.

#include "common/mp3fixture.h"
#include "tags/fieldaccess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace F = Mp3Fixture;
using T = TagReaderAndWriter;

namespace {

// n copies of one tagged file, so every run starts from the same bytes.
QStringList makeFiles(const QString &root, const QString &name, int n, const QByteArray &cover)
{
    const QString dir = root + '/' + name;
    QDir().mkpath(dir);
    const QString source = F::create(dir, QStringLiteral("source.mp3"));
    if (source.isEmpty() || !F::addFullTags(source, cover))
        qFatal("cannot make the fixture in %s", qPrintable(dir));
    QStringList files;
    for (int i = 0; i < n; ++i) {
        files << QStringLiteral("%1/%2.mp3").arg(dir).arg(i);
        QFile::copy(source, files.last());
    }
    return files;
}

double filesPerSecond(const QStringList &files, const std::function<void(const QString &)> &work)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString &file : files)
        work(file);
    return files.size() / qMax(timer.nsecsElapsed() / 1e9, 1e-9);
}

struct Row
{
    const char *name;
    double rate;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? qMax(1, atoi(argv[1])) : 1000;
    QTemporaryDir tmp;
    if (!tmp.isValid())
        qFatal("no temporary folder");

    std::printf("bench_tags: %d files per run, preparing...\n", n);
    std::fflush(stdout);
    const QByteArray cover500 = F::busyCoverJpeg(500);
    const QStringList covered = makeFiles(tmp.path(), QStringLiteral("cover500"), n, cover500);
    const QStringList textOnly = makeFiles(tmp.path(), QStringLiteral("text"), n, QByteArray());
    const QStringList big = makeFiles(tmp.path(), QStringLiteral("cover1500"), n, F::busyCoverJpeg(1500));
    const QStringList singleWrites = makeFiles(tmp.path(), QStringLiteral("single"), n, cover500);
    const QStringList allWrites = makeFiles(tmp.path(), QStringLiteral("all"), n, cover500);

    QMap<QString, QString> values;
    for (const FieldAccess &field : fieldAccess())
        values.insert(field.key, field.kind == FieldAccess::Number ? QStringLiteral("2024")
                                                                   : QStringLiteral("Bench ") + field.key);
    int sink = 0; // keeps the reads from being optimised away
    const auto readers = [&](const QString &path) {
        for (const FieldAccess &field : fieldAccess())
            sink += field.read(path).size();
    };
    const auto readAll = [&](const QString &path) {
        const TagRecord record = T::readAll(path);
        sink += record.fields.size() + record.cover.width();
    };
    const auto readCover = [&](const QString &path) { sink += T::readCoverArt(path).width(); };
    const auto writers = [&](const QString &path) {
        for (const FieldAccess &field : fieldAccess())
            sink += field.write(path, values.value(field.key));
    };
    const auto writeAll = [&](const QString &path) { sink += bool(T::writeAll(path, values)); };

    const Row rows[] = {
        {"13 single readers, text (500x500 cover files)", filesPerSecond(covered, readers)},
        {"readAll, text part (same tags, no cover)", filesPerSecond(textOnly, readAll)},
        {"13 single readers, text (no cover)", filesPerSecond(textOnly, readers)},
        {"readCoverArt 500x500, full decode", filesPerSecond(covered, readCover)},
        {"readAll 500x500, fitted decode", filesPerSecond(covered, readAll)},
        {"readCoverArt 1500x1500, full decode", filesPerSecond(big, readCover)},
        {"readAll 1500x1500, fitted decode", filesPerSecond(big, readAll)},
        {"13 single writers (13 saves)", filesPerSecond(singleWrites, writers)},
        {"writeAll, 13 fields (1 save)", filesPerSecond(allWrites, writeAll)},
    };
    std::printf("\n%-48s %12s\n", "operation", "files/s");
    for (const Row &row : rows)
        std::printf("%-48s %12.1f\n", row.name, row.rate);
    std::printf("\nreadAll text part vs 13 readers (no cover): %.1fx (aim: at least 6x)\n",
                rows[1].rate / rows[2].rate);
    std::printf("readAll with 500x500 cover vs 13 readers (same files): %.1fx\n", rows[4].rate / rows[0].rate);
    std::printf("writeAll vs 13 writers: %.1fx (aim: at least 6x)\n", rows[8].rate / rows[7].rate);
    return sink == -1;
}
