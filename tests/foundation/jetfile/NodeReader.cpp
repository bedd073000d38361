#include "NodeReader.h"

#include "ScratchFile.h"

#include <fstream>

#include <unistd.h>

namespace jettest {

namespace fs = std::filesystem;

namespace {

constexpr const char* scriptText = R"(import MDBReader from "mdb-reader";
import { readFileSync } from "fs";
const reader = new MDBReader(readFileSync(process.argv[2]));
for (const name of reader.getTableNames()) {
  const t = reader.getTable(name);
  const columns = t.getColumns().map(c => `${c.name}:${c.type}:${c.size}` +
      (c.nullable === false ? ":notnull" : "") + (c.autoLong ? ":auto" : ""));
  console.log(`${name}|${t.rowCount}|${t.getData().length}|${columns.join(",")}`);
}
)";

// Test processes may run side by side: each installs or writes into a folder of its own, then
// moves the result into place, where the first one to finish wins.
void moveIntoPlace(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::rename(from, to, error);
}

fs::path ownFolder(const fs::path& folder) {
    return folder / ("install-" + std::to_string(getpid()));
}

bool installed(const fs::path& folder) {
    fs::path modules = folder / "node_modules";
    if (fs::exists(modules / "mdb-reader"))
        return true;
    if (!runCommand("node --version").succeeded)
        return false;
    fs::path own = ownFolder(folder);
    fs::create_directories(own);
    // Without a registry to reach, npm would wait long; the check is then skipped.
    runCommand("timeout 120 npm install --no-audit --no-fund --silent --prefix '" + own.string() +
               "' mdb-reader@3.2.0");
    moveIntoPlace(own / "node_modules", modules);
    std::error_code error;
    fs::remove_all(own, error);
    return fs::exists(modules / "mdb-reader");
}

fs::path readerScript(const fs::path& folder) {
    fs::path script = folder / "read-tables.mjs";
    if (fs::exists(script))
        return script;
    fs::path own = ownFolder(folder).string() + ".mjs";
    std::ofstream(own) << scriptText;
    moveIntoPlace(own, script);
    return script;
}

} // namespace

std::optional<std::vector<std::string>> nodeReaderTables(const fs::path& file) {
    fs::path folder = KEL_NODE_DIR;
    if (!installed(folder))
        return std::nullopt;
    fs::path reader = readerScript(folder);
    CommandOutput out = runCommand("node '" + reader.string() + "' '" + file.string() + "'");
    if (!out.succeeded)
        return std::vector<std::string>{"mdb-reader failed"};
    return lines(out.text);
}

} // namespace jettest
