#pragma once

#include "tags/audioformat.h"
#include "tags/tagcolumns.h"

#include <QImage>
#include <QMap>
#include <QString>
#include <QStringList>

namespace TagKeys {
// The thirteen tag text fields, by the column key the table shows them under,
// in column order.
inline const QStringList &textFields()
{
    return TagColumns::textKeys();
}

// Covers are held, and stored, fitted into this square.
constexpr int kCoverFit = 400;
} // namespace TagKeys

// Everything one file gives the table, read in one open.
struct TagRecord
{
    QMap<QString, QString> fields; // column key -> text, all thirteen
    QImage cover;                  // fitted to TagKeys::kCoverFit, null without a picture
    bool hasCover = false;         // the file holds a picture, decoded or not
    // What the content is; Unknown for a file that is no audio the program
    // edits (such a file is not listed, and never written).
    AudioFormat format = AudioFormat::Unknown;
};
