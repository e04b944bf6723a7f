#include "operations/patternvalidation.h"

#include "tags/tagcolumns.h"

#include <QMap>

namespace PatternValidation {

namespace {

// An empty separator (before the panel sets one) splits nothing.
int lastSeparatorBefore(const QString &text, int cursor, const QString &separator)
{
    if (separator.isEmpty())
        return -1;
    return text.left(cursor).lastIndexOf(separator);
}

int nextSeparatorFrom(const QString &text, int cursor, const QString &separator)
{
    const int at = separator.isEmpty() ? -1 : text.indexOf(separator, cursor);
    return at < 0 ? text.size() : at;
}

} // namespace

const QStringList &tagNames()
{
    return TagColumns::patternKeys();
}

Result validate(const QString &pattern, const QString &separator)
{
    // No name is a prefix of another, so no two hits share a position.
    QMap<int, QString> hits;
    for (const QString &name : tagNames()) {
        int from = 0;
        while (from < pattern.size()) {
            const int at = pattern.indexOf(name, from);
            if (at < 0)
                break;
            hits.insert(at, name);
            from = at + name.size() + 1;
        }
    }

    Result result;
    result.tags = hits.values();
    result.pattern = result.tags.join(separator);
    return result;
}

QString completionPrefix(const QString &text, int cursor, const QString &separator)
{
    cursor = qBound(0, cursor, text.size());
    const int start = qMax(0, lastSeparatorBefore(text, cursor, separator));
    QString word = text.mid(start, cursor - start).trimmed();
    if (!separator.isEmpty())
        word.remove(separator);
    return word;
}

Completion complete(const QString &text, int cursor, const QString &separator, const QString &name)
{
    cursor = qBound(0, cursor, text.size());
    const int before = lastSeparatorBefore(text, cursor, separator);
    const int after = nextSeparatorFrom(text, cursor, separator);
    const int typedLength = cursor - before - 1;

    Completion completion;
    completion.cursor = cursor + name.size() - typedLength;
    // Up to cursor characters, not only the typed ones, are compared: Qt
    // highlights an entry before it is picked, so at the pick the word
    // already reads as the name, and the pick adds the separator instead.
    if (text.mid(before + 1, cursor) == name)
        completion.text = text + separator;
    else
        completion.text = text.left(before + 1) + name + text.mid(after);
    return completion;
}

} // namespace PatternValidation
