#pragma once

// The comparer's window: menu, toolbar, the names of both databases, the results list and
// a progress bar. It is the window-mode IResultView: the presenter fills it, and it raises
// the user's commands through the view's delegates.

#include "comparer/IResultView.h"

#include <QMainWindow>

#include <map>
#include <memory>

class CListViewTrackTip;
class CSplitterListViewCtrl;
class Progress;
class QLabel;
class QProgressBar;

class CMainDlg : public QMainWindow, public IResultView {
public:
    // The menu commands, by the ids the commands have always had.
    enum class Command : int {
        Open = 57601,
        Exit = 32783,
        Compare = 32786,
        Shuffle = 32787,
        Script = 32791,
        RunKelrun = 32805,
        CompareHiddenTables = 32792,
        CompareFieldsOrder = 32793,
        CompareForms = 32804,
        CompareMacros = 32803,
        CompareModules = 32802,
        CompareReports = 32800,
        CompareTableDataMacros = 32801,
        ExternalDiff = 32794,
        About = 32784,
        ShowTips = 32806,
        Help = 32788,
    };

    explicit CMainDlg(QWidget* parent = nullptr);
    ~CMainDlg() override;

    QAction* action(Command command) const;
    CSplitterListViewCtrl& list() const { return *list_; }
    CListViewTrackTip& trackTip() const { return *trackTip_; }
    QLabel& firstCaption() const { return *firstCaption_; }
    QLabel& secondCaption() const { return *secondCaption_; }
    QLabel& firstName() const { return *firstName_; }
    QLabel& secondName() const { return *secondName_; }
    QProgressBar& progressBar() const { return *bar_; }

    // Asks for a comparison once the window has handled what is already queued, so that it
    // paints first.
    void postStartCompare();

    void setFirstName(const std::u16string& name) override;
    void setSecondName(const std::u16string& name) override;
    settings::IProgress& progress() override;
    void showInformation(const std::u16string& text, const std::u16string& caption) override;
    void showError(const std::u16string& text, const std::u16string& caption) override;
    void showWarning(const std::u16string& text, const std::u16string& caption) override;
    void showResults(const std::vector<ElementDifference>& results,
                     const DataTypeName& dataTypeNames, bool compareFieldsOrder) override;
    void editDatabases(database::DatabaseDescription& first,
                       database::DatabaseDescription& second) override;
    void checkHiddenTables(bool checked) override;
    void checkFieldsOrder(bool checked) override;
    void checkForms(bool checked) override;
    void checkModules(bool checked) override;
    void checkMacros(bool checked) override;
    void checkReports(bool checked) override;
    void checkTableDataMacros(bool checked) override;
    void showScript(const std::u16string& reportText, const std::u16string& scriptText) override;
    bool editExternalDiffOptions(settings::comparer::Options& options) override;
    std::unique_ptr<ITipView> createTipView() override;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenu();
    void createToolBar();
    void createCentralArea();
    QAction* addCommand(QMenu& menu, Command command, const QString& text,
                        rion::delegate<void()> IResultView::*raised);
    void check(Command command, bool checked);
    void raise(const rion::delegate<void()>& delegate);
    void startCompare();
    void firstIdle();
    void showMessage(int icon, const std::u16string& text, const std::u16string& caption);
    void exit();

    std::map<Command, QAction*> actions_;
    QLabel* firstCaption_ = nullptr;
    QLabel* secondCaption_ = nullptr;
    QLabel* firstName_ = nullptr;
    QLabel* secondName_ = nullptr;
    CSplitterListViewCtrl* list_ = nullptr;
    CListViewTrackTip* trackTip_ = nullptr;
    QProgressBar* bar_ = nullptr;
    std::unique_ptr<Progress> progress_;
    bool creationPending_ = true;
    bool firstPaintPending_ = true;
    bool startupTipsPending_ = true;
    bool comparing_ = false;
};
