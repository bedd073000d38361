// The window's construction: actions, menus, toolbar, status bar and the two panes.

#include "runner/ui/CMainFrame.h"

#include "foundation/platform/qt/CEditRion.h"
#include "foundation/platform/qt/QtText.h"
#include "runner/ui/Icons.h"
#include "runner/ui/ScriptHighlighter.h"
#include "runner/ui/ScriptNavigation.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolBar>

namespace runner::ui {

CMainFrame::CMainFrame(std::unique_ptr<FramePrompts> prompts, QWidget* parent)
    : QMainWindow(parent),
      prompts_(prompts ? std::move(prompts) : std::make_unique<FramePrompts>()) {
    setWindowTitle("Kelrun");
    setWindowIcon(icons::program());
    // The bars are shown and hidden through the View menu, which keeps its check marks.
    setContextMenuPolicy(Qt::NoContextMenu);

    editor_ = new CEditRion(this);
    editor_->setObjectName("scriptEditor");
    new ScriptHighlighter(editor_);
    output_ = new CEditRion(this);
    output_->setObjectName("output");
    output_->setReadOnly(true);
    output_->viewport()->installEventFilter(this);
    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->addWidget(editor_);
    splitter_->addWidget(output_);
    splitter_->setChildrenCollapsible(false);
    splitter_->setSizes({1000, 1000}); // the bar starts in the middle
    setCentralWidget(splitter_);

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    resize(900, 680);
    editor_->setFocus();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::addAction(int id, const QString& text, const QKeySequence& shortcut,
                               void (CMainFrame::*slot)()) {
    auto* action = new QAction(text, this);
    action->setData(id);
    action->setShortcut(shortcut);
    if (slot)
        connect(action, &QAction::triggered, this, slot);
    actions_[id] = action;
    return action;
}

void CMainFrame::createActions() {
    // Status text and tool tip, as the window's string resources pair them.
    auto describe = [](QAction* action, const QString& status, const QString& tip) {
        action->setStatusTip(status);
        action->setToolTip(tip);
    };
    describe(addAction(command::OpenDatabase, "&Open MDB", QKeySequence("Ctrl+O"),
                       &CMainFrame::openDatabase),
             "Open an existing database", "Database");
    describe(addAction(command::OpenScript, "Ope&n script", QKeySequence("Ctrl+N"),
                       &CMainFrame::openScript),
             "Open an existing sql script", "SQL script");
    describe(addAction(command::SaveScript, "&Save script", QKeySequence("Ctrl+S"),
                       &CMainFrame::saveScript),
             "Save the active sql script", "Save");
    describe(addAction(command::SaveScriptAs, "Save script &As...", {}, &CMainFrame::saveScriptAs),
             "Save the active document with a new name", "Save As");
    addAction(command::CreateDatabase, "Create MDB", {}, &CMainFrame::createDatabase);
    addAction(command::ExecuteScript, "&Execute script...", {}, &CMainFrame::executeScript);
    describe(addAction(command::Run, "&Run", QKeySequence("Ctrl+R"), &CMainFrame::run),
             "Run the current sql script", "Run");
    connect(addAction(command::Exit, "E&xit", {}, nullptr), &QAction::triggered, this,
            &QWidget::close);

    // Sent to the script editor, whichever pane has the focus. The keys are only shown: each
    // pane handles them itself, so that Ctrl+C in the output copies from the output.
    auto toEditor = [this](int id, const QString& text, void (QPlainTextEdit::*slot)()) {
        connect(addAction(id, text, {}, nullptr), &QAction::triggered, editor_, slot);
    };
    toEditor(command::Undo, "&Undo\tCtrl+Z", &QPlainTextEdit::undo);
    toEditor(command::Cut, "Cu&t\tCtrl+X", &QPlainTextEdit::cut);
    toEditor(command::Copy, "&Copy\tCtrl+C", &QPlainTextEdit::copy);
    toEditor(command::Paste, "&Paste\tCtrl+V", &QPlainTextEdit::paste);

    for (int id : {command::ViewToolbar, command::ViewStatusBar, command::StopOnError})
        addAction(id, QString(), {}, nullptr)->setCheckable(true);
    action(command::ViewToolbar)->setText("&Toolbar");
    action(command::ViewStatusBar)->setText("&Status Bar");
    action(command::StopOnError)->setText("Stop on Error");
    action(command::StopOnError)->setChecked(options_.stopOnError());
    connect(action(command::StopOnError), &QAction::triggered, this,
            &CMainFrame::toggleStopOnError);
    connect(addAction(command::About, "&About", {}, nullptr), &QAction::triggered, this,
            [this] { prompts_->about(this); });
}

void CMainFrame::createMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    for (int id :
         {command::OpenDatabase, command::OpenScript, command::SaveScript, command::SaveScriptAs,
          command::CreateDatabase, command::ExecuteScript, command::Run})
        file->addAction(action(id));
    file->addSeparator();
    file->addAction(action(command::Exit));
    QMenu* edit = menuBar()->addMenu("&Edit");
    for (int id : {command::Undo, command::Cut, command::Copy, command::Paste})
        edit->addAction(action(id));
    QMenu* view = menuBar()->addMenu("&View");
    view->addAction(action(command::ViewToolbar));
    view->addAction(action(command::ViewStatusBar));
    menuBar()->addMenu("&Options")->addAction(action(command::StopOnError));
    menuBar()->addMenu("&Help")->addAction(action(command::About));
}

void CMainFrame::createToolBar() {
    toolBar_ = addToolBar("Toolbar");
    toolBar_->setObjectName("toolBar");
    toolBar_->setIconSize(QSize(32, 32));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    action(command::OpenDatabase)->setIcon(icons::openDatabase());
    action(command::OpenScript)->setIcon(icons::openScript());
    action(command::Run)->setIcon(icons::run());
    action(command::OpenDatabase)->setIconText("Open MDB");
    action(command::OpenScript)->setIconText("Open script");
    action(command::Run)->setIconText("Run");
    for (int id : {command::OpenDatabase, command::OpenScript, command::Run})
        toolBar_->addAction(action(id));
    QAction* shown = action(command::ViewToolbar);
    shown->setChecked(true);
    connect(shown, &QAction::toggled, toolBar_, &QWidget::setVisible);
}

void CMainFrame::createStatusBar() {
    statusBar()->addWidget(new QLabel("Ready", this), 1);
    databaseLabel_ = new QLabel(this);
    databaseLabel_->setObjectName("databaseStatus");
    statusBar()->addPermanentWidget(databaseLabel_);
    QAction* shown = action(command::ViewStatusBar);
    shown->setChecked(true);
    connect(shown, &QAction::toggled, statusBar(), &QWidget::setVisible);
}

QAction* CMainFrame::action(int commandId) const {
    auto found = actions_.find(commandId);
    return found == actions_.end() ? nullptr : found->second;
}

QString CMainFrame::databaseStatus() const {
    return databaseLabel_->text();
}

void CMainFrame::showDatabase() {
    databaseLabel_->setText(platform::qt::toQString(description_.path));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // A run in progress holds the database and this window's objects; it ends first.
    if (running_) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == output_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        QTextBlock line = output_->cursorForPosition(mouse->position().toPoint()).block();
        if (goToReportedStatement(line.text()))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool CMainFrame::goToReportedStatement(const QString& reportLine) {
    if (!editorHoldsRunScript_)
        return false;
    std::optional<int> line = reportedLineNumber(reportLine);
    if (!line)
        return false;
    QTextCursor statement = statementAt(editor_->document(), *line);
    if (statement.isNull())
        return false;
    editor_->setTextCursor(statement);
    editor_->ensureCursorVisible();
    editor_->setFocus();
    return true;
}

} // namespace runner::ui
