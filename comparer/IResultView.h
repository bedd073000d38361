#pragma once

// What the comparer presenter knows of a view: the main window, or in script mode a view
// that reports in message boxes or on the console. The view raises the user's commands
// through the delegates, each empty until the presenter binds it; the presenter answers
// through the operations.

#include "compare/ElementDifference.h"
#include "comparer/Delegate.h"
#include "comparer/ElementData.h"
#include "comparer/ITipView.h"
#include "foundation/database/DatabaseDescription.h"
#include "foundation/settings/ComparerOptions.h"
#include "foundation/settings/Progress.h"

#include <memory>
#include <string>
#include <vector>

class DataTypeName;

class IResultView {
public:
    virtual ~IResultView() = default;

    rion::delegate<void()> onShowOptions;
    rion::delegate<void()> onCompare;
    rion::delegate<void()> onOpen;
    rion::delegate<void()> onSwap;
    rion::delegate<void()> onToggleHiddenTables;
    rion::delegate<void()> onToggleFieldsOrder;
    rion::delegate<void()> onToggleForms;
    rion::delegate<void()> onToggleModules;
    rion::delegate<void()> onToggleMacros;
    rion::delegate<void()> onToggleReports;
    rion::delegate<void()> onToggleTableDataMacros;
    rion::delegate<void()> onExternalDiffOptions;
    rion::delegate<void()> onScript;
    rion::delegate<void()> onRunScriptRunner;
    rion::delegate<bool()> isCompareAtStart;
    rion::delegate<void(const ElementData*)> onShowDifference;
    rion::delegate<void()> onShowTips;
    rion::delegate<void()> onStartupTips;

    // The display names of the two databases.
    virtual void setFirstName(const std::u16string& name) = 0;
    virtual void setSecondName(const std::u16string& name) = 0;

    // The progress for the next reading; a view with a bar resets it first.
    virtual settings::IProgress& progress() = 0;

    // A message that ends a run without error.
    virtual void showInformation(const std::u16string& text, const std::u16string& caption) = 0;
    virtual void showError(const std::u16string& text, const std::u16string& caption) = 0;
    // The warnings of a reading that still succeeded.
    virtual void showWarning(const std::u16string& text, const std::u16string& caption) = 0;

    // The result of a comparison. The items and the dialect stay valid until the next
    // comparison starts.
    virtual void showResults(const std::vector<ElementDifference>& results,
                             const DataTypeName& dataTypeNames, bool compareFieldsOrder) = 0;

    // Lets the user change both descriptions in place.
    virtual void editDatabases(database::DatabaseDescription& first,
                               database::DatabaseDescription& second) = 0;

    // The marks of the seven comparison switches.
    virtual void checkHiddenTables(bool checked) = 0;
    virtual void checkFieldsOrder(bool checked) = 0;
    virtual void checkForms(bool checked) = 0;
    virtual void checkModules(bool checked) = 0;
    virtual void checkMacros(bool checked) = 0;
    virtual void checkReports(bool checked) = 0;
    virtual void checkTableDataMacros(bool checked) = 0;

    // The text report and the synchronisation script of the latest comparison.
    virtual void showScript(const std::u16string& reportText, const std::u16string& scriptText) = 0;

    // Lets the user change the external diff settings of the copy; true when confirmed.
    virtual bool editExternalDiffOptions(settings::comparer::Options& options) = 0;

    // A new tips window, or none from a view that shows no tips.
    virtual std::unique_ptr<ITipView> createTipView() = 0;
};
