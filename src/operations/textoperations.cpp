#include "operations/textoperations.h"

#include <QVector>

#include <algorithm>

namespace TextOperations {

namespace {

enum class LetterCase { Lower, Title, AsTyped };

// The span of one word, and the letters whose case is decided by position.
struct Word {
    const uint *begin = nullptr;
    const uint *end = nullptr;
    const uint *first = nullptr;
    const uint *afterMc = nullptr;
};

bool isBlank(uint c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A slash or an opening bracket starts a word as white space does ("Vocal/Dub",
// "Mix(Edit)"); a hyphen does not, so "Rock-n-roll" stays one word.
bool startsWord(uint c)
{
    return isBlank(c) || c == '/' || c == '(' || c == '[' || c == '{';
}

bool isApostrophe(uint c)
{
    return c == '\'' || c == '`' || c == 0x00B4 || c == 0x02BC || c == 0x2019;
}

// Unicode counts the modifier apostrophe U+02BC as a letter.
bool isLetter(uint c)
{
    return QChar::isLetter(c) && !isApostrophe(c);
}

// Anything else (points, hyphens, apostrophes, "&") splits a word into parts.
bool isPartCharacter(uint c)
{
    return isLetter(c) || QChar::isNumber(c) || QChar::isMark(c);
}

// A single capital says nothing, as any first letter is one; two or more and no
// small letter mean the typist chose capitals: "DJ", "XIV", "MK2", "U.K.".
bool isCapitals(const uint *begin, const uint *end)
{
    int capitals = 0;
    for (const uint *c = begin; c != end; ++c) {
        if (QChar::isLower(*c))
            return false;
        if (QChar::isUpper(*c))
            ++capitals;
    }
    return capitals >= 2;
}

QString fromCodePoints(const uint *begin, const uint *end)
{
    return QString::fromUcs4(begin, int(end - begin));
}

Word findWord(const uint *begin, const uint *end)
{
    Word word{begin, end, std::find_if(begin, end, isLetter), nullptr};
    const uint *mc = word.first;
    if (end - mc > 2 && (mc[0] == 'M' || mc[0] == 'm') && (mc[1] == 'c' || mc[1] == 'C') && isLetter(mc[2]))
        word.afterMc = mc + 2;
    return word;
}

LetterCase caseAt(const Word &word, const uint *at)
{
    if (at == word.first)
        return LetterCase::Title;
    if (at == word.afterMc || (at != word.begin && isApostrophe(at[-1])))
        return LetterCase::AsTyped;
    return LetterCase::Lower;
}

// Lowered a run at a time, as QString::toLower maps some letters to more than
// one character ("İ"), which the single-letter QChar::toLower cannot.
void appendCasedPart(QString &result, const Word &word, const uint *begin, const uint *end)
{
    const uint *lowered = begin;
    for (const uint *c = begin; c != end; ++c) {
        const LetterCase letterCase = caseAt(word, c);
        if (letterCase == LetterCase::Lower)
            continue;
        result += fromCodePoints(lowered, c).toLower();
        // A letter whose title case is more than one character (such as "ß")
        // has no single-character form; it stays as it is.
        const uint kept = letterCase == LetterCase::Title ? QChar::toTitleCase(*c) : *c;
        result += fromCodePoints(&kept, &kept + 1);
        lowered = c + 1;
    }
    result += fromCodePoints(lowered, end).toLower();
}

QString titleWord(const uint *begin, const uint *end)
{
    if (isCapitals(begin, end))
        return fromCodePoints(begin, end);
    const Word word = findWord(begin, end);
    QString result;
    for (const uint *part = begin; part != end;) {
        const uint *partEnd = std::find_if_not(part, end, isPartCharacter);
        if (partEnd == part)
            result += fromCodePoints(part, ++partEnd).toLower();
        else if (isCapitals(part, partEnd))
            result += fromCodePoints(part, partEnd);
        else
            appendCasedPart(result, word, part, partEnd);
        part = partEnd;
    }
    return result;
}

} // namespace

QString toTitleCase(const QString &text)
{
    // By code point, so letters outside the Basic Multilingual Plane count too.
    const QVector<uint> codePoints = text.toUcs4();
    const uint *const end = codePoints.constData() + codePoints.size();
    QString result;
    result.reserve(text.size());
    for (const uint *word = codePoints.constData(); word != end;) {
        const uint *wordEnd = std::find_if(word, end, startsWord);
        result += titleWord(word, wordEnd);
        if (wordEnd == end)
            break;
        result += fromCodePoints(wordEnd, wordEnd + 1);
        word = wordEnd + 1;
    }
    return result;
}

QString formatText(const QString &option, const QString &text)
{
    if (option == QLatin1String("Capitalize"))
        return toTitleCase(text);
    if (option == QLatin1String("Upper Case"))
        return text.toUpper();
    if (option == QLatin1String("Lower Case"))
        return text.toLower();
    return text;
}

QString conversionName(const QString &option)
{
    return option == QLatin1String("Capitalize") ? QStringLiteral("Title Case") : option;
}

} // namespace TextOperations
