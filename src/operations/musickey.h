#pragma once

#include <QString>

#include <optional>

// The ways DJ software writes a key.
enum class KeyNotation {
    Musical, // "Am", "F#m", "Db": the ID3 TKEY form, three characters at most
    Camelot, // "8A", "3B"
    OpenKey, // "1m", "8d"
};

namespace MusicKey {

// A key by its place on the Camelot wheel: number 1-12, minor (A) or major (B).
struct Key
{
    int number = 0;
    bool major = false;

    bool operator==(const Key &other) const { return number == other.number && major == other.major; }
    bool operator!=(const Key &other) const { return !(*this == other); }
};

// Reads a key in any of the three notations and their common variants,
// spaces around it ignored: "Am", "A min", "A minor", "Amin", "am", "G#m",
// "G♯m", "A♭", "Bbmaj", "C maj", "C major", "A-Flat Minor", "C"
// (major), enharmonics ("Cb" is B); "8A", "08a"; "1m", "01D". Nothing when the
// text is no key ("", "o" for off key, "C/G", "13A", "Hm", and the ambiguous
// "a" and "AM").
std::optional<Key> parse(const QString &text);
// One spelling per key: "Dbm", "F#"; "8A" with no leading zero; "1m", "1d".
QString format(Key key, KeyNotation notation);

// 0 for 1A, 1 for 1B, 2 for 2A ... 23 for 12B.
int wheelPosition(Key key);

// "Musical", "Camelot", "Open Key": the panel's labels and the stored setting.
QString notationName(KeyNotation notation);
std::optional<KeyNotation> notationFromName(const QString &name);

} // namespace MusicKey
