#pragma once

// What the two script-mode views share: they show no names, results, marks or windows, edit
// nothing and report no progress. They differ only in where messages go.

#include "comparer/IResultView.h"

class CommandLineResultView : public IResultView {
public:
    void setFirstName(const std::u16string&) override {}
    void setSecondName(const std::u16string&) override {}
    settings::IProgress& progress() override { return progress_; }
    void showResults(const std::vector<ElementDifference>&, const DataTypeName&, bool) override {}
    void editDatabases(database::DatabaseDescription&, database::DatabaseDescription&) override {}
    void checkHiddenTables(bool) override {}
    void checkFieldsOrder(bool) override {}
    void checkForms(bool) override {}
    void checkModules(bool) override {}
    void checkMacros(bool) override {}
    void checkReports(bool) override {}
    void checkTableDataMacros(bool) override {}
    void showScript(const std::u16string&, const std::u16string&) override {}
    bool editExternalDiffOptions(settings::comparer::Options&) override { return false; }
    std::unique_ptr<ITipView> createTipView() override { return nullptr; }

private:
    settings::FakeProgress progress_;
};
