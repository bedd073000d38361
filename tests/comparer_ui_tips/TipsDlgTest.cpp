#include "comparer/ui/tips/TipsDlg.h"
#include "tests/comparer_ui_tips/TestApplication.h"

#include <gtest/gtest.h>

TEST(TipsDlg, Caption) {
    testApplication();
    TipsDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), "Kelvor Tips");
}
