#include "foundation/engine/mdbfile/AccessSchemaStore.h"

#include "foundation/engine/mdbfile/NotSupported.h"
#include "foundation/text/WideString.h"

#include <algorithm>

namespace engine::mdbfile {

namespace {

bool same(std::u16string_view a, std::u16string_view b) {
    return text::equalsNoCase(a, b);
}

bool sameChecks(const catalog::Table& a, const catalog::Table& b) {
    return std::equal(
        a.checks.begin(), a.checks.end(), b.checks.begin(), b.checks.end(),
        [](const auto& x, const auto& y) { return same(x.name, y.name) && x.clause == y.clause; });
}

bool sameType(const catalog::Column& a, const catalog::Column& b) {
    return a.type == b.type && a.size == b.size && a.precision == b.precision &&
           a.scale == b.scale && a.fixedLength == b.fixedLength &&
           a.autoIncrement == b.autoIncrement;
}

void refuseRelationsAndChecks(const embedded::TableEdit& edit) {
    if (!edit.added.empty() || !edit.removed.empty())
        throw notSupported(u"A relationship (FOREIGN KEY constraint)");
    if (!sameChecks(edit.before, edit.after))
        throw notSupported(u"A CHECK constraint");
}

// Multi-valued fields keep their values in tables of their own, which the page store does not
// make yet, nor attachments in a Jet 4 file. Those a table already has stay as they are.
void refuseComplexColumns(const catalog::Table& after, const catalog::Table* before,
                          bool attachments) {
    for (const catalog::Column& column : after.columns) {
        bool refused =
            column.multiValueType != 0 || (column.type == engine::type::attachment && !attachments);
        if (refused && !(before && before->findColumn(column.name)))
            throw notSupported(u"An attachment or multi-valued field");
    }
}

} // namespace

std::optional<catalog::Table> AccessSchemaStore::loadTable(std::u16string_view name) {
    const catalog::Table* table = catalog_.findTable(name);
    return table ? std::optional(*table) : std::nullopt;
}

std::optional<catalog::Query> AccessSchemaStore::loadQuery(std::u16string_view name) {
    for (const catalog::Query& query : catalog_.queries)
        if (same(query.name, name))
            return query;
    return std::nullopt;
}

std::vector<catalog::Relation> AccessSchemaStore::relationsOf(std::u16string_view table) {
    std::vector<catalog::Relation> relations;
    for (const catalog::Relation& relation : catalog_.relations)
        if (same(relation.table, table) || same(relation.foreignTable, table))
            relations.push_back(relation);
    return relations;
}

std::optional<catalog::Relation> AccessSchemaStore::loadRelation(std::u16string_view name) {
    for (const catalog::Relation& relation : catalog_.relations)
        if (same(relation.name, name))
            return relation;
    return std::nullopt;
}

void AccessSchemaStore::createTable(const embedded::TableEdit& edit) {
    refuseRelationsAndChecks(edit);
    refuseComplexColumns(edit.after, nullptr, writer_.makesAttachments());
    writer_.createTable(edit.after);
    catalog_.tables.push_back(edit.after);
}

void AccessSchemaStore::appendTable(const catalog::Table& table) {
    if (table.kind != catalog::TableKind::Local)
        throw notSupported(u"A linked table");
    refuseComplexColumns(table, nullptr, writer_.makesAttachments());
    writer_.createTable(table);
    catalog_.tables.push_back(table);
}

void AccessSchemaStore::changeTable(const embedded::TableEdit& edit) {
    refuseRelationsAndChecks(edit);
    refuseComplexColumns(edit.after, &edit.before, writer_.makesAttachments());
    if (!edit.renamed.empty())
        throw notSupported(u"Renaming a column");
    for (const catalog::Column& column : edit.after.columns)
        if (const catalog::Column* old = edit.before.findColumn(column.name);
            old && !sameType(*old, column))
            throw notSupported(u"Changing the type of a column");
    writer_.changeTable(edit.before, edit.after);
    replaceTable(edit.after);
}

void AccessSchemaStore::dropTable(const catalog::Table& table) {
    writer_.dropTable(table.name);
    std::erase_if(catalog_.tables, [&](const auto& t) { return same(t.name, table.name); });
}

void AccessSchemaStore::insertQuery(const catalog::Query&) {
    throw notSupported(u"A saved query");
}

void AccessSchemaStore::deleteQuery(std::u16string_view) {
    throw notSupported(u"A saved query");
}

void AccessSchemaStore::replaceTable(const catalog::Table& table) {
    for (catalog::Table& existing : catalog_.tables)
        if (same(existing.name, table.name))
            existing = table;
}

} // namespace engine::mdbfile
