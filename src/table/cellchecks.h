#pragma once

#include <QString>

// What a typed cell means to its column. A key, a tempo, a track or a year
// that is none is kept as typed, but shown in the error colour with the
// reason; a track or a year that the file cannot store is not written.
namespace CellChecks {

// Why the text is not what the column holds; empty when it is (and for every
// other column).
QString problem(const QString &columnKey, const QString &text);

// Whether a save writes the text into the file.
bool isStorable(const QString &columnKey, const QString &text);

} // namespace CellChecks
