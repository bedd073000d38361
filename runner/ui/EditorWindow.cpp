#include "runner/ui/EditorWindow.h"

#include "foundation/platform/qt/WindowApplication.h"
#include "runner/ui/CMainFrame.h"

#include <cstdio>

namespace runner::ui {

int runEditorWindow(int& argc, char** argv) {
    std::unique_ptr<QApplication> application =
        platform::qt::startWindowApplication(argc, argv, "kelrun");
    if (!application) {
        std::fputs("kelrun: no display to open the editor window on; to run a script from the "
                   "command line: kelrun <sql file> <mdb file> [key1] [key2] [...]\n",
                   stderr);
        return 0;
    }
    CMainFrame frame;
    frame.show();
    return application->exec();
}

} // namespace runner::ui
