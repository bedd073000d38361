#include "foundation/engine/embedded/DataTables.h"

#include "foundation/engine/embedded/SchemaRules.h"
#include "foundation/text/WideString.h"

#include <map>

namespace engine::embedded {

namespace {

constexpr std::u16string_view rebuildName = u"kel.rebuild";

bool isText(int type) {
    return type == type::varWChar || type == type::wChar || type == type::longVarWChar ||
           type == type::dateTimeExtended;
}

bool isInteger(int type) {
    return type == type::boolean || type == type::tinyInt || type == type::smallInt ||
           type == type::integer;
}

bool isReal(int type) {
    return type == type::single || type == type::doubleType || type == type::currency ||
           type == type::decimal || type == type::date;
}

std::string storageClass(int type) {
    if (isInteger(type))
        return "INTEGER";
    if (isReal(type))
        return type == type::currency || type == type::decimal ? "NUMERIC" : "REAL";
    if (isText(type))
        return "TEXT COLLATE NOCASE";
    return "BLOB";
}

// The columns that an index holding no nulls covers: primary keys and DISALLOW NULL.
bool heldNotNull(const catalog::Table& table, const catalog::Column& column) {
    return !column.nullable || indexHoldsNoNulls(table, column);
}

std::string nameList(const std::vector<std::u16string>& names) {
    std::string list;
    for (const auto& name : names)
        list += (list.empty() ? "" : ", ") + quoteIdentifier(name);
    return list;
}

std::string tableSql(const TableShape& shape, std::u16string_view name) {
    std::string sql = "CREATE TABLE " + quoteIdentifier(name) + " (";
    bool first = true;
    for (const catalog::Column& column : shape.table.columns) {
        sql += first ? "" : ", ";
        first = false;
        sql += quoteIdentifier(column.name) + " " + storageClass(column.type);
        if (heldNotNull(shape.table, column))
            sql += " NOT NULL";
    }
    for (const catalog::Relation& relation : shape.relations) {
        if (relation.attributes & dao::relationDontEnforce)
            continue;
        std::vector<std::u16string> columns, related;
        for (const catalog::RelationField& field : relation.fields) {
            columns.push_back(field.foreignName);
            related.push_back(field.name);
        }
        sql += ", FOREIGN KEY (" + nameList(columns) + ") REFERENCES " +
               quoteIdentifier(relation.table) + " (" + nameList(related) + ")";
        if (relation.attributes & dao::relationUpdateCascade)
            sql += " ON UPDATE CASCADE";
        else if (relation.attributes & dao::relationUpdateSetNull)
            sql += " ON UPDATE SET NULL";
        if (relation.attributes & dao::relationDeleteSetNull)
            sql += " ON DELETE SET NULL";
        else if (relation.attributes & dao::relationDeleteCascade)
            sql += " ON DELETE CASCADE";
    }
    return sql + ")";
}

// Name and statement of each SQLite index of the table.
std::map<std::string, std::string> indexSql(const catalog::Table& table) {
    std::map<std::string, std::string> indexes;
    for (const catalog::Index& index : table.indexes) {
        std::string name = quoteIdentifier(u"kel.ix." + text::asciiLower(table.name) + u"." +
                                           text::asciiLower(index.name));
        std::string sql = std::string("CREATE ") + (index.unique ? "UNIQUE " : "") + "INDEX " +
                          name + " ON " + quoteIdentifier(table.name) + " (";
        for (std::size_t i = 0; i < index.columns.size(); ++i)
            sql += (i ? ", " : "") + quoteIdentifier(index.columns[i].name) +
                   (index.columns[i].descending ? " DESC" : "");
        indexes[name] = sql + ")";
    }
    return indexes;
}

// The value a new required column takes in the rows already there: its default when that is
// a number, a quoted text or a truth value, as SQL; nullopt otherwise.
std::optional<std::string> literalDefault(const catalog::Column& column) {
    if (!column.defaultValue)
        return std::nullopt;
    std::u16string value = *column.defaultValue;
    while (!value.empty() && value.front() == u' ')
        value.erase(0, 1);
    while (!value.empty() && value.back() == u' ')
        value.pop_back();
    if (value.empty())
        return std::nullopt;
    if (text::equalsNoCase(value, u"true") || text::equalsNoCase(value, u"yes") ||
        text::equalsNoCase(value, u"on"))
        return "-1";
    if (text::equalsNoCase(value, u"false") || text::equalsNoCase(value, u"no") ||
        text::equalsNoCase(value, u"off"))
        return "0";
    char16_t quote = value.front();
    if ((quote == u'"' || quote == u'\'') && value.size() >= 2 && value.back() == quote) {
        std::u16string inner;
        for (std::size_t i = 1; i + 1 < value.size(); ++i) {
            inner += value[i];
            if (value[i] == quote && value[i + 1] == quote)
                ++i;
        }
        std::string sql = "'";
        for (char c : text::toUtf8(inner))
            sql += c == '\'' ? std::string("''") : std::string(1, c);
        return sql + "'";
    }
    std::size_t digits = 0, i = (value.front() == u'-' || value.front() == u'+') ? 1 : 0;
    bool dot = false;
    for (; i < value.size(); ++i) {
        if (value[i] >= u'0' && value[i] <= u'9')
            ++digits;
        else if (value[i] == u'.' && !dot)
            dot = true;
        else
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    return text::toUtf8(value);
}

std::u16string nullMessage(const catalog::Table& table, const catalog::Column& column) {
    if (!column.nullable)
        return u"Field '" + table.name + u"." + column.name +
               u"' cannot contain a Null value because the Required property for this field is "
               u"set to True. Enter a value in this field.";
    return u"Index or primary key cannot contain a Null value.";
}

} // namespace

std::int64_t DataTables::count(const std::string& sql) {
    auto row = db_.prepare(sql);
    return row.step() ? row.integer(0) : 0;
}

bool DataTables::hasRows(std::u16string_view table) {
    return count("SELECT EXISTS (SELECT 1 FROM " + quoteIdentifier(table) + ")") != 0;
}

void DataTables::create(const TableShape& shape) {
    db_.exec(tableSql(shape, shape.table.name));
    for (const auto& [name, sql] : indexSql(shape.table))
        db_.exec(sql);
}

void DataTables::drop(std::u16string_view table) {
    db_.exec("DROP TABLE " + quoteIdentifier(table));
}

void DataTables::change(const TableShape& before, const TableShape& after,
                        const std::vector<std::optional<std::u16string>>& sources) {
    // Same SQL, same column names, and no kept value to convert: only indexes change.
    bool sameColumns = tableSql(before, before.table.name) == tableSql(after, after.table.name);
    for (std::size_t i = 0; sameColumns && i < after.table.columns.size(); ++i) {
        const catalog::Column& column = after.table.columns[i];
        const catalog::Column* old = sources[i] ? before.table.findColumn(*sources[i]) : nullptr;
        sameColumns = old && text::equalsNoCase(old->name, column.name) &&
                      old->type == column.type && old->size == column.size;
    }
    if (!sameColumns) {
        rebuild(before, after, sources);
        return;
    }
    auto old = indexSql(before.table);
    auto wanted = indexSql(after.table);
    for (const auto& [name, sql] : old)
        if (!wanted.contains(name) || wanted[name] != sql)
            db_.exec("DROP INDEX " + name);
    for (const auto& [name, sql] : wanted)
        if (!old.contains(name) || old[name] != sql)
            db_.exec(sql);
}

void DataTables::checkNulls(const TableShape& before, const TableShape& after,
                            const std::vector<std::optional<std::u16string>>& sources) {
    std::string table = quoteIdentifier(before.table.name);
    bool rows = hasRows(before.table.name);
    for (std::size_t i = 0; i < after.table.columns.size(); ++i) {
        const catalog::Column& column = after.table.columns[i];
        if (!heldNotNull(after.table, column))
            continue;
        bool filled = column.autoIncrement || literalDefault(column);
        bool nulls = sources[i] ? count("SELECT EXISTS (SELECT 1 FROM " + table + " WHERE " +
                                        quoteIdentifier(*sources[i]) + " IS NULL)") != 0
                                : rows && !filled;
        if (nulls)
            throw EngineError(status::unspecified, nullMessage(after.table, column));
    }
}

// The kept values of a column whose type or size changed must fit it: numbers for number
// types, no longer than the size for text and binary.
void DataTables::checkConverted(const catalog::Table& before, const catalog::Table& after,
                                const std::vector<std::optional<std::u16string>>& sources,
                                const std::string& table) {
    static const std::u16string conversion = u"Data type conversion error.";
    for (std::size_t i = 0; i < after.columns.size(); ++i) {
        if (!sources[i])
            continue;
        const catalog::Column& column = after.columns[i];
        const catalog::Column* old = before.findColumn(*sources[i]);
        if (old && old->type == column.type && old->size == column.size)
            continue;
        std::string c = quoteIdentifier(column.name);
        std::string where = " FROM " + table + " WHERE " + c + " IS NOT NULL AND ";
        auto any = [&](const std::string& condition) {
            return count("SELECT EXISTS (SELECT 1" + where + condition + ")") != 0;
        };
        if (isInteger(column.type)) {
            if (any("typeof(" + c + ") <> 'integer'"))
                throw EngineError(status::unspecified, conversion);
            std::pair<std::int64_t, std::int64_t> range =
                column.type == type::tinyInt ? std::pair<std::int64_t, std::int64_t>{0, 255}
                : column.type == type::smallInt
                    ? std::pair<std::int64_t, std::int64_t>{-32768, 32767}
                : column.type == type::boolean
                    ? std::pair<std::int64_t, std::int64_t>{-1, 0}
                    : std::pair<std::int64_t, std::int64_t>{-2147483648LL, 2147483647LL};
            if (any(c + " < " + std::to_string(range.first) + " OR " + c + " > " +
                    std::to_string(range.second)))
                throw EngineError(status::unspecified, u"Numeric field overflow.");
        } else if (isReal(column.type)) {
            // A NaN or -0 of a Single or Double is kept as its 8 bytes (see StoredValues.h).
            bool bits = column.type == type::single || column.type == type::doubleType;
            if (any("typeof(" + c + ") NOT IN ('integer', 'real')" +
                    (bits ? " AND NOT (typeof(" + c + ") = 'blob' AND length(" + c + ") = 8)"
                          : std::string())))
                throw EngineError(status::unspecified, conversion);
        } else if (isText(column.type) || column.type == type::varBinary) {
            if (isText(column.type) && any("typeof(" + c + ") <> 'text'"))
                throw EngineError(status::unspecified, conversion);
            bool bounded = column.type != type::longVarWChar;
            if (bounded && any("length(" + c + ") > " + std::to_string(column.size)))
                throw EngineError(status::unspecified,
                                  u"The field is too small to accept the amount of data you "
                                  u"attempted to add. Try inserting or pasting less data.");
        }
    }
}

void DataTables::checkForeignKeys(const catalog::Table& table) {
    auto rows = db_.prepare("PRAGMA foreign_key_check(" + quoteIdentifier(table.name) + ")");
    if (rows.step())
        throw EngineError(status::unspecified,
                          u"You cannot add or change a record because a related record is "
                          u"required in table '" +
                              rows.text(2) + u"'.");
}

// The rows go through a scratch table: its columns take the new types, so the kept values are
// converted and checked there before the table is made again. A rename would be shorter, but
// SQLite rewrites the whole schema on every rename, which makes large databases slow.
void DataTables::rebuild(const TableShape& before, const TableShape& after,
                         const std::vector<std::optional<std::u16string>>& sources) {
    std::string table = quoteIdentifier(after.table.name);
    if (!hasRows(before.table.name)) { // nothing to keep: the table is simply made again
        db_.exec("DROP TABLE " + quoteIdentifier(before.table.name));
        create(after);
        return;
    }
    checkNulls(before, after, sources);
    std::string scratch = quoteIdentifier(rebuildName);
    db_.exec(tableSql(after, rebuildName));
    std::string columns = "rowid", values = "rowid";
    for (std::size_t i = 0; i < after.table.columns.size(); ++i) {
        const catalog::Column& column = after.table.columns[i];
        columns += ", " + quoteIdentifier(column.name);
        if (!sources[i]) {
            // A new AutoNumber numbers the rows there are; a required column takes its default.
            if (column.autoIncrement && isInteger(column.type))
                values += ", row_number() OVER (ORDER BY rowid)";
            else if (heldNotNull(after.table, column))
                values += ", " + literalDefault(column).value_or("NULL");
            else
                values += ", NULL";
            continue;
        }
        std::string source = quoteIdentifier(*sources[i]);
        if (column.type == type::boolean) // any number that is not 0 is Yes
            source = "CASE WHEN typeof(" + source + ") IN ('integer', 'real') THEN -(" + source +
                     " <> 0) ELSE " + source + " END";
        values += ", " + source;
    }
    db_.exec("INSERT INTO " + scratch + " (" + columns + ") SELECT " + values + " FROM " +
             quoteIdentifier(before.table.name));
    checkConverted(before.table, after.table, sources, scratch);
    db_.exec("DROP TABLE " + quoteIdentifier(before.table.name));
    db_.exec(tableSql(after, after.table.name));
    db_.exec("INSERT INTO " + table + " (" + columns + ") SELECT " + columns + " FROM " + scratch);
    db_.exec("DROP TABLE " + scratch);
    for (const auto& [name, sql] : indexSql(after.table))
        db_.exec(sql);
    checkForeignKeys(after.table);
}

} // namespace engine::embedded
