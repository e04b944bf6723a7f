#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// File names built from tag values, and tag values taken from file names.
namespace FileNamePattern {

// The base name for renaming a file from its tags: the values joined by the
// separator. Empty when any tag has no usable value: empty, a single blank
// (the table's mark for a value that could not be read), or a value that is
// no safe file name on its own ("." or "..", a path separator).
QString baseNameFromValues(const QStringList &values, const QString &separator, int expectedCount);

// The (tag, value) pairs a file name gives for the tags of a pattern, in the
// order they are written (a repeated tag is written twice, the later value
// winning). The name's own extension, in any case, is not part of any value.
// Empty when, for two or more tags, the name holds fewer separators than the
// tags need.
QList<QPair<QString, QString>> valuesFromFileName(const QString &fileName, const QStringList &tags,
                                                  const QString &separator);

} // namespace FileNamePattern
