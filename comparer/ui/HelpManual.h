#pragma once

// The program's HTML manual, "kelvor-manual.html": beside the program, else in the
// installed documentation folder.

#include <QString>

// The manual's path, or empty when it is in neither place.
QString findManual();

// Opens the manual with the desktop's opener; a missing manual is ignored.
void openManual();
