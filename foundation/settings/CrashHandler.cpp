#include "foundation/settings/CrashHandler.h"

#include "foundation/platform/CrashReport.h"
#include "foundation/platform/FatalErrors.h"
#include "foundation/platform/MessageBox.h"
#include "foundation/platform/UserDirectories.h"
#include "foundation/text/WideString.h"

#include <climits>
#include <string>

namespace settings {

namespace {

constexpr char16_t kSupportAddress[] = u"support@kelvor.example";
constexpr char16_t kCaption[] = u"Exception";

// Everything the handler needs, prepared when installing: a crashing process may not be able
// to allocate.
struct CrashState {
    std::string path;
    std::u16string setupFailure; // the message when the path could not be had
    std::u16string saved;
    std::u16string cannotCreate = u"Can't create the dump file";
    std::u16string cannotWrite = u"Can't write the dump file";
};

// Never destroyed, so that a crash during the process's own teardown is still handled.
CrashState* crashState = nullptr;

bool onFatal(const platform::FatalEvent& event) {
    const CrashState& state = *crashState;
    const std::u16string* message = &state.setupFailure;
    bool written = false;
    if (state.setupFailure.empty()) {
        switch (platform::writeCrashReport(state.path.c_str(), event)) {
        case platform::CrashReportResult::Written:
            message = &state.saved;
            written = true;
            break;
        case platform::CrashReportResult::CannotCreate:
            message = &state.cannotCreate;
            break;
        case platform::CrashReportResult::CannotWrite:
            message = &state.cannotWrite;
            break;
        }
    }
    try {
        platform::showMessage(kCaption, *message);
    } catch (...) {
        // The report is what matters; a failing message box must not hide it.
    }
    return written;
}

} // namespace

void installCrashHandler(const char* dumpFileName) {
    auto* state = new CrashState;
    if (auto folder = platform::dataHome()) {
        state->path = (*folder / dumpFileName).string();
        if (state->path.size() >= PATH_MAX)
            state->setupFailure = u"Can't get the dump path";
    } else {
        state->setupFailure = u"Can't get CSIDL_APPDATA";
    }
    state->saved = u"The mini dump file has been saved.\n" + text::fromUtf8(state->path) +
                   u"\nPlease send the dump file to " + kSupportAddress +
                   u"\nThe problem will be fixed as soon as possible.";
    CrashState* previous = crashState;
    crashState = state;
    delete previous;
    platform::installFatalHandler(onFatal);
}

} // namespace settings
