#pragma once

// The engine's message for what an action throws, so that a test compares refusals as text.

#include "foundation/engine/api/EngineError.h"

#include <functional>
#include <string>

namespace mdbtest {

inline std::u16string failure(const std::function<void()>& action) {
    try {
        action();
    } catch (const engine::EngineError& e) {
        return e.description();
    }
    return u"<no error>";
}

} // namespace mdbtest
