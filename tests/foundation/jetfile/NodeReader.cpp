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

// scripts/install-deps puts the package there; without it (no node, no registry) the check
// is skipped.
bool installed(const fs::path& folder) {
    return fs::exists(folder / "node_modules" / "mdb-reader") &&
           runCommand("node --version").succeeded;
}

// Test processes may run side by side: each writes a file of its own and renames it into
// place, where the first one to finish wins.
fs::path readerScript(const fs::path& folder) {
    fs::path script = folder / "read-tables.mjs";
    if (fs::exists(script))
        return script;
    fs::path own = folder / ("read-tables-" + std::to_string(getpid()) + ".mjs");
    std::ofstream(own) << scriptText;
    std::error_code error;
    fs::rename(own, script, error);
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
