#pragma once

// ADOX: the catalog of tables, columns, indexes, keys, views and procedures.

#include "foundation/engine/api/Ado.h"
#include "foundation/engine/api/Collection.h"
#include "foundation/engine/api/Properties.h"

#include <memory>
#include <string>

namespace engine::adox {

class Catalog;

// A column of a table; also an entry of an index's or a key's Columns.
class Column {
public:
    virtual ~Column() = default;
    virtual std::u16string name() const = 0;
    virtual int type() const = 0;
    virtual int definedSize() const = 0;
    virtual int numericScale() const = 0;
    virtual int precision() const = 0;
    virtual int attributes() const = 0; // columnFixed, columnNullable
    // For an entry of a foreign key's Columns: the referenced column; else empty.
    virtual std::u16string relatedColumn() const = 0;
    // For an entry of an index's or a key's Columns: sortAscending or sortDescending.
    virtual int sortOrder() const = 0;
    // "Default", "Autoincrement", "Jet OLEDB:Compressed UniCode Strings",
    // "Jet OLEDB:Column Validation Rule", "Jet OLEDB:Allow Zero Length", ...
    // Setting a value changes the column in the database.
    virtual std::shared_ptr<Properties> properties() const = 0;
};

class Columns : public Collection<Column> {};

class Index {
public:
    virtual ~Index() = default;
    virtual std::u16string name() const = 0;
    virtual bool primaryKey() const = 0;
    virtual bool unique() const = 0;
    virtual int indexNulls() const = 0; // indexNullsAllow, ...Disallow, ...Ignore, ...IgnoreAny
    virtual std::shared_ptr<Columns> columns() const = 0;
};

class Indexes : public Collection<Index> {};

class Key {
public:
    virtual ~Key() = default;
    virtual std::u16string name() const = 0;
    virtual int type() const = 0; // keyPrimary, keyForeign, keyUnique
    virtual std::u16string relatedTable() const = 0;
    virtual int updateRule() const = 0; // ruleNone, ruleCascade, ruleSetNull
    virtual int deleteRule() const = 0;
    virtual std::shared_ptr<Columns> columns() const = 0;
};

class Keys : public Collection<Key> {};

class Table {
public:
    virtual ~Table() = default;
    virtual std::u16string name() const = 0;
    virtual void setName(const std::u16string& name) = 0; // before Tables::append only
    // "TABLE", "LINK", "PASS-THROUGH", "SYSTEM TABLE", "ACCESS TABLE" or "VIEW".
    virtual std::u16string type() const = 0;
    // "Temporary Table", "Jet OLEDB:Table Hidden In Access", "Jet OLEDB:Create Link",
    // "Jet OLEDB:Link Datasource", "Jet OLEDB:Link Provider String",
    // "Jet OLEDB:Remote Table Name", "Jet OLEDB:Table Validation Rule", ...
    virtual std::shared_ptr<Properties> properties() const = 0;
    virtual std::shared_ptr<Columns> columns() const = 0;
    virtual std::shared_ptr<Indexes> indexes() const = 0;
    virtual std::shared_ptr<Keys> keys() const = 0;
    virtual std::shared_ptr<Catalog> parentCatalog() const = 0;
    virtual void setParentCatalog(std::shared_ptr<Catalog> catalog) = 0;
};

class Tables : public Collection<Table> {
public:
    // Adds a new table made by Components::createTable (a linked table when its property
    // "Jet OLEDB:Create Link" is set).
    virtual void append(std::shared_ptr<Table> table) = 0;
};

// A saved query: a view (select without parameters) or a procedure.
class View {
public:
    virtual ~View() = default;
    virtual std::u16string name() const = 0;
    // The query as a command: its CommandText and Parameters.
    virtual std::shared_ptr<ado::Command> command() const = 0;
};

using Procedure = View;

class Views : public Collection<View> {
public:
    // Stores the command's text as a new query of this name.
    virtual void append(const std::u16string& name, std::shared_ptr<ado::Command> command) = 0;
};

using Procedures = Views;

class Catalog {
public:
    virtual ~Catalog() = default;
    virtual std::shared_ptr<ado::Connection> activeConnection() const = 0;
    // Binds the catalog to an open connection; throws EngineError when it is not open.
    virtual void setActiveConnection(std::shared_ptr<ado::Connection> connection) = 0;
    virtual std::shared_ptr<Tables> tables() const = 0;
    virtual std::shared_ptr<Views> views() const = 0;
    virtual std::shared_ptr<Procedures> procedures() const = 0;
    // Creates a new, empty database file from a provider connection string and returns the
    // connection open on it; fails when the file exists.
    virtual std::shared_ptr<ado::Connection> create(const std::u16string& connectionString) = 0;
};

} // namespace engine::adox
