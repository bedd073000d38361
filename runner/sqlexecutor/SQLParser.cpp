#include "runner/sqlexecutor/SQLParser.h"

#include "runner/sqlexecutor/Blanks.h"
#include "runner/sqlexecutor/Classifier.h"

namespace SQLExecutor {

namespace {

bool isComment(std::u16string_view line) {
    return line.starts_with(u"--");
}

std::u16string_view withoutLineEnd(std::u16string_view line) {
    if (line.ends_with(u'\n'))
        line.remove_suffix(1);
    if (line.ends_with(u'\r'))
        line.remove_suffix(1);
    return line;
}

} // namespace

std::unique_ptr<SQLCommand> SQLParser::next() {
    while (reader_.readLine()) {
        std::u16string_view line = reader_.currentLine();
        ++lineCount_;
        charactersRead_ += std::int64_t(line.size());
        if (statement_.empty())
            startLine_ = lineCount_;

        std::u16string_view kept = trimmed(line, isLineBlank);
        if (isComment(kept))
            continue;
        if (kept.empty()) {
            // An empty line inside a statement is kept in its original.
            if (!statement_.empty())
                original_.appendLine(withoutLineEnd(line), kept);
            continue;
        }
        original_.appendLine(withoutLineEnd(line), kept);
        statement_ += kept;
        if (kept.back() == u';') {
            std::u16string_view withoutSemicolon(statement_.data(), statement_.size() - 1);
            return take(trimmed(withoutSemicolon, isLineBlank), startLine_);
        }
        statement_ += u' ';
    }
    std::u16string_view rest = trimmed(statement_, isLineBlank);
    if (rest.empty()) {
        statement_.clear();
        original_.clear();
        return nullptr;
    }
    return take(rest, lineCount_);
}

std::unique_ptr<SQLCommand> SQLParser::take(std::u16string_view statement, std::int64_t line) {
    std::u16string text(statement);
    std::unique_ptr<SQLCommand> command = classifyStatement(std::move(text), line, original_);
    statement_.clear();
    original_.clear();
    return command;
}

} // namespace SQLExecutor
