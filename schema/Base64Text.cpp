#include "schema/Base64Text.h"

#include <cryptopp/base64.h>
#include <cryptopp/filters.h>

std::u16string base64Text(std::span<const std::uint8_t> bytes) {
    std::string encoded;
    CryptoPP::Base64Encoder encoder(new CryptoPP::StringSink(encoded), true, 72);
    encoder.Put(bytes.data(), bytes.size());
    encoder.MessageEnd();

    std::u16string text;
    text.reserve(encoded.size() + encoded.size() / 72 + 2);
    char previous = 0;
    for (char c : encoded) {
        if (c == '\n' && previous != '\r')
            text += u'\r';
        text += char16_t(static_cast<unsigned char>(c));
        previous = c;
    }
    return text;
}
