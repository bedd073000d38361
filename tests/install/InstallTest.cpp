// `cmake --install` into a staging folder: every file in its usual place, and what the
// desktop, man and bash make of them. ctest stages the build first (install.stage).

#include "tests/install/Tools.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// The staged installation (ctest's fixture "installed").
fs::path usr(const std::string& path) {
    return fs::path(KEL_STAGE_DIR) / "usr" / path;
}

// The words of a bash completion after the words already typed.
std::string complete(const fs::path& script, const std::string& function,
                     const std::vector<std::string>& typed) {
    std::string words;
    for (const auto& word : typed)
        words += " '" + word + "'";
    std::string program = "shopt -s extglob; source '" + script.string() + "'; COMP_WORDS=(" +
                          words + "); COMP_CWORD=" + std::to_string(typed.size() - 1) + "; " +
                          function + "; printf '%s\\n' \"${COMPREPLY[@]}\"";
    return runProgram("bash", {"-c", program}).out;
}

} // namespace

TEST(Install, EveryFileGoesToItsUsualPlace) {
    for (const char* path : {"bin/kelvor",
                             "bin/kelrun",
                             "bin/kelvor-schema",
                             "share/man/man1/kelvor.1.gz",
                             "share/man/man1/kelrun.1.gz",
                             "share/man/man1/kelvor-schema.1.gz",
                             "share/doc/kelvor/kelvor-manual.html",
                             "share/doc/kelvor/copyright",
                             "share/doc/kelvor/changelog.Debian.gz",
                             "share/applications/org.kelvor.kelvor.desktop",
                             "share/applications/org.kelvor.kelrun.desktop",
                             "share/metainfo/org.kelvor.kelvor.metainfo.xml",
                             "share/metainfo/org.kelvor.kelrun.metainfo.xml",
                             "share/icons/hicolor/scalable/apps/kelvor.svg",
                             "share/icons/hicolor/scalable/apps/kelrun.svg",
                             "share/icons/hicolor/48x48/apps/kelvor.png",
                             "share/icons/hicolor/256x256/apps/kelrun.png",
                             "share/bash-completion/completions/kelvor",
                             "share/bash-completion/completions/kelrun",
                             "share/bash-completion/completions/kelvor-schema"}) {
        EXPECT_TRUE(fs::is_regular_file(usr(path))) << path;
    }
    for (const char* program : {"kelvor", "kelrun", "kelvor-schema"}) {
        auto permissions = fs::status(usr("bin") / program).permissions();
        EXPECT_NE(permissions & fs::perms::others_exec, fs::perms::none) << program;
    }
}

TEST(Install, TheDesktopAcceptsTheEntriesAndTheirMetadata) {
    for (const char* name : {"org.kelvor.kelvor", "org.kelvor.kelrun"}) {
        SCOPED_TRACE(name);
        fs::path entry = usr("share/applications") / (std::string(name) + ".desktop");
        KelvorOutcome desktop = runProgram("desktop-file-validate", {entry.string()});
        EXPECT_EQ(desktop.exitCode, 0) << describe(desktop);
        EXPECT_EQ(desktop.out + desktop.err, "");
        fs::path metainfo = usr("share/metainfo") / (std::string(name) + ".metainfo.xml");
        KelvorOutcome appstream =
            runProgram("appstreamcli", {"validate", "--no-net", "--pedantic", metainfo.string()});
        EXPECT_EQ(appstream.exitCode, 0) << describe(appstream);
        EXPECT_EQ(appstream.out.find("I:"), std::string::npos) << appstream.out;
    }
    // The entries start the programs with no arguments, which opens their windows.
    std::string kelvor = bytesOf(usr("share/applications/org.kelvor.kelvor.desktop"));
    EXPECT_NE(kelvor.find("\nExec=kelvor\n"), std::string::npos);
    EXPECT_NE(kelvor.find("\nIcon=kelvor\n"), std::string::npos);
    EXPECT_NE(kelvor.find("\nCategories=Development;Database;\n"), std::string::npos);
    std::string kelrun = bytesOf(usr("share/applications/org.kelvor.kelrun.desktop"));
    EXPECT_NE(kelrun.find("\nExec=kelrun\n"), std::string::npos);
    EXPECT_NE(kelrun.find("\nIcon=kelrun\n"), std::string::npos);
}

TEST(Install, ManPagesRenderCleanlyAndNameEverySwitch) {
    struct Page {
        const char* name;
        std::vector<std::string> words;
    };
    for (const Page& page :
         {Page{"kelvor",
               {"/title1", "/title2", "/utf8", "/utf16", "/e", "/r", "/x", "Exit status"}},
          Page{"kelrun", {"/c", "/o", "/e", "/ef", "/p", "/un", "/up", "/s", "/ie", "kelrun.log"}},
          Page{"kelvor-schema", {"diff.access.textconv", "*.mdb diff=access", "--help"}}}) {
        SCOPED_TRACE(page.name);
        fs::path file = usr("share/man/man1") / (std::string(page.name) + ".1.gz");
        KelvorOutcome shown =
            runProgram("env", {"MANWIDTH=1000", "man", "--warnings", "-l", file.string()});
        EXPECT_EQ(shown.exitCode, 0);
        EXPECT_EQ(shown.err, "");
        for (const std::string& word : page.words)
            EXPECT_NE(shown.out.find(word), std::string::npos) << word;
    }
}

TEST(Install, TheManualCoversBothCommandLinesTheWindowsAndGit) {
    std::string manual = bytesOf(usr("share/doc/kelvor/kelvor-manual.html"));
    for (const char* word : {"/utf8",
                             "/utf16",
                             "/title1",
                             "/r",
                             "/x",
                             "/ef",
                             "/ie",
                             "/un",
                             "/up",
                             "registry.reg",
                             "stoponerror",
                             "Text Diff",
                             "SQL Diff",
                             "Open files",
                             "Execute script",
                             "Stop on Error",
                             "Show Tips",
                             "read-only",
                             "git config diff.access.textconv kelvor-schema",
                             "*.mdb diff=access"}) {
        EXPECT_NE(manual.find(word), std::string::npos) << word;
    }
    // The build puts it beside the programs too, where Help looks first.
    EXPECT_EQ(bytesOf(fs::path(KEL_BIN_DIR) / "kelvor-manual.html"), manual);
}

TEST(Install, BashCompletesTheSwitchesOfEachProgram) {
    fs::path completion = usr("share/bash-completion/completions/kelvor");
    EXPECT_EQ(complete(completion, "_kelvor", {"kelvor", "a.mdb", "b.mdb", "out.sql", "/"}),
              "/utf8\n/utf16\n/e\n/r\n/x\n");
    EXPECT_EQ(complete(completion, "_kelvor", {"kelvor", "a.mdb", "b.mdb", "/t"}),
              "/title1\n/title2\n");
    EXPECT_EQ(complete(completion, "_kelrun", {"kelrun", "s.sql", "d.mdb", "/u"}), "/un\n/up\n");
    EXPECT_EQ(complete(completion, "_kelvor_schema", {"kelvor-schema", "--"}), "--help\n");
    // Each program's name loads the same definitions.
    EXPECT_EQ(bytesOf(usr("share/bash-completion/completions/kelrun")), bytesOf(completion));
}

TEST(Install, TheInstalledProgramsRun) {
    KelvorOutcome schema =
        runProgram(usr("bin/kelvor-schema").string(), {sharedAccessFile("testV2003.mdb").string()});
    EXPECT_EQ(schema.exitCode, 0) << describe(schema);
    EXPECT_NE(schema.out.find("CREATE TABLE"), std::string::npos);
}
