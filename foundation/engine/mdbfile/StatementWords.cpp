#include "foundation/engine/mdbfile/StatementWords.h"

#include "foundation/text/WideString.h"

namespace engine::mdbfile {

namespace {

bool isWordChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_';
}

} // namespace

std::vector<std::u16string> statementWords(std::u16string_view sql) {
    std::vector<std::u16string> words;
    std::u16string word;
    char16_t closing = 0;
    for (char16_t c : sql) {
        if (closing) {
            closing = c == closing ? 0 : closing;
            continue;
        }
        if (isWordChar(c)) {
            word += text::asciiUpper(c);
            continue;
        }
        if (!word.empty())
            words.push_back(std::move(word));
        word.clear();
        if (c == u'\'' || c == u'"')
            closing = c;
        else if (c == u'[')
            closing = u']';
    }
    if (!word.empty())
        words.push_back(std::move(word));
    return words;
}

bool changesData(const std::vector<std::u16string>& words) {
    static const std::u16string_view changing[] = {u"INSERT", u"UPDATE", u"DELETE", u"CREATE",
                                                   u"ALTER",  u"DROP",   u"GRANT",  u"REVOKE"};
    if (words.empty())
        return false;
    for (std::u16string_view keyword : changing)
        if (words[0] == keyword)
            return true;
    // SELECT ... INTO makes a table.
    for (const std::u16string& word : words)
        if (word == u"INTO")
            return words[0] == u"SELECT";
    return false;
}

} // namespace engine::mdbfile
