#include "NodeReader.h"

#include "ScratchFile.h"

#include <fstream>

namespace jettest {

namespace fs = std::filesystem;

namespace {

constexpr const char* script = R"(import MDBReader from "mdb-reader";
import { readFileSync } from "fs";
const reader = new MDBReader(readFileSync(process.argv[2]));
for (const name of reader.getTableNames()) {
  const t = reader.getTable(name);
  const columns = t.getColumns().map(c => `${c.name}:${c.type}:${c.size}` +
      (c.nullable === false ? ":notnull" : "") + (c.autoLong ? ":auto" : ""));
  console.log(`${name}|${t.rowCount}|${t.getData().length}|${columns.join(",")}`);
}
)";

bool installed(const fs::path& folder) {
    if (fs::exists(folder / "node_modules" / "mdb-reader"))
        return true;
    if (!runCommand("node --version").succeeded)
        return false;
    fs::create_directories(folder);
    // Without a registry to reach, npm would wait long; the check is then skipped.
    runCommand("timeout 120 npm install --no-audit --no-fund --silent --prefix '" +
               folder.string() + "' mdb-reader@3.2.0");
    return fs::exists(folder / "node_modules" / "mdb-reader");
}

} // namespace

std::optional<std::vector<std::string>> nodeReaderTables(const fs::path& file) {
    fs::path folder = KEL_NODE_DIR;
    if (!installed(folder))
        return std::nullopt;
    fs::path reader = folder / "read-tables.mjs";
    if (!fs::exists(reader))
        std::ofstream(reader) << script;
    CommandOutput out = runCommand("node '" + reader.string() + "' '" + file.string() + "'");
    if (!out.succeeded)
        return std::vector<std::string>{"mdb-reader failed"};
    return lines(out.text);
}

} // namespace jettest
