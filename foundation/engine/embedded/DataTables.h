#pragma once

// The SQLite tables that hold the rows of the user's tables. Each is generated from the
// table's catalog definition: one column per field (with the storage class of its type, NOT
// NULL where the field is required or an index disallows nulls, text compared ignoring case),
// a SQLite index per index, and a foreign key clause per enforced relation in which the table is
// the referencing one. A change that alters the table's columns or foreign keys rebuilds it
// inside the caller's transaction and keeps every row; any other change touches only indexes.
// Foreign key enforcement must be off on the connection while a change runs.

#include "foundation/engine/api/CatalogModel.h"
#include "foundation/engine/embedded/Sqlite.h"

#include <optional>
#include <vector>

namespace engine::embedded {

struct TableShape {
    const catalog::Table& table;
    // The relations in which the table is the referencing one.
    const std::vector<catalog::Relation>& relations;
};

class DataTables {
public:
    explicit DataTables(SqliteDatabase& db) : db_(db) {}

    void create(const TableShape& table);

    // Brings the data table from `before` to `after`. sources[i] names the column of `before`
    // whose values column i of `after` takes; nullopt for a new column, which gets its
    // default when it is a plain literal and the column is required, else null. Throws
    // EngineError when a kept value does not fit its new type, a required column would hold a
    // null, an index would hold duplicates or a foreign key would lose its related row.
    void change(const TableShape& before, const TableShape& after,
                const std::vector<std::optional<std::u16string>>& sources);

    void drop(std::u16string_view table);

    bool hasRows(std::u16string_view table);

private:
    void rebuild(const TableShape& before, const TableShape& after,
                 const std::vector<std::optional<std::u16string>>& sources);
    void checkNulls(const TableShape& before, const TableShape& after,
                    const std::vector<std::optional<std::u16string>>& sources);
    void checkConverted(const catalog::Table& before, const catalog::Table& after,
                        const std::vector<std::optional<std::u16string>>& sources,
                        const std::string& table);
    void checkForeignKeys(const catalog::Table& table);
    std::int64_t count(const std::string& sql);

    SqliteDatabase& db_;
};

} // namespace engine::embedded
