#include "foundation/engine/DaoEngine.h"

#include "foundation/engine/Backends.h"
#include "foundation/engine/ConnectionString.h"
#include "foundation/engine/PropertyList.h"
#include "foundation/engine/ValueConversion.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/text/WideString.h"

#include <functional>
#include <optional>

namespace engine {

namespace {

using Snapshot = std::shared_ptr<const catalog::Catalog>;

EngineError notSupported() {
    return {status::unspecified, u"Operation is not supported for this type of object."};
}

// The open database that DAO objects write to; every write fails when it was opened read-only.
struct Target {
    std::shared_ptr<Session> session;
    bool readOnly = false;

    Session& writable() const {
        if (readOnly)
            throw errors::readOnly();
        return *session;
    }
};

// The catalog column of a DAO field type; nullopt for a type DAO cannot create.
std::optional<int> columnTypeOf(int daoType) {
    for (int type :
         {engine::type::boolean, engine::type::tinyInt, engine::type::smallInt,
          engine::type::integer, engine::type::currency, engine::type::single,
          engine::type::doubleType, engine::type::date, engine::type::varBinary,
          engine::type::varWChar, engine::type::longVarBinary, engine::type::longVarWChar,
          engine::type::guid, engine::type::decimal, engine::type::attachment})
        if (daoTypeOf(type) == daoType)
            return type;
    return std::nullopt;
}

// DAO's Size of a field: the text or binary length, else the size of the stored value.
int daoSize(const catalog::Column& column) {
    switch (column.type) {
    case engine::type::varWChar:
    case engine::type::wChar:
    case engine::type::varBinary:
        return column.size;
    case engine::type::longVarWChar:
    case engine::type::longVarBinary:
    case engine::type::attachment:
        return 0;
    case engine::type::boolean:
    case engine::type::tinyInt:
        return 1;
    case engine::type::smallInt:
        return 2;
    case engine::type::integer:
    case engine::type::single:
        return 4;
    case engine::type::guid:
        return 16;
    case engine::type::decimal:
        return 16;
    default:
        return 8;
    }
}

std::int32_t daoFieldAttributes(const catalog::Column& column) {
    bool variable = column.type == engine::type::varWChar || column.type == engine::type::varBinary;
    return (variable ? dao::fieldVariable : dao::fieldFixed) |
           (column.autoIncrement ? dao::fieldAutoIncrement : 0);
}

// ---- fields

// A field of a table definition (written through `write`), a new field (written to itself),
// an index or relation field, or a recordset value.
class Field : public dao::Field, public std::enable_shared_from_this<Field> {
public:
    using Write = std::function<void(const catalog::Column&)>;

    Field(catalog::Column column, Write write, bool detached)
        : column_(std::move(column)), write_(std::move(write)), detached_(detached) {}

    static std::shared_ptr<Field> readOnly(catalog::Column column) {
        return std::make_shared<Field>(std::move(column), Write(), false);
    }
    static std::shared_ptr<Field> detached(catalog::Column column) {
        return std::make_shared<Field>(std::move(column), Write(), true);
    }
    // A field of an index: its attributes say only the column's order.
    static std::shared_ptr<Field> ofIndexColumn(catalog::Column column, bool descending) {
        auto field = readOnly(std::move(column));
        field->indexAttributes_ = descending ? dao::fieldDescending : 0;
        return field;
    }
    static std::shared_ptr<Field> ofValue(std::u16string name, Variant value) {
        catalog::Column column;
        column.name = std::move(name);
        auto field = readOnly(std::move(column));
        field->value_ = std::move(value);
        return field;
    }

    std::u16string name() const override { return column_.name; }
    void setName(const std::u16string& name) override {
        change([&](catalog::Column& c) { c.name = name; });
    }
    int type() const override {
        return column_.multiValueType ? daoComplexTypeOf(column_.multiValueType)
                                      : daoTypeOf(column_.type);
    }
    int size() const override { return daoSize(column_); }
    std::int32_t attributes() const override {
        return indexAttributes_ ? *indexAttributes_ : daoFieldAttributes(column_);
    }
    bool required() const override { return !column_.nullable; }
    bool allowZeroLength() const override { return column_.allowZeroLength; }
    std::u16string foreignName() const override { return foreignName_; }
    void setForeignName(const std::u16string& name) override {
        if (!detached_)
            throw notSupported();
        foreignName_ = name;
    }
    Variant defaultValue() const override { return Variant(column_.defaultValue.value_or(u"")); }
    void setDefaultValue(const Variant& value) override {
        change([&](catalog::Column& c) { setDefault(c, value); });
    }
    Variant value() const override { return value_; }
    std::shared_ptr<Properties> properties() const override;
    std::shared_ptr<Property> createProperty(const std::u16string& name, int type,
                                             const Variant& value) override {
        return std::make_shared<ValueProperty>(name, type, value);
    }

    const catalog::Column& column() const { return column_; }

private:
    static void setDefault(catalog::Column& column, const Variant& value) {
        std::u16string text = textOf(value);
        column.defaultValue.reset();
        if (!text.empty())
            column.defaultValue = text;
    }

    void change(const std::function<void(catalog::Column&)>& edit) const {
        if (!write_ && !detached_)
            throw notSupported();
        catalog::Column changed = column_;
        edit(changed);
        if (write_)
            write_(changed);
        column_ = std::move(changed);
    }

    mutable catalog::Column column_;
    Write write_;
    bool detached_;
    std::optional<std::int32_t> indexAttributes_;
    std::u16string foreignName_;
    Variant value_;
};

bool isExpression(std::u16string_view name) {
    return text::equalsNoCase(name, u"Expression");
}

// The properties hold the field, so they stay usable after the caller let it go.
std::shared_ptr<Properties> Field::properties() const {
    using Get = FunctionProperty::Getter;
    using Set = FunctionProperty::Setter;
    auto self = shared_from_this();
    std::vector<std::shared_ptr<Property>> list;
    auto add = [&](const char16_t* name, int type, Get get, Set set = {}) {
        list.push_back(
            std::make_shared<FunctionProperty>(name, type, std::move(get), std::move(set)));
    };
    auto edit = [self](std::function<void(catalog::Column&, const Variant&)> apply) {
        return [self, apply](const Variant& v) {
            self->change([&](catalog::Column& c) { apply(c, v); });
        };
    };
    add(u"Value", 0, [self] { return self->value_; });
    add(
        u"Attributes", daotype::longInteger, [self] { return Variant(self->attributes()); },
        edit([](catalog::Column& c, const Variant& v) {
            c.autoIncrement = integerOf(v, 0) & dao::fieldAutoIncrement;
            c.fixedLength = c.type == engine::type::wChar;
        }));
    add(
        u"Type", daotype::integer, [self] { return Variant(std::int16_t(self->type())); },
        edit([](catalog::Column& c, const Variant& v) {
            auto columnType = columnTypeOf(int(integerOf(v, -1)));
            if (!columnType)
                throw EngineError(status::unspecified, u"Invalid field data type.");
            c.type = *columnType;
        }));
    add(
        u"Name", daotype::text, [self] { return Variant(self->column_.name); },
        edit([](catalog::Column& c, const Variant& v) { c.name = textOf(v); }));
    add(
        u"Size", daotype::longInteger, [self] { return Variant(std::int32_t(self->size())); },
        edit([](catalog::Column& c, const Variant& v) { c.size = int(integerOf(v, c.size)); }));
    add(u"ForeignName", daotype::text, [self] { return Variant(self->foreignName_); });
    add(
        u"DefaultValue", daotype::text, [self] { return self->defaultValue(); },
        edit([](catalog::Column& c, const Variant& v) { setDefault(c, v); }));
    add(
        u"ValidationRule", daotype::text, [self] { return Variant(self->column_.validationRule); },
        edit([](catalog::Column& c, const Variant& v) { c.validationRule = textOf(v); }));
    add(
        u"ValidationText", daotype::text, [self] { return Variant(self->column_.validationText); },
        edit([](catalog::Column& c, const Variant& v) { c.validationText = textOf(v); }));
    add(
        u"Required", daotype::boolean, [self] { return Variant(self->required()); },
        edit([](catalog::Column& c, const Variant& v) { c.nullable = !truth(v); }));
    add(
        u"AllowZeroLength", daotype::boolean, [self] { return Variant(self->allowZeroLength()); },
        edit([](catalog::Column& c, const Variant& v) { c.allowZeroLength = truth(v); }));
    add(
        u"Expression", daotype::memo,
        [self] {
            const catalog::Property* p = self->column_.findProperty(u"Expression");
            return p ? p->value : Variant(u"");
        },
        edit([](catalog::Column& c, const Variant& v) {
            std::erase_if(c.properties, [](const auto& p) { return isExpression(p.name); });
            if (!textOf(v).empty())
                c.properties.push_back({u"Expression", daotype::memo, Variant(textOf(v))});
        }));
    for (const catalog::Property& p : self->column_.properties) {
        if (isExpression(p.name))
            continue;
        std::u16string name = p.name;
        add(
            p.name.c_str(), p.type,
            [self, name] {
                const catalog::Property* current = self->column_.findProperty(name);
                return current ? current->value : Variant();
            },
            edit([name](catalog::Column& c, const Variant& v) {
                for (catalog::Property& property : c.properties)
                    if (text::equalsNoCase(property.name, name))
                        property.value = v;
            }));
    }
    auto append = [self](const Property& property) {
        self->change([&](catalog::Column& c) {
            c.properties.push_back({property.name(), property.type(), property.value()});
        });
    };
    auto remove = [self](std::u16string_view name) {
        if (!self->column_.findProperty(name) || isExpression(name))
            throw notSupported(); // a built-in property
        self->change([&](catalog::Column& c) {
            std::erase_if(c.properties,
                          [&](const auto& p) { return text::equalsNoCase(p.name, name); });
        });
    };
    return std::make_shared<PropertyList>(std::move(list), append, remove);
}

// A table definition's fields: append and remove change the table.
class TableFields : public ListCollection<dao::Field, dao::Fields> {
public:
    TableFields(std::vector<std::shared_ptr<dao::Field>> fields, Target target,
                std::u16string table)
        : ListCollection(std::move(fields)), target_(std::move(target)), table_(std::move(table)) {}

    void append(std::shared_ptr<dao::Field> field) override {
        auto* created = dynamic_cast<Field*>(field.get());
        if (!created)
            throw errors::invalidArgument();
        target_.writable().appendColumn(table_, created->column());
    }
    void remove(std::u16string_view name) override {
        target_.writable().dropColumn(table_, item(name)->name());
    }

private:
    Target target_;
    std::u16string table_;
};

// Fields that cannot change: an index's, a recordset's.
class FixedFields : public ListCollection<dao::Field, dao::Fields> {
public:
    using ListCollection::ListCollection;
    void append(std::shared_ptr<dao::Field>) override { throw notSupported(); }
    void remove(std::u16string_view) override { throw notSupported(); }
};

// ---- indexes and table definitions

class Index : public dao::Index {
public:
    Index(const catalog::Table& table, const catalog::Index& index) : index_(index) {
        std::vector<std::shared_ptr<dao::Field>> fields;
        for (const catalog::IndexColumn& entry : index.columns) {
            const catalog::Column* column = table.findColumn(entry.name);
            catalog::Column field = column ? *column : catalog::Column{};
            field.name = entry.name;
            fields.push_back(Field::ofIndexColumn(std::move(field), entry.descending));
        }
        fields_ = std::make_shared<FixedFields>(std::move(fields));
    }

    std::u16string name() const override { return index_.name; }
    bool primary() const override { return index_.primary; }
    bool unique() const override { return index_.unique; }
    bool required() const override { return index_.nulls == adox::indexNullsDisallow; }
    bool ignoreNulls() const override { return index_.nulls == adox::indexNullsIgnore; }
    bool foreign() const override { return index_.foreign; }
    std::shared_ptr<dao::Fields> fields() const override { return fields_; }

private:
    catalog::Index index_;
    std::shared_ptr<FixedFields> fields_;
};

class TableDef : public dao::TableDef {
public:
    TableDef(Snapshot snapshot, const catalog::Table& table, Target target)
        : snapshot_(std::move(snapshot)), table_(&table), target_(std::move(target)) {}

    std::u16string name() const override { return table_->name; }
    std::int32_t attributes() const override { return catalog::daoAttributes(*table_); }
    std::u16string connect() const override {
        switch (table_->kind) {
        case catalog::TableKind::AccessLink:
            return u";DATABASE=" + table_->linkDatasource;
        case catalog::TableKind::OdbcLink:
            return u"ODBC;" + table_->linkProviderString;
        default:
            return {};
        }
    }
    std::u16string sourceTableName() const override { return table_->remoteTableName; }
    std::shared_ptr<dao::Fields> fields() const override {
        if (fields_)
            return fields_;
        std::vector<std::shared_ptr<dao::Field>> fields;
        for (const catalog::Column& column : table_->columns)
            fields.push_back(std::make_shared<Field>(
                column,
                [target = target_, table = table_->name,
                 name = column.name](const catalog::Column& changed) {
                    target.writable().alterColumn(table, name, changed);
                },
                false));
        fields_ = std::make_shared<TableFields>(std::move(fields), target_, table_->name);
        return fields_;
    }
    std::shared_ptr<dao::Indexes> indexes() const override {
        if (indexes_)
            return indexes_;
        std::vector<std::shared_ptr<dao::Index>> indexes;
        for (const catalog::Index& index : table_->indexes)
            indexes.push_back(std::make_shared<Index>(*table_, index));
        indexes_ = std::make_shared<ListCollection<dao::Index, dao::Indexes>>(std::move(indexes));
        return indexes_;
    }
    std::shared_ptr<Properties> properties() const override {
        std::vector<std::shared_ptr<Property>> list;
        auto add = [&](const char16_t* name, int type, Variant value) {
            list.push_back(std::make_shared<FunctionProperty>(
                name, type, [value = std::move(value)] { return value; }));
        };
        add(u"Name", daotype::text, table_->name);
        add(u"Attributes", daotype::longInteger, attributes());
        add(u"Connect", daotype::text, connect());
        add(u"SourceTableName", daotype::text, sourceTableName());
        add(u"ValidationRule", daotype::text, table_->validationRule);
        add(u"ValidationText", daotype::text, table_->validationText);
        return std::make_shared<PropertyList>(std::move(list));
    }
    std::shared_ptr<dao::Field> createField(const Variant& name, const Variant& type,
                                            const Variant& size) override {
        catalog::Column column;
        column.name = textOf(name);
        if (!type.isEmpty()) {
            auto columnType = columnTypeOf(int(integerOf(type, -1)));
            if (!columnType)
                throw EngineError(status::unspecified, u"Invalid field data type.");
            column.type = *columnType;
        }
        column.size = int(integerOf(size, 0));
        if (column.size == 0 && column.type == engine::type::varWChar)
            column.size = 255;
        column.fixedLength = column.type == engine::type::wChar;
        return Field::detached(std::move(column));
    }

private:
    Snapshot snapshot_;
    const catalog::Table* table_;
    Target target_;
    // Made on first request: readers walk them item by item.
    mutable std::shared_ptr<TableFields> fields_;
    mutable std::shared_ptr<ListCollection<dao::Index, dao::Indexes>> indexes_;
};

// ---- relations

class Relation : public dao::Relation, public std::enable_shared_from_this<Relation> {
public:
    Relation(catalog::Relation relation, bool detached)
        : relation_(std::move(relation)), detached_(detached) {
        for (const catalog::RelationField& entry : relation_.fields)
            fields_.push_back(fieldOf(entry));
    }

    std::u16string name() const override { return relation_.name; }
    std::u16string table() const override { return relation_.table; }
    void setTable(const std::u16string& table) override { edit().table = table; }
    std::u16string foreignTable() const override { return relation_.foreignTable; }
    void setForeignTable(const std::u16string& table) override { edit().foreignTable = table; }
    std::int32_t attributes() const override { return relation_.attributes; }
    void setAttributes(std::int32_t attributes) override { edit().attributes = attributes; }
    std::shared_ptr<dao::Fields> fields() const override;
    std::shared_ptr<dao::Field> createField(const Variant& name, const Variant&,
                                            const Variant&) override {
        catalog::Column column;
        column.name = textOf(name);
        return Field::detached(std::move(column));
    }

    // The relation with the fields appended so far.
    catalog::Relation definition() const {
        catalog::Relation relation = relation_;
        relation.fields.clear();
        for (const auto& field : fields_)
            relation.fields.push_back({field->name(), field->foreignName()});
        return relation;
    }

private:
    static std::shared_ptr<dao::Field> fieldOf(const catalog::RelationField& entry) {
        catalog::Column column;
        column.name = entry.name;
        auto field = Field::detached(std::move(column));
        field->setForeignName(entry.foreignName);
        return field;
    }

    catalog::Relation& edit() {
        if (!detached_)
            throw notSupported();
        return relation_;
    }

    catalog::Relation relation_;
    bool detached_;
    mutable std::vector<std::shared_ptr<dao::Field>> fields_;
    friend class RelationFields;
};

// A relation's fields; a new relation takes more before it is appended.
class RelationFields : public ListCollection<dao::Field, dao::Fields> {
public:
    explicit RelationFields(std::shared_ptr<const Relation> relation)
        : ListCollection(relation->fields_), relation_(std::move(relation)) {}

    void append(std::shared_ptr<dao::Field> field) override {
        if (!relation_->detached_)
            throw notSupported();
        if (!dynamic_cast<Field*>(field.get()))
            throw errors::invalidArgument();
        relation_->fields_.push_back(field);
        items_.push_back(std::move(field));
    }
    void remove(std::u16string_view) override { throw notSupported(); }

private:
    std::shared_ptr<const Relation> relation_;
};

std::shared_ptr<dao::Fields> Relation::fields() const {
    return std::make_shared<RelationFields>(shared_from_this());
}

class Relations : public ListCollection<dao::Relation, dao::Relations> {
public:
    Relations(const catalog::Catalog& catalog, Target target) : target_(std::move(target)) {
        for (const catalog::Relation& relation : catalog.relations)
            items_.push_back(std::make_shared<Relation>(relation, false));
    }

    void append(std::shared_ptr<dao::Relation> relation) override {
        auto* created = dynamic_cast<Relation*>(relation.get());
        if (!created)
            throw errors::invalidArgument();
        target_.writable().appendRelation(created->definition());
    }
    void remove(std::u16string_view name) override {
        target_.writable().dropRelation(item(name)->name());
    }

private:
    Target target_;
};

// ---- recordsets, databases and the engine

class Recordset : public dao::Recordset {
public:
    explicit Recordset(std::shared_ptr<ado::Recordset> rows) : rows_(std::move(rows)) {}

    bool eof() const override { return rows_->eof(); }
    std::shared_ptr<dao::Fields> fields() const override {
        auto values = rows_->fields();
        std::vector<std::shared_ptr<dao::Field>> fields;
        for (int i = 0; i < values->count(); ++i) {
            auto value = values->item(i);
            fields.push_back(Field::ofValue(value->name(), value->value()));
        }
        return std::make_shared<FixedFields>(std::move(fields));
    }
    void moveNext() override { rows_->moveNext(); }
    void close() override { rows_->close(); }

private:
    std::shared_ptr<ado::Recordset> rows_;
};

class Database : public dao::Database {
public:
    Database(std::u16string name, Target target)
        : name_(std::move(name)), target_(std::move(target)) {}

    std::u16string name() const override { return name_; }
    // Both collections are kept while the schema is unchanged: readers walk them item by item.
    std::shared_ptr<dao::TableDefs> tableDefs() const override {
        Snapshot snapshot = current();
        if (tableDefs_ && snapshot == tableDefsSnapshot_)
            return tableDefs_;
        std::vector<std::shared_ptr<dao::TableDef>> tables;
        for (const catalog::Table& table : snapshot->tables)
            tables.push_back(std::make_shared<TableDef>(snapshot, table, target_));
        tableDefs_ =
            std::make_shared<ListCollection<dao::TableDef, dao::TableDefs>>(std::move(tables));
        tableDefsSnapshot_ = snapshot;
        return tableDefs_;
    }
    std::shared_ptr<dao::Relations> relations() const override {
        Snapshot snapshot = current();
        if (relations_ && snapshot == relationsSnapshot_)
            return relations_;
        relations_ = std::make_shared<Relations>(*snapshot, target_);
        relationsSnapshot_ = snapshot;
        return relations_;
    }
    std::shared_ptr<dao::Relation> createRelation(const std::u16string& name) override {
        catalog::Relation relation;
        relation.name = name;
        return std::make_shared<Relation>(std::move(relation), true);
    }
    std::shared_ptr<dao::Recordset> openRecordset(const std::u16string& query) override {
        auto rows = open().execute(query, {}, nullptr);
        if (!rows)
            throw EngineError(status::unspecified, u"Invalid operation.");
        return std::make_shared<Recordset>(std::move(rows));
    }
    void close() override {
        if (closed_)
            throw errors::objectClosed();
        closed_ = true;
        target_.session->close();
    }

private:
    Session& open() const {
        if (closed_)
            throw errors::objectClosed();
        return *target_.session;
    }
    Snapshot current() const { return open().catalog(); }

    std::u16string name_;
    Target target_;
    bool closed_ = false;
    mutable std::shared_ptr<dao::TableDefs> tableDefs_;
    mutable Snapshot tableDefsSnapshot_;
    mutable std::shared_ptr<dao::Relations> relations_;
    mutable Snapshot relationsSnapshot_;
};

class DBEngine : public dao::DBEngine {
public:
    std::u16string systemDB() const override { return systemDB_; }
    void setSystemDB(const std::u16string& path) override { systemDB_ = path; }
    void setDefaultUser(const std::u16string& user) override { user_ = user; }
    void setDefaultPassword(const std::u16string& password) override { password_ = password; }
    std::shared_ptr<dao::Database> openDatabase(const std::u16string& path, const Variant&,
                                                bool readOnly,
                                                const std::u16string& connect) override {
        OpenParameters parameters;
        parameters.path = path;
        parameters.databasePassword = connectPassword(connect);
        parameters.systemDatabase = systemDB_;
        parameters.userId = user_;
        parameters.userPassword = password_;
        return std::make_shared<Database>(path, Target{engine::openDatabase(parameters), readOnly});
    }

private:
    std::u16string systemDB_;
    std::u16string user_;
    std::u16string password_;
};

} // namespace

std::shared_ptr<dao::DBEngine> makeDBEngine() {
    return std::make_shared<DBEngine>();
}

} // namespace engine
