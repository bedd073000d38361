#pragma once

// The non-fatal failures of one schema read, in the order they happened, as the text shown to
// the user.

#include "foundation/engine/api/EngineError.h"

#include <string>
#include <string_view>

namespace reader {

class Warnings {
public:
    // The message, then the engine's message for the error's status code, each ending with
    // "\r\n".
    void record(std::u16string_view message, const engine::EngineError& error);
    void record(std::u16string_view message);

    bool any() const { return any_; }
    const std::u16string& text() const { return text_; }

private:
    bool any_ = false;
    std::u16string text_;
};

} // namespace reader
