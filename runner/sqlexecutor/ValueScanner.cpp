#include "runner/sqlexecutor/ValueScanner.h"

#include "runner/sqlexecutor/Base64.h"
#include "runner/sqlexecutor/Blanks.h"

#include "foundation/text/WideString.h"

#include <bit>
#include <cstdint>

namespace SQLExecutor {

namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

struct SpecialNumber {
    std::u16string_view text;
    std::uint64_t bits;
};

// Tried in this order: the signed forms first, so that "-1.#INF" is not read as "1.#INF".
constexpr SpecialNumber specialNumbers[] = {
    {u"-1.#QNAN", 0xFFFFFFFFFFFFFFFFull},
    {u"1.#QNAN", 0x7FF8000000000001ull},
    {u"-1.#INF", 0xFFF0000000000000ull},
    {u"1.#INF", 0x7FF0000000000000ull},
};

void replaceDoubledQuotes(std::u16string& text) {
    std::u16string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        result += text[i];
        if (text[i] == u'"' && i + 1 < text.size() && text[i + 1] == u'"')
            ++i;
    }
    text = std::move(result);
}

} // namespace

void ValueScanner::takeValue(bool specialNumbers, std::u16string& sql,
                             std::vector<Parameter>& parameters) {
    if (takeTextExpression(sql, parameters) || takeBase64(sql, parameters))
        return;
    if (specialNumbers && takeSpecialNumber(sql, parameters))
        return;
    takePlain(sql);
}

bool ValueScanner::takeAssignmentTarget(std::u16string& sql) {
    std::size_t pos = pos_;
    skipBlanks(pos);
    std::size_t equals = list_.find(u'=', pos);
    if (equals == std::u16string_view::npos)
        return false;
    sql += list_.substr(pos, equals + 1 - pos);
    pos_ = equals + 1;
    return true;
}

bool ValueScanner::onlyBlanksLeft() {
    skipBlanks(pos_);
    return atEnd();
}

// One or more double-quoted literals and chr(N) calls joined by "&", ended by the end of
// the list or a ",".
bool ValueScanner::takeTextExpression(std::u16string& sql, std::vector<Parameter>& parameters) {
    std::size_t pos = pos_;
    std::u16string collected;
    bool sawChr = false;
    skipBlanks(pos);
    for (;;) {
        if (takeChr(pos, collected))
            sawChr = true;
        else if (!takeQuotedLiteral(pos, collected))
            return false;
        skipBlanks(pos);
        if (pos >= list_.size())
            break;
        if (list_[pos] == u',') {
            ++pos;
            skipBlanks(pos);
            break;
        }
        if (list_[pos] != u'&')
            return false;
        ++pos;
        skipBlanks(pos);
        if (pos >= list_.size())
            return false;
    }
    pos_ = pos;
    if (!sawChr) {
        sql += u'"';
        sql += collected;
        sql += u'"';
        return true;
    }
    replaceDoubledQuotes(collected);
    sql += u'?';
    std::size_t size = collected.size();
    parameters.push_back({engine::Variant(std::move(collected)), size});
    return true;
}

// A literal's inner text is kept as written, its doubled quotes still doubled.
bool ValueScanner::takeQuotedLiteral(std::size_t& pos, std::u16string& collected) const {
    if (pos >= list_.size() || list_[pos] != u'"')
        return false;
    for (std::size_t i = pos + 1; i < list_.size(); ++i) {
        if (list_[i] != u'"')
            continue;
        if (i + 1 < list_.size() && list_[i + 1] == u'"') {
            ++i;
            continue;
        }
        collected += list_.substr(pos + 1, i - pos - 1);
        pos = i + 1;
        return true;
    }
    return false;
}

bool ValueScanner::takeChr(std::size_t& pos, std::u16string& collected) const {
    if (!startsWithNoCase(pos, u"chr("))
        return false;
    std::size_t i = pos + 4;
    std::uint32_t code = 0;
    for (; i < list_.size() && isDigit(list_[i]); ++i)
        code = (code * 10 + (list_[i] - u'0')) & 0xFFFF;
    if (i >= list_.size() || list_[i] != u')')
        return false;
    collected += char16_t(code);
    pos = i + 1;
    return true;
}

bool ValueScanner::takeBase64(std::u16string& sql, std::vector<Parameter>& parameters) {
    static constexpr std::u16string_view opening = u"base64(\"";
    static constexpr std::size_t shortest = 11;
    std::size_t pos = pos_;
    skipBlanks(pos);
    if (list_.size() - pos < shortest || !startsWithNoCase(pos, opening))
        return false;
    std::size_t begin = pos + opening.size();
    std::size_t quote = list_.find(u'"', begin);
    if (quote == std::u16string_view::npos || quote + 1 >= list_.size() || list_[quote + 1] != u')')
        return false;
    Bytes bytes = decodeBase64(list_.substr(begin, quote - begin));
    pos = quote + 2;
    skipSeparator(pos);
    pos_ = pos;
    sql += u'?';
    std::size_t size = bytes.size();
    parameters.push_back({engine::Variant(std::move(bytes)), size});
    return true;
}

bool ValueScanner::takeSpecialNumber(std::u16string& sql, std::vector<Parameter>& parameters) {
    static constexpr std::size_t shortest = 6;
    std::size_t pos = pos_;
    skipBlanks(pos);
    if (list_.size() - pos < shortest ||
        !(list_.substr(pos).starts_with(u"1.#") || list_.substr(pos).starts_with(u"-1.#")))
        return false;
    for (const SpecialNumber& number : specialNumbers) {
        if (!startsWithNoCase(pos, number.text))
            continue;
        pos += number.text.size();
        skipSeparator(pos);
        pos_ = pos;
        sql += u'?';
        parameters.push_back({engine::Variant(std::bit_cast<double>(number.bits)), 8});
        return true;
    }
    return false;
}

// Numbers, dates and keywords: everything up to the next ",", blanks included.
void ValueScanner::takePlain(std::u16string& sql) {
    std::size_t comma = list_.find(u',', pos_);
    std::size_t end = comma == std::u16string_view::npos ? list_.size() : comma;
    sql += list_.substr(pos_, end - pos_);
    pos_ = comma == std::u16string_view::npos ? end : comma + 1;
}

void ValueScanner::skipBlanks(std::size_t& pos) const {
    while (pos < list_.size() && isWhiteSpace(list_[pos]))
        ++pos;
}

void ValueScanner::skipSeparator(std::size_t& pos) const {
    skipBlanks(pos);
    if (pos < list_.size())
        ++pos;
}

bool ValueScanner::startsWithNoCase(std::size_t pos, std::u16string_view prefix) const {
    return pos <= list_.size() && list_.size() - pos >= prefix.size() &&
           text::equalsNoCase(list_.substr(pos, prefix.size()), prefix);
}

} // namespace SQLExecutor
