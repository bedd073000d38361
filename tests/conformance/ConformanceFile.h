#pragma once

// A conformance file: statements, each followed by what the engine must answer.
//
//   # a comment (between records only)
//   skipif access: <why the record does not hold there>
//   statement ok
//   CREATE TABLE [T] ([Id] LONG)
//
//   statement count 2          (succeeds and changes that many records)
//   UPDATE [T] SET [Id] = [Id] + 1
//
//   statement error Table 'T' already exists.
//   CREATE TABLE [T] ([Id] LONG)
//
//   query IT
//   SELECT [Id], [Name] FROM [T]
//   ----
//   1|one
//   2|NULL
//
//   catalog columns T
//   ----
//   Id type=3
//
//   reopen
//
// "reopen" closes the database and opens it again, so that what follows reads what the file
// kept. A record's SQL runs until "----" or a blank line; its expected lines until a blank line.
// Query column types: I integer, R real or money, T text, B Yes/No, D date, G GUID,
// X bytes, ? anything; Null matches every type. Rows are compared in order when the query
// says ORDER BY, else sorted.

#include <string>
#include <vector>

namespace conformance {

enum class RecordKind { StatementOk, StatementCount, StatementError, Query, Catalog, Reopen };

// "onlyif <backend>: <reason>" or "skipif <backend>: <reason>"; "access" names both
// Access-file backends.
struct Condition {
    bool only = false;
    std::string backend;
    std::string reason;
};

struct Record {
    RecordKind kind = RecordKind::StatementOk;
    int line = 0;         // of the record's first line, conditions included
    std::string argument; // the error message, the column types or the catalog subject
    std::string sql;      // lines joined by "\r\n"
    std::vector<std::string> expected;
    std::vector<Condition> conditions;

    bool appliesTo(const std::string& backend) const;
};

struct ParsedFile {
    std::string path;
    std::vector<Record> records;
    // A malformed line: "line N: what is wrong"; the file is not run then.
    std::vector<std::string> errors;
};

ParsedFile parseConformanceText(const std::string& path, const std::string& text);
ParsedFile readConformanceFile(const std::string& path);

} // namespace conformance
