#include "foundation/engine/embedded/DdlParser.h"
#include "foundation/engine/embedded/DmlParser.h"
#include "foundation/engine/embedded/SchemaRules.h"
#include "foundation/engine/embedded/Sqlite.h"
#include "foundation/text/WideString.h"

namespace engine::embedded {

namespace dmlErrors {

EngineError missingOperator(std::u16string_view expression) {
    return {status::syntaxError, u"Syntax error (missing operator) in query expression '" +
                                     std::u16string(expression) + u"'."};
}

EngineError undefinedFunction(std::u16string_view name) {
    return {status::unspecified,
            u"Undefined function '" + std::u16string(name) + u"' in expression."};
}

EngineError wrongArgumentCount(std::u16string_view expression) {
    return {status::unspecified,
            u"Wrong number of arguments used with function in query expression '" +
                std::u16string(expression) + u"'."};
}

EngineError badDate(std::u16string_view literal) {
    return {status::syntaxError,
            u"Syntax error in date in query expression '" + std::u16string(literal) + u"'."};
}

EngineError unknownField(std::u16string_view field) {
    return {status::unspecified,
            u"The INSERT INTO statement contains the following unknown field name: '" +
                std::u16string(field) +
                u"'. Make sure you have typed the name correctly, and try the operation again."};
}

EngineError valueCount() {
    return {status::unspecified,
            u"Number of query values and destination fields are not the same."};
}

EngineError notUpdateable() {
    return {status::unspecified, u"Operation must use an updateable query."};
}

EngineError fieldNotUpdateable(std::u16string_view field) {
    return {status::unspecified,
            u"Cannot update '" + std::u16string(field) + u"'; field not updateable."};
}

EngineError multiValued(std::u16string_view statement) {
    return {status::unspecified,
            u"An " + std::u16string(statement) + u" query cannot contain a multi-valued field."};
}

EngineError noValueGiven() {
    return {status::unspecified, u"No value given for one or more required parameters."};
}

EngineError unsupported(std::u16string_view what) {
    return {status::unspecified,
            std::u16string(what) + u" is not supported by this database engine."};
}

} // namespace dmlErrors

namespace {

const std::u16string selectError = u"The SELECT statement includes a reserved word or an "
                                   u"argument name that is misspelled or missing, or the "
                                   u"punctuation is incorrect.";

// Words that start or join clauses: never an alias or a bare column name.
bool isReserved(const Token& token) {
    static const std::u16string_view words[] = {
        u"SELECT", u"FROM",    u"WHERE",    u"GROUP",       u"BY",   u"HAVING", u"ORDER", u"UNION",
        u"ALL",    u"AS",      u"ON",       u"INNER",       u"LEFT", u"RIGHT",  u"OUTER", u"JOIN",
        u"INTO",   u"IN",      u"VALUES",   u"SET",         u"AND",  u"OR",     u"NOT",   u"ASC",
        u"DESC",   u"TOP",     u"DISTINCT", u"DISTINCTROW", u"XOR",  u"EQV",    u"IMP",   u"MOD",
        u"LIKE",   u"BETWEEN", u"IS",       u"WITH",        u"FULL", u"PERCENT"};
    if (token.kind != TokenKind::Word)
        return false;
    for (auto word : words)
        if (token.isWord(word))
            return true;
    return false;
}

const catalog::Query* findQuery(const catalog::Catalog& catalog, std::u16string_view name) {
    for (const catalog::Query& query : catalog.queries)
        if (text::equalsNoCase(query.name, name))
            return &query;
    return nullptr;
}

class NoStorage : public DmlStorage {
public:
    bool hasStorageObject(std::u16string_view) override { return false; }
    int resultColumns(const std::string&) override { return 0; }
};

constexpr int maxQueryNesting = 16;

} // namespace

DmlParser::DmlParser(std::u16string_view sql, const catalog::Catalog& catalog, DmlStorage* storage,
                     int* parameterCount, int depth)
    : tokens_(tokenize(sql)), source_(sql), catalog_(catalog), storage_(storage),
      parameterCount_(parameterCount), depth_(depth), syntaxError_(selectError) {
    if (tokens_.back().kind == TokenKind::Invalid)
        fail();
}

const Token& DmlParser::peek(std::size_t ahead) const {
    return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)];
}

const Token& DmlParser::next() {
    const Token& token = peek();
    if (pos_ < tokens_.size() - 1)
        ++pos_;
    return token;
}

bool DmlParser::atWord(std::u16string_view word, std::size_t ahead) const {
    return peek(ahead).isWord(word);
}

bool DmlParser::atSymbol(std::u16string_view symbol, std::size_t ahead) const {
    return peek(ahead).isSymbol(symbol);
}

bool DmlParser::acceptWord(std::u16string_view word) {
    if (!atWord(word))
        return false;
    next();
    return true;
}

bool DmlParser::acceptSymbol(std::u16string_view symbol) {
    if (!atSymbol(symbol))
        return false;
    next();
    return true;
}

void DmlParser::expectWord(std::u16string_view word) {
    if (!acceptWord(word))
        fail();
}

void DmlParser::expectSymbol(std::u16string_view symbol) {
    if (!acceptSymbol(symbol))
        fail();
}

bool DmlParser::atEnd() const {
    return peek().kind == TokenKind::End || (atSymbol(u";") && peek(1).kind == TokenKind::End);
}

bool DmlParser::atPlainName(std::size_t ahead) const {
    const Token& token = peek(ahead);
    return token.kind == TokenKind::QuotedName ||
           (token.kind == TokenKind::Word && !isReserved(token));
}

void DmlParser::fail() const {
    throw EngineError(status::syntaxError, syntaxError_);
}

void DmlParser::expectExpressionEnd(std::size_t start) const {
    const Token& token = peek();
    if (atEnd() || token.isSymbol(u",") || token.isSymbol(u")") || isReserved(token))
        return;
    std::size_t begin = tokens_[std::min(start, pos_)].begin;
    throw dmlErrors::missingOperator(source_.substr(begin, token.end - begin));
}

std::u16string DmlParser::tableName() {
    if (!atPlainName())
        fail();
    return next().text;
}

DmlStatement DmlParser::statement() {
    if (atWord(u"PARAMETERS"))
        parametersClause();
    DmlStatement result;
    if (atWord(u"INSERT"))
        result = insert();
    else if (atWord(u"UPDATE"))
        result = update();
    else if (atWord(u"DELETE"))
        result = remove();
    else if (atWord(u"TRANSFORM"))
        throw dmlErrors::unsupported(u"A crosstab query (TRANSFORM)");
    else if (atWord(u"SELECT") || atSymbol(u"("))
        result.sql = query();
    else
        fail();
    if (!atEnd())
        fail();
    result.parameterCount = *parameterCount_;
    result.stores = std::move(stores_);
    return result;
}

void DmlParser::parametersClause() {
    auto clause = parseParametersClause(source_.substr(peek().begin));
    if (!clause)
        fail();
    for (const auto& parameter : clause->parameters)
        declared_.push_back(parameter.name);
    *parameterCount_ = int(declared_.size());
    while (peek().kind != TokenKind::End && !atSymbol(u";"))
        next();
    expectSymbol(u";");
}

// SELECT ... [UNION [ALL] SELECT ...] [ORDER BY ...], with TOP n as a LIMIT.
std::string DmlParser::query() {
    std::string limit;
    std::string sql;
    if (acceptSymbol(u"(")) { // (SELECT ...) UNION ...
        sql = "SELECT * FROM (" + query() + ")";
        expectSymbol(u")");
    } else {
        sql = selectCore(limit);
    }
    while (acceptWord(u"UNION")) {
        sql += acceptWord(u"ALL") ? " UNION ALL " : " UNION ";
        std::string ignored;
        if (acceptSymbol(u"(")) {
            sql += "SELECT * FROM (" + query() + ")";
            expectSymbol(u")");
        } else {
            sql += selectCore(ignored);
        }
    }
    if (acceptWord(u"ORDER")) {
        expectWord(u"BY");
        sql += " ORDER BY ";
        do {
            sql += checkedValue();
            if (acceptWord(u"DESC"))
                sql += " DESC";
            else
                acceptWord(u"ASC");
            if (atSymbol(u","))
                sql += ", ";
        } while (acceptSymbol(u","));
    }
    if (acceptWord(u"WITH")) { // WITH OWNERACCESS OPTION: the engine has no users to check
        expectWord(u"OWNERACCESS");
        expectWord(u"OPTION");
    }
    if (!limit.empty())
        sql += " LIMIT " + limit;
    return sql;
}

std::string DmlParser::selectCore(std::string& limit) {
    expectWord(u"SELECT");
    std::string sql = "SELECT ";
    if (acceptWord(u"DISTINCT"))
        sql += "DISTINCT ";
    else if (!acceptWord(u"DISTINCTROW"))
        acceptWord(u"ALL");
    if (acceptWord(u"TOP")) {
        if (peek().kind != TokenKind::Number)
            fail();
        limit = text::toUtf8(next().text);
        if (atWord(u"PERCENT"))
            throw dmlErrors::unsupported(u"TOP n PERCENT");
    }
    sql += selectList();
    if (atWord(u"INTO"))
        throw dmlErrors::unsupported(u"A make-table query (SELECT ... INTO)");
    if (acceptWord(u"FROM"))
        sql += " FROM " + fromClause();
    if (acceptWord(u"WHERE"))
        sql += " WHERE " + checkedCondition();
    if (acceptWord(u"GROUP")) {
        expectWord(u"BY");
        sql += " GROUP BY " + checkedValue();
        while (acceptSymbol(u","))
            sql += ", " + checkedValue();
    }
    if (acceptWord(u"HAVING"))
        sql += " HAVING " + checkedCondition();
    return sql;
}

std::string DmlParser::selectList() {
    std::string sql;
    do {
        if (!sql.empty())
            sql += ", ";
        if (acceptSymbol(u"*")) {
            sql += "*";
            continue;
        }
        if (peek().isName() && (atSymbol(u".", 1) || atSymbol(u"!", 1)) && atSymbol(u"*", 2)) {
            std::u16string qualifier = next().text;
            if (const catalog::Table* table = catalog_.findTable(qualifier))
                qualifier = table->name;
            next();
            next();
            sql += quoteIdentifier(qualifier) + ".*";
            continue;
        }
        std::size_t start = pos_;
        SqlExpression item = expression();
        expectExpressionEnd(start);
        std::string alias;
        if (acceptWord(u"AS")) {
            if (!peek().isName() && peek().kind != TokenKind::String)
                fail();
            const Token& name = next();
            alias = name.kind == TokenKind::String
                        ? quoteIdentifier(
                              std::u16string_view(name.text).substr(1, name.text.size() - 2))
                        : quoteIdentifier(name.text);
        } else if (!item.column) {
            alias = "\"Expr" + std::to_string(1000 + expressionNames_++) + "\"";
        }
        sql += (item.condition ? "-(" + item.sql + ")" : item.sql);
        if (!alias.empty())
            sql += " AS " + alias;
    } while (acceptSymbol(u","));
    return sql;
}

std::string DmlParser::fromClause() {
    std::u16string saved = syntaxError_;
    syntaxError_ = u"Syntax error in FROM clause.";
    std::string sql = fromItem();
    while (acceptSymbol(u","))
        sql += ", " + fromItem();
    syntaxError_ = saved;
    return sql;
}

std::string DmlParser::fromItem() {
    std::string sql = tableReference();
    for (;;) {
        std::string join;
        if (acceptWord(u"INNER"))
            join = " INNER JOIN ";
        else if (acceptWord(u"LEFT"))
            join = " LEFT JOIN ";
        else if (acceptWord(u"RIGHT"))
            join = " RIGHT JOIN ";
        else
            return sql;
        if (!join.starts_with(" INNER"))
            acceptWord(u"OUTER");
        expectWord(u"JOIN");
        sql += join + tableReference();
        expectWord(u"ON");
        std::u16string saved = syntaxError_;
        syntaxError_ = u"Syntax error in JOIN operation.";
        sql += " ON " + checkedCondition();
        syntaxError_ = saved;
    }
}

std::string DmlParser::tableReference() {
    if (atSymbol(u"(") && atWord(u"SELECT", 1)) {
        std::string sql = subquery();
        return sql + optionalAlias();
    }
    if (acceptSymbol(u"(")) {
        std::string sql = "(" + fromItem() + ")";
        expectSymbol(u")");
        return sql;
    }
    std::u16string name = tableName();
    if (atWord(u"IN"))
        throw dmlErrors::unsupported(u"A table of another database (IN clause)");
    std::u16string alias;
    if (acceptWord(u"AS") || atPlainName()) {
        if (!atPlainName())
            fail();
        alias = next().text;
    }
    return tableSource(name, alias);
}

std::string DmlParser::optionalAlias() {
    if (acceptWord(u"AS") || atPlainName()) {
        if (!atPlainName())
            fail();
        return " AS " + quoteIdentifier(next().text);
    }
    return "";
}

// A name of the FROM clause: a table's data table, a saved query as a subquery, or a table
// of the storage that the catalog does not list (the system tables).
std::string DmlParser::tableSource(const std::u16string& name, const std::u16string& alias) {
    std::string as = alias.empty() ? "" : " AS " + quoteIdentifier(alias);
    if (const catalog::Table* table = catalog_.findTable(name)) {
        switch (table->kind) {
        case catalog::TableKind::Local:
            return quoteIdentifier(table->name) + as;
        case catalog::TableKind::AccessLink:
        case catalog::TableKind::OdbcLink:
            throw dmlErrors::unsupported(u"Reading the linked table '" + table->name + u"'");
        default:
            break;
        }
    } else if (const catalog::Query* query = findQuery(catalog_, name)) {
        if (depth_ >= maxQueryNesting)
            throw EngineError(status::unspecified,
                              u"Circular reference caused by '" + query->name + u"'.");
        DmlParser inner(query->text, catalog_, storage_, parameterCount_, depth_ + 1);
        DmlStatement statement = inner.statement();
        if (statement.kind != DmlStatement::Kind::Select)
            throw dmlErrors::notUpdateable();
        return "(" + statement.sql + ") AS " + quoteIdentifier(alias.empty() ? query->name : alias);
    }
    if (storage_->hasStorageObject(name))
        return quoteIdentifier(name) + as;
    throw errors::tableNotFound(name);
}

const catalog::Table& DmlParser::targetTable(const std::u16string& name) const {
    if (const catalog::Table* table = catalog_.findTable(name)) {
        if (table->kind == catalog::TableKind::Local)
            return *table;
        if (table->kind == catalog::TableKind::AccessLink ||
            table->kind == catalog::TableKind::OdbcLink)
            throw dmlErrors::unsupported(u"Changing the linked table '" + table->name + u"'");
        throw errors::readOnly();
    }
    if (findQuery(catalog_, name))
        throw dmlErrors::notUpdateable();
    throw errors::tableNotFound(name);
}

// A column named in INSERT or UPDATE, bare or qualified with its table.
const catalog::Column& DmlParser::targetColumn(const catalog::Table& table) {
    if (!peek().isName())
        fail();
    std::u16string name = next().text;
    if ((atSymbol(u".") || atSymbol(u"!")) && peek(1).isName()) {
        next();
        name = next().text;
    }
    const catalog::Column* column = table.findColumn(name);
    if (!column)
        throw dmlErrors::unknownField(name);
    return *column;
}

std::string DmlParser::store(const catalog::Table& table, const catalog::Column& column,
                             const std::string& value) {
    stores_.push_back({table.name, column, indexHoldsNoNulls(table, column)});
    return "kel_store(" + value + ", " + std::to_string(stores_.size() - 1) + ")";
}

DmlStatement DmlParser::insert() {
    syntaxError_ = u"Syntax error in INSERT INTO statement.";
    expectWord(u"INSERT");
    expectWord(u"INTO");
    const catalog::Table& table = targetTable(tableName());
    std::vector<const catalog::Column*> columns;
    if (acceptSymbol(u"(")) {
        do {
            const catalog::Column& column = targetColumn(table);
            for (const catalog::Column* seen : columns)
                if (seen == &column)
                    throw EngineError(status::unspecified,
                                      u"Duplicate output destination '" + column.name + u"'.");
            columns.push_back(&column);
        } while (acceptSymbol(u","));
        expectSymbol(u")");
    } else {
        for (const catalog::Column& column : table.columns)
            if (column.type != type::attachment)
                columns.push_back(&column);
    }
    for (const catalog::Column* column : columns)
        if (column->type == type::attachment)
            throw dmlErrors::multiValued(u"INSERT INTO");

    std::vector<std::string> values;
    std::string source; // INSERT ... SELECT: the query, a CTE named "kel.source"
    if (acceptWord(u"VALUES")) {
        expectSymbol(u"(");
        do
            values.push_back(checkedValue());
        while (acceptSymbol(u","));
        expectSymbol(u")");
    } else if (atWord(u"SELECT") || atSymbol(u"(")) {
        source = query();
        int count = storage_->resultColumns(source);
        for (int i = 1; i <= count; ++i)
            values.push_back("\"kel.source\".\"" + std::to_string(i) + "\"");
    } else {
        fail();
    }
    if (values.size() != columns.size())
        throw dmlErrors::valueCount();

    std::string names, stored;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        names += (i ? ", " : "") + quoteIdentifier(columns[i]->name);
        stored += (i ? ", " : "") + store(table, *columns[i], values[i]);
    }
    // The columns left out take their defaults; AutoNumbers count on from the largest one.
    for (const catalog::Column& column : table.columns) {
        bool listed = false;
        for (const catalog::Column* c : columns)
            listed = listed || c == &column;
        if (listed || column.type == type::attachment)
            continue;
        std::string value;
        if (column.autoIncrement && column.type == type::integer) {
            std::string largest = "(SELECT coalesce(max(" + quoteIdentifier(column.name) +
                                  "), 0) FROM " + quoteIdentifier(table.name) + ")";
            value = source.empty() ? largest + " + 1" : largest + " + row_number() OVER ()";
        } else if (column.defaultValue) {
            try {
                value = store(table, column, translateValue(*column.defaultValue, catalog_));
            } catch (const EngineError&) {
                continue; // a default the engine cannot compute leaves the column empty
            }
        } else if (!column.nullable || indexHoldsNoNulls(table, column) ||
                   column.type == type::boolean) {
            value = store(table, column, "NULL"); // No, or the column's own failure
        } else {
            continue;
        }
        names += (names.empty() ? "" : ", ") + quoteIdentifier(column.name);
        stored += (stored.empty() ? "" : ", ") + value;
    }

    DmlStatement result;
    result.kind = DmlStatement::Kind::Insert;
    result.table = table.name;
    std::string target = quoteIdentifier(table.name);
    if (source.empty()) {
        result.sql = names.empty()
                         ? "INSERT INTO " + target + " DEFAULT VALUES"
                         : "INSERT INTO " + target + " (" + names + ") VALUES (" + stored + ")";
    } else {
        std::string list;
        for (std::size_t i = 1; i <= values.size(); ++i)
            list += (i > 1 ? ", " : "") + std::string("\"") + std::to_string(i) + "\"";
        result.sql = "WITH \"kel.source\" (" + list + ") AS (" + source + ") INSERT INTO " +
                     target + " (" + names + ") SELECT " + stored + " FROM \"kel.source\"";
    }
    result.sql += " RETURNING rowid";
    return result;
}

DmlStatement DmlParser::update() {
    syntaxError_ = u"Syntax error in UPDATE statement.";
    expectWord(u"UPDATE");
    const catalog::Table& table = targetTable(tableName());
    if (atWord(u"INNER") || atWord(u"LEFT") || atWord(u"RIGHT") || atSymbol(u","))
        throw dmlErrors::unsupported(u"An UPDATE over joined tables");
    expectWord(u"SET");
    std::string assignments;
    do {
        const catalog::Column& column = targetColumn(table);
        if (column.type == type::attachment)
            throw dmlErrors::multiValued(u"UPDATE or DELETE");
        if (column.autoIncrement)
            throw dmlErrors::fieldNotUpdateable(column.name);
        expectSymbol(u"=");
        assignments += (assignments.empty() ? "" : ", ") + quoteIdentifier(column.name) + " = " +
                       store(table, column, checkedValue());
    } while (acceptSymbol(u","));
    DmlStatement result;
    result.kind = DmlStatement::Kind::Update;
    result.table = table.name;
    result.sql = "UPDATE " + quoteIdentifier(table.name) + " SET " + assignments;
    if (acceptWord(u"WHERE"))
        result.sql += " WHERE " + checkedCondition();
    result.sql += " RETURNING rowid";
    return result;
}

// DELETE [*|T.*] FROM T [WHERE ...]
DmlStatement DmlParser::remove() {
    syntaxError_ = u"Syntax error in DELETE statement.";
    expectWord(u"DELETE");
    if (!acceptSymbol(u"*") && peek().isName() && !atWord(u"FROM")) {
        next();
        if (acceptSymbol(u".") || acceptSymbol(u"!"))
            expectSymbol(u"*");
    }
    expectWord(u"FROM");
    const catalog::Table& table = targetTable(tableName());
    if (atWord(u"INNER") || atWord(u"LEFT") || atWord(u"RIGHT") || atSymbol(u","))
        throw dmlErrors::unsupported(u"A DELETE over joined tables");
    DmlStatement result;
    result.kind = DmlStatement::Kind::Delete;
    result.table = table.name;
    result.sql = "DELETE FROM " + quoteIdentifier(table.name);
    if (acceptWord(u"WHERE"))
        result.sql += " WHERE " + checkedCondition();
    return result;
}

DmlStatement translateDml(std::u16string_view sql, const catalog::Catalog& catalog,
                          DmlStorage& storage) {
    int parameters = 0;
    return DmlParser(sql, catalog, &storage, &parameters).statement();
}

std::string translateCondition(std::u16string_view condition, const catalog::Catalog& catalog,
                               std::u16string_view column) {
    NoStorage storage;
    int parameters = 0;
    DmlParser parser(condition, catalog, &storage, &parameters);
    parser.setImplicitColumn(std::u16string(column));
    return parser.wholeCondition();
}

std::string translateValue(std::u16string_view expression, const catalog::Catalog& catalog) {
    NoStorage storage;
    int parameters = 0;
    return DmlParser(expression, catalog, &storage, &parameters).wholeValue();
}

} // namespace engine::embedded
