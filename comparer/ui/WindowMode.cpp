#include "comparer/ui/WindowMode.h"

#include "comparer/ComparerPresenter.h"
#include "comparer/StartUp.h"
#include "comparer/ui/CMainDlg.h"
#include "comparer/ui/Icons.h"
#include "foundation/platform/qt/WindowApplication.h"

#include <cstdio>

int runWindowMode(const CommandLineArguments& arguments, int& argc, char** argv) {
    auto application = platform::qt::startWindowApplication(argc, argv, "kelvor");
    if (!application) {
        std::fputs("kelvor: no display to open the window on (set DISPLAY or WAYLAND_DISPLAY, "
                   "or give a script file to compare on the command line)\n",
                   stderr);
        return 0;
    }
    // Every window of the program, message boxes included, shows the program's icon.
    QApplication::setWindowIcon(kelvorIcon());
    auto window = std::make_unique<CMainDlg>();
    auto presenter = std::make_unique<ComparerPresenter>(*window, false);
    presenter->setDatabasesGivenAtStart(
        fillDescriptions(arguments, presenter->firstDatabase(), presenter->secondDatabase()));
    window->show();
    int exitCode = application->exec();
    // The presenter goes first: the window raises no events once the loop has ended.
    presenter.reset();
    window.reset();
    return exitCode;
}
