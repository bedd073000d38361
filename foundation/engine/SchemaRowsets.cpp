#include "foundation/engine/SchemaRowsets.h"

#include "foundation/engine/api/EngineError.h"
#include "foundation/engine/api/RowsetRecordset.h"
#include "foundation/text/WideString.h"

namespace engine {

namespace {

using Row = RowsetRecordset::Row;

struct Rowset {
    std::vector<std::u16string> columns;
    std::vector<Row> rows;
};

const Variant null = Variant::null();

// Whether rows of the table can pass the restriction on the given column. Readers ask for
// one table at a time, and building the rows of every table for each would make reading a
// catalog quadratic in its tables.
bool tableWanted(const std::vector<Variant>& restrictions, std::size_t column,
                 const std::u16string& table) {
    if (column >= restrictions.size() || restrictions[column].isEmpty() ||
        restrictions[column].isNull())
        return true;
    auto wanted = restrictions[column].toText();
    return wanted && text::equalsNoCase(*wanted, table);
}

// The OLE DB type of a column in the COLUMNS rowset.
std::int32_t oleDbType(int type) {
    switch (type) {
    case engine::type::varWChar:
    case engine::type::longVarWChar:
    case engine::type::wChar:
    case engine::type::attachment:
        return 130;
    case engine::type::varBinary:
    case engine::type::longVarBinary:
        return 128;
    default:
        return type;
    }
}

std::int64_t columnFlags(const catalog::Column& column) {
    std::int64_t flags = 0;
    if (column.fixedLength ||
        (column.type != engine::type::varWChar && column.type != engine::type::varBinary &&
         column.type != engine::type::longVarWChar && column.type != engine::type::longVarBinary))
        flags |= 0x10; // DBCOLUMNFLAGS_ISFIXEDLENGTH
    if (column.nullable)
        flags |= 0x20 | 0x40; // ISNULLABLE, MAYBENULL
    if (column.type == engine::type::longVarWChar || column.type == engine::type::longVarBinary)
        flags |= 0x80;  // ISLONG
    return flags | 0x8; // WRITEUNKNOWN
}

Row columnRow(const catalog::Table& table, const catalog::Column& column, int ordinal) {
    bool isText = column.type == engine::type::varWChar || column.type == engine::type::wChar ||
                  column.type == engine::type::longVarWChar;
    bool hasLength = isText || column.type == engine::type::varBinary ||
                     column.type == engine::type::longVarBinary;
    Variant length = hasLength ? Variant(std::int64_t(column.size)) : null;
    Variant octets = hasLength ? Variant(std::int64_t(column.size) * (isText ? 2 : 1)) : null;
    bool decimal = column.type == engine::type::decimal;
    return {
        null,
        null,
        table.name,
        column.name,
        null,
        null,
        std::int64_t(ordinal),
        bool(column.defaultValue),
        column.defaultValue ? Variant(*column.defaultValue) : null,
        columnFlags(column),
        column.nullable,
        std::int32_t(oleDbType(column.type)),
        null,
        length,
        octets,
        decimal ? Variant(std::int32_t(column.precision)) : null,
        decimal ? Variant(std::int16_t(column.scale)) : null,
        null,
        null,
        null,
        null,
        null,
        null,
        null,
        null,
        null,
        null,
        null,
    };
}

Rowset columnsRowset(const catalog::Catalog& catalog, const std::vector<Variant>& restrictions) {
    std::vector<std::u16string> names = {u"TABLE_CATALOG",
                                         u"TABLE_SCHEMA",
                                         u"TABLE_NAME",
                                         u"COLUMN_NAME",
                                         u"COLUMN_GUID",
                                         u"COLUMN_PROPID",
                                         u"ORDINAL_POSITION",
                                         u"COLUMN_HASDEFAULT",
                                         u"COLUMN_DEFAULT",
                                         u"COLUMN_FLAGS",
                                         u"IS_NULLABLE",
                                         u"DATA_TYPE",
                                         u"TYPE_GUID",
                                         u"CHARACTER_MAXIMUM_LENGTH",
                                         u"CHARACTER_OCTET_LENGTH",
                                         u"NUMERIC_PRECISION",
                                         u"NUMERIC_SCALE",
                                         u"DATETIME_PRECISION",
                                         u"CHARACTER_SET_CATALOG",
                                         u"CHARACTER_SET_SCHEMA",
                                         u"CHARACTER_SET_NAME",
                                         u"COLLATION_CATALOG",
                                         u"COLLATION_SCHEMA",
                                         u"COLLATION_NAME",
                                         u"DOMAIN_CATALOG",
                                         u"DOMAIN_SCHEMA",
                                         u"DOMAIN_NAME",
                                         u"DESCRIPTION"};
    std::vector<Row> rows;
    for (const catalog::Table& table : catalog.tables) {
        if (!tableWanted(restrictions, 2, table.name))
            continue;
        for (std::size_t i = 0; i < table.columns.size(); ++i)
            rows.push_back(columnRow(table, table.columns[i], int(i) + 1));
    }
    return {std::move(names), std::move(rows)};
}

std::u16string validationRuleName(const catalog::Column& column) {
    return u"[" + column.name + u"].ValidationRule";
}

Rowset checkConstraintsRowset(const catalog::Catalog& catalog) {
    std::vector<std::u16string> names = {u"CONSTRAINT_CATALOG", u"CONSTRAINT_SCHEMA",
                                         u"CONSTRAINT_NAME", u"CHECK_CLAUSE", u"DESCRIPTION"};
    std::vector<Row> rows;
    for (const catalog::Table& table : catalog.tables) {
        for (const catalog::Check& check : table.checks)
            rows.push_back({null, null, check.name, check.clause, null});
        for (const catalog::Column& column : table.columns)
            if (!column.validationRule.empty())
                rows.push_back({null, null, u"[" + table.name + u"]." + validationRuleName(column),
                                column.validationRule, null});
    }
    return {std::move(names), std::move(rows)};
}

Rowset tableConstraintsRowset(const catalog::Catalog& catalog,
                              const std::vector<Variant>& restrictions) {
    std::vector<std::u16string> names = {
        u"CONSTRAINT_CATALOG", u"CONSTRAINT_SCHEMA", u"CONSTRAINT_NAME", u"TABLE_CATALOG",
        u"TABLE_SCHEMA",       u"TABLE_NAME",        u"CONSTRAINT_TYPE", u"IS_DEFERRABLE",
        u"INITIALLY_DEFERRED", u"DESCRIPTION"};
    std::vector<Row> rows;
    auto add = [&](const std::u16string& table, const std::u16string& name, const char16_t* type) {
        rows.push_back({null, null, name, null, null, table, type, false, false, null});
    };
    for (const catalog::Table& table : catalog.tables) {
        if (!tableWanted(restrictions, 5, table.name))
            continue;
        for (const catalog::Index& index : table.indexes) {
            if (index.primary)
                add(table.name, index.name, u"PRIMARY KEY");
            else if (index.unique && !index.foreign)
                add(table.name, index.name, u"UNIQUE");
        }
        for (const catalog::Relation& relation : catalog.relations)
            if (text::equalsNoCase(relation.foreignTable, table.name))
                add(table.name, relation.name, u"FOREIGN KEY");
        for (const catalog::Check& check : table.checks)
            add(table.name, check.name, u"CHECK");
        for (const catalog::Column& column : table.columns)
            if (!column.validationRule.empty())
                add(table.name, validationRuleName(column), u"CHECK");
    }
    return {std::move(names), std::move(rows)};
}

// Keeps the rows whose column i equals restriction i (text, ignoring case) for every
// restriction that is not empty.
std::vector<Row> filter(std::vector<Row> rows, const std::vector<Variant>& restrictions) {
    std::vector<Row> kept;
    for (Row& row : rows) {
        bool match = true;
        for (std::size_t i = 0; i < restrictions.size() && i < row.size() && match; ++i) {
            if (restrictions[i].isEmpty() || restrictions[i].isNull())
                continue;
            auto wanted = restrictions[i].toText();
            auto actual = row[i].toText();
            match = wanted && actual && text::equalsNoCase(*wanted, *actual);
        }
        if (match)
            kept.push_back(std::move(row));
    }
    return kept;
}

} // namespace

std::shared_ptr<ado::Recordset> schemaRowset(const catalog::Catalog& catalog, int schema,
                                             const std::vector<Variant>& restrictions) {
    Rowset all;
    switch (schema) {
    case ado::schemaColumns:
        all = columnsRowset(catalog, restrictions);
        break;
    case ado::schemaCheckConstraints:
        all = checkConstraintsRowset(catalog);
        break;
    case ado::schemaTableConstraints:
        all = tableConstraintsRowset(catalog, restrictions);
        break;
    default:
        throw EngineError(0x800A0CB3, u"Object or provider is not capable of performing "
                                      u"requested operation.");
    }
    return std::make_shared<RowsetRecordset>(std::move(all.columns),
                                             filter(std::move(all.rows), restrictions));
}

} // namespace engine
