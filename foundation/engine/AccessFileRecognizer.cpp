#include "foundation/engine/AccessFileRecognizer.h"

#include "foundation/engine/api/EngineError.h"

#include <cstring>

namespace engine {

bool isAccessFileHeader(std::span<const std::uint8_t> header) {
    static const char jet[] = "Standard Jet DB";
    static const char ace[] = "Standard ACE DB";
    if (header.size() < 4 + sizeof jet)
        return false;
    const void* signature = header.data() + 4;
    return header[0] == 0 && header[1] == 1 && header[2] == 0 && header[3] == 0 &&
           (std::memcmp(signature, jet, sizeof jet) == 0 ||
            std::memcmp(signature, ace, sizeof ace) == 0);
}

bool AccessFileRecognizer::recognizes(std::span<const std::uint8_t> header) const {
    return isAccessFileHeader(header);
}

std::shared_ptr<Session> AccessFileRecognizer::open(const OpenParameters& parameters) {
    throw EngineError(status::unspecified,
                      u"Cannot open '" + parameters.path +
                          u"': reading Access database files is not available in this build.");
}

} // namespace engine
