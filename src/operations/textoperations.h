#pragma once

#include <QString>

// The bulk text edits, as plain functions of one cell's text.
namespace TextOperations {

// Every letter that starts a word is raised (title case), every other letter
// lowered. Words start only after ASCII white space (blank, tab, line feed,
// vertical tab, form feed, carriage return): "o'neil" -> "O'neil",
// "rock-n-roll" -> "Rock-n-roll", "4ever" -> "4Ever", "élan" -> "Élan".
QString toTitleCase(const QString &text);

// The case conversion an option of the operation panel names ("Capitalize",
// "Upper Case", "Lower Case"); any other option leaves the text as it is.
QString formatText(const QString &option, const QString &text);

// The name of the conversion in the success message.
QString conversionName(const QString &option);

} // namespace TextOperations
