#pragma once

#include "corpus.h"
#include "tags/fields.h"

#include <QByteArray>
#include <QMap>
#include <QString>

// The corpus's files of each format: short real audio encoded once by
// Debian's encoders, then tagged through TagLib as the format's usual
// taggers do.
namespace LibraryFiles {

// What one corpus file holds besides its audio.
struct Look
{
    Corpus::Kind kind = Corpus::Kind::Mp3;
    QByteArray cover;     // JPEG, empty for none
    bool djData = false;  // Serato's markers, in the format's own form
    bool id3v23 = false;  // MP3, AIFF and WAV: an ID3v2.3 tag instead of 2.4
};

// What the corpus stores in each field (the table shows a track "3/12" as 3).
QString storedText(Field field);
QString extension(Corpus::Kind kind);

// Encodes each kind's sample on first use, in a folder of their own.
class Samples
{
public:
    explicit Samples(const QString &dir);
    QString path(Corpus::Kind kind);

private:
    QString source();

    QString m_dir;
    QMap<Corpus::Kind, QString> m_paths;
};

// The thirteen fields (Corpus::shownFields), the cover and the DJ data into
// a copy of a sample; dies when TagLib stores a field under a name other
// than the program's field table reads first.
void tag(const QString &path, const Look &look);

} // namespace LibraryFiles
