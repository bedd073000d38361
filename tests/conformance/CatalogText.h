#pragma once

// The structure of a database as compact lines, read through the object model the readers
// use, so that a catalog record can say what a statement left behind.
//
//   tables                 ADOX Tables without system tables: "Name TYPE"
//   columns <table>        ADOX Columns: "Name type=202 size=50 notnull default=... ..."
//   indexes <table>        ADOX Indexes: "Name (A, B) primary unique nulls=1"
//   keys <table>           ADOX Keys: "Name foreign (A) -> T (B) update=1 delete=1"
//   views, procedures      ADOX Views or Procedures: "Name: text" (line breaks as "\n")
//   parameters <query>     the query's parameters: "Name type=202 size=255"
//   checks                 schema rowset 5: "Name: clause"
//   constraints <table>    schema rowset 10: "Name TYPE"
//   relations              DAO Relations: "Name T -> F (A = B) attributes=0x1000"
//   fields <table>         DAO Fields: "Name type=10 size=50 required zerolength
//                          default=..." and its stored properties "  Format=..."
//   daoindexes <table>     DAO Indexes: "Name (A, B) primary unique required ignorenulls
//                          foreign"
//   tabledef <table>       DAO TableDef: "attributes=0x0", then "Connect=" and
//                          "SourceTableName=" when not empty

#include "foundation/engine/api/Ado.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace conformance {

// Throws engine::EngineError as the object model does; an unknown subject gives one line
// that says so.
std::vector<std::string> catalogLines(const std::shared_ptr<engine::ado::Connection>& connection,
                                      const std::filesystem::path& path,
                                      const std::string& subject);

} // namespace conformance
