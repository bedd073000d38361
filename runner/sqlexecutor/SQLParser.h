#pragma once

// Splits a script into statements and turns each into a command. A statement ends at a
// line whose last non-blank character is ";"; comment lines ("--") and empty lines are
// dropped, also inside a statement, and the lines of one statement are joined by blanks.
// Beside it the parser keeps the statement's original lines, from which the text of a saved
// query is taken.

#include "runner/sqlexecutor/OriginalText.h"
#include "runner/sqlexecutor/SQLCommand.h"
#include "runner/stream/ITextStreamReader.h"

#include <cstdint>
#include <memory>
#include <string>

namespace SQLExecutor {

class SQLParser {
public:
    // The reader is not owned and must outlive the parser.
    explicit SQLParser(Libs::Stream::ITextStreamReader& reader) : reader_(reader) {}

    // The next command, or none at the end of the script.
    std::unique_ptr<SQLCommand> next();

    // UTF-16 units of all lines read so far, line ends included.
    std::int64_t charactersRead() const { return charactersRead_; }

private:
    // Classifies the statement and starts the next one.
    std::unique_ptr<SQLCommand> take(std::u16string_view statement, std::int64_t line);

    Libs::Stream::ITextStreamReader& reader_;
    std::u16string statement_;
    OriginalText original_;
    std::int64_t lineCount_ = 0;
    std::int64_t startLine_ = 0;
    std::int64_t charactersRead_ = 0;
};

} // namespace SQLExecutor
