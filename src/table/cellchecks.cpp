#include "table/cellchecks.h"

#include "operations/bpmvalue.h"
#include "operations/musickey.h"
#include "tags/fields.h"

#include <QCoreApplication>

namespace CellChecks {

QString problem(const QString &columnKey, const QString &text)
{
    const std::optional<Field> field = Fields::fromKey(columnKey);
    if (!field)
        return QString();
    // The DJ fields a file lacks read as a single space.
    const bool blank = text.trimmed().isEmpty();
    switch (*field) {
    case Field::InitialKey:
        if (!blank && !MusicKey::parse(text))
            return QCoreApplication::translate("CellChecks", "Not a key: keys read like Am, F#m, 8A or 1m.");
        break;
    case Field::Bpm:
        if (!blank && !BpmValue::parse(text))
            return QCoreApplication::translate("CellChecks", "Not a tempo: beats per minute read like 128 or 127.5.");
        break;
    case Field::Track:
        if (!isStorable(columnKey, text))
            return QCoreApplication::translate("CellChecks", "Not a track: write 3 or 3/12. Saving leaves the file's track as it is.");
        break;
    case Field::Year:
        if (!isStorable(columnKey, text))
            return QCoreApplication::translate("CellChecks", "Not a year or a date: write 2024, 2024-05 or 2024-05-31. Saving leaves the file's year as it is.");
        break;
    default:
        break;
    }
    return QString();
}

bool isStorable(const QString &columnKey, const QString &text)
{
    const std::optional<Field> field = Fields::fromKey(columnKey);
    if (field == Field::Track)
        return Fields::isTrackText(text);
    if (field == Field::Year)
        return Fields::isYearText(text);
    return true;
}

} // namespace CellChecks
