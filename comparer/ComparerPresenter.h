#pragma once

// Drives the comparer: holds the two database descriptions, runs a comparison (read both
// databases, compare, show the result, write the script in script mode), keeps the latest
// comparison and answers the commands that its view raises. It knows the view only as an
// IResultView; the same presenter serves the main window and the script-mode views.

#include "comparer/ExternalDiffLauncher.h"
#include "comparer/IResultView.h"
#include "foundation/database/DatabaseDescription.h"
#include "foundation/settings/ComparerOptions.h"
#include "foundation/text/TextEncoder.h"
#include "report/diff/Segment.h"
#include "schema/AccessDataTypeName.h"

#include <functional>
#include <memory>
#include <string>

class Database;
class SchemaComparison;

class ComparerPresenter {
public:
    // Shows the line diff of an item in a window, with the window's title.
    using DiffWindow = std::function<void(const std::u16string& title, const diff::Segments&)>;

    // Binds the view's 18 delegates to this presenter; the view is not owned and must not
    // raise them after the presenter is gone. Script mode (writeScript) writes the script of
    // a comparison that found differences.
    ComparerPresenter(IResultView& view, bool writeScript);
    virtual ~ComparerPresenter();
    ComparerPresenter(const ComparerPresenter&) = delete;
    ComparerPresenter& operator=(const ComparerPresenter&) = delete;

    // Filled by the entry point before the first comparison.
    database::DatabaseDescription& firstDatabase() { return first_; }
    database::DatabaseDescription& secondDatabase() { return second_; }
    void setDatabasesGivenAtStart(bool given) { databasesGivenAtStart_ = given; }
    void setScriptPath(std::u16string path) { scriptPath_ = std::move(path); }
    // Script mode also writes the text report of a comparison there; empty for none. "-" as
    // the script or report path means standard output.
    void setReportPath(std::u16string path) { reportPath_ = std::move(path); }
    // UTF-8 unless set; both encodings write their byte-order mark.
    void setScriptEncoding(text::TextEncoding encoding) { scriptEncoding_ = encoding; }
    // Where show difference opens the line diff when no external tool is used; without one
    // nothing is shown.
    void setDiffWindow(DiffWindow window) { diffWindow_ = std::move(window); }

    // The latest comparison; none before the first and after a failed one.
    const SchemaComparison* comparison() const { return comparison_.get(); }
    // True when the last comparison's script or report could not be written whole.
    bool outputFailed() const { return outputFailed_; }

    // The operations bound to the view's delegates.
    void compare();
    void swapAndCompare();
    void editDatabases();
    void showOptions();
    void toggleCompareHiddenTables();
    void toggleCompareFieldsOrder();
    void toggleCompareForms();
    void toggleCompareModules();
    void toggleCompareMacros();
    void toggleCompareReports();
    void toggleCompareTableDataMacros();
    void editExternalDiffOptions();
    void showScript();
    void runScriptRunner();
    bool databasesGivenAtStart();
    void showDifference(const ElementData* row);
    void showTips();
    void startupTips();

private:
    void bindView();
    // Reads one database; none after a failure, which has been shown.
    std::unique_ptr<Database> readDatabase(const database::DatabaseDescription& description,
                                           const settings::comparer::Options& options,
                                           const char16_t* warningCaption);
    void writeScript();
    void writeReport();
    // One write of script mode; a failure is shown and remembered.
    void writeOutput(const std::u16string& path, const std::function<void()>& write);
    void toggle(bool settings::comparer::Options::*option,
                bool (settings::comparer::OptionsManager::*setter)(bool),
                void (IResultView::*check)(bool));

    settings::comparer::OptionsManager settings_;
    database::DatabaseDescription first_;
    database::DatabaseDescription second_;
    IResultView& view_;
    std::unique_ptr<ITipView> tipView_;
    bool databasesGivenAtStart_ = false;
    bool writeScript_;
    std::u16string scriptPath_;
    std::u16string reportPath_;
    bool outputFailed_ = false;
    text::TextEncoding scriptEncoding_ = text::TextEncoding::UTF8;
    DiffWindow diffWindow_;
    ExternalDiffLauncher externalDiff_;
    AccessDataTypeName dataTypeNames_;
    // Last, so that it goes first: its entries point into the schemas it owns.
    std::unique_ptr<SchemaComparison> comparison_;
};
