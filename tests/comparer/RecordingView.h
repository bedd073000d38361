#pragma once

// A result view that records each request of the presenter as one line of text, in order,
// and answers the editing requests as a test tells it to.

#include "comparer/IResultView.h"
#include "foundation/database/DatabaseDescription.h"
#include "foundation/text/WideString.h"

#include <functional>
#include <string>
#include <vector>

class RecordingView : public IResultView {
public:
    void setFirstName(const std::u16string& name) override { record("setFirstName", name); }
    void setSecondName(const std::u16string& name) override { record("setSecondName", name); }
    settings::IProgress& progress() override { return progress_; }
    void showInformation(const std::u16string& text, const std::u16string& caption) override {
        record("showInformation", caption + u"|" + text);
    }
    void showError(const std::u16string& text, const std::u16string& caption) override {
        record("showError", caption + u"|" + text);
    }
    void showWarning(const std::u16string& text, const std::u16string& caption) override {
        record("showWarning", caption + u"|" + text);
    }
    void showResults(const std::vector<ElementDifference>& results, const DataTypeName&,
                     bool compareFieldsOrder) override {
        calls.push_back("showResults " + std::to_string(results.size()) +
                        " fieldsOrder=" + std::to_string(compareFieldsOrder));
    }
    void editDatabases(database::DatabaseDescription& first,
                       database::DatabaseDescription& second) override {
        calls.push_back("editDatabases");
        if (databaseEditor)
            databaseEditor(first, second);
    }
    void checkHiddenTables(bool on) override { check("checkHiddenTables", on); }
    void checkFieldsOrder(bool on) override { check("checkFieldsOrder", on); }
    void checkForms(bool on) override { check("checkForms", on); }
    void checkModules(bool on) override { check("checkModules", on); }
    void checkMacros(bool on) override { check("checkMacros", on); }
    void checkReports(bool on) override { check("checkReports", on); }
    void checkTableDataMacros(bool on) override { check("checkTableDataMacros", on); }
    void showScript(const std::u16string& report, const std::u16string& script) override {
        record("showScript", report + u"|" + script);
    }
    bool editExternalDiffOptions(settings::comparer::Options& options) override {
        calls.push_back("editExternalDiffOptions");
        return optionsEditor && optionsEditor(options);
    }
    std::unique_ptr<ITipView> createTipView() override {
        calls.push_back("createTipView");
        return tipViewMaker ? tipViewMaker() : nullptr;
    }

    std::vector<std::string> calls;
    std::function<void(database::DatabaseDescription&, database::DatabaseDescription&)>
        databaseEditor;
    std::function<bool(settings::comparer::Options&)> optionsEditor;
    std::function<std::unique_ptr<ITipView>()> tipViewMaker;

private:
    // Only a reset is recorded: the reader's steps are its own business.
    class Progress : public settings::IProgress {
    public:
        explicit Progress(std::vector<std::string>& calls) : calls_(calls) {}
        void reset() override { calls_.push_back("progress.reset"); }
        void start(int) override {}
        void step() override {}
        void finish() override {}

    private:
        std::vector<std::string>& calls_;
    };

    void record(const char* what, const std::u16string& text) {
        calls.push_back(std::string(what) + " " + text::toUtf8(text));
    }
    void check(const char* what, bool on) {
        calls.push_back(std::string(what) + " " + (on ? "1" : "0"));
    }

    Progress progress_{calls};
};
