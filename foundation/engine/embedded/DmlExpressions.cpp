#include "foundation/engine/embedded/AccessDates.h"
#include "foundation/engine/embedded/AccessFunctions.h"
#include "foundation/engine/embedded/DmlParser.h"
#include "foundation/engine/embedded/Sqlite.h"
#include "foundation/text/WideString.h"

#include <cstdio>

namespace engine::embedded {

namespace {

std::string value(const SqlExpression& e) {
    return e.condition ? "-(" + e.sql + ")" : e.sql;
}

std::string condition(const SqlExpression& e) {
    return e.condition ? e.sql : "(" + e.sql + " <> 0)";
}

SqlExpression valueOf(std::string sql) {
    return {std::move(sql), false, false};
}

SqlExpression conditionOf(std::string sql) {
    return {std::move(sql), true, false};
}

// A string token ("..." or '...' as written) as a SQLite literal.
std::string stringLiteral(const std::u16string& token) {
    char16_t quote = token.front();
    std::u16string inner;
    for (std::size_t i = 1; i + 1 < token.size(); ++i) {
        inner += token[i];
        if (token[i] == quote)
            ++i; // a doubled quote stands for one
    }
    std::string sql = "'";
    for (char c : text::toUtf8(inner))
        sql += c == '\'' ? std::string("''") : std::string(1, c);
    return sql + "'";
}

std::string number(double v) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    std::string s = buffer;
    if (s.find_first_of(".e") == std::string::npos)
        s += ".0"; // stays a real in SQLite
    return s;
}

const char* comparisonOperator(const Token& token) {
    static const char* const operators[] = {"=", "<>", "<", ">", "<=", ">="};
    for (const char* op : operators)
        if (token.kind == TokenKind::Symbol && text::toUtf8(token.text) == op)
            return op;
    return nullptr;
}

} // namespace

SqlExpression DmlParser::expression() {
    return logical(0);
}

// Imp, Eqv, Xor, Or and And, from the loosest to the tightest. Each takes truth values and
// gives one; a null operand gives null unless the other decides (SQL's three-valued logic).
SqlExpression DmlParser::logical(int level) {
    static const std::u16string_view words[] = {u"IMP", u"EQV", u"XOR", u"OR", u"AND"};
    if (level == 5)
        return negation();
    SqlExpression left = logical(level + 1);
    while (atWord(words[level])) {
        next();
        SqlExpression right = logical(level + 1);
        std::string a = condition(left), b = condition(right);
        switch (level) {
        case 0:
            left = conditionOf("(NOT " + a + " OR " + b + ")");
            break;
        case 1:
            left = conditionOf("(" + a + " = " + b + ")");
            break;
        case 2:
            left = conditionOf("(" + a + " <> " + b + ")");
            break;
        case 3:
            left = conditionOf("(" + a + " OR " + b + ")");
            break;
        default:
            left = conditionOf("(" + a + " AND " + b + ")");
            break;
        }
    }
    return left;
}

SqlExpression DmlParser::negation() {
    if (acceptWord(u"NOT"))
        return conditionOf("(NOT " + condition(negation()) + ")");
    return comparison();
}

bool DmlParser::atComparison() const {
    if (comparisonOperator(peek()))
        return true;
    if (atWord(u"NOT"))
        return atWord(u"LIKE", 1) || atWord(u"BETWEEN", 1) || atWord(u"IN", 1);
    return atWord(u"IS") || atWord(u"LIKE") || atWord(u"BETWEEN") || atWord(u"IN");
}

SqlExpression DmlParser::comparison() {
    SqlExpression left = !implicitColumn_.empty() && atComparison()
                             ? SqlExpression{quoteIdentifier(implicitColumn_), false, true}
                             : concatenation();
    for (;;) {
        if (const char* op = comparisonOperator(peek())) {
            next();
            SqlExpression right = concatenation();
            left =
                conditionOf("(" + value(left) + " " + op + " " + value(right) + " COLLATE NOCASE)");
            continue;
        }
        if (atWord(u"IS")) {
            next();
            bool negated = acceptWord(u"NOT");
            expectWord(u"NULL");
            left = conditionOf("(" + value(left) + (negated ? " IS NOT NULL)" : " IS NULL)"));
            continue;
        }
        bool negated =
            atWord(u"NOT") && (atWord(u"LIKE", 1) || atWord(u"BETWEEN", 1) || atWord(u"IN", 1));
        if (negated)
            next();
        std::string no = negated ? "NOT " : "";
        if (acceptWord(u"LIKE")) {
            SqlExpression pattern = concatenation();
            left = conditionOf("(" + no + "kel_like(" + value(left) + ", " + value(pattern) + "))");
        } else if (acceptWord(u"BETWEEN")) {
            SqlExpression low = concatenation();
            expectWord(u"AND");
            SqlExpression high = concatenation();
            left = conditionOf("(" + value(left) + " " + no + "BETWEEN " + value(low) + " AND " +
                               value(high) + ")");
        } else if (acceptWord(u"IN")) {
            left = conditionOf("(" + value(left) + " " + no + "IN " + inList() + ")");
        } else {
            return left;
        }
    }
}

std::string DmlParser::inList() {
    if (atSymbol(u"(") && atWord(u"SELECT", 1))
        return subquery();
    expectSymbol(u"(");
    std::string list = "(" + value(expression());
    while (acceptSymbol(u","))
        list += ", " + value(expression());
    expectSymbol(u")");
    return list + ")";
}

SqlExpression DmlParser::concatenation() {
    SqlExpression left = additive();
    while (acceptSymbol(u"&"))
        left = valueOf("kel_concat(" + value(left) + ", " + value(additive()) + ")");
    return left;
}

SqlExpression DmlParser::additive() {
    SqlExpression left = modulo();
    for (;;) {
        if (acceptSymbol(u"+"))
            left = valueOf("kel_add(" + value(left) + ", " + value(modulo()) + ")");
        else if (acceptSymbol(u"-"))
            left = valueOf("(" + value(left) + " - " + value(modulo()) + ")");
        else
            return left;
    }
}

SqlExpression DmlParser::modulo() {
    SqlExpression left = integerDivision();
    while (acceptWord(u"MOD"))
        left = valueOf("kel_mod(" + value(left) + ", " + value(integerDivision()) + ")");
    return left;
}

SqlExpression DmlParser::integerDivision() {
    SqlExpression left = multiplicative();
    while (acceptSymbol(u"\\"))
        left = valueOf("kel_intdiv(" + value(left) + ", " + value(multiplicative()) + ")");
    return left;
}

SqlExpression DmlParser::multiplicative() {
    SqlExpression left = unary();
    for (;;) {
        if (acceptSymbol(u"*"))
            left = valueOf("(" + value(left) + " * " + value(unary()) + ")");
        else if (acceptSymbol(u"/"))
            left = valueOf("kel_div(" + value(left) + ", " + value(unary()) + ")");
        else
            return left;
    }
}

// Negation binds looser than ^: -2^2 is -4.
SqlExpression DmlParser::unary() {
    if (acceptSymbol(u"-"))
        return valueOf("(-" + value(unary()) + ")");
    if (acceptSymbol(u"+"))
        return unary();
    return power();
}

SqlExpression DmlParser::power() {
    SqlExpression left = primary();
    while (acceptSymbol(u"^")) {
        SqlExpression exponent = atSymbol(u"-") || atSymbol(u"+") ? unary() : primary();
        left = valueOf("kel_pow(" + value(left) + ", " + value(exponent) + ")");
    }
    return left;
}

SqlExpression DmlParser::primary() {
    const Token& token = peek();
    switch (token.kind) {
    case TokenKind::Number:
        next();
        return valueOf(text::toUtf8(token.text));
    case TokenKind::String:
        next();
        return valueOf(stringLiteral(token.text));
    case TokenKind::Date: {
        next();
        std::optional<double> days =
            parseDate(std::u16string_view(token.text).substr(1, token.text.size() - 2));
        if (!days)
            throw dmlErrors::badDate(token.text);
        return valueOf(number(*days));
    }
    case TokenKind::QuotedName:
        return reference(next());
    case TokenKind::Word:
        break;
    case TokenKind::Symbol:
        if (token.text == u"?")
            return parameter();
        if (token.text == u"(") {
            if (atWord(u"SELECT", 1))
                return valueOf(subquery());
            next();
            SqlExpression inner = expression();
            expectSymbol(u")");
            inner.sql = "(" + inner.sql + ")";
            inner.column = false;
            return inner;
        }
        fail();
    default:
        fail();
    }
    if (atSymbol(u"(", 1))
        return call(next());
    if (acceptWord(u"TRUE") || acceptWord(u"YES"))
        return valueOf("-1");
    if (acceptWord(u"FALSE") || acceptWord(u"NO"))
        return valueOf("0");
    if (acceptWord(u"NULL"))
        return valueOf("NULL");
    if (!atPlainName())
        fail();
    return reference(next());
}

SqlExpression DmlParser::parameter() {
    next();
    return valueOf("?" + std::to_string(++*parameterCount_));
}

// A column, qualified or not ([T].[C], T.C, T!C), or a declared parameter.
SqlExpression DmlParser::reference(const Token& first) {
    std::vector<std::u16string> parts{first.text};
    while ((atSymbol(u".") || atSymbol(u"!")) && peek(1).isName()) {
        next();
        parts.push_back(next().text);
    }
    if (parts.size() == 1)
        for (std::size_t i = 0; i < declared_.size(); ++i)
            if (text::equalsNoCase(declared_[i], parts[0]))
                return valueOf("?" + std::to_string(i + 1));
    if (parts.size() == 2)
        if (const catalog::Table* table = catalog_.findTable(parts[0]))
            parts[0] = table->name;
    std::string sql;
    for (const auto& part : parts)
        sql += (sql.empty() ? "" : ".") + quoteIdentifier(part);
    return {sql, false, true};
}

SqlExpression DmlParser::call(const Token& name) {
    std::size_t start = pos_ - 1;
    expectSymbol(u"(");
    std::vector<SqlExpression> arguments;
    bool star = false;
    if (atSymbol(u"*") && atSymbol(u")", 1)) {
        next();
        star = true;
    } else if (!atSymbol(u")")) {
        arguments.push_back(expression());
        while (acceptSymbol(u","))
            arguments.push_back(expression());
    }
    expectSymbol(u")");
    std::u16string_view callText =
        source_.substr(tokens_[start].begin, tokens_[pos_ - 1].end - tokens_[start].begin);
    auto count = [&](std::size_t low, std::size_t high) {
        if (arguments.size() < low || arguments.size() > high || (star && low > 0))
            throw dmlErrors::wrongArgumentCount(callText);
    };
    std::u16string upper = text::asciiUpper(name.text);
    if (upper == u"COUNT") {
        if (star)
            return valueOf("count(*)");
        count(1, 1);
        return valueOf("count(" + value(arguments[0]) + ")");
    }
    if (star)
        throw dmlErrors::wrongArgumentCount(callText);
    if (upper == u"IIF") {
        count(3, 3);
        return valueOf("(CASE WHEN " + condition(arguments[0]) + " THEN " + value(arguments[1]) +
                       " ELSE " + value(arguments[2]) + " END)");
    }
    if (upper == u"ISNULL") {
        count(1, 1);
        return conditionOf("(" + value(arguments[0]) + " IS NULL)");
    }
    if (upper == u"NZ") {
        count(1, 2);
        return valueOf("coalesce(" + value(arguments[0]) + ", " +
                       (arguments.size() == 2 ? value(arguments[1]) : std::string("''")) + ")");
    }
    for (std::u16string_view aggregate : {u"SUM", u"AVG", u"MIN", u"MAX"})
        if (upper == aggregate) {
            count(1, 1);
            return valueOf(text::toUtf8(text::asciiLower(upper)) + "(" + value(arguments[0]) + ")");
        }
    const AccessFunction* function = findAccessFunction(name.text);
    if (!function)
        throw dmlErrors::undefinedFunction(name.text);
    count(std::size_t(function->minArguments), std::size_t(function->maxArguments));
    std::string sql = std::string(function->sqlName) + "(";
    for (std::size_t i = 0; i < arguments.size(); ++i)
        sql += (i ? ", " : "") + value(arguments[i]);
    return valueOf(sql + ")");
}

std::string DmlParser::subquery() {
    expectSymbol(u"(");
    std::u16string saved = syntaxError_;
    std::string sql = "(" + query() + ")";
    syntaxError_ = saved;
    expectSymbol(u")");
    return sql;
}

std::string DmlParser::checkedValue() {
    std::size_t start = pos_;
    std::string sql = value(expression());
    expectExpressionEnd(start);
    return sql;
}

std::string DmlParser::checkedCondition() {
    std::size_t start = pos_;
    std::string sql = condition(expression());
    expectExpressionEnd(start);
    return sql;
}

std::string DmlParser::wholeCondition() {
    std::string sql = condition(expression());
    if (!atEnd())
        fail();
    return sql;
}

std::string DmlParser::wholeValue() {
    acceptSymbol(u"="); // a default may be written as in a form: =Date()
    std::string sql = value(expression());
    if (!atEnd())
        fail();
    return sql;
}

} // namespace engine::embedded
