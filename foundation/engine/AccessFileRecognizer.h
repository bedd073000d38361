#pragma once

// Jet and ACE database files (.mdb, .accdb). The backend that reads them is not part of this
// build yet: opening one fails with a clear error instead of "Unrecognized database format".

#include "foundation/engine/api/Backend.h"

namespace engine {

// True for the first bytes of a Jet 3, Jet 4 or ACE file.
bool isAccessFileHeader(std::span<const std::uint8_t> header);

class AccessFileRecognizer : public Backend {
public:
    bool recognizes(std::span<const std::uint8_t> header) const override;
    std::shared_ptr<Session> open(const OpenParameters& parameters) override;
};

} // namespace engine
