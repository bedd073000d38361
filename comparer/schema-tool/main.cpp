// kelvor-schema <database>: prints the structure of one database as the script that creates
// it in an empty one, in UTF-8 without a mark and with LF line ends, so that a git textconv
// driver on Access files makes `git diff` show whole statements. The comparer's settings
// choose the objects, as they do for kelvor.

#include "foundation/platform/Console.h"
#include "foundation/settings/ComparerOptions.h"
#include "foundation/settings/Progress.h"
#include "foundation/text/WideString.h"
#include "reader/SchemaReader.h"
#include "script/ScriptText.h"

#include <string>
#include <string_view>

namespace {

constexpr int kExitRead = 1;
constexpr int kExitUsage = 2;

constexpr char16_t kUsage[] = u"Usage: kelvor-schema <database>\n"
                              u"Prints the structure of the database as the script that creates "
                              u"it in an empty database.\n";

void printError(std::u16string_view text) {
    std::string line = "kelvor-schema: " + text::toUtf8WithLineFeeds(text) + "\n";
    platform::writeConsoleBytes(line.data(), line.size(), platform::ConsoleStream::Error);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        platform::writeConsole(kUsage);
        return 0;
    }
    if (argc != 2) {
        platform::writeConsole(kUsage, platform::ConsoleStream::Error);
        return kExitUsage;
    }
    database::DatabaseDescription description;
    description.path = text::fromUtf8(argv[1]);
    settings::comparer::OptionsManager settings;
    settings::FakeProgress progress;

    reader::SchemaReader reader(description, settings.options());
    std::unique_ptr<Database> schema = reader.read(progress);
    if (reader.failed() || !schema) {
        printError(description.path + u"\n" + reader.errorText());
        return kExitRead;
    }
    if (reader.hasWarnings())
        printError(reader.warningsText());

    std::string script = text::toUtf8WithLineFeeds(creationScript(std::move(schema)));
    if (!script.empty() && !platform::writeConsoleBytes(script.data(), script.size())) {
        printError(u"Can't write to standard output.");
        return kExitRead;
    }
    return 0;
}
