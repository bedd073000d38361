#include "comparer/ScriptRunnerLauncher.h"
#include "foundation/text/WideString.h"
#include "tests/foundation/platform/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

TEST(ScriptRunnerPath, PrefersTheRunnerBesideTheComparerElseTheCurrentDirectory) {
    ScratchFolder dir;
    EXPECT_EQ(scriptRunnerPath(std::nullopt), u"./kelrun");
    EXPECT_EQ(scriptRunnerPath(dir.path()), u"./kelrun");

    // Neither a file that cannot run nor a folder of that name counts.
    fs::create_directory(dir / "folder");
    fs::create_directory(dir / "folder" / "kelrun");
    EXPECT_EQ(scriptRunnerPath(dir / "folder"), u"./kelrun");
    std::ofstream(dir / "kelrun") << "#!/bin/sh\n";
    fs::permissions(dir / "kelrun", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(scriptRunnerPath(dir.path()), u"./kelrun");

    fs::permissions(dir / "kelrun", fs::perms::owner_exec, fs::perm_options::add);
    EXPECT_EQ(scriptRunnerPath(dir.path()), text::fromUtf8((dir / "kelrun").string()));
}
