#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// What renaming files from their tags, or filling tags from file names, would
// do to the table's rows, worked out before anything changes: the user looks
// first, and the pass then does exactly what was shown.
namespace RenamePreview {

enum class Kind { RenameFiles, TagsFromNames };

// Why a row is left as it is.
enum class Skip {
    None,
    MissingValue,  // a tag of the pattern has no value
    NameRefused,   // the name would be no safe file name
    NameTaken,     // a file, or an earlier row of the pass, has the name
    FileGone,      // the row's file is no longer there
    NameUnmatched, // the file name does not fit the pattern
};

// A row as the table shows it.
struct RowTexts
{
    QString location;
    QString fileName;
    QHash<QString, QString> cells; // by tag, for each tag of the pattern the table has
};

struct PreviewRow
{
    QString location;
    QString fileName;
    // Per column of the preview: the new file name; or the pattern's tags'
    // cells, before and after (a tag the name gives no value keeps its text).
    QStringList before;
    QStringList after;
    Skip skip = Skip::None;

    bool changes() const { return skip == Skip::None; }
};

struct Preview
{
    Kind kind = Kind::RenameFiles;
    QStringList columns; // the tags shown, for TagsFromNames
    QVector<PreviewRow> rows;

    int changing() const;
};

// Rows that would keep their name are left out. Names are checked in row
// order against the folder and the names earlier rows take, as the renames
// will be done.
Preview renames(const QVector<RowTexts> &rows, const QStringList &tags, const QString &separator);

// Rows whose name gives only what they already hold are left out.
Preview tagsFromNames(const QVector<RowTexts> &rows, const QStringList &tags, const QString &separator);

} // namespace RenamePreview
