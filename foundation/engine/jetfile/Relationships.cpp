#include "foundation/engine/jetfile/Relationships.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/Names.h"
#include "foundation/engine/jetfile/Text.h"

#include <algorithm>

namespace engine::jetfile {

namespace {

std::u16string textOf(const StoredRow& row, const TableDefinition& table,
                      std::u16string_view name) {
    auto value = row.value(columnNamed(table, name));
    return value ? decodeText(*value) : std::u16string();
}

} // namespace

std::vector<RelationshipColumn> relationshipColumns(const PageSource& file) {
    std::vector<RelationshipColumn> columns;
    for (const CatalogTable& t : listTables(file)) {
        if (t.name != u"MSysRelationships")
            continue;
        TableDefinition table = TableDefinition::read(file, t.definitionPage);
        for (const StoredRow& row : readRows(file, table))
            columns.push_back({textOf(row, table, u"szRelationship"),
                               textOf(row, table, u"szObject"), textOf(row, table, u"szColumn"),
                               textOf(row, table, u"szReferencedObject"),
                               textOf(row, table, u"szReferencedColumn")});
    }
    return columns;
}

std::vector<std::u16string> relationshipsOf(const PageSource& file, std::u16string_view table,
                                            std::u16string_view column) {
    std::vector<std::u16string> names;
    for (const RelationshipColumn& r : relationshipColumns(file)) {
        bool referencing =
            sameName(r.table, table) && (column.empty() || sameName(r.column, column));
        bool referenced = sameName(r.referencedTable, table) &&
                          (column.empty() || sameName(r.referencedColumn, column));
        if ((referencing || referenced) &&
            std::find(names.begin(), names.end(), r.relationship) == names.end())
            names.push_back(r.relationship);
    }
    return names;
}

} // namespace engine::jetfile
