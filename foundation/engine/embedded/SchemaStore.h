#pragma once

// Where the schema editor reads the schema and sends the changes it has checked. The editor
// decides what a statement does to the catalog and which error it gives; a store commits the
// result its own way (the catalog and data tables of an embedded database, the pages of an
// Access file) and may refuse what it cannot hold.

#include "foundation/engine/api/CatalogModel.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace engine::embedded {

// One table on its way from `before` to `after`, with the relations that reference from it and
// those made or removed on the way. A new table has an empty `before`.
struct TableEdit {
    catalog::Table before;
    catalog::Table after;
    std::vector<catalog::Relation> relationsBefore; // the table references through these
    std::vector<catalog::Relation> relationsAfter;
    std::vector<catalog::Relation> added;
    std::vector<std::u16string> removed;
    std::vector<std::pair<std::u16string, std::u16string>> renamed; // new name, old name
};

class SchemaStore {
public:
    virtual ~SchemaStore() = default;

    // Names are matched ignoring case.
    virtual std::optional<catalog::Table> loadTable(std::u16string_view name) = 0;
    virtual std::optional<catalog::Query> loadQuery(std::u16string_view name) = 0;
    // The relations in which the table is the referenced or the referencing one.
    virtual std::vector<catalog::Relation> relationsOf(std::u16string_view table) = 0;
    virtual std::optional<catalog::Relation> loadRelation(std::u16string_view name) = 0;

    // A local table made by CREATE TABLE, with its keys and the relations it makes.
    virtual void createTable(const TableEdit& edit) = 0;
    // A table appended through the object model: a local table without indexes, or a link.
    virtual void appendTable(const catalog::Table& table) = 0;
    virtual void changeTable(const TableEdit& edit) = 0;
    virtual void dropTable(const catalog::Table& table) = 0;
    virtual void insertQuery(const catalog::Query& query) = 0;
    virtual void deleteQuery(std::u16string_view name) = 0;
};

} // namespace engine::embedded
