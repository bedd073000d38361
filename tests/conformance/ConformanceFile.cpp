#include "ConformanceFile.h"

#include <fstream>
#include <sstream>

namespace conformance {

namespace {

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string trimmed(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos)
        return "";
    size_t end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool isBackend(const std::string& name) {
    return name == "embedded" || name == "access" || name == "jet4" || name == "ace";
}

} // namespace

bool Record::appliesTo(const std::string& backend) const {
    auto names = [&](const std::string& mark) {
        return mark == backend || (mark == "access" && (backend == "jet4" || backend == "ace"));
    };
    for (const Condition& c : conditions)
        if (c.only != names(c.backend))
            return false;
    return true;
}

ParsedFile parseConformanceText(const std::string& path, const std::string& text) {
    ParsedFile file{path, {}, {}};
    std::vector<std::string> lines = linesOf(text);
    auto error = [&](size_t index, const std::string& what) {
        file.errors.push_back("line " + std::to_string(index + 1) + ": " + what);
    };

    std::vector<Condition> pending;
    int pendingLine = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string line = trimmed(lines[i]);
        if (line.empty() || line[0] == '#')
            continue;
        if (startsWith(line, "onlyif ") || startsWith(line, "skipif ")) {
            size_t colon = line.find(':');
            Condition c;
            c.only = startsWith(line, "onlyif ");
            c.backend =
                trimmed(line.substr(7, colon == std::string::npos ? std::string::npos : colon - 7));
            c.reason = colon == std::string::npos ? "" : trimmed(line.substr(colon + 1));
            if (!isBackend(c.backend))
                error(i, "unknown backend '" + c.backend + "'");
            else if (c.reason.empty())
                error(i, "a condition needs its reason after ':'");
            if (pending.empty())
                pendingLine = int(i) + 1;
            pending.push_back(c);
            continue;
        }

        Record record;
        record.line = pending.empty() ? int(i) + 1 : pendingLine;
        record.conditions = std::move(pending);
        pending.clear();
        if (line == "reopen") {
            record.kind = RecordKind::Reopen;
            file.records.push_back(std::move(record));
            continue;
        }
        if (line == "statement ok") {
            record.kind = RecordKind::StatementOk;
        } else if (startsWith(line, "statement count ")) {
            record.kind = RecordKind::StatementCount;
            record.argument = trimmed(line.substr(16));
            if (record.argument.empty() ||
                record.argument.find_first_not_of("0123456789") != std::string::npos)
                error(i, "a count must be a number");
        } else if (startsWith(line, "statement error ")) {
            record.kind = RecordKind::StatementError;
            record.argument = trimmed(line.substr(16));
        } else if (startsWith(line, "query ")) {
            record.kind = RecordKind::Query;
            record.argument = trimmed(line.substr(6));
            if (record.argument.find_first_not_of("IRTBDGX?") != std::string::npos)
                error(i, "unknown column type in '" + record.argument + "'");
        } else if (startsWith(line, "catalog ")) {
            record.kind = RecordKind::Catalog;
            record.argument = trimmed(line.substr(8));
        } else {
            error(i, "expected a record, found '" + line + "'");
            continue;
        }

        bool expectsResult = record.kind == RecordKind::Query || record.kind == RecordKind::Catalog;
        size_t j = i + 1;
        for (; j < lines.size() && !trimmed(lines[j]).empty() && lines[j] != "----"; ++j)
            record.sql += (record.sql.empty() ? "" : "\r\n") + lines[j];
        if (expectsResult) {
            if (j >= lines.size() || lines[j] != "----") {
                error(i, "a query or catalog record needs '----' before its result");
            } else {
                for (++j; j < lines.size() && !trimmed(lines[j]).empty(); ++j)
                    record.expected.push_back(lines[j]);
            }
        } else if (j < lines.size() && lines[j] == "----") {
            error(j, "a statement record has no result");
        }
        if (record.sql.empty() && record.kind != RecordKind::Catalog)
            error(i, "the record has no SQL");
        file.records.push_back(std::move(record));
        i = j;
    }
    if (!pending.empty())
        error(lines.size() - 1, "a condition without its record");
    return file;
}

ParsedFile readConformanceFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return ParsedFile{path, {}, {"cannot read the file"}};
    std::string text((std::istreambuf_iterator<char>(in)), {});
    return parseConformanceText(path, text);
}

} // namespace conformance
