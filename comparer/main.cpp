// Entry point of the schema comparer.

#include "comparer/CommandLineArguments.h"
#include "comparer/StartUp.h"
#include "foundation/platform/MessageBox.h"
#include "foundation/settings/CrashHandler.h"
#include "foundation/text/WideString.h"

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
    // First of all, so that a crash anywhere after it leaves a report.
    settings::installCrashHandler(settings::kComparerDumpFile);

    std::vector<std::u16string> words;
    for (int i = 0; i < argc; ++i)
        words.push_back(text::fromUtf8(argv[i]));

    CommandLineArguments arguments(std::move(words));
    if (!arguments.parse()) {
        platform::showMessage(u"Help", arguments.usage());
        return 0;
    }
    if (arguments.mode() == RunMode::WriteScript)
        return runScriptMode(arguments);
    // The window is not part of this build yet: without databases the program explains its
    // command line, with them it says what is missing.
    if (arguments.mode() == RunMode::NoDatabases) {
        print(stdout, CommandLineArguments::usageText());
        return 0;
    }
    print(stderr, u"kelvor: comparing databases is not available in this build yet.");
    return 0;
}
