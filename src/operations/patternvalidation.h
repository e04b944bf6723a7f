#pragma once

#include <QString>
#include <QStringList>

// The tag patterns of the rename operations: which tag names a typed pattern
// holds, and the word completion of the pattern field.
namespace PatternValidation {

// The twelve tag names a pattern may use, in the order the completion offers
// them. "InitialKey" is not among them.
const QStringList &tagNames();

struct Result
{
    QStringList tags; // in pattern order, repeats kept; empty when none found
    QString pattern;  // the tags joined by the separator, nothing else
};

// Finds the tag names in pattern, case-sensitively. After a hit the search
// for the same name goes on one character past its end, so two copies with
// nothing between them ("ArtistArtist") count once.
Result validate(const QString &pattern, const QString &separator);

// The word being typed: the text from the last separator before the cursor
// up to the cursor, trimmed, without the separator. Trimming comes first, so
// a blank after the separator stays part of the word.
QString completionPrefix(const QString &text, int cursor, const QString &separator);

struct Completion
{
    QString text;
    int cursor = -1; // right after the inserted name
};

// The text after picking name for the word around the cursor: the word up to
// the next separator is replaced, the rest kept. A word already complete up
// to the cursor gets a separator appended to the whole text instead.
Completion complete(const QString &text, int cursor, const QString &separator, const QString &name);

} // namespace PatternValidation
