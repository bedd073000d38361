#include "foundation/engine/AdoxCatalog.h"

#include "foundation/engine/Backends.h"
#include "foundation/engine/Command.h"
#include "foundation/engine/ConnectionString.h"
#include "foundation/engine/PropertyList.h"
#include "foundation/engine/SessionConnection.h"
#include "foundation/engine/ValueConversion.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/text/WideString.h"

#include <functional>

namespace engine {

namespace {

using Snapshot = std::shared_ptr<const catalog::Catalog>;

std::u16string tableTypeText(const catalog::Table& table) {
    switch (table.kind) {
    case catalog::TableKind::Local:
        return u"TABLE";
    case catalog::TableKind::AccessLink:
        return u"LINK";
    case catalog::TableKind::OdbcLink:
        return u"PASS-THROUGH";
    case catalog::TableKind::System:
        return u"SYSTEM TABLE";
    case catalog::TableKind::AccessSystem:
        return u"ACCESS TABLE";
    }
    return u"TABLE";
}

// What the properties of a table read and write. A new table's properties change its state;
// those of an existing table write through `write` (nothing to write: read-only).
struct TableState {
    catalog::Table table;
    bool createLink = false;
    std::function<void(const catalog::Table&)> write;
    bool isNew = false;
};

std::shared_ptr<Properties> tableProperties(std::shared_ptr<TableState> state) {
    using Get = FunctionProperty::Getter;
    using Set = FunctionProperty::Setter;
    std::vector<std::shared_ptr<Property>> list;
    // Sets a member: on a new table at once, on an existing one through the database.
    auto change = [state](const std::function<void(catalog::Table&)>& edit) {
        if (state->isNew) {
            edit(state->table);
            return;
        }
        catalog::Table changed = state->table;
        edit(changed);
        state->write(changed);
        state->table = std::move(changed);
    };
    auto add = [&](const char16_t* name, int type, Get get, Set set, bool settable) {
        bool writable = state->isNew || (settable && state->write);
        list.push_back(std::make_shared<FunctionProperty>(name, type, std::move(get),
                                                          writable ? std::move(set) : Set()));
    };
    auto textMember = [&](const char16_t* name, std::u16string catalog::Table::*member,
                          bool settable) {
        add(
            name, daotype::text, [state, member] { return Variant(state->table.*member); },
            [change, member](const Variant& v) {
                change([&](catalog::Table& t) { t.*member = textOf(v); });
            },
            settable);
    };
    auto boolMember = [&](const char16_t* name, bool catalog::Table::*member, bool settable) {
        add(
            name, daotype::boolean, [state, member] { return Variant(state->table.*member); },
            [change, member](const Variant& v) {
                change([&](catalog::Table& t) { t.*member = truth(v); });
            },
            settable);
    };
    boolMember(u"Temporary Table", &catalog::Table::temporary, true);
    boolMember(u"Jet OLEDB:Table Hidden In Access", &catalog::Table::hidden, true);
    add(
        u"Jet OLEDB:Create Link", daotype::boolean,
        [state] {
            return Variant(state->isNew ? state->createLink
                                        : state->table.kind == catalog::TableKind::AccessLink ||
                                              state->table.kind == catalog::TableKind::OdbcLink);
        },
        [state](const Variant& v) { state->createLink = truth(v); }, false);
    boolMember(u"Jet OLEDB:Exclusive Link", &catalog::Table::exclusiveLink, false);
    boolMember(u"Jet OLEDB:Cache Link Name/Password", &catalog::Table::savedPassword, false);
    textMember(u"Jet OLEDB:Link Datasource", &catalog::Table::linkDatasource, false);
    textMember(u"Jet OLEDB:Link Provider String", &catalog::Table::linkProviderString, false);
    textMember(u"Jet OLEDB:Remote Table Name", &catalog::Table::remoteTableName, false);
    textMember(u"Jet OLEDB:Table Validation Rule", &catalog::Table::validationRule, true);
    textMember(u"Jet OLEDB:Table Validation Text", &catalog::Table::validationText, true);
    return std::make_shared<PropertyList>(std::move(list));
}

// ---- columns

class Column : public adox::Column, public std::enable_shared_from_this<Column> {
public:
    using Write = std::function<void(const catalog::Column&)>;

    // Without write the column's properties are read-only.
    Column(catalog::Column column, std::u16string relatedColumn = {}, Write write = {})
        : column_(std::move(column)), relatedColumn_(std::move(relatedColumn)),
          write_(std::move(write)) {}

    // An entry of an index's or a key's Columns.
    static std::shared_ptr<Column> entry(const catalog::Table& table,
                                         const catalog::IndexColumn& entry) {
        const catalog::Column* column = table.findColumn(entry.name);
        catalog::Column found = column ? *column : catalog::Column{};
        found.name = entry.name;
        auto result = std::make_shared<Column>(std::move(found));
        result->sortOrder_ = entry.descending ? adox::sortDescending : adox::sortAscending;
        return result;
    }

    std::u16string name() const override { return column_.name; }
    int type() const override {
        return column_.type == engine::type::attachment ? engine::type::longVarWChar : column_.type;
    }
    // A multi-valued column reads as a memo, and a memo has no size.
    int definedSize() const override { return column_.multiValueType ? 0 : column_.size; }
    int numericScale() const override { return column_.scale; }
    int precision() const override { return column_.precision; }
    int attributes() const override {
        return (column_.fixedLength ? adox::columnFixed : 0) |
               (column_.nullable ? adox::columnNullable : 0);
    }
    std::u16string relatedColumn() const override { return relatedColumn_; }
    int sortOrder() const override { return sortOrder_; }
    std::shared_ptr<Properties> properties() const override;

private:
    // Applies a change to a copy, writes it, and keeps it once written.
    void change(const std::function<void(catalog::Column&)>& edit) const {
        if (!write_)
            throw errors::readOnly();
        catalog::Column changed = column_;
        edit(changed);
        write_(changed);
        column_ = std::move(changed);
    }

    mutable catalog::Column column_;
    std::u16string relatedColumn_;
    Write write_;
    int sortOrder_ = adox::sortAscending;
};

// The properties hold the column, so they stay usable after the caller let it go.
std::shared_ptr<Properties> Column::properties() const {
    using Get = FunctionProperty::Getter;
    using Set = FunctionProperty::Setter;
    auto self = shared_from_this();
    std::vector<std::shared_ptr<Property>> list;
    auto add = [&](const char16_t* name, int type, Get get, Set set) {
        list.push_back(
            std::make_shared<FunctionProperty>(name, type, std::move(get), std::move(set)));
    };
    auto boolMember = [&](const char16_t* name, bool catalog::Column::*member) {
        add(
            name, daotype::boolean, [self, member] { return Variant(self->column_.*member); },
            [self, member](const Variant& v) {
                self->change([&](catalog::Column& c) { c.*member = truth(v); });
            });
    };
    auto textMember = [&](const char16_t* name, std::u16string catalog::Column::*member) {
        add(
            name, daotype::text, [self, member] { return Variant(self->column_.*member); },
            [self, member](const Variant& v) {
                self->change([&](catalog::Column& c) { c.*member = textOf(v); });
            });
    };
    boolMember(u"Autoincrement", &catalog::Column::autoIncrement);
    add(
        u"Default", daotype::text,
        [self] {
            return self->column_.defaultValue ? Variant(*self->column_.defaultValue) : Variant();
        },
        [self](const Variant& v) {
            self->change([&](catalog::Column& c) {
                c.defaultValue.reset();
                if (!v.isEmpty() && !v.isNull())
                    c.defaultValue = textOf(v);
            });
        });
    add(
        u"Description", daotype::text,
        [self] {
            const catalog::Property* p = self->column_.findProperty(u"Description");
            return p ? p->value : Variant();
        },
        [self](const Variant& v) {
            self->change([&](catalog::Column& c) {
                std::erase_if(c.properties, [](const catalog::Property& p) {
                    return text::equalsNoCase(p.name, u"Description");
                });
                if (!textOf(v).empty())
                    c.properties.push_back({u"Description", daotype::memo, Variant(textOf(v))});
            });
        });
    boolMember(u"Nullable", &catalog::Column::nullable);
    boolMember(u"Fixed Length", &catalog::Column::fixedLength);
    textMember(u"Jet OLEDB:Column Validation Text", &catalog::Column::validationText);
    textMember(u"Jet OLEDB:Column Validation Rule", &catalog::Column::validationRule);
    boolMember(u"Jet OLEDB:Compressed UniCode Strings", &catalog::Column::compressed);
    boolMember(u"Jet OLEDB:Allow Zero Length", &catalog::Column::allowZeroLength);
    return std::make_shared<PropertyList>(std::move(list));
}

using Columns = ListCollection<adox::Column, adox::Columns>;

// ---- indexes and keys

class Index : public adox::Index {
public:
    Index(const catalog::Table& table, const catalog::Index& index) : index_(index) {
        std::vector<std::shared_ptr<adox::Column>> columns;
        for (const catalog::IndexColumn& entry : index.columns)
            columns.push_back(Column::entry(table, entry));
        columns_ = std::make_shared<Columns>(std::move(columns));
    }

    static catalog::Column columnOf(const catalog::Table& table, const std::u16string& name) {
        const catalog::Column* column = table.findColumn(name);
        catalog::Column entry = column ? *column : catalog::Column{};
        entry.name = name;
        return entry;
    }

    std::u16string name() const override { return index_.name; }
    bool primaryKey() const override { return index_.primary; }
    bool unique() const override { return index_.unique; }
    int indexNulls() const override { return index_.nulls; }
    std::shared_ptr<adox::Columns> columns() const override { return columns_; }

private:
    catalog::Index index_;
    std::shared_ptr<Columns> columns_;
};

class Key : public adox::Key {
public:
    Key(std::u16string name, int type, std::u16string relatedTable, int updateRule, int deleteRule,
        std::vector<std::shared_ptr<adox::Column>> columns)
        : name_(std::move(name)), type_(type), relatedTable_(std::move(relatedTable)),
          updateRule_(updateRule), deleteRule_(deleteRule),
          columns_(std::make_shared<Columns>(std::move(columns))) {}

    std::u16string name() const override { return name_; }
    int type() const override { return type_; }
    std::u16string relatedTable() const override { return relatedTable_; }
    int updateRule() const override { return updateRule_; }
    int deleteRule() const override { return deleteRule_; }
    std::shared_ptr<adox::Columns> columns() const override { return columns_; }

private:
    std::u16string name_;
    int type_;
    std::u16string relatedTable_;
    int updateRule_;
    int deleteRule_;
    std::shared_ptr<Columns> columns_;
};

std::vector<std::shared_ptr<adox::Key>> keysOf(const catalog::Catalog& catalog,
                                               const catalog::Table& table) {
    std::vector<std::shared_ptr<adox::Key>> keys;
    for (const catalog::Index& index : table.indexes) {
        if (!index.primary && (!index.unique || index.foreign))
            continue;
        std::vector<std::shared_ptr<adox::Column>> columns;
        for (const catalog::IndexColumn& entry : index.columns)
            columns.push_back(Column::entry(table, entry));
        keys.push_back(std::make_shared<Key>(index.name,
                                             index.primary ? adox::keyPrimary : adox::keyUnique,
                                             u"", adox::ruleNone, adox::ruleNone, columns));
    }
    for (const catalog::Relation& relation : catalog.relations) {
        if (!text::equalsNoCase(relation.foreignTable, table.name))
            continue;
        std::vector<std::shared_ptr<adox::Column>> columns;
        for (const catalog::RelationField& field : relation.fields)
            columns.push_back(
                std::make_shared<Column>(Index::columnOf(table, field.foreignName), field.name));
        int a = relation.attributes;
        int update = a & dao::relationUpdateCascade   ? adox::ruleCascade
                     : a & dao::relationUpdateSetNull ? adox::ruleSetNull
                                                      : adox::ruleNone;
        int remove = a & dao::relationDeleteSetNull   ? adox::ruleSetNull
                     : a & dao::relationDeleteCascade ? adox::ruleCascade
                                                      : adox::ruleNone;
        keys.push_back(std::make_shared<Key>(relation.name, adox::keyForeign, relation.table,
                                             update, remove, columns));
    }
    return keys;
}

// ---- tables

class Table : public adox::Table {
public:
    Table(Snapshot snapshot, const catalog::Table& table, std::shared_ptr<Session> session)
        : snapshot_(std::move(snapshot)), table_(&table), session_(std::move(session)) {}

    std::u16string name() const override { return table_->name; }
    void setName(const std::u16string&) override { throw errors::readOnly(); }
    std::u16string type() const override { return tableTypeText(*table_); }
    std::shared_ptr<Properties> properties() const override {
        auto state = std::make_shared<TableState>();
        state->table = *table_;
        state->write = [session = session_, name = table_->name](const catalog::Table& changed) {
            session->alterTable(name, changed);
        };
        return tableProperties(std::move(state));
    }
    std::shared_ptr<adox::Columns> columns() const override {
        if (columns_)
            return columns_;
        std::vector<std::shared_ptr<adox::Column>> columns;
        for (const catalog::Column& column : table_->columns)
            columns.push_back(
                std::make_shared<Column>(column, u"",
                                         [session = session_, table = table_->name,
                                          name = column.name](const catalog::Column& changed) {
                                             session->alterColumn(table, name, changed);
                                         }));
        return std::make_shared<Columns>(std::move(columns));
    }
    std::shared_ptr<adox::Indexes> indexes() const override {
        std::vector<std::shared_ptr<adox::Index>> indexes;
        for (const catalog::Index& index : table_->indexes)
            indexes.push_back(std::make_shared<Index>(*table_, index));
        return std::make_shared<ListCollection<adox::Index, adox::Indexes>>(std::move(indexes));
    }
    std::shared_ptr<adox::Keys> keys() const override {
        return std::make_shared<ListCollection<adox::Key, adox::Keys>>(keysOf(*snapshot_, *table_));
    }
    std::shared_ptr<adox::Catalog> parentCatalog() const override { return nullptr; }
    void setParentCatalog(std::shared_ptr<adox::Catalog>) override { throw errors::readOnly(); }

private:
    Snapshot snapshot_;
    const catalog::Table* table_;
    std::shared_ptr<Session> session_;
    // Made on first request: readers walk them item by item.
    mutable std::shared_ptr<Columns> columns_;
    mutable std::shared_ptr<ListCollection<adox::Index, adox::Indexes>> indexes_;
};

// A saved query listed among the tables, as ADOX lists views.
class ViewTable : public adox::Table {
public:
    explicit ViewTable(std::u16string name) : name_(std::move(name)) {}

    std::u16string name() const override { return name_; }
    void setName(const std::u16string&) override { throw errors::readOnly(); }
    std::u16string type() const override { return u"VIEW"; }
    std::shared_ptr<Properties> properties() const override {
        return tableProperties(std::make_shared<TableState>());
    }
    std::shared_ptr<adox::Columns> columns() const override { return std::make_shared<Columns>(); }
    std::shared_ptr<adox::Indexes> indexes() const override {
        return std::make_shared<ListCollection<adox::Index, adox::Indexes>>();
    }
    std::shared_ptr<adox::Keys> keys() const override {
        return std::make_shared<ListCollection<adox::Key, adox::Keys>>();
    }
    std::shared_ptr<adox::Catalog> parentCatalog() const override { return nullptr; }
    void setParentCatalog(std::shared_ptr<adox::Catalog>) override { throw errors::readOnly(); }

private:
    std::u16string name_;
};

class NewTable : public adox::Table {
public:
    NewTable() { state_->isNew = true; }

    std::u16string name() const override { return state_->table.name; }
    void setName(const std::u16string& name) override { state_->table.name = name; }
    std::u16string type() const override { return u"TABLE"; }
    std::shared_ptr<Properties> properties() const override { return tableProperties(state_); }
    std::shared_ptr<adox::Columns> columns() const override { return std::make_shared<Columns>(); }
    std::shared_ptr<adox::Indexes> indexes() const override {
        return std::make_shared<ListCollection<adox::Index, adox::Indexes>>();
    }
    std::shared_ptr<adox::Keys> keys() const override {
        return std::make_shared<ListCollection<adox::Key, adox::Keys>>();
    }
    std::shared_ptr<adox::Catalog> parentCatalog() const override { return parent_; }
    void setParentCatalog(std::shared_ptr<adox::Catalog> catalog) override {
        parent_ = std::move(catalog);
    }

    // The table to create: a link to an Access database when a data source is given, else to
    // an ODBC source (its provider string is kept without the "ODBC;" that starts it).
    catalog::Table definition() const {
        catalog::Table table = state_->table;
        if (!state_->createLink)
            return table;
        table.kind = table.linkDatasource.empty() ? catalog::TableKind::OdbcLink
                                                  : catalog::TableKind::AccessLink;
        if (table.kind == catalog::TableKind::OdbcLink &&
            text::asciiLower(table.linkProviderString).starts_with(u"odbc;"))
            table.linkProviderString.erase(0, 5);
        return table;
    }

private:
    std::shared_ptr<TableState> state_ = std::make_shared<TableState>();
    std::shared_ptr<adox::Catalog> parent_;
};

class Tables : public ListCollection<adox::Table, adox::Tables> {
public:
    Tables(const Snapshot& snapshot, const std::shared_ptr<Session>& session) : session_(session) {
        for (const catalog::Table& table : snapshot->tables)
            items_.push_back(std::make_shared<Table>(snapshot, table, session));
        for (const catalog::Query& query : snapshot->queries)
            if (!query.procedure)
                items_.push_back(std::make_shared<ViewTable>(query.name));
    }

    void append(std::shared_ptr<adox::Table> table) override {
        auto* created = dynamic_cast<NewTable*>(table.get());
        if (!created)
            throw errors::invalidArgument();
        session_->appendTable(created->definition());
    }

private:
    std::shared_ptr<Session> session_;
};

// ---- views and procedures

class View : public adox::View {
public:
    View(const catalog::Query& query, std::shared_ptr<ado::Connection> connection)
        : name_(query.name), command_(std::make_shared<Command>()) {
        command_->setCommandText(query.text);
        command_->setActiveConnection(std::move(connection));
        for (const catalog::QueryParameter& p : query.parameters) {
            auto parameter =
                command_->createParameter(p.name, p.type, ado::parameterInput, p.size, Variant());
            parameter->setPrecision(p.precision);
            parameter->setNumericScale(p.scale);
            command_->parameters()->append(parameter);
        }
    }

    std::u16string name() const override { return name_; }
    std::shared_ptr<ado::Command> command() const override { return command_; }

private:
    std::u16string name_;
    std::shared_ptr<Command> command_;
};

class Views : public ListCollection<adox::View, adox::Views> {
public:
    Views(const Snapshot& snapshot, bool procedures,
          const std::shared_ptr<SessionConnection>& connection)
        : connection_(connection) {
        for (const catalog::Query& query : snapshot->queries)
            if (query.procedure == procedures)
                items_.push_back(std::make_shared<View>(query, connection));
    }

    void append(const std::u16string& name, std::shared_ptr<ado::Command> command) override {
        if (!command)
            throw errors::invalidArgument();
        connection_->session()->appendQuery(name, command->commandText());
    }

private:
    std::shared_ptr<SessionConnection> connection_;
};

// ---- catalog

class Catalog : public adox::Catalog {
public:
    std::shared_ptr<ado::Connection> activeConnection() const override { return connection_; }

    void setActiveConnection(std::shared_ptr<ado::Connection> connection) override {
        auto bound = std::dynamic_pointer_cast<SessionConnection>(connection);
        if (!bound)
            throw errors::invalidArgument();
        bound->session(); // a closed connection fails here
        connection_ = std::move(bound);
        tables_.reset();
    }

    std::shared_ptr<adox::Tables> tables() const override {
        Snapshot snapshot = current();
        if (!tables_ || snapshot != tablesSnapshot_) {
            tables_ = std::make_shared<Tables>(snapshot, connection_->session());
            tablesSnapshot_ = snapshot;
        }
        return tables_;
    }

    std::shared_ptr<adox::Views> views() const override {
        return std::make_shared<Views>(current(), false, connection_);
    }

    std::shared_ptr<adox::Procedures> procedures() const override {
        return std::make_shared<Views>(current(), true, connection_);
    }

    std::shared_ptr<ado::Connection> create(const std::u16string& connectionString) override {
        OpenParameters parameters = parseConnectionString(connectionString);
        auto connection = std::make_shared<SessionConnection>();
        connection->attach(createDatabase(parameters), connectionString);
        setActiveConnection(connection);
        return connection;
    }

private:
    Snapshot current() const {
        if (!connection_)
            throw errors::objectClosed();
        return connection_->session()->catalog();
    }

    std::shared_ptr<SessionConnection> connection_;
    mutable std::shared_ptr<Tables> tables_;
    mutable Snapshot tablesSnapshot_;
};

} // namespace

std::shared_ptr<adox::Catalog> makeCatalog() {
    return std::make_shared<Catalog>();
}

std::shared_ptr<adox::Table> makeNewTable() {
    return std::make_shared<NewTable>();
}

} // namespace engine
