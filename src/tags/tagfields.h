#pragma once

#include <QImage>
#include <QMap>
#include <QString>
#include <QStringList>

// The thirteen tag text fields, by the column key the table shows them under,
// in column order.
namespace TagKeys {
inline const QStringList &textFields()
{
    static const QStringList keys = {
        QStringLiteral("Title"),    QStringLiteral("Artist"),   QStringLiteral("Album"),
        QStringLiteral("Year"),     QStringLiteral("Comment"),  QStringLiteral("Track"),
        QStringLiteral("Genre"),    QStringLiteral("BPM"),      QStringLiteral("Composer"),
        QStringLiteral("Grouping"), QStringLiteral("Label"),    QStringLiteral("Remixer"),
        QStringLiteral("InitialKey"),
    };
    return keys;
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
};
