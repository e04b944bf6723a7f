#pragma once

#include <QMap>
#include <QStringList>
#include <QVector>

// A DJ's library in miniature, for the benchmarks. The library mix, in
// every twenty files: 8 MP3, 4 FLAC, 3 AIFF, 2 M4A (one in five ALAC, the
// rest AAC), 2 WAV, 1 Ogg (Vorbis and Opus in turn), interleaved. Each
// format's k-th file: a 500 x 500 cover for even k, a 1500 x 1500 one for
// k % 4 == 1, none otherwise; every tenth holds DJ-software data in its
// format's own form; MP3/AIFF/WAV alternate ID3v2.3 and 2.4 every four.
// The audio is a few seconds encoded by Debian's encoders, tagged through
// TagLib. The MP3-only mix is the earlier corpus (short silent MP3s), kept
// to compare with its figures.
namespace Corpus {

enum class Mix { Library, Mp3Only };
enum class Kind { Mp3, Flac, Aiff, M4aAac, M4aAlac, Wav, OggVorbis, OggOpus };

const QVector<Kind> &kinds();
QString kindName(Kind kind);
// The kind of the file with this index in a corpus of the mix.
Kind kindOf(int index, Mix mix);

// n files in dir (one flat folder, nothing else in it for the library mix).
// Copies, or hard links of a few templates when links is set (for very long
// lists that are only read).
QStringList make(const QString &dir, int n, bool links = false, Mix mix = Mix::Library);

// What the table should show for each of the thirteen columns of a corpus
// file, by column key.
const QMap<QString, QString> &shownFields();

// The title every benchmark save writes: six letters and six digits, so the
// program's saves and TagLib's change the same number of bytes. (A tag that
// shrinks while its padding is at TagLib's limit makes TagLib rewrite the
// whole file; titles of differing lengths would bill that to one side.)
QString title(const char *sixLetters, int index);

// Peak resident memory in MiB.
double peakMiB();

} // namespace Corpus

// Outside yardsticks, measured in the same run as the program's figures
// (seconds).
namespace Reference {

// kid3-cli (Debian's kid3-cli) reading every frame of every file in one
// process; -1 when it is not installed. The files must share one folder.
double kid3Read(const QStringList &files);
// TagLib's own loop through FileRef: one open per file (tags only) reading
// every property and the picture bytes.
double taglibRead(const QStringList &files);
// The plain way to the pictures of a screen of rows, on one thread: TagLib's
// bytes of each file's first picture, decoded whole, scaled to 400 x 400.
double decodeCovers(const QStringList &files);
// TagLib's own loop through FileRef: one title change and save per file.
double taglibSave(const QStringList &files);

} // namespace Reference
