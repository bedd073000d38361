// Entry point of the schema comparer.

#include "comparer/CommandLineArguments.h"
#include "comparer/StartUp.h"
#include "foundation/platform/MessageBox.h"
#include "foundation/settings/CrashHandler.h"
#include "foundation/text/WideString.h"

#ifdef KEL_WITH_UI
#include "comparer/ui/WindowMode.h"
#include "foundation/platform/qt/WindowApplication.h"
#endif

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#ifndef KEL_WITH_UI
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
    // First of all, so that a crash anywhere after it leaves a report.
    settings::installCrashHandler(settings::kComparerDumpFile);

    std::vector<std::u16string> words;
    for (int i = 0; i < argc; ++i)
        words.push_back(text::fromUtf8(argv[i]));

    CommandLineArguments arguments(std::move(words));
    bool parsed = arguments.parse();
#ifdef KEL_WITH_UI
    // Message boxes are Qt's when a display is there; the console view of "/e" writes to
    // standard output instead and needs none.
    bool console = parsed && arguments.mode() == RunMode::WriteScript && arguments.console();
    if (!console)
        platform::qt::useQtMessageBoxes(argc, argv);
#endif
    if (!parsed) {
        platform::showMessage(u"Help", arguments.usage());
        return 0;
    }
    if (arguments.mode() == RunMode::WriteScript)
        return runScriptMode(arguments);
#ifdef KEL_WITH_UI
    return runWindowMode(arguments, argc, argv);
#else
    // A build without windows explains its command line instead.
    if (arguments.mode() == RunMode::NoDatabases) {
        print(stdout, CommandLineArguments::usageText());
        return 0;
    }
    print(stderr, u"kelvor: this build has no window; give a script file to compare the "
                  u"databases on the command line.");
    return 0;
#endif
}
