// Runs the kelvor program itself as a child process.

#include "comparer/CommandLineArguments.h"
#include "foundation/text/WideString.h"
#include "tests/comparer/KelvorProcess.h"

#include <gtest/gtest.h>

TEST(KelvorProgram, MalformedCommandLineShowsTheHelpBoxAndExitsWithZero) {
    KelvorOutcome outcome = runKelvor({"/?"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.err, "Help: " + text::toUtf8(CommandLineArguments::usageText()) + "\n");
    EXPECT_EQ(outcome.out, "");
}

#ifdef KEL_WITH_UI
TEST(KelvorProgram, WindowModeWithoutDisplayExplainsOnStandardErrorAndExitsWithZero) {
    for (const auto& arguments :
         {std::vector<std::string>{}, std::vector<std::string>{"a.mdb", "b.mdb"}}) {
        KelvorOutcome outcome = runKelvor(arguments);
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find("kelvor: no display"), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << "one line";
    }
}
#else
TEST(KelvorProgram, NoArgumentsPrintsTheUsageText) {
    KelvorOutcome outcome = runKelvor({});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, text::toUtf8(CommandLineArguments::usageText()) + "\n");
}
#endif
