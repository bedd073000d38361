// Entry point of the script runner.

#include "foundation/platform/MessageBox.h"
#include "foundation/settings/CrashHandler.h"
#include "foundation/text/WideString.h"
#include "runner/CommandLineRun.h"
#include "runner/RunnerCommandLine.h"

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void print(FILE* stream, std::u16string_view message) {
    std::string bytes = text::toUtf8(message);
    bytes += '\n';
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

} // namespace

int main(int argc, char** argv) {
    // A write past the file-size limit then fails with the program's own message, leaving
    // the database or file consistent, instead of ending the program half way.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::u16string> words;
    for (int i = 0; i < argc; ++i)
        words.push_back(text::fromUtf8(argv[i]));

    // Without arguments the runner opens its window, which is not part of this build yet:
    // the program explains its command line instead.
    if (words.size() <= 1) {
        // The window mode reports crashes; the command line ends with its exit code alone.
        settings::installCrashHandler(settings::kRunnerDumpFile);
        print(stdout, RunnerCommandLine::usageText());
        return 0;
    }
    RunnerCommandLine commandLine(std::move(words));
    if (!commandLine.parse()) {
        platform::showMessage(u"Help", commandLine.message());
        return kExitFailed;
    }
    std::u16string message;
    if (runCommandLine(commandLine, message))
        return kExitAllSucceeded;
    reportFailure(commandLine, message);
    return kExitFailed;
}
