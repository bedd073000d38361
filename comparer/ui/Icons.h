#pragma once

// The comparer's icons: the desktop theme's icon where one fits, else our own drawing.

#include <QIcon>

enum class ToolbarImage { Open, Compare, Shuffle, Script, Help, Exit };

// 32 x 32 images for the toolbar buttons.
QIcon toolbarIcon(ToolbarImage image);

// The program's icon (window, About dialog).
QIcon kelvorIcon();
