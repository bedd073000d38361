#pragma once

// An executor that only records which of its operations a command reached.

#include "runner/sqlexecutor/IExecutor.h"

#include <string>
#include <vector>

class RecordingExecutor : public SQLExecutor::IExecutor {
public:
    std::vector<std::string> calls;

    void execute(const SQLExecutor::SQLCommandDropAccessObject&) override {
        calls.push_back("DropAccessObject");
    }
    void execute(const SQLExecutor::SQLCommandAlterAccessObject&) override {
        calls.push_back("AlterAccessObject");
    }
    void execute(const SQLExecutor::SQLCommandAlterTableDataMacro&) override {
        calls.push_back("AlterTableDataMacro");
    }
    void execute(const SQLExecutor::SQLCommandAlterDefaultValue&) override {
        calls.push_back("AlterDefaultValue");
    }
    void execute(const SQLExecutor::SQLCommandAlterDecimalPlaces&) override {
        calls.push_back("AlterDecimalPlaces");
    }
    void execute(const SQLExecutor::SQLCommandAlterFormat&) override {
        calls.push_back("AlterFormat");
    }
    void execute(const SQLExecutor::SQLCommandAddAttachment&) override {
        calls.push_back("AddAttachment");
    }
    void execute(const SQLExecutor::SQLCommandAlterCalculatedFieldExpression&) override {
        calls.push_back("AlterCalculatedFieldExpression");
    }
    void execute(const SQLExecutor::SQLCommandAlterZeroLength&) override {
        calls.push_back("AlterZeroLength");
    }
    void execute(const SQLExecutor::SQLCommandCreateProcedure&) override {
        calls.push_back("CreateProcedure");
    }
    void execute(const SQLExecutor::SQLCommandCreateView&) override {
        calls.push_back("CreateView");
    }
    void execute(const SQLExecutor::SQLCommandAddConstraintNoIndex&) override {
        calls.push_back("AddConstraintNoIndex");
    }
    void execute(const SQLExecutor::SQLCommandLinkAccess&) override {
        calls.push_back("LinkAccess");
    }
    void execute(const SQLExecutor::SQLCommandLinkODBC&) override { calls.push_back("LinkODBC"); }
    void execute(const SQLExecutor::SQLParametrizedCommand&) override {
        calls.push_back("Parametrized");
    }
    void execute(const SQLExecutor::SQLCommandAlterValidationRule&) override {
        calls.push_back("AlterValidationRule");
    }
    void execute(const SQLExecutor::SQLCommand&) override { calls.push_back("Plain"); }
};
