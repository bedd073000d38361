#pragma once

// The images of the results list's type column, 43 x 16 pixels each, in the list's index
// order.

#include <QPixmap>

#include <vector>

enum ElementImage : int {
    TableImage = 0,
    FieldImage = 1,
    ForeignKeyImage = 2,
    IndexImage = 3,
    PrimaryKeyImage = 4,
    UniqueKeyImage = 5,
    CheckConstraintImage = 6,
    ViewImage = 7,
    ProcedureImage = 8,
    FormImage = 9,
    MacroImage = 10,
    ModuleImage = 11,
    ReportImage = 12,
    TableDataMacroImage = 13,
    ElementImageCount = 14,
};

inline constexpr int kElementImageWidth = 43;
inline constexpr int kElementImageHeight = 16;

// All images, drawn once per call.
std::vector<QPixmap> drawElementImages();
