#include "foundation/engine/mdbfile/ObjectSelect.h"

#include "foundation/engine/api/EngineError.h"
#include "foundation/text/WideString.h"

#include <algorithm>
#include <optional>

namespace engine::mdbfile {

// A node of a WHERE expression. Truth values are bool variants; null is unknown.
struct Condition {
    enum class Kind { Column, Literal, Parameter, Compare, IsNull, Like, And, Or, Not };
    Kind kind = Kind::Literal;
    std::u16string name; // column name, or comparison operator
    Variant literal;
    int parameter = 0;
    bool negated = false; // IS NOT NULL, NOT LIKE
    std::shared_ptr<const Condition> left, right;
};

namespace {

using Node = std::shared_ptr<const Condition>;
using Kind = Condition::Kind;

EngineError syntaxError() {
    return errors::syntaxError(u"SELECT");
}

EngineError missingValue() {
    return {0x80040E10, u"No value given for one or more required parameters."};
}

EngineError typeMismatch() {
    return {status::unspecified, u"Data type mismatch in criteria expression."};
}

struct Token {
    enum class Type { End, Word, Name, Number, String, Symbol };
    Type type = Type::End;
    std::u16string text;
};

bool isIdentifierChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_' || c >= 0x80;
}

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

std::vector<Token> tokenize(std::u16string_view sql) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < sql.size()) {
        char16_t c = sql[i];
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n') {
            ++i;
        } else if (c == u'[') {
            std::size_t end = sql.find(u']', i);
            if (end == std::u16string_view::npos)
                throw syntaxError();
            tokens.push_back({Token::Type::Name, std::u16string(sql.substr(i + 1, end - i - 1))});
            i = end + 1;
        } else if (c == u'\'' || c == u'"') {
            std::u16string text;
            for (++i;; ++i) {
                if (i >= sql.size())
                    throw syntaxError();
                if (sql[i] == c && i + 1 < sql.size() && sql[i + 1] == c) {
                    text += c;
                    ++i;
                } else if (sql[i] == c) {
                    break;
                } else {
                    text += sql[i];
                }
            }
            tokens.push_back({Token::Type::String, text});
            ++i;
        } else if (isDigit(c)) {
            std::size_t start = i;
            while (i < sql.size() && (isDigit(sql[i]) || sql[i] == u'.'))
                ++i;
            tokens.push_back({Token::Type::Number, std::u16string(sql.substr(start, i - start))});
        } else if (isIdentifierChar(c)) {
            std::size_t start = i;
            while (i < sql.size() && isIdentifierChar(sql[i]))
                ++i;
            tokens.push_back({Token::Type::Word, std::u16string(sql.substr(start, i - start))});
        } else if ((c == u'<' || c == u'>') && i + 1 < sql.size() &&
                   (sql[i + 1] == u'=' || (c == u'<' && sql[i + 1] == u'>'))) {
            tokens.push_back({Token::Type::Symbol, std::u16string(sql.substr(i, 2))});
            i += 2;
        } else if (std::u16string_view(u"=<>(),.*?;-").find(c) != std::u16string_view::npos) {
            tokens.push_back({Token::Type::Symbol, std::u16string(1, c)});
            ++i;
        } else {
            throw syntaxError();
        }
    }
    tokens.push_back({});
    return tokens;
}

Node makeNode(Kind kind, Node left = {}, Node right = {}) {
    auto node = std::make_shared<Condition>();
    node->kind = kind;
    node->left = std::move(left);
    node->right = std::move(right);
    return node;
}

class Parser {
public:
    explicit Parser(std::u16string_view sql) : tokens_(tokenize(sql)) {}

    SelectStatement statement() {
        SelectStatement s;
        expectWord(u"SELECT");
        if (acceptWord(u"DISTINCT"))
            s.distinct = true;
        else
            acceptWord(u"DISTINCTROW");
        do {
            s.items.push_back(selectItem());
        } while (acceptSymbol(u","));
        expectWord(u"FROM");
        s.table = name();
        if (acceptWord(u"WHERE"))
            s.where = orExpression();
        if (acceptWord(u"ORDER")) {
            expectWord(u"BY");
            do {
                OrderItem item{columnReference(), false};
                if (acceptWord(u"DESC"))
                    item.descending = true;
                else
                    acceptWord(u"ASC");
                s.orderBy.push_back(item);
            } while (acceptSymbol(u","));
        }
        acceptSymbol(u";");
        if (peek().type != Token::Type::End)
            throw syntaxError();
        return s;
    }

private:
    const Token& peek() const { return tokens_[position_]; }
    const Token& next() {
        const Token& t = tokens_[position_];
        if (t.type != Token::Type::End)
            ++position_;
        return t;
    }

    bool isWord(std::u16string_view word) const {
        return peek().type == Token::Type::Word && text::equalsNoCase(peek().text, word);
    }
    bool acceptWord(std::u16string_view word) {
        if (!isWord(word))
            return false;
        next();
        return true;
    }
    void expectWord(std::u16string_view word) {
        if (!acceptWord(word))
            throw syntaxError();
    }
    bool acceptSymbol(std::u16string_view symbol) {
        if (peek().type != Token::Type::Symbol || peek().text != symbol)
            return false;
        next();
        return true;
    }
    void expectSymbol(std::u16string_view symbol) {
        if (!acceptSymbol(symbol))
            throw syntaxError();
    }

    std::u16string name() {
        const Token& t = next();
        if (t.type != Token::Type::Word && t.type != Token::Type::Name)
            throw syntaxError();
        return t.text;
    }

    // column or table.column: the column's name.
    std::u16string columnReference() {
        std::u16string column = name();
        if (acceptSymbol(u"."))
            column = name();
        return column;
    }

    SelectItem selectItem() {
        if (acceptSymbol(u"*"))
            return {};
        std::u16string first = name();
        if (acceptSymbol(u".")) {
            if (acceptSymbol(u"*"))
                return {};
            first = name();
        }
        SelectItem item{first, first};
        if (acceptWord(u"AS"))
            item.alias = name();
        return item;
    }

    Node orExpression() {
        Node left = andExpression();
        while (acceptWord(u"OR"))
            left = makeNode(Kind::Or, left, andExpression());
        return left;
    }

    Node andExpression() {
        Node left = notExpression();
        while (acceptWord(u"AND"))
            left = makeNode(Kind::And, left, notExpression());
        return left;
    }

    Node notExpression() {
        if (acceptWord(u"NOT"))
            return makeNode(Kind::Not, notExpression());
        return comparison();
    }

    Node comparison() {
        Node left = operand();
        if (acceptWord(u"IS")) {
            auto node = std::make_shared<Condition>();
            node->kind = Kind::IsNull;
            node->negated = acceptWord(u"NOT");
            expectWord(u"NULL");
            node->left = left;
            return node;
        }
        bool negated = acceptWord(u"NOT");
        if (acceptWord(u"LIKE")) {
            auto node = std::make_shared<Condition>();
            node->kind = Kind::Like;
            node->negated = negated;
            node->left = left;
            node->right = operand();
            return node;
        }
        if (negated)
            throw syntaxError();
        for (std::u16string_view op : {u"=", u"<>", u"<=", u">=", u"<", u">"}) {
            if (acceptSymbol(op)) {
                auto node = std::make_shared<Condition>();
                node->kind = Kind::Compare;
                node->name = std::u16string(op);
                node->left = left;
                node->right = operand();
                return node;
            }
        }
        return left;
    }

    Node literal(Variant value) {
        auto node = std::make_shared<Condition>();
        node->kind = Kind::Literal;
        node->literal = std::move(value);
        return node;
    }

    Node number(bool negative) {
        const Token& t = next();
        if (t.type != Token::Type::Number)
            throw syntaxError();
        std::int64_t integer = 0;
        if (text::parseInt(t.text, integer))
            return literal(Variant(negative ? -integer : integer));
        std::string ascii(t.text.begin(), t.text.end());
        char* end = nullptr;
        double value = std::strtod(ascii.c_str(), &end);
        if (*end != '\0')
            throw syntaxError();
        return literal(Variant(negative ? -value : value));
    }

    Node operand() {
        if (acceptSymbol(u"(")) {
            Node inner = orExpression();
            expectSymbol(u")");
            return inner;
        }
        if (acceptSymbol(u"-"))
            return number(true);
        if (peek().type == Token::Type::Number)
            return number(false);
        if (peek().type == Token::Type::String)
            return literal(Variant(next().text));
        if (acceptSymbol(u"?")) {
            auto node = std::make_shared<Condition>();
            node->kind = Kind::Parameter;
            node->parameter = parameterCount_++;
            return node;
        }
        if (acceptWord(u"NULL"))
            return literal(Variant::null());
        if (acceptWord(u"TRUE"))
            return literal(Variant(true));
        if (acceptWord(u"FALSE"))
            return literal(Variant(false));
        if (isWord(u"ISNULL") && tokens_[position_ + 1].text == u"(") {
            next();
            next();
            auto node = std::make_shared<Condition>();
            node->kind = Kind::IsNull;
            node->left = orExpression();
            expectSymbol(u")");
            return node;
        }
        auto node = std::make_shared<Condition>();
        node->kind = Kind::Column;
        node->name = columnReference();
        return node;
    }

    std::vector<Token> tokens_;
    std::size_t position_ = 0;
    int parameterCount_ = 0;
};

// Access's LIKE: * any run, ? one character, # one digit; letters ignore case.
bool likeMatch(std::u16string_view textValue, std::u16string_view pattern) {
    if (pattern.empty())
        return textValue.empty();
    if (pattern[0] == u'*') {
        for (std::size_t i = 0; i <= textValue.size(); ++i)
            if (likeMatch(textValue.substr(i), pattern.substr(1)))
                return true;
        return false;
    }
    if (textValue.empty())
        return false;
    bool one = pattern[0] == u'?' || (pattern[0] == u'#' && isDigit(textValue[0])) ||
               text::asciiLower(pattern[0]) == text::asciiLower(textValue[0]);
    return one && likeMatch(textValue.substr(1), pattern.substr(1));
}

// A value compared as a number; text never is.
double numberOf(const Variant& v) {
    std::optional<double> number = v.isString() ? std::nullopt : v.toDouble();
    if (!number)
        throw typeMismatch();
    return *number;
}

class Evaluator {
public:
    Evaluator(const RowSet& table, const std::vector<Variant>& parameters)
        : table_(table), parameters_(parameters) {}

    Variant value(const Condition& node, const std::vector<Variant>& row) const {
        switch (node.kind) {
        case Kind::Column:
            return row[std::size_t(column(node.name))];
        case Kind::Literal:
            return node.literal;
        case Kind::Parameter:
            if (std::size_t(node.parameter) >= parameters_.size())
                throw missingValue();
            return parameters_[std::size_t(node.parameter)];
        case Kind::IsNull:
            return Variant(value(*node.left, row).isNull() != node.negated);
        case Kind::Compare:
            return compare(node.name, value(*node.left, row), value(*node.right, row));
        case Kind::Like:
            return like(node, row);
        case Kind::Not: {
            std::optional<bool> a = truth(*node.left, row);
            return a ? Variant(!*a) : Variant::null();
        }
        case Kind::And:
        case Kind::Or:
            return logical(node, row);
        }
        return Variant::null();
    }

    std::optional<bool> truth(const Condition& node, const std::vector<Variant>& row) const {
        Variant v = value(node, row);
        if (v.isNull())
            return std::nullopt;
        std::optional<double> number = v.toDouble();
        if (!number)
            throw typeMismatch();
        return *number != 0;
    }

    int column(std::u16string_view name) const {
        int index = table_.columnIndex(name);
        if (index < 0)
            throw missingValue();
        return index;
    }

private:
    static Variant compare(std::u16string_view op, const Variant& a, const Variant& b) {
        if (a.isNull() || b.isNull())
            return Variant::null();
        int order = 0;
        if (a.isString() && b.isString()) {
            order = text::compareNoCase(a.asString(), b.asString());
        } else {
            double x = numberOf(a);
            double y = numberOf(b);
            order = x < y ? -1 : x > y ? 1 : 0;
        }
        bool result = op == u"="    ? order == 0
                      : op == u"<>" ? order != 0
                      : op == u"<"  ? order < 0
                      : op == u">"  ? order > 0
                      : op == u"<=" ? order <= 0
                                    : order >= 0;
        return Variant(result);
    }

    Variant like(const Condition& node, const std::vector<Variant>& row) const {
        Variant subject = value(*node.left, row);
        Variant pattern = value(*node.right, row);
        if (subject.isNull() || pattern.isNull())
            return Variant::null();
        std::optional<std::u16string> s = subject.toText();
        std::optional<std::u16string> p = pattern.toText();
        if (!s || !p)
            throw typeMismatch();
        return Variant(likeMatch(*s, *p) != node.negated);
    }

    Variant logical(const Condition& node, const std::vector<Variant>& row) const {
        bool isAnd = node.kind == Kind::And;
        std::optional<bool> a = truth(*node.left, row);
        if (a && *a != isAnd) // false AND x, true OR x
            return Variant(*a);
        std::optional<bool> b = truth(*node.right, row);
        if (b && *b != isAnd)
            return Variant(*b);
        if (!a || !b)
            return Variant::null();
        return Variant(isAnd);
    }

    const RowSet& table_;
    const std::vector<Variant>& parameters_;
};

// Nulls first, text ignoring case, numbers by value.
int sortOrder(const Variant& x, const Variant& y) {
    if (x.isNull() || y.isNull())
        return int(y.isNull()) - int(x.isNull());
    if (x.isString() && y.isString())
        return text::compareNoCase(x.asString(), y.asString());
    double a = x.toDouble().value_or(0);
    double b = y.toDouble().value_or(0);
    return a < b ? -1 : a > b ? 1 : 0;
}

} // namespace

SelectStatement parseSelect(std::u16string_view sql) {
    return Parser(sql).statement();
}

RowSet runSelect(const SelectStatement& statement, const RowSet& table,
                 const std::vector<Variant>& parameters) {
    Evaluator evaluator(table, parameters);
    RowSet result;
    std::vector<int> sources; // column of the table for each result column
    for (const SelectItem& item : statement.items) {
        if (item.column.empty()) {
            for (std::size_t i = 0; i < table.columns.size(); ++i) {
                result.columns.push_back(table.columns[i]);
                sources.push_back(int(i));
            }
            continue;
        }
        sources.push_back(evaluator.column(item.column));
        result.columns.push_back(item.alias);
    }
    std::vector<int> orderColumns;
    for (const OrderItem& item : statement.orderBy)
        orderColumns.push_back(evaluator.column(item.column));

    std::vector<const std::vector<Variant>*> chosen;
    for (const std::vector<Variant>& row : table.rows)
        if (!statement.where || evaluator.truth(*statement.where, row).value_or(false))
            chosen.push_back(&row);
    std::stable_sort(chosen.begin(), chosen.end(), [&](const auto* a, const auto* b) {
        for (std::size_t i = 0; i < orderColumns.size(); ++i) {
            int order =
                sortOrder((*a)[std::size_t(orderColumns[i])], (*b)[std::size_t(orderColumns[i])]);
            if (order != 0)
                return statement.orderBy[i].descending ? order > 0 : order < 0;
        }
        return false;
    });
    for (const auto* row : chosen) {
        std::vector<Variant> out;
        for (int source : sources)
            out.push_back((*row)[std::size_t(source)]);
        if (statement.distinct &&
            std::find(result.rows.begin(), result.rows.end(), out) != result.rows.end())
            continue;
        result.rows.push_back(std::move(out));
    }
    return result;
}

} // namespace engine::mdbfile
