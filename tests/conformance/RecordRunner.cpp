#include "RecordRunner.h"

#include "Backend.h"
#include "CatalogText.h"
#include "foundation/engine/EngineComponents.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/text/WideString.h"

#include <algorithm>
#include <cctype>

namespace conformance {

using namespace engine;

namespace {

bool typeMatches(char type, VarType actual) {
    switch (type) {
    case 'I':
        return actual == VarType::Byte || actual == VarType::Int16 || actual == VarType::Int32 ||
               actual == VarType::Int64;
    case 'R':
        return actual == VarType::Single || actual == VarType::Double ||
               actual == VarType::Currency || actual == VarType::Decimal;
    case 'T':
        return actual == VarType::String;
    case 'B':
        return actual == VarType::Bool;
    case 'D':
        return actual == VarType::Date;
    case 'G':
        return actual == VarType::Guid;
    case 'X':
        return actual == VarType::ByteArray;
    default:
        return true;
    }
}

std::string hexBytes(const Variant::Bytes& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "0x";
    for (auto b : bytes) {
        out += digits[std::uint8_t(b) >> 4];
        out += digits[std::uint8_t(b) & 15];
    }
    return out;
}

std::string valueText(const Variant& v) {
    if (v.isNull())
        return "NULL";
    if (v.isByteArray())
        return hexBytes(v.asBytes());
    std::string text = text::toUtf8(v.toText().value_or(u"?"));
    // Line breaks inside a value would end the record.
    std::string out;
    for (char c : text)
        out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

// ORDER BY outside strings and brackets: the rows' order is then part of the answer.
bool ordersRows(const std::string& sql) {
    std::string bare;
    char quote = 0;
    for (char c : sql) {
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '\'' || c == '"')
            quote = c;
        else if (c == '[')
            quote = ']';
        else
            bare += char(std::toupper(static_cast<unsigned char>(c)));
    }
    for (char& c : bare)
        if (std::isspace(static_cast<unsigned char>(c)))
            c = ' ';
    bare.erase(
        std::unique(bare.begin(), bare.end(), [](char a, char b) { return a == ' ' && b == ' '; }),
        bare.end());
    return bare.find("ORDER BY") != std::string::npos;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines)
        out += "\n    " + line;
    return out.empty() ? "\n    (nothing)" : out;
}

// As the runner sends a plain statement; the records it changed.
std::int64_t executeStatement(const std::shared_ptr<ado::Connection>& connection,
                              const std::string& sql) {
    auto command = components().createCommand();
    command->setActiveConnection(connection);
    command->setCommandText(text::fromUtf8(sql));
    std::int64_t affected = 0;
    command->execute(&affected, ado::commandTypeText | ado::executeNoRecords);
    return affected;
}

// The failure of one record, or "" when it passed.
std::string runRecord(const Record& record, const std::shared_ptr<ado::Connection>& connection,
                      const std::filesystem::path& path) {
    std::vector<std::string> actual;
    try {
        switch (record.kind) {
        case RecordKind::StatementOk:
            executeStatement(connection, record.sql);
            return "";
        case RecordKind::StatementCount: {
            std::string count = std::to_string(executeStatement(connection, record.sql));
            return count == record.argument
                       ? ""
                       : "changed " + count + " records, expected " + record.argument;
        }
        case RecordKind::StatementError:
            executeStatement(connection, record.sql);
            return "succeeded, expected the error \"" + record.argument + "\"";
        case RecordKind::Query: {
            std::int64_t affected = 0;
            auto rows = connection->execute(text::fromUtf8(record.sql), {}, &affected);
            std::string typeError;
            actual = rowLines(*rows, record.argument, typeError);
            if (!typeError.empty())
                return typeError;
            break;
        }
        case RecordKind::Catalog:
            actual = catalogLines(connection, path, record.argument);
            break;
        case RecordKind::Reopen:
            return "";
        }
    } catch (const EngineError& e) {
        std::string message = text::toUtf8(e.description());
        if (record.kind == RecordKind::StatementError)
            return message == record.argument
                       ? ""
                       : "failed with \"" + message + "\", expected \"" + record.argument + "\"";
        return "failed: " + message;
    }

    std::vector<std::string> expected = record.expected;
    if (record.kind == RecordKind::Query && !ordersRows(record.sql)) {
        std::sort(actual.begin(), actual.end());
        std::sort(expected.begin(), expected.end());
    }
    if (actual == expected)
        return "";
    return "gave" + joined(actual) + "\n  expected" + joined(expected);
}

} // namespace

std::vector<std::string> rowLines(ado::Recordset& rows, const std::string& types,
                                  std::string& typeError) {
    std::vector<std::string> lines;
    for (; !rows.eof(); rows.moveNext()) {
        auto fields = rows.fields();
        if (size_t(fields->count()) != types.size() && typeError.empty())
            typeError = "the query gives " + std::to_string(fields->count()) +
                        " columns, the record names " + std::to_string(types.size());
        std::string line;
        for (int i = 0; i < fields->count(); ++i) {
            Variant value = fields->item(i)->value();
            if (size_t(i) < types.size() && !value.isNull() &&
                !typeMatches(types[i], value.type()) && typeError.empty())
                typeError = "column " + std::to_string(i + 1) + " has type " +
                            std::to_string(int(value.type())) + ", the record names '" + types[i] +
                            "'";
            line += (i ? "|" : "") + valueText(value);
        }
        lines.push_back(line);
    }
    return lines;
}

FileOutcome runRecords(const std::vector<Record>& records, Backend& backend,
                       std::shared_ptr<ado::Connection>& connection,
                       const std::filesystem::path& databasePath) {
    FileOutcome outcome;
    for (const Record& record : records) {
        if (!record.appliesTo(backend.name())) {
            ++outcome.skipped;
            continue;
        }
        std::string failure;
        if (record.kind == RecordKind::Reopen) {
            try {
                connection->close();
                connection = backend.open(databasePath);
            } catch (const EngineError& e) {
                failure = "reopening failed: " + text::toUtf8(e.description());
            }
        } else {
            failure = runRecord(record, connection, databasePath);
        }
        if (failure.empty())
            ++outcome.passed;
        else
            outcome.failures.push_back({record.line, failure});
    }
    return outcome;
}

} // namespace conformance
