#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The media table's columns in table order (a column's position is its index
// here). The table's layout, the operation panel and tag access all read this
// one list; where each text column is stored, per format, is the field
// table's business (fields.h), found by the column's key.
namespace TagColumns {

enum class Kind {
    Text,     // a tag text field
    FileName, // the file's name, renamed on save
    Cover,    // the front cover picture
    Location, // the file's absolute path, hidden: the row's identity
};

// How the operation panel offers a column: which of its text operations
// show the column's box and read it.
enum class PanelBox {
    None,       // no box
    Checked,    // every text operation, checked at start
    Unchecked,  // every text operation, unchecked at start
    TextOnly,   // find and replace and text formatting, not space removal
    SpacesOnly, // space removal only
    Hidden,     // a box no operation shows or reads
};

struct Column
{
    QString key;         // the header text and the field's key
    Kind kind;
    PanelBox panel;
    bool inPatterns;     // a file-name pattern may name it
};

const QVector<Column> &all();
int count();

// Position of the column, or -1 for an unknown key.
int position(const QString &key);
// The one column of a kind other than Text.
int position(Kind kind);
const QString &key(Kind kind);

QStringList keys();
// The tag text fields, in table order.
const QStringList &textKeys();
// The operation panel's column boxes: those find and replace and formatting
// read first, then the others, each group in table order.
QStringList panelKeys();
// The tag names a file-name pattern may hold, in table order.
const QStringList &patternKeys();

} // namespace TagColumns
