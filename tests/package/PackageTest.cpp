// `make package`: the Debian package, built by CPack, accepted by lintian, and its programs
// run from the unpacked package. ctest builds and unpacks it first (package.build).

#include "tests/foundation/platform/ScratchFolder.h"
#include "tests/install/Tools.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// The package and its unpacked files (ctest's fixture "packaged").
fs::path package() {
    for (const auto& entry : fs::directory_iterator(KEL_PACKAGE_DIR))
        if (entry.path().extension() == ".deb")
            return entry.path();
    return {};
}

fs::path root() {
    return fs::path(KEL_PACKAGE_DIR) / "root";
}

std::string field(const char* name) {
    return runProgram("dpkg-deb", {"--field", package().string(), name}).out;
}

} // namespace

TEST(Package, TheControlFieldsNameThePackageAndItsLibraries) {
    EXPECT_EQ(package().filename().string().rfind("kelvor_3.7-1_", 0), 0u) << package();
    EXPECT_EQ(field("Package"), "kelvor\n");
    EXPECT_EQ(field("Section"), "database\n");
    // dpkg-shlibdeps found the libraries the programs link.
    std::string depends = field("Depends");
    for (const char* library : {"libc6", "libstdc++6", "libsqlite3-0", "libmdb3"})
        EXPECT_NE(depends.find(library), std::string::npos) << library << " in " << depends;
}

TEST(Package, LintianFindsNoErrors) {
    KelvorOutcome lintian = runProgram("lintian", {"--fail-on", "error", package().string()});
    EXPECT_EQ(lintian.exitCode, 0) << describe(lintian);
    EXPECT_EQ(lintian.out.find("E: "), std::string::npos) << lintian.out;
}

TEST(Package, TheUnpackedProgramsWork) {
    const fs::path bin = root() / "usr/bin";
    ScratchFolder work;
    fs::path script = work / "shop.sql";
    std::ofstream(script) << "CREATE TABLE [Customers] ([Id] LONG, [Name] TEXT(50));\r\n";
    fs::path shop = work / "shop.mdb";
    EXPECT_EQ(runProgram((bin / "kelrun").string(), {script.string(), shop.string(), "/c", "/e"})
                  .exitCode,
              1);

    KelvorOutcome schema = runProgram((bin / "kelvor-schema").string(), {shop.string()});
    EXPECT_EQ(schema.exitCode, 0) << describe(schema);
    EXPECT_EQ(
        schema.out.rfind("CREATE TABLE [Customers] (\n\t[Id] LONG,\n\t[Name] TEXT(50)\n);\n", 0),
        0u)
        << schema.out;

    KelvorOutcome compared = runProgram((bin / "kelvor").string(),
                                        {shop.string(), sharedAccessFile("testV2003.mdb").string(),
                                         (work / "sync.sql").string(), "/e", "/x"});
    EXPECT_EQ(compared.exitCode, 1) << describe(compared);
    EXPECT_TRUE(fs::is_regular_file(work / "sync.sql"));

    for (const char* path :
         {"usr/share/man/man1/kelvor.1.gz", "usr/share/doc/kelvor/kelvor-manual.html",
          "usr/share/applications/org.kelvor.kelvor.desktop",
          "usr/share/icons/hicolor/scalable/apps/kelvor.svg"})
        EXPECT_TRUE(fs::is_regular_file(root() / path)) << path;
}
