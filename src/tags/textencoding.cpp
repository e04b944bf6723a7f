#include "tags/textencoding.h"

namespace TextEncoding {

bool isValidUtf8(const QByteArray &bytes)
{
    const int size = bytes.size();
    int i = 0;
    while (i < size) {
        const auto lead = static_cast<unsigned char>(bytes.at(i));
        int length = 0;
        unsigned int codePoint = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            codePoint = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            codePoint = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            codePoint = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > size)
            return false;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes.at(i + k));
            if ((next & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if ((length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000))
            return false;
        if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

QString repairDoubleEncodedUtf8(const QString &text)
{
    bool multiByte = false;
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return text;
        if (c.unicode() >= 0x80)
            multiByte = true;
    }
    if (!multiByte)
        return text;
    const QByteArray bytes = text.toLatin1();
    if (!isValidUtf8(bytes))
        return text;
    return QString::fromUtf8(bytes);
}

} // namespace TextEncoding
