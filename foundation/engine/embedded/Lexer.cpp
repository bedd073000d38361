#include "foundation/engine/embedded/Lexer.h"

#include "foundation/text/WideString.h"

namespace engine::embedded {

namespace {

bool isSpace(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0xA0;
}

bool isWordChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_' || c == u'$' || c >= 0x80;
}

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

class Lexer {
public:
    explicit Lexer(std::u16string_view sql) : sql_(sql) {}

    std::vector<Token> run() {
        std::vector<Token> tokens;
        for (;;) {
            skipSpaceAndComments();
            Token token = next();
            tokens.push_back(token);
            if (token.kind == TokenKind::End || token.kind == TokenKind::Invalid)
                return tokens;
        }
    }

private:
    char16_t at(std::size_t i) const { return i < sql_.size() ? sql_[i] : u'\0'; }

    void skipSpaceAndComments() {
        for (;;) {
            while (pos_ < sql_.size() && isSpace(sql_[pos_]))
                ++pos_;
            if (at(pos_) == u'-' && at(pos_ + 1) == u'-') {
                while (pos_ < sql_.size() && sql_[pos_] != u'\n')
                    ++pos_;
            } else if (at(pos_) == u'/' && at(pos_ + 1) == u'*') {
                std::size_t close = sql_.find(u"*/", pos_ + 2);
                pos_ = close == std::u16string_view::npos ? sql_.size() : close + 2;
            } else {
                return;
            }
        }
    }

    Token make(TokenKind kind, std::size_t begin, std::u16string text) {
        return Token{kind, std::move(text), begin, pos_};
    }

    // A quoted piece ending at `close`; a doubled closing quote stands for one when doubling
    // is allowed.
    Token quoted(TokenKind kind, char16_t close, bool doubling, bool keepQuotes) {
        std::size_t begin = pos_++;
        std::u16string content;
        for (;;) {
            if (pos_ >= sql_.size())
                return make(TokenKind::Invalid, begin, {});
            char16_t c = sql_[pos_++];
            if (c == close) {
                if (doubling && at(pos_) == close) {
                    content += c;
                    ++pos_;
                    continue;
                }
                break;
            }
            content += c;
        }
        if (keepQuotes)
            return make(kind, begin, std::u16string(sql_.substr(begin, pos_ - begin)));
        return make(kind, begin, std::move(content));
    }

    Token next() {
        std::size_t begin = pos_;
        if (pos_ >= sql_.size())
            return make(TokenKind::End, begin, {});
        char16_t c = sql_[pos_];
        if (c == u'[')
            return quoted(TokenKind::QuotedName, u']', false, false);
        if (c == u'`')
            return quoted(TokenKind::QuotedName, u'`', false, false);
        if (c == u'"' || c == u'\'')
            return quoted(TokenKind::String, c, true, true);
        if (c == u'#')
            return quoted(TokenKind::Date, u'#', false, true);
        if (isDigit(c) || (c == u'.' && isDigit(at(pos_ + 1))))
            return number();
        if (isWordChar(c)) {
            while (pos_ < sql_.size() && isWordChar(sql_[pos_]))
                ++pos_;
            return make(TokenKind::Word, begin, std::u16string(sql_.substr(begin, pos_ - begin)));
        }
        static constexpr std::u16string_view pairs[] = {u"<=", u">=", u"<>"};
        for (auto pair : pairs)
            if (sql_.substr(pos_, 2) == pair) {
                pos_ += 2;
                return make(TokenKind::Symbol, begin, std::u16string(pair));
            }
        if (std::u16string_view(u"(),;.=<>+-*/&\\^!?:").find(c) != std::u16string_view::npos) {
            ++pos_;
            return make(TokenKind::Symbol, begin, std::u16string(1, c));
        }
        return make(TokenKind::Invalid, begin, {});
    }

    Token number() {
        std::size_t begin = pos_;
        while (isDigit(at(pos_)))
            ++pos_;
        if (at(pos_) == u'.') {
            ++pos_;
            while (isDigit(at(pos_)))
                ++pos_;
        }
        if ((at(pos_) == u'e' || at(pos_) == u'E') &&
            (isDigit(at(pos_ + 1)) ||
             ((at(pos_ + 1) == u'+' || at(pos_ + 1) == u'-') && isDigit(at(pos_ + 2))))) {
            pos_ += 2;
            while (isDigit(at(pos_)))
                ++pos_;
        }
        return make(TokenKind::Number, begin, std::u16string(sql_.substr(begin, pos_ - begin)));
    }

    std::u16string_view sql_;
    std::size_t pos_ = 0;
};

} // namespace

bool Token::isWord(std::u16string_view keyword) const {
    return kind == TokenKind::Word && text::equalsNoCase(text, keyword);
}

std::vector<Token> tokenize(std::u16string_view sql) {
    return Lexer(sql).run();
}

} // namespace engine::embedded
