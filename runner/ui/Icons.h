#pragma once

// The window's images: the desktop theme's icon where it has one, else our own drawing.

#include <QIcon>

namespace runner::ui::icons {

QIcon program();
QIcon openDatabase();
QIcon openScript();
QIcon run();

} // namespace runner::ui::icons
