#pragma once

#include "tags/coverimage.h"
#include "tags/tagfields.h"
#include "tags/tagwriteresult.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <optional>

// Where the program reads and writes the tags of an audio file, whatever its
// format: each file is edited as what its content is (TagFamily), and
// everything here is format-neutral. Every operation opens the file, does its
// work and closes it again.
//
// Readers give a single space " " for a field that is missing, and the frame
// readers "file is not open" when the file cannot be opened at all. Writers
// return whether the file was saved; they refuse (false, file untouched) when
// the file is no audio of a known format or its tags could not be read whole.
// The whole-file writers say why they refused.
class TagReaderAndWriter : public QObject
{
    Q_OBJECT

public:
    explicit TagReaderAndWriter(QObject *parent = nullptr);

    static QString readTitle(const QString &path);
    static QString readArtist(const QString &path);
    static QString readAlbum(const QString &path);
    static QString readYear(const QString &path);
    static QString readComment(const QString &path);
    static QString readTrack(const QString &path);
    static QString readGenre(const QString &path);
    static QString readBPM(const QString &path);
    static QString readComposer(const QString &path);
    static QString readGrouping(const QString &path);
    static QString readLabel(const QString &path);
    static QString readRemixer(const QString &path);
    static QString readInitialKey(const QString &path);
    static QImage readCoverArt(const QString &path);
    // The first picture's bytes, as stored; empty without one.
    static QByteArray readCoverBytes(const QString &path);

    static bool writeTitle(const QString &path, const QString &value);
    static bool writeArtist(const QString &path, const QString &value);
    static bool writeAlbum(const QString &path, const QString &value);
    static bool writeYear(const QString &path, const QString &value);
    static bool writeComment(const QString &path, const QString &value);
    static bool writeTrack(const QString &path, const QString &value);
    static bool writeGenre(const QString &path, const QString &value);
    static bool writeBPM(const QString &path, const QString &value);
    static bool writeComposer(const QString &path, const QString &value);
    static bool writeGrouping(const QString &path, const QString &value);
    static bool writeLabel(const QString &path, const QString &value);
    static bool writeRemixer(const QString &path, const QString &value);
    static bool writeInitialKey(const QString &path, const QString &value);

    // Replaces every picture by one JPEG front cover; a null image removes
    // them all.
    static TagWriteResult writeCoverArt(const QString &path, const QImage &image);

    // Strips ID3v1 and APE and removes the ID3v2 frames whose text mentions
    // "Serato". The path is UTF-8.
    static TagWriteResult removeSeratoData(const char *path);

    // All thirteen text fields and the cover (fitted to 400 x 400, decoded at
    // reduced size) in one open; the same texts the single readers give.
    static TagRecord readAll(const QString &path);
    // The same without decoding the cover (hasCover says whether there is one).
    static TagRecord readTags(const QString &path);
    // The first picture, fitted to 400 x 400 and decoded at reduced size.
    static QImage readCoverFitted(const QString &path);

    // Writes the given fields (column key -> text; the others stay as they
    // are) and, when asked, the cover, in one open and one save. Stores
    // exactly what the single writers called in column order would.
    static TagWriteResult writeAll(const QString &path, const QMap<QString, QString> &fields,
                         const std::optional<QImage> &cover = std::nullopt);
    // The same with the cover stored as given, byte for byte; empty bytes
    // remove every picture.
    static TagWriteResult writeAll(const QString &path, const QMap<QString, QString> &fields,
                                   const CoverImage::Encoded &cover);

private:
    static TagRecord readRecord(const QString &path, bool decodeCover);
};
