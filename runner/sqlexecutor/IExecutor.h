#pragma once

// The receiver of the commands' double dispatch: one operation per command class, so that
// the executor carries out each statement through the interface that can do it.

namespace SQLExecutor {

class SQLCommand;
class SQLCommandAddAttachment;
class SQLCommandAddConstraintNoIndex;
class SQLCommandAlterAccessObject;
class SQLCommandAlterCalculatedFieldExpression;
class SQLCommandAlterDecimalPlaces;
class SQLCommandAlterDefaultValue;
class SQLCommandAlterFormat;
class SQLCommandAlterTableDataMacro;
class SQLCommandAlterValidationRule;
class SQLCommandAlterZeroLength;
class SQLCommandDropAccessObject;
class SQLCommandCreateView;
class SQLCommandCreateProcedure;
class SQLCommandLinkODBC;
class SQLCommandLinkAccess;
class SQLParametrizedCommand;

class IExecutor {
public:
    virtual ~IExecutor() = default;
    virtual void execute(const SQLCommandDropAccessObject& command) = 0;
    virtual void execute(const SQLCommandAlterAccessObject& command) = 0;
    virtual void execute(const SQLCommandAlterTableDataMacro& command) = 0;
    virtual void execute(const SQLCommandAlterDefaultValue& command) = 0;
    virtual void execute(const SQLCommandAlterDecimalPlaces& command) = 0;
    virtual void execute(const SQLCommandAlterFormat& command) = 0;
    virtual void execute(const SQLCommandAddAttachment& command) = 0;
    virtual void execute(const SQLCommandAlterCalculatedFieldExpression& command) = 0;
    virtual void execute(const SQLCommandAlterZeroLength& command) = 0;
    virtual void execute(const SQLCommandCreateProcedure& command) = 0;
    virtual void execute(const SQLCommandCreateView& command) = 0;
    virtual void execute(const SQLCommandAddConstraintNoIndex& command) = 0;
    virtual void execute(const SQLCommandLinkAccess& command) = 0;
    virtual void execute(const SQLCommandLinkODBC& command) = 0;
    // Both INSERT and UPDATE with collected values arrive here.
    virtual void execute(const SQLParametrizedCommand& command) = 0;
    virtual void execute(const SQLCommandAlterValidationRule& command) = 0;
    // Plain SQL for the engine.
    virtual void execute(const SQLCommand& command) = 0;
};

} // namespace SQLExecutor
