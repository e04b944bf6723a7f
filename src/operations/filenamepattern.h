#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// File names built from tag values, and tag values taken from file names.
namespace FileNamePattern {

enum class NameProblem {
    None,
    MissingValue, // a tag has no value: empty, or the single blank the table shows for one it could not read
    UnsafeValue,  // a value is no safe file name on its own ("." or "..", a path separator)
};

struct BaseName
{
    QString text; // empty unless problem is None
    NameProblem problem = NameProblem::None;
};

// The base name for renaming a file from its tags: the values joined by the
// separator, or why there is none.
BaseName baseNameFromValues(const QStringList &values, const QString &separator, int expectedCount);

// The (tag, value) pairs a file name gives for the tags of a pattern, in the
// order they are written (a repeated tag is written twice, the later value
// winning). The name's own extension, in any case, is not part of any value,
// and the blanks around each value are dropped ("Air - Venus" gives "Air" and
// "Venus"). Empty when, for two or more tags, the name holds fewer
// separators than the tags need.
QList<QPair<QString, QString>> valuesFromFileName(const QString &fileName, const QStringList &tags,
                                                  const QString &separator);

} // namespace FileNamePattern
