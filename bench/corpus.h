#pragma once

#include <QStringList>

// A DJ's library in miniature, for the benchmarks: tagged MP3s, half with a
// 500 x 500 cover, a quarter with a 1500 x 1500 one and a quarter without,
// ID3v2.3 and 2.4 alternating, every tenth with DJ-software GEOB frames.
namespace Corpus {

// n files in dir (one flat folder). Copies, or hard links of a few templates
// when links is set (for very long lists that are only read).
QStringList make(const QString &dir, int n, bool links = false);

// Seconds; peak resident memory in MiB.
double peakMiB();

} // namespace Corpus

// Outside yardsticks, measured in the same run as the program's figures.
namespace Reference {

// kid3-cli (Debian's kid3-cli) reading every frame of every file in one
// process; -1 when it is not installed. The files must share one folder.
double kid3Read(const QStringList &files);
// TagLib's own loop: one open per file reading every field and the picture bytes.
double taglibRead(const QStringList &files);
// TagLib's own loop: one title change and save per file.
double taglibSave(const QStringList &files);

} // namespace Reference
