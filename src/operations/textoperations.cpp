#include "operations/textoperations.h"

#include <QVector>

namespace TextOperations {

namespace {

bool startsWord(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

QString toTitleCase(const QString &text)
{
    const QString lower = text.toLower();
    QString result;
    result.reserve(lower.size());
    bool wordStart = true;
    // By code point, so letters outside the Basic Multilingual Plane count too.
    const QVector<uint> codePoints = lower.toUcs4();
    for (const uint c : codePoints) {
        if (wordStart && QChar::isLetter(c)) {
            const uint title = QChar::toTitleCase(c);
            // Letters whose title case is more than one character (such as
            // "ß") have no single-character form; they stay as they are.
            result.append(QString::fromUcs4(&title, 1));
            wordStart = false;
        } else {
            if (startsWord(c))
                wordStart = true;
            result.append(QString::fromUcs4(&c, 1));
        }
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
