#pragma once

// The report's text for a failed engine call.

#include "foundation/engine/api/EngineError.h"

#include <string>

namespace SQLExecutor {

// "\r\nError: " and the description when the engine gave one. Without a description: the
// status in lower-case hexadecimal and a hint at reserved words for the engine's unspecified
// failure, else an "Unknown Error" with a hint at permissions.
std::u16string engineFailureText(const engine::EngineError& error);

} // namespace SQLExecutor
