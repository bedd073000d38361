#include "runner/sqlexecutor/Base64.h"

#include <cryptopp/base64.h>

namespace SQLExecutor {

Bytes decodeBase64(std::u16string_view text) {
    Bytes narrowed(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        narrowed[i] = std::uint8_t(text[i] & 0xFF);

    CryptoPP::Base64Decoder decoder;
    decoder.Put(narrowed.data(), narrowed.size());
    decoder.MessageEnd();
    Bytes decoded(std::size_t(decoder.MaxRetrievable()));
    if (!decoded.empty())
        decoder.Get(decoded.data(), decoded.size());
    return decoded;
}

} // namespace SQLExecutor
