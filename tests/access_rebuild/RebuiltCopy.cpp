#include "RebuiltCopy.h"

#include "tests/foundation/jetfile/SharedFiles.h"

#include "foundation/engine/jetfile/PageFile.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace rebuildtest {

namespace fs = std::filesystem;

std::string emptyFileOf(const engine::jetfile::PageFile& file) {
    return file.format().isAce() ? "empty2010.accdb" : "emptyJet4.mdb";
}

namespace {

// Runs a program of the build in the folder, without a display so that its messages stay
// text; returns what it printed.
std::string run(const fs::path& folder, const std::string& program,
                const std::vector<std::string>& words) {
    fs::path out = folder / (program + ".out");
    std::string command = "cd " + jettest::shellWord(folder.string()) +
                          " && env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY " +
                          jettest::shellWord(std::string(KEL_BIN_DIR) + "/" + program);
    for (const std::string& word : words)
        command += " " + jettest::shellWord(word);
    jettest::runCommand(command + " >" + jettest::shellWord(out.string()) + " 2>&1 </dev/null");
    std::ifstream in(out, std::ios::binary);
    return program + ":\n" + std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

RebuiltCopy::RebuiltCopy(const std::string& sharedName)
    : copy_(emptyFileOf(engine::jetfile::PageFile(jettest::sharedFile(sharedName)))) {
    fs::path folder = copy_.path().parent_path();
    std::string copy = copy_.path().filename().string();
    output_ = run(folder, "kelvor", {copy, jettest::sharedFile(sharedName), "create.sql"});
    output_ += run(folder, "kelrun", {"create.sql", copy, "/e", "/ie"});
}

} // namespace rebuildtest
