#include "operations/musickey.h"

#include <QRegularExpression>

#include <array>

namespace MusicKey {

namespace {

constexpr int wheelSize = 12;

// One spelling per key, indexed by Camelot number - 1: the flats and F#
// that key-analysis tools and stores write, each short enough for TKEY.
constexpr std::array<const char *, wheelSize> minorNames = {
    "Abm", "Ebm", "Bbm", "Fm", "Cm", "Gm", "Dm", "Am", "Em", "Bm", "F#m", "Dbm"};
constexpr std::array<const char *, wheelSize> majorNames = {
    "B", "F#", "Db", "Ab", "Eb", "Bb", "F", "C", "G", "D", "A", "E"};

// A leading zero is what some tools write so that text sorts "08A" before "10A".
const QRegularExpression &wheelPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^(0?[1-9]|1[0-2])([ABMD])$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// Root, accidental ("#", "b", the music signs or the word), mode: stores
// write "A#maj" and "Cmin", other tools "A-Flat Minor", people "A minor".
// German names are left out on purpose: their "B" is B flat and "H" is B.
const QRegularExpression &musicalPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^([A-G])(#|\u266F|(?-i:b)|\u266D|[ -]?sharp|[ -]?flat)?\\s*(minor|min|major|maj|m)?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

int semitonesAboveC(QChar root)
{
    static constexpr std::array<int, 7> fromA = {9, 11, 0, 2, 4, 5, 7};
    return fromA[static_cast<size_t>(root.toUpper().unicode() - 'A')];
}

int accidentalShift(const QString &accidental)
{
    if (accidental.isEmpty()) {
        return 0;
    }
    const QChar first = accidental.front();
    if (first == QLatin1Char('#') || first == QChar(0x266F) || accidental.endsWith(QLatin1String("sharp"), Qt::CaseInsensitive)) {
        return 1;
    }
    return -1;
}

// A step of a fifth is one step round the wheel; C major sits at 8B.
int wheelNumber(int majorTonic)
{
    const int fifths = (majorTonic * 7) % wheelSize;
    return (fifths + 7) % wheelSize + 1;
}

std::optional<Key> parseWheel(const QString &text)
{
    const QRegularExpressionMatch match = wheelPattern().match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const int number = match.captured(1).toInt();
    // Open Key counts from C major, Camelot from B major: 1d is 8B.
    const int camelotOfOpenKey = (number + 6) % wheelSize + 1;
    switch (match.captured(2).at(0).toUpper().unicode()) {
    case 'A':
        return Key{number, false};
    case 'B':
        return Key{number, true};
    case 'M':
        return Key{camelotOfOpenKey, false};
    default:
        return Key{camelotOfOpenKey, true};
    }
}

// Two spellings are no key rather than a guess: a small root letter with no
// mode ("a", "f#"), since small letters mean minor in classical shorthand but
// may just be typed small, and a lone capital "M" ("AM"), which is minor as
// "Am" uppercased but major in chord shorthand.
std::optional<Key> parseMusical(const QString &text)
{
    const QRegularExpressionMatch match = musicalPattern().match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const QChar root = match.captured(1).at(0);
    const QString mode = match.captured(3);
    if ((mode.isEmpty() && root.isLower()) || mode == QLatin1String("M")) {
        return std::nullopt;
    }
    const bool major = mode.isEmpty() || mode.startsWith(QLatin1String("maj"), Qt::CaseInsensitive);
    const int tonic = semitonesAboveC(root) + accidentalShift(match.captured(2));
    // A minor key shares its place with the major key three semitones up.
    const int majorTonic = (tonic + (major ? 0 : 3) + wheelSize) % wheelSize;
    return Key{wheelNumber(majorTonic), major};
}

bool isValid(Key key)
{
    return key.number >= 1 && key.number <= wheelSize;
}

} // namespace

std::optional<Key> parse(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    if (trimmed.front().isDigit()) {
        return parseWheel(trimmed);
    }
    return parseMusical(trimmed);
}

QString format(Key key, KeyNotation notation)
{
    Q_ASSERT(isValid(key));
    if (!isValid(key)) {
        return {};
    }
    switch (notation) {
    case KeyNotation::Musical: {
        const auto &names = key.major ? majorNames : minorNames;
        return QLatin1String(names[static_cast<size_t>(key.number - 1)]);
    }
    case KeyNotation::Camelot:
        return QString::number(key.number) + QLatin1Char(key.major ? 'B' : 'A');
    case KeyNotation::OpenKey:
        return QString::number((key.number + 4) % wheelSize + 1) + QLatin1Char(key.major ? 'd' : 'm');
    }
    return {};
}

int wheelPosition(Key key)
{
    Q_ASSERT(isValid(key));
    return (key.number - 1) * 2 + (key.major ? 1 : 0);
}

QString notationName(KeyNotation notation)
{
    switch (notation) {
    case KeyNotation::Musical:
        return QStringLiteral("Musical");
    case KeyNotation::Camelot:
        return QStringLiteral("Camelot");
    case KeyNotation::OpenKey:
        return QStringLiteral("Open Key");
    }
    return {};
}

std::optional<KeyNotation> notationFromName(const QString &name)
{
    for (const KeyNotation notation : {KeyNotation::Musical, KeyNotation::Camelot, KeyNotation::OpenKey}) {
        if (name.compare(notationName(notation), Qt::CaseInsensitive) == 0) {
            return notation;
        }
    }
    return std::nullopt;
}

} // namespace MusicKey
