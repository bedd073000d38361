#pragma once

// Walks the value list of an INSERT or the assignment list of an UPDATE from left to right
// and turns each value into a piece of SQL: "?" with a parameter for values the engine's SQL
// cannot write (text built with chr(), base64 data, the special numbers), the value itself
// otherwise.

#include "foundation/engine/api/Variant.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace SQLExecutor {

// A value bound to one "?", with its size (UTF-16 units, bytes, or 8 for a double).
struct Parameter {
    engine::Variant value;
    std::size_t size = 0;
};

class ValueScanner {
public:
    explicit ValueScanner(std::u16string_view list) : list_(list) {}

    bool atEnd() const { return pos_ >= list_.size(); }

    // Takes the next value and appends its piece to sql and its parameter, if any, to
    // parameters. The special numbers count only where specialNumbers is true (INSERT).
    void takeValue(bool specialNumbers, std::u16string& sql, std::vector<Parameter>& parameters);

    // Skips blanks, then appends the text up to and including the next "=" to sql. False when
    // no "=" is left; the position then stays where it was.
    bool takeAssignmentTarget(std::u16string& sql);

    // Skips blanks; true when nothing else is left.
    bool onlyBlanksLeft();

    std::u16string_view rest() const { return list_.substr(pos_); }

private:
    bool takeTextExpression(std::u16string& sql, std::vector<Parameter>& parameters);
    bool takeBase64(std::u16string& sql, std::vector<Parameter>& parameters);
    bool takeSpecialNumber(std::u16string& sql, std::vector<Parameter>& parameters);
    void takePlain(std::u16string& sql);

    bool takeQuotedLiteral(std::size_t& pos, std::u16string& collected) const;
    bool takeChr(std::size_t& pos, std::u16string& collected) const;
    void skipBlanks(std::size_t& pos) const;
    // After a base64 value or special number: blanks, then the separator unless at the end.
    void skipSeparator(std::size_t& pos) const;
    bool startsWithNoCase(std::size_t pos, std::u16string_view prefix) const;

    std::u16string_view list_;
    std::size_t pos_ = 0;
};

} // namespace SQLExecutor
