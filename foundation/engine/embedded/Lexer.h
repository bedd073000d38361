#pragma once

// Splits Access SQL into tokens: words, quoted names ([name] or `name`), strings ("..." or
// '...'), numbers, #date# literals and punctuation. Comments (-- to the end of the line and
// /* ... */) and white space separate tokens. Every token keeps its place in the text, so that
// a clause can be taken back exactly as written.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace engine::embedded {

enum class TokenKind {
    Word,       // a bare name or keyword
    QuotedName, // [name] or `name`; text is the name without its quotes
    String,     // text is the literal as written, quotes included
    Number,
    Date,   // #...#
    Symbol, // one of ( ) , ; . = < > <= >= <> + - * / & \ ^ ! ? :
    End,
    Invalid, // an unterminated quote or a character that starts no token
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::u16string text;
    std::size_t begin = 0; // offset of the first character in the statement
    std::size_t end = 0;   // offset after the last character

    bool isWord(std::u16string_view keyword) const; // a bare word, ignoring case
    bool isSymbol(std::u16string_view symbol) const {
        return kind == TokenKind::Symbol && text == symbol;
    }
    bool isName() const { return kind == TokenKind::Word || kind == TokenKind::QuotedName; }
};

// The tokens of the statement, ended by one End token (or stopped at the first Invalid one).
std::vector<Token> tokenize(std::u16string_view sql);

} // namespace engine::embedded
