#pragma once

// The plug-in point of a storage backend. A backend recognises its files by their first bytes
// and opens them as sessions; the engine builds the whole object model (ADO, ADOX, DAO, schema
// rowsets) over a session, so a backend describes its schema as a catalog::Catalog and carries
// out statements and catalog changes. The list of backends is in foundation/engine/Backends.cpp.

#include "foundation/engine/api/Ado.h"
#include "foundation/engine/api/CatalogModel.h"
#include "foundation/engine/api/Components.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace engine {

// One open database of a backend. Every member may throw EngineError; a change either happens
// whole or leaves the database as it was. The members that change the catalog throw
// errors::readOnly() unless a backend that can write overrides them.
class Session {
public:
    virtual ~Session() = default;

    // The schema as it stands now. The snapshot stays valid (and unchanged) after later
    // changes; call again to see them.
    virtual std::shared_ptr<const catalog::Catalog> catalog() = 0;

    // One SQL statement (Access DDL or DML) with positional parameters for its "?" marks.
    // Returns the rows of a query, else nothing.
    virtual std::shared_ptr<ado::Recordset> execute(const std::u16string& sql,
                                                    const std::vector<Variant>& parameters,
                                                    std::int64_t* recordsAffected) = 0;

    // Replaces the definition of a column (its properties, or its name and type) keeping the
    // table's rows.
    virtual void alterColumn(const std::u16string& table, const std::u16string& column,
                             const catalog::Column& definition);
    virtual void appendColumn(const std::u16string& table, const catalog::Column& definition);
    virtual void dropColumn(const std::u16string& table, const std::u16string& column);
    // A new table (a linked table when its kind says so).
    virtual void appendTable(const catalog::Table& table);
    // Takes the table-level settings of definition (hidden, temporary, validation rule and
    // text); the table's columns, indexes and checks stay as they are.
    virtual void alterTable(const std::u16string& table, const catalog::Table& definition);
    virtual void appendRelation(const catalog::Relation& relation);
    virtual void dropRelation(const std::u16string& name);
    // A saved query from its text; the text decides between view and procedure.
    virtual void appendQuery(const std::u16string& name, const std::u16string& text);

    // Several catalog changes as one: after begin, each change still happens whole or not at
    // all, and commit keeps them while rollback undoes every one. One level only; changes of
    // rows are refused until the end. A backend that cannot write has nothing to undo: its
    // transactions do nothing.
    virtual void beginTransaction() {}
    virtual void commitTransaction() {}
    virtual void rollbackTransaction() {}

    virtual void close() = 0;
};

class Backend {
public:
    virtual ~Backend() = default;
    // header: the file's first bytes (up to 4096; fewer for a shorter file).
    virtual bool recognizes(std::span<const std::uint8_t> header) const = 0;
    // Throws EngineError: errors::notValidPassword(), errors::fileInUse(path), ...
    virtual std::shared_ptr<Session> open(const OpenParameters& parameters) = 0;
};

} // namespace engine
