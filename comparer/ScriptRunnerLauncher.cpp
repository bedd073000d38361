#include "comparer/ScriptRunnerLauncher.h"

#include "foundation/platform/Process.h"
#include "foundation/text/WideString.h"

#include <unistd.h>

namespace {

constexpr char kRunner[] = "kelrun";

} // namespace

std::u16string scriptRunnerPath(const std::optional<std::filesystem::path>& programDirectory) {
    if (programDirectory) {
        std::filesystem::path beside = *programDirectory / kRunner;
        std::error_code ec;
        if (std::filesystem::is_regular_file(beside, ec) && ::access(beside.c_str(), X_OK) == 0)
            return text::fromUtf8(beside.string());
    }
    return text::fromUtf8(std::string("./") + kRunner);
}

bool startScriptRunner() {
    return platform::startProcess({scriptRunnerPath(platform::programDirectory())});
}
