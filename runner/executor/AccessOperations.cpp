// Forms, reports, macros, modules and table data macros, through the Access application.

#include "runner/executor/ScriptExecutor.h"

#include "foundation/engine/api/Codes.h"
#include "runner/sqlexecutor/AccessObjectCommands.h"

namespace SQLExecutor {

void ScriptExecutor::execute(const SQLCommandDropAccessObject& command) {
    useAccess();
    access_.deleteObject(command.kind(), command.name());
}

void ScriptExecutor::execute(const SQLCommandAlterAccessObject& command) {
    useAccess();
    access_.importText(command.kind(), command.name(), command.definition());
}

void ScriptExecutor::execute(const SQLCommandAlterTableDataMacro& command) {
    useAccess();
    access_.importText(engine::access::objectTableDataMacro, command.table(), command.definition());
}

} // namespace SQLExecutor
