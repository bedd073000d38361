#pragma once

// Runs the records of one conformance file, in order, on one database.

#include "ConformanceFile.h"
#include "foundation/engine/api/Ado.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace conformance {

struct Failure {
    int line = 0;
    std::string message;
};

struct FileOutcome {
    int passed = 0;
    int skipped = 0;
    std::vector<Failure> failures;
};

class Backend;

// Records that do not apply to the backend are skipped and counted. The connection is
// replaced when a record reopens the database.
FileOutcome runRecords(const std::vector<Record>& records, Backend& backend,
                       std::shared_ptr<engine::ado::Connection>& connection,
                       const std::filesystem::path& databasePath);

// The text of a query's rows as the records write them: values joined by "|", Null as
// "NULL"; a failure line when a value's type is not the one the record names.
std::vector<std::string> rowLines(engine::ado::Recordset& rows, const std::string& types,
                                  std::string& typeError);

} // namespace conformance
