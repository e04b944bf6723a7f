#include "operations/filenamepattern.h"

#include "operations/filenamerules.h"
#include "tags/audioformat.h"

namespace FileNamePattern {

BaseName baseNameFromValues(const QStringList &values, const QString &separator, int expectedCount)
{
    if (values.size() < expectedCount || values.isEmpty())
        return {QString(), NameProblem::MissingValue};
    for (const QString &value : values) {
        if (value.isEmpty() || value == QLatin1String(" "))
            return {QString(), NameProblem::MissingValue};
    }
    for (const QString &value : values) {
        if (!FileNameRules::isSafeBaseName(value))
            return {QString(), NameProblem::UnsafeValue};
    }
    return {values.join(separator), NameProblem::None};
}

QList<QPair<QString, QString>> valuesFromFileName(const QString &fileName, const QStringList &tags,
                                                  const QString &separator)
{
    QList<QPair<QString, QString>> result;
    if (tags.isEmpty())
        return result;
    // Trimmed first, so a name "A - " ends in a separator as "A-" does and
    // gives its last tag no value either.
    const QString base = fileName.left(fileName.size() - AudioFormats::extensionOf(fileName).size()).trimmed();

    if (tags.size() == 1) {
        result.append({tags.first(), base});
        return result;
    }
    if (separator.isEmpty() || base.count(separator) < tags.size() - 1)
        return result;

    int tag = 0;
    int start = 0;
    while (tag < tags.size()) {
        const int found = base.indexOf(separator, start);
        if (found < 0) {
            result.append({tags.at(tag), base.mid(start).trimmed()});
            break;
        }
        result.append({tags.at(tag++), base.mid(start, found - start).trimmed()});
        start = found + separator.size();
        if (start >= base.size())
            break;
    }
    return result;
}

} // namespace FileNamePattern
