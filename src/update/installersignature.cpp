#include "update/installersignature.h"

#include <openssl/evp.h>

#include <memory>

namespace {

// The public half of the maker's release key; the private half never enters
// the repository.
const unsigned char kBuiltInKey[InstallerSignature::PublicKeySize] = {
    0x1b, 0xda, 0xee, 0x63, 0x9d, 0x05, 0x5b, 0xd6, 0x66, 0xdc, 0x63, 0xca, 0xa7, 0xd7, 0x55, 0x07,
    0x0c, 0x26, 0x32, 0x0c, 0x86, 0x6d, 0x90, 0x7d, 0xae, 0xc5, 0xad, 0xd3, 0x4f, 0x94, 0xca, 0x47,
};

QByteArray &overridingKey()
{
    static QByteArray key;
    return key;
}

using KeyPtr = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using ContextPtr = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

} // namespace

namespace InstallerSignature {

bool verify(const QByteArray &file, const QByteArray &signature, const QByteArray &publicKey)
{
    if (signature.size() != SignatureSize || publicKey.size() != PublicKeySize)
        return false;
    KeyPtr key(EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr,
                                           reinterpret_cast<const unsigned char *>(publicKey.constData()),
                                           size_t(publicKey.size())),
               &EVP_PKEY_free);
    ContextPtr context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!key || !context || EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        return false;
    // Ed25519 hashes the message itself, so it takes the whole file at once.
    return EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char *>(signature.constData()),
                            size_t(signature.size()), reinterpret_cast<const unsigned char *>(file.constData()),
                            size_t(file.size()))
           == 1;
}

QByteArray trustedKey()
{
    if (!overridingKey().isEmpty())
        return overridingKey();
    return QByteArray(reinterpret_cast<const char *>(kBuiltInKey), PublicKeySize);
}

void setTrustedKey(const QByteArray &publicKey)
{
    overridingKey() = publicKey;
}

} // namespace InstallerSignature
