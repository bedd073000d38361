#pragma once

// The picture beside the tips' heading. White is transparent, so it sits on any background.

#include <QPixmap>

QPixmap lightBulb();
