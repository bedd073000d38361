// The double dispatch of every command class: each hands itself to the executor operation
// of its own class.

#include "runner/sqlexecutor/SQLCommand.h"

#include "runner/sqlexecutor/AccessObjectCommands.h"
#include "runner/sqlexecutor/ColumnCommands.h"
#include "runner/sqlexecutor/ForeignKeyCommand.h"
#include "runner/sqlexecutor/IExecutor.h"
#include "runner/sqlexecutor/LinkCommands.h"
#include "runner/sqlexecutor/QueryCommands.h"

namespace SQLExecutor {

void SQLCommand::execute(IExecutor& executor) const {
    executor.execute(*this);
}
void SQLCommandAlterValidationRule::execute(IExecutor& executor) const {
    executor.execute(*this);
}
void SQLCommandAlterZeroLength::execute(IExecutor& executor) const {
    executor.execute(*this);
}
void SQLCommandAlterCalculatedFieldExpression::execute(IExecutor& executor) const {
    executor.execute(*this);
}
void SQLCommandAddAttachment::execute(IExecutor& executor) const {
    executor.execute(*this);
}
void SQLCommandAlterFormat::execute(IExecutor& executor) const {
    executor.execute(*this);
}
void SQLCommandAlterDecimalPlaces::execute(IExecutor& executor) const {
    executor.execute(*this);
}
void SQLCommandAlterDefaultValue::execute(IExecutor& executor) const {
    executor.execute(*this);
}
void SQLCommandAlterTableDataMacro::execute(IExecutor& executor) const {
    executor.execute(*this);
}
void SQLCommandAlterAccessObject::execute(IExecutor& executor) const {
    executor.execute(*this);
}
void SQLCommandDropAccessObject::execute(IExecutor& executor) const {
    executor.execute(*this);
}
void SQLCommandCreateView::execute(IExecutor& executor) const {
    executor.execute(*this);
}
void SQLCommandCreateProcedure::execute(IExecutor& executor) const {
    executor.execute(*this);
}
void SQLCommandLinkODBC::execute(IExecutor& executor) const {
    executor.execute(*this);
}
void SQLCommandLinkAccess::execute(IExecutor& executor) const {
    executor.execute(*this);
}
void SQLCommandAddConstraintNoIndex::execute(IExecutor& executor) const {
    executor.execute(*this);
}

} // namespace SQLExecutor
