// libFuzzer target: any bytes as a script, through statement splitting, classification and
// the value scanner of INSERT and UPDATE. The first byte chooses how the rest becomes text:
// odd, little-endian UTF-16 units (every unit reachable, lone surrogates included); even,
// one unit per byte, as the runner reads a file without a byte-order mark.

#include "runner/sqlexecutor/SQLParser.h"
#include "runner/sqlexecutor/ValueScanner.h"
#include "runner/stream/StringStream.h"

#include <cstddef>
#include <cstdint>

namespace {

std::u16string scriptText(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    if (data[0] & 1) {
        for (std::size_t i = 1; i + 1 < size; i += 2)
            text += char16_t(data[i] | data[i + 1] << 8);
    } else {
        text.assign(data + 1, data + size);
    }
    return text;
}

void scanValues(const std::u16string& text) {
    std::u16string sql;
    std::vector<SQLExecutor::Parameter> parameters;
    SQLExecutor::ValueScanner values(text);
    while (!values.atEnd())
        values.takeValue(true, sql, parameters);

    SQLExecutor::ValueScanner assignments(text);
    while (!assignments.onlyBlanksLeft() && assignments.takeAssignmentTarget(sql))
        assignments.takeValue(false, sql, parameters);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    std::u16string text = scriptText(data, size);
    Libs::Text::StringStream stream(text);
    SQLExecutor::SQLParser parser(stream);
    while (parser.next()) {
    }
    scanValues(text);
    return 0;
}
