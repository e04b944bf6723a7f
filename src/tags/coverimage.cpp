#include "tags/coverimage.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

namespace CoverImage {

std::optional<Format> storableFormat(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return Format::Jpeg;
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return Format::Png;
    return std::nullopt;
}

const char *mimeType(Format format)
{
    return format == Format::Png ? "image/png" : "image/jpeg";
}

QByteArray encodeJpeg(const QImage &image)
{
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    {
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const bool saved = opaque.save(&buffer, "jpeg", -1);
    buffer.close();
    return saved ? bytes : QByteArray();
}

std::optional<Encoded> asJpeg(const QImage &image)
{
    if (image.isNull())
        return Encoded();
    const QByteArray jpeg = encodeJpeg(image);
    if (jpeg.isEmpty())
        return std::nullopt;
    return Encoded{jpeg, Format::Jpeg};
}

QImage decodeFitted(const QByteArray &bytes, int size)
{
    if (bytes.isEmpty())
        return QImage();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize original = reader.size();
    if (original.isValid() && reader.format() == "jpeg") {
        // JPEG decodes at 1/2, 1/4 or 1/8 size almost for free; any other
        // reduced size goes through a slow scaler inside the reader. So shrink
        // by the largest such step that stays above the fitted size and
        // finish with one smooth scale.
        const QSize fitted = original.scaled(size, size, Qt::KeepAspectRatio);
        int denominator = 1;
        while (denominator < 8 && original.width() / (denominator * 2) >= fitted.width()
               && original.height() / (denominator * 2) >= fitted.height())
            denominator *= 2;
        if (denominator > 1)
            reader.setScaledSize(QSize((original.width() + denominator - 1) / denominator,
                                       (original.height() + denominator - 1) / denominator));
    }
    QImage image = reader.read();
    if (image.width() > size || image.height() > size)
        image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace CoverImage
