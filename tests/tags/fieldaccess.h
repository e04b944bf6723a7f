#pragma once

#include "tags/tagreaderandwriter.h"

#include <QString>
#include <QVector>

// The thirteen fields with their single reader and writer and the ID3v2 frame
// each one is stored in, in column order, so tests can walk them as data.
struct FieldAccess
{
    enum Kind { Text, Number, Frame };
    QString key;
    const char *frameId;
    Kind kind;
    QString (*read)(const QString &);
    bool (*write)(const QString &, const QString &);
};

inline const QVector<FieldAccess> &fieldAccess()
{
    using T = TagReaderAndWriter;
    static const QVector<FieldAccess> fields = {
        {"Title", "TIT2", FieldAccess::Text, &T::readTitle, &T::writeTitle},
        {"Artist", "TPE1", FieldAccess::Text, &T::readArtist, &T::writeArtist},
        {"Album", "TALB", FieldAccess::Text, &T::readAlbum, &T::writeAlbum},
        {"Year", "TDRC", FieldAccess::Number, &T::readYear, &T::writeYear},
        {"Comment", "COMM", FieldAccess::Text, &T::readComment, &T::writeComment},
        {"Track", "TRCK", FieldAccess::Number, &T::readTrack, &T::writeTrack},
        {"Genre", "TCON", FieldAccess::Text, &T::readGenre, &T::writeGenre},
        {"BPM", "TBPM", FieldAccess::Frame, &T::readBPM, &T::writeBPM},
        {"Composer", "TCOM", FieldAccess::Frame, &T::readComposer, &T::writeComposer},
        {"Grouping", "TIT1", FieldAccess::Frame, &T::readGrouping, &T::writeGrouping},
        {"Label", "TPUB", FieldAccess::Frame, &T::readLabel, &T::writeLabel},
        {"Remixer", "TPE4", FieldAccess::Frame, &T::readRemixer, &T::writeRemixer},
        {"InitialKey", "TKEY", FieldAccess::Frame, &T::readInitialKey, &T::writeInitialKey},
    };
    return fields;
}

inline const FieldAccess &fieldByKey(const QString &key)
{
    for (const FieldAccess &field : fieldAccess()) {
        if (field.key == key)
            return field;
    }
    qFatal("unknown field key %s", qPrintable(key));
}

// What the readers give for a file that exists but has no value for the field.
inline QString absentValue(const FieldAccess &field)
{
    switch (field.kind) {
    case FieldAccess::Text: return QString();
    case FieldAccess::Number: return QStringLiteral("0");
    case FieldAccess::Frame: break;
    }
    return QStringLiteral(" ");
}
