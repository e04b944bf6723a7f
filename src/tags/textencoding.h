#pragma once

#include <QString>

namespace TextEncoding {

// Text whose characters are all below U+0100 and whose bytes form valid UTF-8
// with at least one multi-byte sequence is UTF-8 that was stored as Latin-1
// ("CafÃ©"); gives it back decoded. Any other text is returned as it is.
QString repairDoubleEncodedUtf8(const QString &text);

// Strict UTF-8 validation (no overlong forms, no surrogates, nothing above
// U+10FFFF).
bool isValidUtf8(const QByteArray &bytes);

} // namespace TextEncoding
