#pragma once

#include <QByteArray>

// Checks that a downloaded installer was signed by the program's maker. The
// web service serves the signature beside the installer, at the installer's
// address with ".sig" appended: the 64 raw bytes of a detached Ed25519
// signature, as "openssl pkeyutl -sign -rawin" writes them.
namespace InstallerSignature {

constexpr int PublicKeySize = 32;
constexpr int SignatureSize = 64;

// False for anything but a valid signature of file by the 32-byte raw
// Ed25519 publicKey, including a malformed signature or key.
bool verify(const QByteArray &file, const QByteArray &signature, const QByteArray &publicKey);

// The key installers are checked against: the maker's, built in, unless
// tests have put another in its place.
QByteArray trustedKey();
// For tests, which sign with a key of their own; an empty key restores the
// built-in one.
void setTrustedKey(const QByteArray &publicKey);

} // namespace InstallerSignature
