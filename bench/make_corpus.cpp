// Writes the benchmark corpus into a folder, for looking at a long list in
// the real window: bench/make_corpus DIR [files] [--links] [--mp3-only].
#include "corpus.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: make_corpus DIR [files] [--links] [--mp3-only]\n");
        return 2;
    }
    const int n = args.size() > 2 && args.at(2).toInt() > 0 ? args.at(2).toInt() : 10000;
    if (!QDir().mkpath(args.at(1)))
        return 1;
    const Corpus::Mix mix = args.contains(QStringLiteral("--mp3-only")) ? Corpus::Mix::Mp3Only : Corpus::Mix::Library;
    const QStringList files = Corpus::make(args.at(1), n, args.contains(QStringLiteral("--links")), mix);
    std::printf("%d files in %s\n", int(files.size()), qPrintable(args.at(1)));
    return 0;
}
