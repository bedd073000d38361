#include "runner/sqlexecutor/SQLParser.h"

#include "runner/sqlexecutor/Blanks.h"
#include "runner/sqlexecutor/Classifier.h"

namespace SQLExecutor {

namespace {

bool isComment(std::u16string_view line) {
    return line.starts_with(u"--");
}

} // namespace

std::unique_ptr<SQLCommand> SQLParser::next() {
    while (reader_.readLine()) {
        std::u16string_view line = reader_.currentLine();
        ++lineCount_;
        charactersRead_ += std::int64_t(line.size());
        if (statement_.empty())
            startLine_ = lineCount_;

        line = trimmed(line, isLineBlank);
        if (line.empty() || isComment(line))
            continue;
        statement_ += line;
        if (line.back() == u';') {
            std::u16string_view withoutSemicolon(statement_.data(), statement_.size() - 1);
            std::u16string statement(trimmed(withoutSemicolon, isLineBlank));
            statement_.clear();
            return classifyStatement(std::move(statement), startLine_);
        }
        statement_ += u' ';
    }
    std::u16string statement(trimmed(statement_, isLineBlank));
    statement_.clear();
    if (statement.empty())
        return nullptr;
    return classifyStatement(std::move(statement), lineCount_);
}

} // namespace SQLExecutor
