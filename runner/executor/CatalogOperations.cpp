// Column properties and linked tables, through the ADOX catalog.

#include "runner/executor/ScriptExecutor.h"

#include "foundation/engine/api/Adox.h"
#include "foundation/engine/api/Components.h"
#include "runner/sqlexecutor/ColumnCommands.h"
#include "runner/sqlexecutor/LinkCommands.h"

namespace SQLExecutor {

void ScriptExecutor::execute(const SQLCommandAlterValidationRule& command) {
    useEngine();
    // An empty rule drops the column's rule.
    setColumnProperty(command.table(), command.column(), u"Jet OLEDB:Column Validation Rule",
                      engine::Variant(command.rule()));
}

void ScriptExecutor::execute(const SQLCommandAlterZeroLength& command) {
    useEngine();
    setColumnProperty(command.table(), command.column(), u"Jet OLEDB:Allow Zero Length",
                      engine::Variant(std::int16_t(command.allow() ? -1 : 0)));
}

void ScriptExecutor::setColumnProperty(const std::u16string& table, const std::u16string& column,
                                       const std::u16string& property,
                                       const engine::Variant& value) {
    connection_.adoxCatalog()
        ->tables()
        ->item(table)
        ->columns()
        ->item(column)
        ->properties()
        ->item(property)
        ->setValue(value);
}

void ScriptExecutor::execute(const SQLCommandLinkODBC& command) {
    useEngine();
    appendLink(command, u"Jet OLEDB:Link Provider String");
}

void ScriptExecutor::execute(const SQLCommandLinkAccess& command) {
    useEngine();
    appendLink(command, u"Jet OLEDB:Link Datasource");
}

void ScriptExecutor::appendLink(const SQLCommandLinkODBC& command,
                                const std::u16string& sourceProperty) {
    std::shared_ptr<engine::adox::Catalog> catalog = connection_.adoxCatalog();
    std::shared_ptr<engine::adox::Table> link = components_.createTable();
    link->setParentCatalog(catalog);
    link->setName(command.localTable());
    std::shared_ptr<engine::Properties> properties = link->properties();
    properties->item(u"Jet OLEDB:Create Link")->setValue(engine::Variant(std::int32_t(1)));
    properties->item(sourceProperty)->setValue(engine::Variant(command.connection()));
    properties->item(u"Jet OLEDB:Remote Table Name")
        ->setValue(engine::Variant(command.remoteTable()));
    catalog->tables()->append(link);
}

} // namespace SQLExecutor
