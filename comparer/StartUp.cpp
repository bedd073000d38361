#include "comparer/StartUp.h"

#include "comparer/ComparerPresenter.h"
#include "comparer/ResultViewConsole.h"
#include "comparer/ResultViewMessageBox.h"

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

int runScriptMode(const CommandLineArguments& arguments) {
    std::unique_ptr<IResultView> view;
    if (arguments.console())
        view = std::make_unique<ResultViewConsole>();
    else
        view = std::make_unique<ResultViewMessageBox>();
    auto presenter = std::make_unique<ComparerPresenter>(*view, true);
    presenter->setDatabasesGivenAtStart(
        fillDescriptions(arguments, presenter->firstDatabase(), presenter->secondDatabase()));
    presenter->setScriptEncoding(scriptEncoding(arguments));
    presenter->setScriptPath(arguments.scriptPath());
    presenter->compare();
    // The view goes first; the presenter does not touch it while it is destroyed.
    view.reset();
    presenter.reset();
    return 0;
}
