#include "reader/CatalogPhases.h"

#include "foundation/engine/api/Codes.h"
#include "reader/PropertyValues.h"
#include "schema/CheckConstraintManager.h"

#include <vector>

namespace reader {

namespace {

using engine::Variant;

bool propertyIsTrue(const engine::Properties& properties, std::u16string_view name) {
    std::optional<Variant> value = findProperty(properties, name);
    return value && truthOf(*value);
}

// A link property must be there: a missing one fails the read.
std::u16string linkProperty(const engine::Properties& properties, std::u16string_view name) {
    return textOf(properties.value(name));
}

std::unique_ptr<Field> readField(Table& table, const engine::adox::Column& column) {
    std::shared_ptr<engine::Properties> properties = column.properties();
    Field::Properties field;
    field.name = column.name();
    field.type = column.type();
    field.length = column.definedSize();
    field.numericScale = column.numericScale();
    field.precision = column.precision();
    field.nullable = (column.attributes() & engine::adox::columnNullable) != 0;

    std::optional<Variant> defaultValue = findProperty(*properties, u"Default");
    if (defaultValue && !hasNoValue(*defaultValue)) {
        std::u16string text = textOf(*defaultValue);
        field.defaultValue = Variant(text);
        field.defaultText = std::move(text);
    }
    if (field.type == engine::type::varWChar || field.type == engine::type::longVarWChar)
        field.compressed = propertyIsTrue(*properties, u"Jet OLEDB:Compressed UniCode Strings");
    std::optional<Variant> rule = findProperty(*properties, u"Jet OLEDB:Column Validation Rule");
    if (rule && rule->isString() && !rule->asString().empty())
        field.validationRule = rule->asString();
    field.autoincrement = propertyIsTrue(*properties, u"Autoincrement");
    field.allowZeroLength = propertyIsTrue(*properties, u"Jet OLEDB:Allow Zero Length");
    return std::make_unique<Field>(table, std::move(field));
}

std::unique_ptr<Index> readIndex(Table& table, const engine::adox::Index& source) {
    auto index = std::make_unique<Index>(table, source.name(), source.primaryKey(), source.unique(),
                                         source.indexNulls());
    std::shared_ptr<engine::adox::Columns> columns = source.columns();
    for (int i = 0; i < columns->count(); ++i) {
        std::shared_ptr<engine::adox::Column> column = columns->item(i);
        if (Field* field = table.findField(column->name()))
            index->addColumn(*field, column->sortOrder() == engine::adox::sortDescending);
    }
    return index;
}

std::unique_ptr<Table> readLocalTable(const engine::adox::Table& source) {
    auto table = std::make_unique<Table>(source.name());
    std::shared_ptr<engine::adox::Columns> columns = source.columns();
    for (int i = 0; i < columns->count(); ++i)
        table->addField(readField(*table, *columns->item(i)));
    std::shared_ptr<engine::adox::Indexes> indexes = source.indexes();
    for (int i = 0; i < indexes->count(); ++i)
        table->addIndex(readIndex(*table, *indexes->item(i)));
    return table;
}

// A column of a type the engine does not know is kept (its type reads "UNKNOWN"), but the
// script cannot create it, so the user is told.
void warnUnknownTypes(const Table& table, Warnings& warnings) {
    for (const auto& field : table.fields())
        if (field->type() == engine::type::unknown)
            warnings.record(u"Unknown data type of field " + field->name() + u" in table " +
                            table.name());
}

void readTable(const engine::adox::Table& source, bool includeHidden, Database& schema,
               Warnings& warnings) {
    std::shared_ptr<engine::Properties> properties = source.properties();
    bool temporary = propertyIsTrue(*properties, u"Temporary Table");
    bool hidden = propertyIsTrue(*properties, u"Jet OLEDB:Table Hidden In Access");
    if (temporary || (hidden && !includeHidden))
        return;

    std::u16string type = source.type();
    if (type == u"LINK") {
        std::u16string dataSource = linkProperty(*properties, u"Jet OLEDB:Link Datasource");
        std::u16string remote = linkProperty(*properties, u"Jet OLEDB:Remote Table Name");
        schema.addLinkedTable(
            std::make_unique<TableLinkedAccess>(source.name(), std::move(remote), dataSource));
    } else if (type == u"PASS-THROUGH") {
        std::u16string provider = linkProperty(*properties, u"Jet OLEDB:Link Provider String");
        std::u16string remote = linkProperty(*properties, u"Jet OLEDB:Remote Table Name");
        schema.addLinkedTable(std::make_unique<TableLinkedODBC>(source.name(), std::move(remote),
                                                                u"ODBC;" + provider));
    } else if (type == u"TABLE") {
        std::u16string name = source.name();
        std::unique_ptr<Table> table;
        try {
            table = readLocalTable(source);
        } catch (const engine::EngineError& error) {
            warnings.record(u"Can't read table " + name, error);
            return;
        }
        warnUnknownTypes(*table, warnings);
        schema.addTable(std::move(table));
    }
}

// Runs over the rows of a schema rowset and closes it when it is still open.
template <class RowFunction> void forEachRow(engine::ado::Recordset& rows, RowFunction&& onRow) {
    while (!rows.eof()) {
        onRow(*rows.fields());
        rows.moveNext();
    }
    if (rows.state() == engine::ado::stateOpen)
        rows.close();
}

std::u16string columnText(const engine::ado::Fields& fields, std::u16string_view name) {
    return textOf(fields.item(name)->value());
}

} // namespace

void readTables(const engine::adox::Tables& tables, bool includeHidden, Database& schema,
                settings::IProgress& progress, Warnings& warnings) {
    for (int i = 0; i < tables.count(); ++i) {
        readTable(*tables.item(i), includeHidden, schema, warnings);
        progress.step();
    }
}

void addUniqueKeys(Database& schema) {
    for (const auto& table : schema.tables()) {
        for (const auto& index : table->indexes()) {
            if (!index->isUnique() || index->isPrimaryKey())
                continue;
            auto key = std::make_unique<Key>(*table, index->name(), u"", Key::Unique, Key::RuleNone,
                                             Key::RuleNone, false, false);
            for (std::size_t i = 0; i < index->columns().size(); ++i)
                key->addColumn(index->columns()[i]->name(), u"", index->isDescending(i));
            table->addKey(std::move(key));
        }
    }
}

void readCheckConstraints(engine::ado::Connection& connection, Database& schema) {
    CheckConstraintManager clauses;
    forEachRow(*connection.openSchema(engine::ado::schemaCheckConstraints, {}),
               [&](const engine::ado::Fields& row) {
                   clauses.add(columnText(row, u"CONSTRAINT_NAME"),
                               columnText(row, u"CHECK_CLAUSE"));
               });

    // Restrictions by position: TABLE_NAME is 5, CONSTRAINT_TYPE 6.
    std::vector<Variant> restrictions(7);
    restrictions[6] = Variant(u"CHECK");
    for (const auto& table : schema.tables()) {
        restrictions[5] = Variant(table->name());
        forEachRow(*connection.openSchema(engine::ado::schemaTableConstraints, restrictions),
                   [&](const engine::ado::Fields& row) {
                       if (auto constraint = clauses.createConstraint(
                               table->name(), columnText(row, u"CONSTRAINT_NAME")))
                           table->addCheckConstraint(std::move(constraint));
                   });
    }
}

void readColumnOrder(engine::ado::Connection& connection, Database& schema) {
    // Restrictions by position: TABLE_NAME is 2.
    std::vector<Variant> restrictions(4);
    for (const auto& table : schema.tables()) {
        restrictions[2] = Variant(table->name());
        forEachRow(*connection.openSchema(engine::ado::schemaColumns, restrictions),
                   [&](const engine::ado::Fields& row) {
                       std::u16string name = columnText(row, u"COLUMN_NAME");
                       double position =
                           row.item(u"ORDINAL_POSITION")->value().toDouble().value_or(0);
                       if (Field* field = table->findField(name))
                           field->setPosition(position);
                   });
        table->sortFieldsByPosition();
    }
}

void readViews(const engine::adox::Catalog& catalog, Database& schema) {
    std::shared_ptr<engine::adox::Views> views = catalog.views();
    for (int i = 0; i < views->count(); ++i) {
        std::shared_ptr<engine::adox::View> view = views->item(i);
        schema.addView(std::make_unique<View>(view->name(), view->command()->commandText()));
    }
}

void readProcedures(const engine::adox::Catalog& catalog, Database& schema) {
    std::shared_ptr<engine::adox::Procedures> procedures = catalog.procedures();
    for (int i = 0; i < procedures->count(); ++i) {
        std::shared_ptr<engine::adox::Procedure> source = procedures->item(i);
        std::shared_ptr<engine::ado::Command> command = source->command();
        auto procedure = std::make_unique<Procedure>(source->name(), command->commandText());
        std::shared_ptr<engine::ado::Parameters> parameters = command->parameters();
        for (int p = 0; p < parameters->count(); ++p) {
            std::shared_ptr<engine::ado::Parameter> parameter = parameters->item(p);
            procedure->addParameter({parameter->name(), parameter->type(), parameter->size(),
                                     parameter->numericScale(), parameter->precision()});
        }
        schema.addProcedure(std::move(procedure));
    }
}

} // namespace reader
