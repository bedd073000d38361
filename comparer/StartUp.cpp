#include "comparer/StartUp.h"

#include "compare/SchemaComparison.h"
#include "comparer/ComparerPresenter.h"
#include "comparer/ResultViewConsole.h"
#include "comparer/ResultViewMessageBox.h"
#include "comparer/ScriptModeOutput.h"

#include <memory>

bool fillDescriptions(const CommandLineArguments& arguments, database::DatabaseDescription& first,
                      database::DatabaseDescription& second) {
    first.path = arguments.firstDatabase();
    first.title = arguments.firstTitle();
    second.path = arguments.secondDatabase();
    second.title = arguments.secondTitle();
    return arguments.mode() == RunMode::OpenDatabases;
}

text::TextEncoding scriptEncoding(const CommandLineArguments& arguments) {
    if (arguments.utf8())
        return text::TextEncoding::UTF8;
    if (arguments.utf16())
        return text::TextEncoding::UTF16;
    return text::TextEncoding::UTF8;
}

namespace {

// Messages would spoil a script or report that goes to standard output.
platform::ConsoleStream messageStream(const CommandLineArguments& arguments) {
    if (scriptmode::isStandardOutput(arguments.scriptPath()) ||
        scriptmode::isStandardOutput(arguments.reportPath()))
        return platform::ConsoleStream::Error;
    return platform::ConsoleStream::Output;
}

// The exit code of "/x", in the manner of diff(1).
int outcome(const ComparerPresenter& presenter) {
    const SchemaComparison* comparison = presenter.comparison();
    if (!comparison || presenter.outputFailed())
        return 2;
    return comparison->identical() ? 0 : 1;
}

} // namespace

int runScriptMode(const CommandLineArguments& arguments) {
    std::unique_ptr<IResultView> view;
    if (arguments.console())
        view = std::make_unique<ResultViewConsole>(messageStream(arguments));
    else
        view = std::make_unique<ResultViewMessageBox>();
    auto presenter = std::make_unique<ComparerPresenter>(*view, true);
    presenter->setDatabasesGivenAtStart(
        fillDescriptions(arguments, presenter->firstDatabase(), presenter->secondDatabase()));
    presenter->setScriptEncoding(scriptEncoding(arguments));
    presenter->setScriptPath(arguments.scriptPath());
    presenter->setReportPath(arguments.reportPath());
    presenter->compare();
    int exitCode = arguments.exitStatus() ? outcome(*presenter) : 0;
    // The view goes first; the presenter does not touch it while it is destroyed.
    view.reset();
    presenter.reset();
    return exitCode;
}
