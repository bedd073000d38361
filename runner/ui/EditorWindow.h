#pragma once

// Kelrun's window mode: the editor window and its event loop.

namespace runner::ui {

// Shows the editor window and returns the exit code of its event loop. Without a display
// it says so in one line on standard error and returns 0.
int runEditorWindow(int& argc, char** argv);

} // namespace runner::ui
