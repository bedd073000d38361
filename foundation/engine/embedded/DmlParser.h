#pragma once

// The parser behind DmlTranslator.h: reads Access SQL by recursive descent and writes the
// SQLite SQL as it goes. Expressions are in DmlExpressions.cpp, statements and clauses in
// DmlStatements.cpp.

#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/embedded/DmlTranslator.h"
#include "foundation/engine/embedded/Lexer.h"

namespace engine::embedded {

// A translated expression. A condition (comparison, And, Not, Like, ...) holds SQLite's 1/0
// truth values; where Access wants a value it becomes -1/0, Access's True and False.
struct SqlExpression {
    std::string sql;
    bool condition = false;
    bool column = false; // a plain column reference: the result column takes its name
};

class DmlParser {
public:
    DmlParser(std::u16string_view sql, const catalog::Catalog& catalog, DmlStorage* storage,
              int* parameterCount, int depth = 0);

    DmlStatement statement();
    // A validation rule of this column: a comparison without its left side (">0", "Is Null",
    // "Like 'A*'") compares the column.
    void setImplicitColumn(const std::u16string& column) { implicitColumn_ = column; }
    // A whole text that is one condition or one value.
    std::string wholeCondition();
    std::string wholeValue();

private:
    // Tokens.
    const Token& peek(std::size_t ahead = 0) const;
    const Token& next();
    bool acceptWord(std::u16string_view word);
    bool acceptSymbol(std::u16string_view symbol);
    void expectWord(std::u16string_view word);
    void expectSymbol(std::u16string_view symbol);
    bool atWord(std::u16string_view word, std::size_t ahead = 0) const;
    bool atSymbol(std::u16string_view symbol, std::size_t ahead = 0) const;
    bool atEnd() const;
    // A comparison operator (=, <>, Like, Between, In, Is, ...) is next.
    bool atComparison() const;
    // A name that is not one of the words that start or join clauses.
    bool atPlainName(std::size_t ahead = 0) const;
    [[noreturn]] void fail() const; // the syntax error of the clause being read
    // After an expression that began at `start`: the next token must end it.
    void expectExpressionEnd(std::size_t start) const;

    // Expressions, from the loosest operator to the tightest.
    SqlExpression expression();
    SqlExpression logical(int level);
    SqlExpression negation();
    SqlExpression comparison();
    SqlExpression concatenation();
    SqlExpression additive();
    SqlExpression modulo();
    SqlExpression integerDivision();
    SqlExpression multiplicative();
    SqlExpression unary();
    SqlExpression power();
    SqlExpression primary();
    SqlExpression call(const Token& name);
    SqlExpression reference(const Token& first);
    SqlExpression parameter();
    std::string inList();
    std::string subquery();
    std::string checkedValue(); // an expression that must end where the clause goes on
    std::string checkedCondition();

    // Statements and clauses.
    std::string query();
    std::string selectCore(std::string& limit);
    std::string selectList();
    std::string fromClause();
    std::string fromItem();
    std::string tableReference();
    std::string tableSource(const std::u16string& name, const std::u16string& alias);
    std::string optionalAlias();
    void parametersClause();
    DmlStatement insert();
    DmlStatement update();
    DmlStatement remove();
    const catalog::Table& targetTable(const std::u16string& name) const;
    const catalog::Column& targetColumn(const catalog::Table& table);
    std::string store(const catalog::Table& table, const catalog::Column& column,
                      const std::string& value);
    std::u16string tableName();

    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    std::u16string_view source_;
    const catalog::Catalog& catalog_;
    DmlStorage* storage_;
    int* parameterCount_;
    int depth_;
    std::u16string syntaxError_;           // the message of a syntax error in the clause being read
    std::vector<std::u16string> declared_; // PARAMETERS names, ?1 onwards
    std::vector<StoredColumn> stores_;
    int expressionNames_ = 0; // Expr1000, Expr1001, ... for unnamed result columns
    std::u16string implicitColumn_;
};

namespace dmlErrors {
EngineError missingOperator(std::u16string_view expression);
EngineError undefinedFunction(std::u16string_view name);
EngineError wrongArgumentCount(std::u16string_view expression);
EngineError badDate(std::u16string_view literal);
EngineError unknownField(std::u16string_view field);
EngineError valueCount();
EngineError notUpdateable();
EngineError fieldNotUpdateable(std::u16string_view field);
EngineError multiValued(std::u16string_view statement);
EngineError noValueGiven();
EngineError unsupported(std::u16string_view what);
} // namespace dmlErrors

} // namespace engine::embedded
