#include "comparer/ComparerPresenter.h"

#include "compare/SchemaComparison.h"
#include "comparer/DisplayName.h"
#include "comparer/ScriptModeOutput.h"
#include "comparer/ScriptRunnerLauncher.h"
#include "comparer/TipsPresenter.h"
#include "foundation/text/IOException.h"
#include "foundation/text/TextFileWriter.h"
#include "foundation/text/WideString.h"
#include "reader/SchemaReader.h"
#include "report/ReportBuilder.h"
#include "report/TextDiffAdapter.h"
#include "report/diff/Diff.h"
#include "script/ScriptText.h"

#include <filesystem>

using settings::comparer::Options;
using settings::comparer::OptionsManager;

namespace {

constexpr char16_t kCantOpen[] = u"can't open the file";

// True when the two paths name one existing file.
bool sameFile(const std::u16string& a, const std::u16string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(text::toUtf8(a), text::toUtf8(b), ec) && !ec;
}

} // namespace

ComparerPresenter::ComparerPresenter(IResultView& view, bool writeScript)
    : view_(view), writeScript_(writeScript) {
    bindView();
}

ComparerPresenter::~ComparerPresenter() = default;

void ComparerPresenter::bindView() {
    view_.onShowOptions.bind(*this, &ComparerPresenter::showOptions);
    view_.onCompare.bind(*this, &ComparerPresenter::compare);
    view_.onOpen.bind(*this, &ComparerPresenter::editDatabases);
    view_.onSwap.bind(*this, &ComparerPresenter::swapAndCompare);
    view_.onToggleHiddenTables.bind(*this, &ComparerPresenter::toggleCompareHiddenTables);
    view_.onToggleFieldsOrder.bind(*this, &ComparerPresenter::toggleCompareFieldsOrder);
    view_.onToggleForms.bind(*this, &ComparerPresenter::toggleCompareForms);
    view_.onToggleModules.bind(*this, &ComparerPresenter::toggleCompareModules);
    view_.onToggleMacros.bind(*this, &ComparerPresenter::toggleCompareMacros);
    view_.onToggleReports.bind(*this, &ComparerPresenter::toggleCompareReports);
    view_.onToggleTableDataMacros.bind(*this, &ComparerPresenter::toggleCompareTableDataMacros);
    view_.onExternalDiffOptions.bind(*this, &ComparerPresenter::editExternalDiffOptions);
    view_.onScript.bind(*this, &ComparerPresenter::showScript);
    view_.onRunScriptRunner.bind(*this, &ComparerPresenter::runScriptRunner);
    view_.isCompareAtStart.bind(*this, &ComparerPresenter::databasesGivenAtStart);
    view_.onShowDifference.bind(*this, &ComparerPresenter::showDifference);
    view_.onShowTips.bind(*this, &ComparerPresenter::showTips);
    view_.onStartupTips.bind(*this, &ComparerPresenter::startupTips);
}

void ComparerPresenter::compare() {
    if (first_.path.empty() || second_.path.empty())
        return;
    view_.setFirstName(shortenDisplayName(first_.displayName()));
    view_.setSecondName(shortenDisplayName(second_.displayName()));
    comparison_.reset();
    outputFailed_ = false;
    Options options = settings_.options();

    std::unique_ptr<Database> firstSchema = readDatabase(first_, options, u"First database");
    std::unique_ptr<Database> secondSchema;
    if (firstSchema)
        secondSchema = readDatabase(second_, options, u"Second database");
    if (firstSchema && secondSchema) {
        comparison_ = std::make_unique<SchemaComparison>(
            std::move(firstSchema), std::move(secondSchema),
            ComparisonOptions{.compareFieldsOrder = options.compareFieldsOrder}, dataTypeNames_);
        view_.showResults(comparison_->results(), dataTypeNames_, options.compareFieldsOrder);
        if (comparison_->identical())
            view_.showInformation(u"database schemas are identical", u"finished");
        else if (writeScript_)
            writeScript();
        if (writeScript_ && !reportPath_.empty())
            writeReport();
    }
    view_.progress().reset();
}

std::unique_ptr<Database>
ComparerPresenter::readDatabase(const database::DatabaseDescription& description,
                                const Options& options, const char16_t* warningCaption) {
    reader::SchemaReader reader(description, options);
    std::unique_ptr<Database> schema = reader.read(view_.progress());
    if (reader.failed() || !schema) {
        view_.showError(description.path + u"\n" + reader.errorText(), kCantOpen);
        return nullptr;
    }
    if (reader.hasWarnings())
        view_.showWarning(reader.warningsText(), warningCaption);
    return schema;
}

void ComparerPresenter::writeScript() {
    writeOutput(scriptPath_, [this] {
        std::u16string script = scriptText(*comparison_);
        if (scriptmode::isStandardOutput(scriptPath_)) {
            scriptmode::writeScriptToStandardOutput(script, scriptEncoding_);
            return;
        }
        text::TextFileWriter writer(
            scriptPath_, scriptEncoding_,
            {.messages = text::FileMessages::WithPath, .replaceAtClose = true});
        writer.open();
        writer.write(script);
        if (!writer.close())
            throw text::IOException(u"Can't write file:\n" + scriptPath_);
    });
}

void ComparerPresenter::writeReport() {
    writeOutput(reportPath_,
                [this] { scriptmode::writeReport(reportPath_, reportText(*comparison_)); });
}

void ComparerPresenter::writeOutput(const std::u16string& path,
                                    const std::function<void()>& write) {
    try {
        // Writing over a compared database would destroy it.
        if (sameFile(path, first_.path) || sameFile(path, second_.path))
            throw text::IOException(u"Can't create file:\n" + path +
                                    u"\nIt is one of the compared databases.");
        write();
    } catch (const text::IOException& e) {
        outputFailed_ = true;
        view_.showError(e.message(), u"Output error");
    }
}

void ComparerPresenter::swapAndCompare() {
    std::swap(first_, second_);
    compare();
}

void ComparerPresenter::editDatabases() {
    view_.editDatabases(first_, second_);
}

void ComparerPresenter::showOptions() {
    const Options& options = settings_.options();
    view_.checkHiddenTables(options.compareHiddenTables);
    view_.checkFieldsOrder(options.compareFieldsOrder);
    view_.checkForms(options.compareForms);
    view_.checkModules(options.compareModules);
    view_.checkMacros(options.compareMacros);
    view_.checkReports(options.compareReports);
    view_.checkTableDataMacros(options.compareTableDataMacros);
}

void ComparerPresenter::toggle(bool Options::*option, bool (OptionsManager::*setter)(bool),
                               void (IResultView::*check)(bool)) {
    bool value = !(settings_.options().*option);
    (settings_.*setter)(value);
    (view_.*check)(value);
}

void ComparerPresenter::toggleCompareHiddenTables() {
    toggle(&Options::compareHiddenTables, &OptionsManager::setCompareHiddenTables,
           &IResultView::checkHiddenTables);
}

void ComparerPresenter::toggleCompareFieldsOrder() {
    toggle(&Options::compareFieldsOrder, &OptionsManager::setCompareFieldsOrder,
           &IResultView::checkFieldsOrder);
}

void ComparerPresenter::toggleCompareForms() {
    toggle(&Options::compareForms, &OptionsManager::setCompareForms, &IResultView::checkForms);
}

void ComparerPresenter::toggleCompareModules() {
    toggle(&Options::compareModules, &OptionsManager::setCompareModules,
           &IResultView::checkModules);
}

void ComparerPresenter::toggleCompareMacros() {
    toggle(&Options::compareMacros, &OptionsManager::setCompareMacros, &IResultView::checkMacros);
}

void ComparerPresenter::toggleCompareReports() {
    toggle(&Options::compareReports, &OptionsManager::setCompareReports,
           &IResultView::checkReports);
}

void ComparerPresenter::toggleCompareTableDataMacros() {
    toggle(&Options::compareTableDataMacros, &OptionsManager::setCompareTableDataMacros,
           &IResultView::checkTableDataMacros);
}

void ComparerPresenter::editExternalDiffOptions() {
    Options copy = settings_.options();
    if (view_.editExternalDiffOptions(copy))
        settings_.setExternalDiff(copy.useExternalDiff, copy.externalDiffCommand);
}

void ComparerPresenter::showScript() {
    if (!comparison_)
        return;
    view_.showScript(reportText(*comparison_), scriptText(*comparison_));
}

void ComparerPresenter::runScriptRunner() {
    startScriptRunner();
}

bool ComparerPresenter::databasesGivenAtStart() {
    return databasesGivenAtStart_;
}

void ComparerPresenter::showDifference(const ElementData* row) {
    // Without a comparison a view's rows may still name elements of the one destroyed when
    // the last comparison started: they must not be touched.
    if (!row || !comparison_)
        return;
    const Options& options = settings_.options();
    std::u16string firstText = diffText(row->first);
    std::u16string secondText = diffText(row->second);
    if (firstText.empty() && secondText.empty())
        return;
    if (options.useExternalDiff) {
        externalDiff_.run(options.externalDiffCommand, firstText, secondText);
        return;
    }
    if (diffWindow_) {
        const std::u16string& title =
            row->first.name().empty() ? row->second.name() : row->first.name();
        diffWindow_(title, diff::computeDiff(firstText, secondText));
    }
}

void ComparerPresenter::showTips() {
    tipView_.reset();
    tipView_ = view_.createTipView();
    if (!tipView_)
        return;
    TipsPresenter tips(*tipView_, settings_);
    tips.run();
}

void ComparerPresenter::startupTips() {
    if (settings_.options().showTipsOnStartup)
        showTips();
}
