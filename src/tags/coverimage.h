#pragma once

#include <QByteArray>
#include <QImage>

// Pictures as covers are held and stored.
namespace CoverImage {

// Decodes picture bytes, shrunk while decoding to fit size x size when larger
// (aspect ratio kept); smaller pictures keep their size. Null when the bytes
// are no picture.
QImage decodeFitted(const QByteArray &bytes, int size);

// JPEG bytes of the image painted on white (JPEG has no transparency: a
// transparent cover would turn black); empty when it cannot be encoded.
QByteArray encodeJpeg(const QImage &image);

} // namespace CoverImage
