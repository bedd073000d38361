#pragma once

// DAO: the engine object, databases, table definitions, fields, indexes and relations.

#include "foundation/engine/api/Collection.h"
#include "foundation/engine/api/Properties.h"
#include "foundation/engine/api/Variant.h"

#include <cstdint>
#include <memory>
#include <string>

namespace engine::dao {

// A field of a table definition, an index, a relation or a recordset row.
class Field {
public:
    virtual ~Field() = default;
    virtual std::u16string name() const = 0;
    virtual void setName(const std::u16string& name) = 0; // before Fields::append only
    virtual int type() const = 0;                         // DAO type code (10 text, 101, ...)
    virtual int size() const = 0;
    virtual std::int32_t attributes() const = 0;
    virtual bool required() const = 0;
    virtual bool allowZeroLength() const = 0;
    // The referencing column of a relation's field; empty elsewhere.
    virtual std::u16string foreignName() const = 0;
    virtual void setForeignName(const std::u16string& name) = 0;
    virtual Variant defaultValue() const = 0;
    virtual void setDefaultValue(const Variant& value) = 0;
    // The value of a recordset field.
    virtual Variant value() const = 0;
    // Built-in properties first (Name, Type, Size, DefaultValue, AllowZeroLength, ...), then
    // those made by CreateProperty ("Format", "DecimalPlaces", "Caption", ...).
    virtual std::shared_ptr<Properties> properties() const = 0;
    virtual std::shared_ptr<Property> createProperty(const std::u16string& name, int type,
                                                     const Variant& value) = 0;
};

class Fields : public Collection<Field> {
public:
    virtual void append(std::shared_ptr<Field> field) = 0;
    virtual void remove(std::u16string_view name) = 0; // DAO Delete
};

class Index {
public:
    virtual ~Index() = default;
    virtual std::u16string name() const = 0;
    virtual bool primary() const = 0;
    virtual bool unique() const = 0;
    virtual bool required() const = 0;
    virtual bool ignoreNulls() const = 0;
    virtual bool foreign() const = 0; // backs a relation
    virtual std::shared_ptr<Fields> fields() const = 0;
};

class Indexes : public Collection<Index> {};

class TableDef {
public:
    virtual ~TableDef() = default;
    virtual std::u16string name() const = 0;
    virtual std::int32_t attributes() const = 0; // tableSystemObject, tableHiddenObject, ...
    virtual std::u16string connect() const = 0;
    virtual std::u16string sourceTableName() const = 0;
    virtual std::shared_ptr<Fields> fields() const = 0;
    virtual std::shared_ptr<Indexes> indexes() const = 0;
    virtual std::shared_ptr<Properties> properties() const = 0;
    // A new field, appended with fields()->append. Empty variants leave name, type and size
    // to be set later.
    virtual std::shared_ptr<Field> createField(const Variant& name, const Variant& type,
                                               const Variant& size) = 0;
};

class TableDefs : public Collection<TableDef> {};

class Relation {
public:
    virtual ~Relation() = default;
    virtual std::u16string name() const = 0;
    // The referenced (primary) table.
    virtual std::u16string table() const = 0;
    virtual void setTable(const std::u16string& table) = 0;
    // The referencing table.
    virtual std::u16string foreignTable() const = 0;
    virtual void setForeignTable(const std::u16string& table) = 0;
    virtual std::int32_t attributes() const = 0; // relationUnique, relationDontEnforce, ...
    virtual void setAttributes(std::int32_t attributes) = 0;
    // Each field's Name is the referenced column, its ForeignName the referencing column.
    virtual std::shared_ptr<Fields> fields() const = 0;
    virtual std::shared_ptr<Field> createField(const Variant& name, const Variant& type,
                                               const Variant& size) = 0;
};

class Relations : public Collection<Relation> {
public:
    virtual void append(std::shared_ptr<Relation> relation) = 0;
    virtual void remove(std::u16string_view name) = 0;
};

class Recordset {
public:
    virtual ~Recordset() = default;
    virtual bool eof() const = 0;
    virtual std::shared_ptr<Fields> fields() const = 0;
    virtual void moveNext() = 0;
    virtual void close() = 0;
};

class Database {
public:
    virtual ~Database() = default;
    virtual std::u16string name() const = 0;
    virtual std::shared_ptr<TableDefs> tableDefs() const = 0;
    virtual std::shared_ptr<Relations> relations() const = 0;
    // A new relation, appended with relations()->append.
    virtual std::shared_ptr<Relation> createRelation(const std::u16string& name) = 0;
    virtual std::shared_ptr<Recordset> openRecordset(const std::u16string& query) = 0;
    virtual void close() = 0;
};

class DBEngine {
public:
    virtual ~DBEngine() = default;
    virtual std::u16string systemDB() const = 0;
    virtual void setSystemDB(const std::u16string& path) = 0;
    virtual void setDefaultUser(const std::u16string& user) = 0;
    virtual void setDefaultPassword(const std::u16string& password) = 0;
    // connect is empty or "MS Access;PWD=<database password>".
    virtual std::shared_ptr<Database> openDatabase(const std::u16string& path,
                                                   const Variant& options, bool readOnly,
                                                   const std::u16string& connect) = 0;
    // One transaction over the databases this engine opened, those opened until it ends
    // included: commitTrans keeps every change made since beginTrans, rollback undoes them.
    virtual void beginTrans() = 0;
    virtual void commitTrans() = 0;
    virtual void rollback() = 0;
};

} // namespace engine::dao
