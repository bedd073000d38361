#include "foundation/engine/embedded/DdlParser.h"

#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/embedded/Lexer.h"
#include "foundation/text/WideString.h"

#include <array>
#include <initializer_list>

namespace engine::embedded {

namespace {

using namespace ddl;

struct TypeName {
    std::u16string_view name;
    int type;
    int size;    // defined size; for sized types the size when none is given
    int maxSize; // sized types: the largest size allowed; 0: no size accepted
    bool fixed = false;
    bool autoIncrement = false;
};

constexpr std::array<TypeName, 50> typeNames = {{
    {u"BIT", type::boolean, 2, 0},
    {u"YESNO", type::boolean, 2, 0},
    {u"LOGICAL", type::boolean, 2, 0},
    {u"LOGICAL1", type::boolean, 2, 0},
    {u"BOOLEAN", type::boolean, 2, 0},
    {u"TINYINT", type::tinyInt, 1, 0},
    {u"BYTE", type::tinyInt, 1, 0},
    {u"INTEGER1", type::tinyInt, 1, 0},
    {u"SMALLINT", type::smallInt, 2, 0},
    {u"SHORT", type::smallInt, 2, 0},
    {u"INTEGER2", type::smallInt, 2, 0},
    {u"LONG", type::integer, 4, 0},
    {u"INT", type::integer, 4, 0},
    {u"INTEGER", type::integer, 4, 0},
    {u"INTEGER4", type::integer, 4, 0},
    {u"COUNTER", type::integer, 4, 0, false, true},
    {u"AUTOINCREMENT", type::integer, 4, 0, false, true},
    {u"IDENTITY", type::integer, 4, 0, false, true},
    {u"CURRENCY", type::currency, 8, 0},
    {u"MONEY", type::currency, 8, 0},
    {u"SINGLE", type::single, 4, 0},
    {u"REAL", type::single, 4, 0},
    {u"FLOAT4", type::single, 4, 0},
    {u"IEEESINGLE", type::single, 4, 0},
    {u"DOUBLE", type::doubleType, 8, 0},
    {u"FLOAT", type::doubleType, 8, 0},
    {u"FLOAT8", type::doubleType, 8, 0},
    {u"NUMBER", type::doubleType, 8, 0},
    {u"IEEEDOUBLE", type::doubleType, 8, 0},
    {u"DATETIME", type::date, 8, 0},
    {u"DATE", type::date, 8, 0},
    {u"TIME", type::date, 8, 0},
    {u"TIMESTAMP", type::date, 8, 0},
    {u"DATETIME2", type::dateTimeExtended, type::dateTimeExtendedSize, 0},
    {u"BINARY", type::varBinary, 510, 510},
    {u"VARBINARY", type::varBinary, 510, 510},
    {u"TEXT", type::varWChar, 255, 255},
    {u"VARCHAR", type::varWChar, 255, 255},
    {u"NVARCHAR", type::varWChar, 255, 255},
    {u"STRING", type::varWChar, 255, 255},
    {u"ALPHANUMERIC", type::varWChar, 255, 255},
    {u"CHAR", type::wChar, 255, 255, true},
    {u"NCHAR", type::wChar, 255, 255, true},
    {u"CHARACTER", type::wChar, 255, 255, true},
    {u"IMAGE", type::longVarBinary, 0, 0},
    {u"LONGBINARY", type::longVarBinary, 0, 0},
    {u"GENERAL", type::longVarBinary, 0, 0},
    {u"OLEOBJECT", type::longVarBinary, 0, 0},
    {u"UNIQUEIDENTIFIER", type::guid, 16, 0},
    {u"GUID", type::guid, 16, 0},
}};

constexpr std::array<std::u16string_view, 5> memoNames = {u"MEMO", u"LONGTEXT", u"LONGCHAR",
                                                          u"NOTE", u"NTEXT"};
constexpr std::array<std::u16string_view, 3> decimalNames = {u"DECIMAL", u"NUMERIC", u"DEC"};

EngineError syntax(std::u16string_view what) {
    return {status::syntaxError, u"Syntax error in " + std::u16string(what) + u"."};
}

constexpr std::u16string_view fieldDefinition = u"field definition";
constexpr std::u16string_view constraintClause = u"CONSTRAINT clause";

class Parser {
public:
    explicit Parser(std::u16string_view sql) : sql_(sql), tokens_(tokenize(sql)) {}

    Statement statement() {
        if (accept(u"CREATE"))
            return create();
        if (accept(u"ALTER")) {
            context_ = u"ALTER TABLE statement";
            expect(u"TABLE");
            return finish(alterTable());
        }
        if (accept(u"DROP"))
            return drop();
        throw EngineError(status::syntaxError,
                          u"Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', "
                          u"'SELECT', or 'UPDATE'.");
    }

    // PARAMETERS name type [, name type] ; body
    std::optional<ParametersClause> parametersClause() {
        if (!accept(u"PARAMETERS"))
            return std::nullopt;
        context_ = u"PARAMETER clause";
        ParametersClause clause;
        if (!peek().isSymbol(u";")) {
            do {
                catalog::QueryParameter parameter;
                parameter.name = name();
                DeclaredType type = declaredType(parameter.name);
                parameter.type = type.type;
                bool isText = type.type == type::varWChar || type.type == type::wChar;
                parameter.size = isText ? type.size : 0;
                parameter.precision = type.precision;
                parameter.scale = type.scale;
                clause.parameters.push_back(std::move(parameter));
            } while (acceptSymbol(u","));
        }
        expectSymbol(u";");
        clause.body = std::u16string(sql_.substr(tokens_[pos_ - 1].end));
        return clause;
    }

private:
    // ---- tokens

    const Token& peek(std::size_t ahead = 0) const {
        return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)];
    }
    bool acceptSymbol(std::u16string_view symbol) {
        if (!peek().isSymbol(symbol))
            return false;
        ++pos_;
        return true;
    }

    bool accept(std::u16string_view keyword) {
        if (!peek().isWord(keyword))
            return false;
        ++pos_;
        return true;
    }
    void expect(std::u16string_view keyword) {
        if (!accept(keyword))
            throw fail();
    }
    void expectSymbol(std::u16string_view symbol) {
        if (!acceptSymbol(symbol))
            throw fail();
    }
    EngineError fail() const { return syntax(context_); }

    std::u16string name() {
        const Token& token = peek();
        if (!token.isName() || token.text.empty())
            throw fail();
        ++pos_;
        return token.text;
    }

    // The statement ends here: an optional ";" and nothing after it.
    template <class T> Statement finish(T statement) {
        acceptSymbol(u";");
        if (peek().kind != TokenKind::End)
            throw EngineError(status::syntaxError, u"Characters found after end of SQL statement.");
        return statement;
    }

    // The source text from token `first` up to the current token.
    std::u16string rawFrom(std::size_t first) const {
        if (first >= pos_)
            return {};
        std::size_t begin = tokens_[first].begin;
        return std::u16string(sql_.substr(begin, tokens_[pos_ - 1].end - begin));
    }

    // The text inside the parentheses that start at the current token, exactly as written.
    std::u16string parenthesized() {
        expectSymbol(u"(");
        std::size_t begin = tokens_[pos_ - 1].end;
        int depth = 1;
        while (depth > 0) {
            const Token& token = peek();
            if (token.kind == TokenKind::End || token.kind == TokenKind::Invalid)
                throw fail();
            if (token.isSymbol(u"("))
                ++depth;
            else if (token.isSymbol(u")"))
                --depth;
            ++pos_;
        }
        return std::u16string(sql_.substr(begin, tokens_[pos_ - 1].begin - begin));
    }

    std::vector<std::u16string> nameList() {
        expectSymbol(u"(");
        std::vector<std::u16string> names;
        do {
            names.push_back(name());
            if (!accept(u"ASC"))
                accept(u"DESC");
        } while (acceptSymbol(u","));
        expectSymbol(u")");
        return names;
    }

    // The columns of an index or key, each ASC (the default) or DESC.
    std::vector<catalog::IndexColumn> indexColumnList() {
        expectSymbol(u"(");
        std::vector<catalog::IndexColumn> columns;
        do {
            catalog::IndexColumn column;
            column.name = name();
            if (accept(u"DESC"))
                column.descending = true;
            else
                accept(u"ASC");
            columns.push_back(std::move(column));
        } while (acceptSymbol(u","));
        expectSymbol(u")");
        return columns;
    }

    // Columns that have no order; an ASC or DESC written after one is passed over.
    std::vector<catalog::IndexColumn> unorderedColumnList() {
        std::vector<catalog::IndexColumn> columns;
        for (std::u16string& name : nameList())
            columns.push_back({std::move(name), false});
        return columns;
    }

    int number() {
        const Token& token = peek();
        std::int64_t value = 0;
        if (token.kind != TokenKind::Number || !text::parseInt(token.text, value) ||
            value > 1000000)
            throw fail();
        ++pos_;
        return int(value);
    }

    // ---- CREATE

    Statement create() {
        if (accept(u"TABLE")) {
            context_ = u"CREATE TABLE statement";
            return finish(createTable());
        }
        if (peek().isWord(u"UNIQUE") || peek().isWord(u"INDEX")) {
            context_ = u"CREATE INDEX statement";
            return finish(createIndex());
        }
        if (accept(u"VIEW")) {
            context_ = u"CREATE VIEW statement";
            return createView();
        }
        if (accept(u"PROCEDURE") || accept(u"PROC")) {
            context_ = u"CREATE PROCEDURE statement";
            return createProcedure();
        }
        throw syntax(u"CREATE TABLE statement");
    }

    CreateTable createTable() {
        CreateTable statement;
        statement.name = name();
        expectSymbol(u"(");
        do {
            if (startsConstraint())
                statement.constraints.push_back(tableConstraint());
            else
                statement.columns.push_back(columnDefinition());
        } while (acceptSymbol(u","));
        expectSymbol(u")");
        if (statement.columns.empty())
            throw fail();
        return statement;
    }

    CreateIndex createIndex() {
        CreateIndex statement;
        statement.unique = accept(u"UNIQUE");
        expect(u"INDEX");
        statement.name = name();
        expect(u"ON");
        statement.table = name();
        statement.columns = indexColumnList();
        if (accept(u"WITH")) {
            bool any = false;
            for (;;) {
                if (accept(u"PRIMARY")) {
                    statement.primary = true;
                } else if (accept(u"DISALLOW")) {
                    expect(u"NULL");
                    statement.nulls = adox::indexNullsDisallow;
                } else if (accept(u"IGNORE")) {
                    expect(u"NULL");
                    statement.nulls = adox::indexNullsIgnore;
                } else {
                    break;
                }
                any = true;
                acceptSymbol(u",");
            }
            if (!any)
                throw fail();
        }
        return statement;
    }

    // CREATE VIEW name AS <select>: the query text is everything after AS.
    Statement createView() {
        CreateQuery statement;
        statement.name = name();
        if (peek().isSymbol(u"("))
            nameList();
        expect(u"AS");
        statement.text = restOfStatement();
        return statement;
    }

    // CREATE PROCEDURE name [(declarations)] AS <body>: stored as "PARAMETERS ...;" + body.
    Statement createProcedure() {
        CreateQuery statement;
        statement.name = name();
        std::u16string declarations;
        if (peek().isSymbol(u"("))
            declarations = parenthesized();
        expect(u"AS");
        std::u16string body = restOfStatement();
        std::u16string_view trimmed = declarations;
        while (!trimmed.empty() && trimmed.front() == u' ')
            trimmed.remove_prefix(1);
        statement.text = trimmed.empty() ? body : u"PARAMETERS " + declarations + u";" + body;
        return statement;
    }

    std::u16string restOfStatement() {
        std::size_t first = pos_;
        while (peek().kind != TokenKind::End && peek().kind != TokenKind::Invalid)
            ++pos_;
        if (peek().kind == TokenKind::Invalid || first == pos_)
            throw fail();
        std::u16string text = rawFrom(first);
        while (!text.empty() && (text.back() == u';' || text.back() == u' '))
            text.pop_back();
        return text;
    }

    // ---- column definitions

    DeclaredType declaredType(const std::u16string& column) {
        const Token& token = peek();
        if (token.kind != TokenKind::Word)
            throw fail();
        ++pos_;
        if (token.isWord(u"NATIONAL"))
            return declaredType(column);
        for (auto memo : memoNames)
            if (token.isWord(memo))
                return DeclaredType{type::longVarWChar, 0, 0, 0, false, false};
        for (auto decimal : decimalNames)
            if (token.isWord(decimal))
                return decimalType();
        if (token.isWord(u"DOUBLE"))
            accept(u"PRECISION");
        std::u16string_view typeName = token.text;
        if ((token.isWord(u"CHARACTER") || token.isWord(u"CHAR")) && accept(u"VARYING"))
            typeName = u"VARCHAR";
        for (const TypeName& candidate : typeNames) {
            if (!text::equalsNoCase(typeName, candidate.name))
                continue;
            DeclaredType declaredType{candidate.type,          candidate.size, 0, 0,
                                      candidate.autoIncrement, candidate.fixed};
            if (candidate.maxSize > 0 && acceptSymbol(u"(")) {
                declaredType.size = number();
                expectSymbol(u")");
                if (declaredType.size == 0)
                    throw fail();
                if (declaredType.size > candidate.maxSize)
                    throw EngineError(status::unspecified,
                                      u"Size of field '" + column + u"' is too long.");
            } else if (candidate.autoIncrement && acceptSymbol(u"(")) {
                number(); // seed and increment: the counter starts where the rows leave it
                expectSymbol(u",");
                number();
                expectSymbol(u")");
            }
            return declaredType;
        }
        // The comparer writes this name for a column whose type it could not read.
        if (text::equalsNoCase(typeName, u"UNKNOWN"))
            throw EngineError(status::unspecified, u"The data type of field '" + column +
                                                       u"' is unknown; the field cannot be "
                                                       u"created.");
        throw fail();
    }

    DeclaredType decimalType() {
        DeclaredType declaredType{type::decimal, 19, 18, 0, false, false};
        if (acceptSymbol(u"(")) {
            declaredType.precision = number();
            if (acceptSymbol(u","))
                declaredType.scale = number();
            expectSymbol(u")");
            if (declaredType.precision < 1 || declaredType.precision > 28 ||
                declaredType.scale > declaredType.precision)
                throw EngineError(status::unspecified,
                                  u"Invalid precision or scale for the decimal data type.");
        }
        return declaredType;
    }

    bool startsConstraint() const {
        return peek().isWord(u"CONSTRAINT") || peek().isWord(u"PRIMARY") ||
               peek().isWord(u"UNIQUE") || peek().isWord(u"FOREIGN") || peek().isWord(u"CHECK");
    }

    // A word that ends a DEFAULT expression: the next clause of the column starts there.
    bool endsDefault() const {
        const Token& token = peek();
        if (token.kind == TokenKind::End || token.kind == TokenKind::Invalid ||
            token.isSymbol(u",") || token.isSymbol(u")") || token.isSymbol(u";"))
            return true;
        if (token.isWord(u"NOT") && peek(1).isWord(u"NULL"))
            return true;
        if (token.isWord(u"WITH") && (peek(1).isWord(u"COMPRESSION") || peek(1).isWord(u"COMP")))
            return true;
        return token.isWord(u"CONSTRAINT") || token.isWord(u"PRIMARY") || token.isWord(u"UNIQUE") ||
               token.isWord(u"REFERENCES") || token.isWord(u"CHECK");
    }

    ColumnDefinition columnDefinition() {
        auto saved = context_;
        context_ = fieldDefinition;
        ColumnDefinition column;
        column.name = name();
        column.type = declaredType(column.name);
        for (;;) {
            if (accept(u"WITH")) {
                if (!accept(u"COMPRESSION"))
                    expect(u"COMP");
                column.compressed = true;
            } else if (accept(u"NOT")) {
                expect(u"NULL");
                column.notNull = true;
            } else if (accept(u"NULL")) {
                column.notNull = false;
            } else if (accept(u"DEFAULT")) {
                std::size_t first = pos_;
                int depth = 0;
                while (depth > 0 || !endsDefault()) {
                    if (peek().kind == TokenKind::End || peek().kind == TokenKind::Invalid)
                        throw fail();
                    if (peek().isSymbol(u"("))
                        ++depth;
                    else if (peek().isSymbol(u")"))
                        --depth;
                    ++pos_;
                }
                column.defaultText = rawFrom(first);
                column.defaultClause =
                    column.defaultText.empty() ? DefaultClause::Empty : DefaultClause::Given;
            } else if (peek().isWord(u"CONSTRAINT") || peek().isWord(u"PRIMARY") ||
                       peek().isWord(u"UNIQUE") || peek().isWord(u"REFERENCES") ||
                       peek().isWord(u"CHECK")) {
                column.constraints.push_back(columnConstraint(column.name));
            } else {
                break;
            }
        }
        context_ = saved;
        return column;
    }

    // ---- constraints

    References references() {
        References refs;
        expect(u"REFERENCES");
        refs.table = name();
        if (peek().isSymbol(u"("))
            refs.columns = nameList();
        while (accept(u"ON")) {
            bool update = accept(u"UPDATE");
            if (!update)
                expect(u"DELETE");
            int rule = adox::ruleNone;
            if (accept(u"CASCADE")) {
                rule = adox::ruleCascade;
            } else if (accept(u"SET")) {
                expect(u"NULL");
                rule = adox::ruleSetNull;
            } else {
                expect(u"NO");
                expect(u"ACTION");
            }
            (update ? refs.updateRule : refs.deleteRule) = rule;
        }
        return refs;
    }

    Constraint columnConstraint(const std::u16string& column) {
        auto saved = context_;
        context_ = constraintClause;
        Constraint constraint;
        if (accept(u"CONSTRAINT"))
            constraint.name = name();
        constraint.columns = {{column, false}};
        if (accept(u"PRIMARY")) {
            expect(u"KEY");
            constraint.kind = Constraint::Kind::PrimaryKey;
        } else if (accept(u"UNIQUE")) {
            constraint.kind = Constraint::Kind::Unique;
        } else if (accept(u"CHECK")) {
            constraint.kind = Constraint::Kind::Check;
            constraint.clause = parenthesized();
        } else if (peek().isWord(u"REFERENCES")) {
            constraint.kind = Constraint::Kind::ForeignKey;
            constraint.references = references();
        } else {
            throw fail();
        }
        context_ = saved;
        return constraint;
    }

    Constraint tableConstraint() {
        auto saved = context_;
        context_ = constraintClause;
        Constraint constraint;
        if (accept(u"CONSTRAINT"))
            constraint.name = name();
        if (accept(u"PRIMARY")) {
            expect(u"KEY");
            constraint.kind = Constraint::Kind::PrimaryKey;
            constraint.columns = indexColumnList();
        } else if (accept(u"UNIQUE")) {
            constraint.kind = Constraint::Kind::Unique;
            constraint.columns = indexColumnList();
        } else if (accept(u"FOREIGN")) {
            expect(u"KEY");
            constraint.kind = Constraint::Kind::ForeignKey;
            bool noIndex = false;
            if (accept(u"NO")) {
                expect(u"INDEX");
                noIndex = true;
            }
            bool unique = accept(u"UNIQUE");
            constraint.columns = unorderedColumnList();
            constraint.references = references();
            constraint.references.noIndex = noIndex;
            constraint.references.unique = unique;
        } else if (accept(u"CHECK")) {
            constraint.kind = Constraint::Kind::Check;
            constraint.clause = parenthesized();
        } else {
            throw fail();
        }
        context_ = saved;
        return constraint;
    }

    // ---- ALTER TABLE

    Statement alterTable() {
        std::u16string table = name();
        if (accept(u"ADD")) {
            if (startsConstraint())
                return AddConstraint{table, tableConstraint()};
            accept(u"COLUMN");
            AddColumns statement{table, {}};
            do
                statement.columns.push_back(columnDefinition());
            while (acceptSymbol(u","));
            return statement;
        }
        if (accept(u"DROP")) {
            if (accept(u"CONSTRAINT"))
                return DropConstraint{table, name()};
            accept(u"COLUMN");
            DropColumns statement{table, {}};
            do
                statement.columns.push_back(name());
            while (acceptSymbol(u","));
            return statement;
        }
        if (accept(u"ALTER")) {
            accept(u"COLUMN");
            return AlterColumn{table, columnDefinition()};
        }
        throw fail();
    }

    // ---- DROP

    Statement drop() {
        context_ = u"DROP TABLE or DROP INDEX";
        if (accept(u"TABLE"))
            return finish(DropTable{name()});
        if (accept(u"INDEX")) {
            DropIndex statement;
            statement.name = name();
            expect(u"ON");
            statement.table = name();
            return finish(statement);
        }
        if (accept(u"VIEW") || accept(u"PROCEDURE") || accept(u"PROC"))
            return finish(DropQuery{name()});
        throw fail();
    }

    std::u16string_view sql_;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    std::u16string_view context_ = u"CREATE TABLE statement";
};

} // namespace

namespace {

bool startsWithOneOf(std::u16string_view sql, std::initializer_list<std::u16string_view> words) {
    std::vector<Token> tokens = tokenize(sql);
    const Token* first = &tokens.front();
    for (const Token& token : tokens) // a query may start inside parentheses
        if (!token.isSymbol(u"(")) {
            first = &token;
            break;
        }
    for (std::u16string_view word : words)
        if (first->isWord(word))
            return true;
    return false;
}

} // namespace

bool isDataStatement(std::u16string_view sql) {
    return startsWithOneOf(
        sql, {u"SELECT", u"INSERT", u"UPDATE", u"DELETE", u"PARAMETERS", u"TRANSFORM"});
}

bool isPlainQuery(std::u16string_view sql) {
    return startsWithOneOf(sql, {u"SELECT", u"TRANSFORM"});
}

Statement parseDdl(std::u16string_view sql) {
    return Parser(sql).statement();
}

std::optional<ParametersClause> parseParametersClause(std::u16string_view text) {
    return Parser(text).parametersClause();
}

} // namespace engine::embedded
