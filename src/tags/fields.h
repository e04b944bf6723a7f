#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

// The thirteen tag text fields, by identity. Each format family stores them
// under its own names; this one table says which, so everything above the
// families stays format-neutral.
enum class Field {
    Title,
    Artist,
    Album,
    Year,
    Comment,
    Track,
    Genre,
    Bpm,
    Composer,
    Grouping,
    Label,
    Remixer,
    InitialKey,
};

namespace Fields {

// How a field is read and shown: the generic ones as TagLib's format-neutral
// tag gives them, numbers as numbers, the DJ fields as stored.
enum class Shape {
    Text,   // missing: empty
    Number, // shown as its number; missing: "0"
    Extra,  // missing: a single space
};

struct Names
{
    Field field;
    QString key;          // the column key the table shows it under
    Shape shape;
    const char *id3;      // ID3v2 frame (MP3, AIFF, WAV)
    QStringList vorbis;   // Vorbis comment names (FLAC, Ogg, Opus): the first is written, all are read in order
    QStringList mp4;      // MP4 atoms: the first is written, all are read in order
    const char *riffInfo; // WAV's RIFF INFO id kept in step, nullptr when INFO has no such field
};

// In column order.
const QVector<Names> &all();
const Names &of(Field field);
std::optional<Field> fromKey(const QString &key);
inline const QString &key(Field field) { return of(field).key; }

// What a reader gives for a field the file does not hold.
QString absent(Field field);

// The leading number of a text, as TagLib reads years and track numbers
// ("2/12" is 2, "1999-10-18" is 1999); 0 when it starts with none.
int leadingNumber(const QString &text);

// How a stored year or track is shown: its leading number (of a year, of the
// first four characters), "0" for none.
QString shownNumber(Field field, const QString &stored);
// The number a typed year or track stores: the whole text as a decimal
// number; 0 (store nothing) for any other text, and for negative numbers.
int storedNumber(const QString &typed);

} // namespace Fields
