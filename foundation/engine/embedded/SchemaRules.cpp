#include "foundation/engine/embedded/SchemaRules.h"

#include "foundation/text/WideString.h"

namespace engine::embedded {

void checkName(std::u16string_view name) {
    bool valid = !name.empty() && name.size() <= 64 && name.front() != u' ';
    for (char16_t c : name)
        if (c < 32 || c == u'.' || c == u'!' || c == u'`' || c == u'[' || c == u']')
            valid = false;
    // SQLite keeps names that start so for itself.
    if (text::asciiLower(name).starts_with(u"sqlite_"))
        valid = false;
    if (!valid)
        throw EngineError(status::unspecified,
                          u"'" + std::u16string(name) +
                              u"' is not a valid name. Make sure that it does not include "
                              u"invalid characters or punctuation and that it is not too long.");
}

catalog::Column columnOf(const ddl::ColumnDefinition& definition) {
    catalog::Column column;
    column.name = definition.name;
    column.type = definition.type.type;
    column.size = definition.type.size;
    column.precision = definition.type.precision;
    column.scale = definition.type.scale;
    column.fixedLength = definition.type.fixedLength;
    column.autoIncrement = definition.type.autoIncrement;
    column.nullable = !definition.notNull;
    bool text = column.type == type::varWChar || column.type == type::wChar ||
                column.type == type::longVarWChar;
    if (definition.compressed && !text)
        throw EngineError(status::syntaxError, u"Syntax error in field definition.");
    column.compressed = definition.compressed;
    if (definition.defaultClause == ddl::DefaultClause::Given)
        column.defaultValue = definition.defaultText;
    return column;
}

bool indexHoldsNoNulls(const catalog::Table& table, const catalog::Column& column) {
    for (const catalog::Index& index : table.indexes)
        if (index.primary || index.nulls == adox::indexNullsDisallow)
            for (const catalog::IndexColumn& entry : index.columns)
                if (text::equalsNoCase(entry.name, column.name))
                    return true;
    return false;
}

namespace schemaErrors {

namespace {
EngineError failure(std::u16string text) {
    return {status::unspecified, std::move(text)};
}
std::u16string quoted(std::u16string_view name) {
    return u"'" + std::u16string(name) + u"'";
}
} // namespace

EngineError fieldNotFound(std::u16string_view field, std::u16string_view table) {
    return {status::objectNotFound,
            u"Field " + quoted(field) + u" does not exist in table " + quoted(table) + u"."};
}

EngineError indexExists(std::u16string_view table, std::u16string_view index) {
    return failure(u"Table " + quoted(table) + u" already has an index named " + quoted(index) +
                   u".");
}

EngineError indexNotFound(std::u16string_view index) {
    return {status::objectNotFound, quoted(index) + u" isn't an index in this table."};
}

EngineError objectExists(std::u16string_view name) {
    return failure(u"Object " + quoted(name) + u" already exists.");
}

EngineError primaryKeyExists() {
    return failure(u"Primary key already exists.");
}

EngineError constraintNotFound() {
    return {status::objectNotFound, u"Cannot find table or constraint."};
}

EngineError linkedTable(std::u16string_view table) {
    return failure(u"Cannot modify the design of table " + quoted(table) +
                   u". It is in a linked database.");
}

EngineError usedInRelationship() {
    return failure(u"Cannot delete this index or table. It is either the current index or is "
                   u"used in a relationship.");
}

EngineError fieldInIndex() {
    return failure(u"Cannot delete a field that is part of an index or is needed by the system.");
}

EngineError fieldInRelationship() {
    return failure(u"Cannot delete this field. It is part of one or more relationships.");
}

EngineError changeInRelationship(std::u16string_view field) {
    return failure(u"Cannot change field " + quoted(field) +
                   u". It is part of one or more relationships.");
}

EngineError noUniqueIndex() {
    return failure(u"No unique index found for the referenced field of the primary table.");
}

EngineError relationshipMismatch() {
    return failure(u"Relationship must be on the same number of fields with the same data "
                   u"types.");
}

EngineError lastField(std::u16string_view table) {
    return failure(u"Cannot delete the last field of table " + quoted(table) + u".");
}

EngineError tooManyFields() {
    return failure(u"Too many fields defined.");
}

EngineError tooManyIndexes(std::u16string_view table) {
    return failure(u"There are too many indexes on table " + quoted(table) +
                   u". Delete some of the indexes on the table and try the operation again.");
}

EngineError invalidType() {
    return failure(u"Invalid field data type.");
}

} // namespace schemaErrors

} // namespace engine::embedded
