#pragma once

// Kelrun's editor window: a script editor above the output of the last run, menus, a
// toolbar and a status bar. A script is opened, edited, saved and run against the chosen
// database; large scripts are executed straight from their file; an empty database can be
// created. Runs go on the window's thread: the window repaints and shows its progress,
// but takes no input until the run has finished.

#include "foundation/database/DatabaseDescription.h"
#include "foundation/settings/RunnerOptions.h"
#include "runner/sqlexecutor/ScriptHelper.h"
#include "runner/ui/FramePrompts.h"

#include <QMainWindow>

#include <map>
#include <memory>
#include <string>

class CEditRion;
class QLabel;
class QSplitter;
class QToolBar;

namespace Libs::Stream {
class ITextStreamReader;
}

namespace runner::ui {

// The menu commands' ids.
namespace command {
constexpr int OpenDatabase = 57601;
constexpr int OpenScript = 32776;
constexpr int SaveScript = 57603;
constexpr int SaveScriptAs = 57604;
constexpr int CreateDatabase = 32779;
constexpr int ExecuteScript = 32782;
constexpr int Run = 32773;
constexpr int Exit = 57665;
constexpr int Undo = 57643;
constexpr int Cut = 57635;
constexpr int Copy = 57634;
constexpr int Paste = 57637;
constexpr int ViewToolbar = 59392;
constexpr int ViewStatusBar = 59393;
constexpr int StopOnError = 32780;
constexpr int About = 57664;
} // namespace command

class CMainFrame : public QMainWindow {
public:
    // Without prompts the window asks its user with the real dialogs.
    explicit CMainFrame(std::unique_ptr<FramePrompts> prompts = nullptr, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The commands, as the menus and the toolbar give them.
    void openDatabase();
    void openScript();
    void saveScript();
    void saveScriptAs();
    void createDatabase();
    void executeScript();
    void run();
    void toggleStopOnError();

    QAction* action(int commandId) const;
    CEditRion* editor() const { return editor_; }
    CEditRion* output() const { return output_; }
    QToolBar* toolBar() const { return toolBar_; }
    // The database path shown in the status bar.
    QString databaseStatus() const;
    const database::DatabaseDescription& description() const { return description_; }
    // Moves the editor to the statement of a line of the report, when the editor holds the
    // script that ran. False when the line names no command of it.
    bool goToReportedStatement(const QString& reportLine);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    QAction* addAction(int id, const QString& text, const QKeySequence& shortcut,
                       void (CMainFrame::*slot)());

    void save();
    // The editor's text with "\n" line breaks.
    std::u16string editorText() const;
    void showDatabase();
    void error(const QString& title, const std::u16string& text);
    // Runs the script from the reader with the stored Stop on Error setting, showing
    // progress; unitsToSize as RunProgress takes it.
    std::u16string runScript(Libs::Stream::ITextStreamReader& reader, int unitsToSize,
                             bool verbose);
    void showReport(const std::u16string& report);

    std::unique_ptr<FramePrompts> prompts_;
    database::DatabaseDescription description_;
    // The Execute script dialog's script file.
    std::u16string scriptPath_;
    SQLExecutor::ScriptHelper script_;
    // The line break of the file the script came from, used again when saving.
    std::u16string lineBreak_ = u"\r\n";
    settings::runner::OptionsManager options_;

    std::map<int, QAction*> actions_;
    QToolBar* toolBar_ = nullptr;
    QSplitter* splitter_ = nullptr;
    CEditRion* editor_ = nullptr;
    CEditRion* output_ = nullptr;
    QLabel* databaseLabel_ = nullptr;
    bool running_ = false;
    // The report's line numbers are those of the editor's text.
    bool editorHoldsRunScript_ = false;
};

} // namespace runner::ui
