#pragma once

#include <QByteArray>
#include <QImage>

#include <optional>

// Pictures as covers are held and stored.
namespace CoverImage {

// The picture formats every tag family names in its own way (ID3 and FLAC by
// MIME type, MP4 by a type code), so a cover's bytes can be stored as they are.
enum class Format { Jpeg, Png };

// A cover as it is stored; empty bytes for no cover at all.
struct Encoded
{
    QByteArray bytes;
    Format format = Format::Jpeg;
};

// The format the bytes are in, from their signature; none for anything but
// JPEG and PNG.
std::optional<Format> storableFormat(const QByteArray &bytes);
const char *mimeType(Format format);

// The image as a JPEG cover (see encodeJpeg); empty bytes for a null image,
// none when it cannot be encoded.
std::optional<Encoded> asJpeg(const QImage &image);

// Decodes picture bytes, shrunk while decoding to fit size x size when larger
// (aspect ratio kept); smaller pictures keep their size. Null when the bytes
// are no picture.
QImage decodeFitted(const QByteArray &bytes, int size);

// JPEG bytes of the image painted on white (JPEG has no transparency: a
// transparent cover would turn black); empty when it cannot be encoded.
QByteArray encodeJpeg(const QImage &image);

} // namespace CoverImage
