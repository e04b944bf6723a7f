#include "operations/filenamepattern.h"

#include "operations/filenamerules.h"
#include "tags/audioformat.h"

namespace FileNamePattern {

QString baseNameFromValues(const QStringList &values, const QString &separator, int expectedCount)
{
    if (values.size() < expectedCount || values.isEmpty())
        return QString();
    for (const QString &value : values) {
        if (value.isEmpty() || value == QLatin1String(" ") || !FileNameRules::isSafeBaseName(value))
            return QString();
    }
    return values.join(separator);
}

QList<QPair<QString, QString>> valuesFromFileName(const QString &fileName, const QStringList &tags,
                                                  const QString &separator)
{
    QList<QPair<QString, QString>> result;
    if (tags.isEmpty())
        return result;
    const QString base = fileName.left(fileName.size() - AudioFormats::extensionOf(fileName).size());

    if (tags.size() == 1) {
        result.append({tags.first(), base});
        return result;
    }
    if (separator.isEmpty() || base.count(separator) < tags.size() - 1)
        return result;

    int tag = 0;
    int start = 0;
    while (true) {
        const int found = base.indexOf(separator, start);
        if (found < 0) {
            if (tag < tags.size())
                result.append({tags.at(tag), base.mid(start)});
            break;
        }
        if (tag < tags.size())
            result.append({tags.at(tag++), base.mid(start, found - start)});
        start = found + 1;
        if (start >= base.size())
            break;
    }
    return result;
}

} // namespace FileNamePattern
