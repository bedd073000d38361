#include "foundation/engine/embedded/SqliteSchemaStore.h"

#include "foundation/text/WideString.h"

namespace engine::embedded {

std::optional<catalog::Table> SqliteSchemaStore::loadTable(std::u16string_view name) {
    return catalog_.loadTable(name);
}

std::optional<catalog::Query> SqliteSchemaStore::loadQuery(std::u16string_view name) {
    return catalog_.loadQuery(name);
}

std::vector<catalog::Relation> SqliteSchemaStore::relationsOf(std::u16string_view table) {
    return catalog_.relationsOf(table);
}

std::optional<catalog::Relation> SqliteSchemaStore::loadRelation(std::u16string_view name) {
    return catalog_.loadRelation(name);
}

void SqliteSchemaStore::createTable(const TableEdit& edit) {
    catalog_.saveTable(edit.after);
    for (const catalog::Relation& relation : edit.added)
        catalog_.insertRelation(relation);
    data_.create({edit.after, edit.relationsAfter});
}

void SqliteSchemaStore::appendTable(const catalog::Table& table) {
    if (table.kind == catalog::TableKind::Local)
        data_.create({table, {}});
    catalog_.saveTable(table);
}

void SqliteSchemaStore::changeTable(const TableEdit& edit) {
    // Each column of `after` takes the values of the column of `before` it was, if any.
    std::vector<std::optional<std::u16string>> sources;
    for (const catalog::Column& column : edit.after.columns) {
        std::u16string name = column.name;
        for (const auto& [newName, oldName] : edit.renamed)
            if (text::equalsNoCase(newName, name))
                name = oldName;
        const catalog::Column* old = edit.before.findColumn(name);
        sources.push_back(old ? std::optional(old->name) : std::nullopt);
    }
    catalog_.saveTable(edit.after);
    for (const std::u16string& name : edit.removed)
        catalog_.deleteRelation(name);
    for (const catalog::Relation& relation : edit.added)
        catalog_.insertRelation(relation);
    data_.change({edit.before, edit.relationsBefore}, {edit.after, edit.relationsAfter}, sources);
}

void SqliteSchemaStore::dropTable(const catalog::Table& table) {
    catalog_.deleteTable(table.name);
    if (table.kind == catalog::TableKind::Local)
        data_.drop(table.name);
}

void SqliteSchemaStore::insertQuery(const catalog::Query& query) {
    catalog_.insertQuery(query);
}

void SqliteSchemaStore::deleteQuery(std::u16string_view name) {
    catalog_.deleteQuery(name);
}

} // namespace engine::embedded
