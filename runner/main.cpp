// Entry point of the script runner.

#include "foundation/platform/MessageBox.h"
#include "foundation/settings/CrashHandler.h"
#include "foundation/text/WideString.h"
#include "runner/CommandLineRun.h"
#include "runner/RunnerCommandLine.h"
#if KEL_WITH_UI
#include "foundation/platform/qt/WindowApplication.h"
#include "runner/ui/EditorWindow.h"
#endif

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#if !KEL_WITH_UI
namespace {

void print(FILE* stream, std::u16string_view message) {
    std::string bytes = text::toUtf8(message);
    bytes += '\n';
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

} // namespace
#endif

int main(int argc, char** argv) {
    // A write past the file-size limit then fails with the program's own message, leaving
    // the database or file consistent, instead of ending the program half way.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::u16string> words;
    for (int i = 0; i < argc; ++i)
        words.push_back(text::fromUtf8(argv[i]));

    if (words.size() <= 1) {
        // The window mode reports crashes; the command line ends with its exit code alone.
        settings::installCrashHandler(settings::kRunnerDumpFile);
#if KEL_WITH_UI
        return runner::ui::runEditorWindow(argc, argv);
#else
        // A build without windows explains its command line instead.
        print(stdout, RunnerCommandLine::usageText());
        return 0;
#endif
    }
#if KEL_WITH_UI
    // On a desktop the command line's boxes are windows; on Qt's offscreen platform nobody
    // could see or close one, so the text stays on standard error.
    const char* qtPlatform = std::getenv("QT_QPA_PLATFORM");
    if (!qtPlatform || std::string_view(qtPlatform) != "offscreen")
        platform::qt::useQtMessageBoxes(argc, argv);
#endif
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
