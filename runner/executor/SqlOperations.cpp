// Statements for the engine's SQL, and saved queries, through ADO commands.

#include "runner/executor/ScriptExecutor.h"

#include "foundation/engine/api/Adox.h"
#include "foundation/engine/api/Components.h"
#include "runner/sqlexecutor/ParametrizedCommands.h"
#include "runner/sqlexecutor/QueryCommands.h"

namespace SQLExecutor {

namespace {

// ADO parameter types of the values the parser collects.
constexpr int parameterWideString = 8;
constexpr int parameterDouble = 5;
constexpr int parameterBytes = 205;

// A saved query's SQL is kept with its final ";", as Access keeps it. The synchronisation
// script writes a query's text as the end of its CREATE VIEW or CREATE PROCEDURE statement,
// and a statement of the script ends only at a line that ends with ";": a text stored
// without one would run into the statements after it when the script is read back.
std::u16string terminated(const std::u16string& text) {
    std::size_t end = text.find_last_not_of(u" \t\r\n");
    if (end != std::u16string::npos && text[end] == u';')
        return text;
    return text + u";";
}

int parameterType(const engine::Variant& value) {
    if (value.isString())
        return parameterWideString;
    if (value.isByteArray())
        return parameterBytes;
    return parameterDouble;
}

} // namespace

void ScriptExecutor::execute(const SQLCommand& command) {
    useEngine();
    runSql(command.text(), {});
}

void ScriptExecutor::execute(const SQLParametrizedCommand& command) {
    useEngine();
    runSql(command.sql(), command.parameters());
}

void ScriptExecutor::runSql(const std::u16string& sql, const std::vector<Parameter>& parameters) {
    std::shared_ptr<engine::ado::Command> adoCommand = components_.createCommand();
    adoCommand->setActiveConnection(connection_.adoConnection());
    adoCommand->setCommandType(engine::ado::commandTypeText);
    adoCommand->setCommandText(sql);
    for (const Parameter& parameter : parameters) {
        adoCommand->parameters()->append(adoCommand->createParameter(
            u"t", parameterType(parameter.value), engine::ado::parameterInput, int(parameter.size),
            parameter.value));
    }
    std::int64_t recordsAffected = 0;
    std::shared_ptr<engine::ado::Recordset> rows = adoCommand->execute(
        &recordsAffected, engine::ado::commandTypeText | engine::ado::executeNoRecords);
    if (rows && (rows->state() & engine::ado::stateOpen))
        rows->close();
}

void ScriptExecutor::execute(const SQLCommandCreateView& command) {
    useEngine();
    appendQuery(false, command.name(), command.body());
}

void ScriptExecutor::execute(const SQLCommandCreateProcedure& command) {
    useEngine();
    std::u16string text = command.body();
    if (!command.parameters().empty())
        text = u"PARAMETERS " + command.parameters() + u";" + command.body();
    appendQuery(true, command.name(), text);
}

void ScriptExecutor::appendQuery(bool procedure, const std::u16string& name,
                                 const std::u16string& text) {
    std::shared_ptr<engine::ado::Command> query = components_.createCommand();
    query->setCommandText(terminated(text));
    query->setCommandType(engine::ado::commandTypeText);
    std::shared_ptr<engine::adox::Catalog> catalog = connection_.adoxCatalog();
    if (procedure)
        catalog->procedures()->append(name, query);
    else
        catalog->views()->append(name, query);
}

} // namespace SQLExecutor
