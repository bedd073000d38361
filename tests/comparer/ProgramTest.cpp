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

TEST(KelvorProgram, NoArgumentsPrintsTheUsageText) {
    KelvorOutcome outcome = runKelvor({});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, text::toUtf8(CommandLineArguments::usageText()) + "\n");
}
