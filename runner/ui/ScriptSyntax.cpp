#include "runner/ui/ScriptSyntax.h"

#include <QSet>
#include <QString>

namespace runner::ui {

namespace {

bool isWordStart(QChar c) {
    return c.isLetter() || c == u'_';
}
bool isWordPart(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

bool isKeyword(QStringView word) {
    static const QSet<QString> keywords = [] {
        QSet<QString> set;
        for (const char* w : {"ADD",     "ALL",        "ALLOW",
                              "ALTER",   "AND",        "AS",
                              "ASC",     "ATTACHMENT", "AUTOINCREMENT",
                              "BETWEEN", "BINARY",     "BIT",
                              "BY",      "BYTE",       "CASCADE",
                              "CHECK",   "COLUMN",     "CONSTRAINT",
                              "COUNTER", "CREATE",     "CURRENCY",
                              "DATA",    "DATETIME",   "DECIMAL",
                              "DEFAULT", "DELETE",     "DENY",
                              "DESC",    "DISALLOW",   "DISTINCT",
                              "DOUBLE",  "DROP",       "EXPRESSION",
                              "FORM",    "FORMAT",     "FOREIGN",
                              "FROM",    "GROUP",      "GUID",
                              "HAVING",  "IGNORE",     "IN",
                              "INDEX",   "INNER",      "INSERT",
                              "INTEGER", "INTO",       "IS",
                              "JOIN",    "KEY",        "LEFT",
                              "LENGTH",  "LIKE",       "LINK",
                              "LONG",    "LONGBINARY", "MACRO",
                              "MEMO",    "MODULE",     "NO",
                              "NOT",     "NULL",       "NUMERIC",
                              "ODBC",    "ON",         "OR",
                              "ORDER",   "OUTER",      "PARAMETERS",
                              "PLACES",  "PRIMARY",    "PROCEDURE",
                              "REAL",    "REFERENCES", "REPORT",
                              "RIGHT",   "SELECT",     "SET",
                              "SHORT",   "SINGLE",     "SMALLINT",
                              "SRC",     "TABLE",      "TEXT",
                              "TO",      "TOP",        "UNION",
                              "UNIQUE",  "UPDATE",     "VALIDATIONRULE",
                              "VALUES",  "VARCHAR",    "VIEW",
                              "WHERE",   "WITH",       "YESNO",
                              "ZERO",    "BASE64",     "CHR"})
            set.insert(QString::fromLatin1(w));
        return set;
    }();
    return keywords.contains(word.toString().toUpper());
}

// True when the quote at position quote opens a Base64 definition: base64(" before it.
bool opensBase64(QStringView line, qsizetype quote) {
    constexpr QStringView opening = u"base64(";
    return quote >= opening.size() &&
           line.mid(quote - opening.size(), opening.size()).compare(opening, Qt::CaseInsensitive) ==
               0;
}

class LineScanner {
public:
    LineScanner(QStringView line, std::vector<SyntaxSpan>* spans) : line_(line), spans_(spans) {}

    SyntaxState scan(SyntaxState state) {
        if (state != SyntaxState::Normal)
            state = closeOpen(state);
        while (state == SyntaxState::Normal && pos_ < line_.size())
            state = scanToken();
        return state;
    }

private:
    // Continues a string or definition that began on an earlier line.
    SyntaxState closeOpen(SyntaxState state) {
        QChar quote = state == SyntaxState::SingleQuoted ? u'\'' : u'"';
        SyntaxKind kind = state == SyntaxState::Base64 ? SyntaxKind::Base64 : SyntaxKind::String;
        return quoted(0, 0, quote, kind, state);
    }

    SyntaxState scanToken() {
        QChar c = line_[pos_];
        if (c == u'-' && pos_ + 1 < line_.size() && line_[pos_ + 1] == u'-' &&
            line_.left(pos_).trimmed().isEmpty()) {
            add(pos_, line_.size(), SyntaxKind::Comment);
            pos_ = line_.size();
            return SyntaxState::Normal;
        }
        if (c == u'[')
            return bracketed();
        if (c == u'\'')
            return quoted(pos_, pos_ + 1, c, SyntaxKind::String, SyntaxState::SingleQuoted);
        if (c == u'"') {
            if (opensBase64(line_, pos_))
                return quoted(pos_, pos_ + 1, c, SyntaxKind::Base64, SyntaxState::Base64);
            return quoted(pos_, pos_ + 1, c, SyntaxKind::String, SyntaxState::DoubleQuoted);
        }
        if (isWordStart(c))
            return word();
        ++pos_;
        return SyntaxState::Normal;
    }

    SyntaxState bracketed() {
        qsizetype close = line_.indexOf(u']', pos_ + 1);
        qsizetype end = close < 0 ? line_.size() : close + 1;
        add(pos_, end, SyntaxKind::Name);
        pos_ = end;
        return SyntaxState::Normal;
    }

    // A span from begin (the opening quote, or the line's start when the text began on an
    // earlier line) to the first closing quote at or after from; without one the span runs to
    // the line's end and the state stays open.
    SyntaxState quoted(qsizetype begin, qsizetype from, QChar quote, SyntaxKind kind,
                       SyntaxState open) {
        qsizetype close = line_.indexOf(quote, from);
        qsizetype end = close < 0 ? line_.size() : close + 1;
        add(begin, end, kind);
        pos_ = end;
        return close < 0 ? open : SyntaxState::Normal;
    }

    SyntaxState word() {
        qsizetype begin = pos_;
        while (pos_ < line_.size() && isWordPart(line_[pos_]))
            ++pos_;
        // The state never depends on a word: without spans wanted, no look-up is needed.
        if (spans_ && isKeyword(line_.mid(begin, pos_ - begin)))
            add(begin, pos_, SyntaxKind::Keyword);
        return SyntaxState::Normal;
    }

    void add(qsizetype begin, qsizetype end, SyntaxKind kind) {
        if (spans_ && end > begin)
            spans_->push_back({int(begin), int(end - begin), kind});
    }

    QStringView line_;
    std::vector<SyntaxSpan>* spans_;
    qsizetype pos_ = 0;
};

} // namespace

SyntaxState scanLine(QStringView line, SyntaxState start, std::vector<SyntaxSpan>& spans) {
    return LineScanner(line, &spans).scan(start);
}

SyntaxState endState(QStringView line, SyntaxState start) {
    return LineScanner(line, nullptr).scan(start);
}

} // namespace runner::ui
