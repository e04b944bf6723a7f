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

// What a track or a year may hold, stored as typed: "n" or "n/total"; a
// year or a date, "YYYY", "YYYY-MM" or "YYYY-MM-DD". Empty (and "0", which
// the table shows for none) is no value.
bool isTrackText(const QString &text);
bool isYearText(const QString &text);

// How a stored year or track is shown: as stored when it is a form the field
// may hold, otherwise its leading number (of a year, of the first four
// characters), so the table never shows a form it would refuse; "0" for none.
QString shownNumber(Field field, const QString &stored);

// What a typed text stores: the text as typed, empty to remove the field; a
// year or track "0" removes it too, and one in no form the field may hold
// stores nothing: none, the field stays as stored.
std::optional<QString> storedText(Field field, const QString &typed);

} // namespace Fields
