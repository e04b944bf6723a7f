#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

// The encoded originals of the cover pictures the table holds decoded, so a
// save can store a chosen picture as it was rather than re-encoded. Pictures
// are known by QImage::cacheKey(), which every copy by value shares until
// one is modified: the table, its undo steps and the row records may pass a
// picture on freely. Widget-free and safe from any thread.
//
// The memory is bounded (the least recently used originals are forgotten
// first); a picture whose original is not known is stored from its pixels.
namespace CoverOriginals {

// The picture in an image file, its bytes remembered; null when the file is
// no picture Qt can decode.
QImage load(const QString &imageFile);
// The audio file's first picture at full size, its bytes remembered; null
// without one.
QImage fromAudioFile(const QString &audioPath);

// The bytes the picture was decoded from, in whatever format they are.
std::optional<QByteArray> originalOf(const QImage &picture);
// A picture made from another, such as a scaled copy, stands for the same original.
void carry(const QImage &from, const QImage &to);

// Forgets every original, when the pictures they belong to are gone.
void clear();

} // namespace CoverOriginals
