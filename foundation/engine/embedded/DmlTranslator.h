#pragma once

// Translates Access data statements (SELECT, INSERT, UPDATE, DELETE, with an optional
// PARAMETERS clause) into SQLite SQL over the data tables. Names resolve through the catalog:
// a user table is its data table, a saved select query becomes a subquery, and a name the
// catalog does not know passes through when the storage holds a table or view of that name
// (system tables). Brackets become SQLite identifiers, #dates# OLE date numbers, True and False
// -1 and 0, comparisons ignore letter case, and the Access operators and functions map to
// SQLite's or to the functions of AccessFunctions.h. Every value written into a column goes
// through kel_store(value, n), which converts it into the column's stored type (see
// StoredValues.h); n indexes DmlStatement::stores. Throws EngineError with the engine's wording
// on a statement that does not translate.

#include "foundation/engine/api/CatalogModel.h"

#include <string>
#include <string_view>
#include <vector>

namespace engine::embedded {

// A column that a statement writes: the value store's conversion target.
struct StoredColumn {
    std::u16string table;
    catalog::Column column;
    bool indexedNotNull = false; // a primary key or DISALLOW NULL index holds no nulls
};

struct DmlStatement {
    enum class Kind { Select, Insert, Update, Delete };
    Kind kind = Kind::Select;
    std::string sql;        // parameters are ?1, ?2, ... in the order of the "?" marks
    int parameterCount = 0; // "?" marks and PARAMETERS declarations
    std::u16string table;   // the changed table (catalog name) of INSERT, UPDATE and DELETE
    std::vector<StoredColumn> stores;
};

// What the translator asks the database about names it cannot resolve in the catalog.
class DmlStorage {
public:
    virtual ~DmlStorage() = default;
    // True when the storage holds a table or view of this name outside the catalog.
    virtual bool hasStorageObject(std::u16string_view name) = 0;
    // The number of result columns of a translated SELECT (INSERT ... SELECT needs it).
    virtual int resultColumns(const std::string& selectSql) = 0;
};

DmlStatement translateDml(std::u16string_view sql, const catalog::Catalog& catalog,
                          DmlStorage& storage);

// A condition over the columns of one table, such as a validation rule or a CHECK clause, as
// a SQLite condition over its data table. In a column rule, a comparison without its left
// side (">0", "Between 1 And 9", "Like 'A*' Or Is Null") compares `column`. Throws EngineError
// when the text does not translate.
std::string translateCondition(std::u16string_view condition, const catalog::Catalog& catalog,
                               std::u16string_view column = {});

// A column's default value (as written) as a SQLite expression.
std::string translateValue(std::u16string_view expression, const catalog::Catalog& catalog);

} // namespace engine::embedded
