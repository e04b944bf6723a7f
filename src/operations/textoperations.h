#pragma once

#include <QString>

// The bulk text edits, as plain functions of one cell's text.
namespace TextOperations {

// Every letter that starts a word is raised (title case), every other letter
// lowered, except where the typist chose the case: a word, or a part of one
// between punctuation, typed with two capitals or more and no small letter
// stays ("DJ", "XIV", "MK2", "U.K.", "DJ's"), and so does the letter after an
// apostrophe or after a leading "Mc" ("O'Neil", "McDonald"; "o'neil" ->
// "O'neil"). Words start after ASCII white space, "/" and an opening bracket,
// not after a no-break space or a hyphen: "rock-n-roll" -> "Rock-n-roll",
// "4ever" -> "4Ever", "élan" -> "Élan".
QString toTitleCase(const QString &text);

// The case conversion an option of the operation panel names ("Capitalize",
// "Upper Case", "Lower Case"); any other option leaves the text as it is.
QString formatText(const QString &option, const QString &text);

// The name of the conversion in the success message.
QString conversionName(const QString &option);

} // namespace TextOperations
