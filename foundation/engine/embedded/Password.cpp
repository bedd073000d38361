#include "foundation/engine/embedded/Password.h"

#include "foundation/text/WideString.h"

#include <cryptopp/hmac.h>
#include <cryptopp/misc.h>
#include <cryptopp/osrng.h>
#include <cryptopp/pwdbased.h>
#include <cryptopp/sha.h>

namespace engine::embedded {

namespace {

constexpr unsigned iterations = 20000;

Variant::Bytes derive(const std::u16string& password, const Variant::Bytes& salt) {
    std::string secret = text::toUtf8(password);
    Variant::Bytes key(32);
    CryptoPP::PKCS5_PBKDF2_HMAC<CryptoPP::SHA256> kdf;
    kdf.DeriveKey(key.data(), key.size(), 0, reinterpret_cast<const CryptoPP::byte*>(secret.data()),
                  secret.size(), salt.data(), salt.size(), iterations);
    return key;
}

} // namespace

void setPassword(CatalogStore& store, const std::u16string& password) {
    if (password.empty()) {
        store.setInfo("password_salt", {});
        store.setInfo("password_hash", {});
        return;
    }
    Variant::Bytes salt(16);
    CryptoPP::AutoSeededRandomPool random;
    random.GenerateBlock(salt.data(), salt.size());
    store.setInfo("password_salt", salt);
    store.setInfo("password_hash", derive(password, salt));
}

void checkPassword(CatalogStore& store, const std::u16string& password) {
    auto hash = store.info("password_hash");
    auto salt = store.info("password_salt");
    if (!hash || hash->empty() || !salt)
        return;
    Variant::Bytes given = derive(password, *salt);
    if (given.size() != hash->size() ||
        !CryptoPP::VerifyBufsEqual(given.data(), hash->data(), given.size()))
        throw errors::notValidPassword();
}

} // namespace engine::embedded
