#include "comparer/ui/CMainDlg.h"

#include "comparer/ui/AboutDlg.h"
#include "comparer/ui/CListViewTrackTip.h"
#include "comparer/ui/COpenFilesDlg.h"
#include "comparer/ui/CSplitterListViewCtrl.h"
#include "comparer/ui/ExternalDiffOptionsDlg.h"
#include "comparer/ui/HelpManual.h"
#include "comparer/ui/Icons.h"
#include "comparer/ui/ListViewResultBuilder.h"
#include "comparer/ui/Progress.h"
#include "comparer/ui/diff/ReportDlg.h"
#include "comparer/ui/tips/TipsDlg.h"
#include "foundation/platform/qt/CEditRion.h"
#include "foundation/platform/qt/QtText.h"
#include "foundation/platform/qt/WaitCursor.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using platform::qt::toQString;
using platform::qt::WaitCursor;

namespace {

// The start-compare request, posted to the window itself.
const QEvent::Type kStartCompareEvent = QEvent::Type(QEvent::User + 1234);

// The tooltip texts separate their entries with "\r\n"; Qt breaks lines at "\n" alone.
QString lines(const std::u16string& text) {
    QString result = toQString(text);
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return result;
}

} // namespace

CMainDlg::CMainDlg(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Kelvor"));
    setWindowIcon(kelvorIcon());
    createMenu();
    createToolBar();
    createCentralArea();
    // 618 x 380 dialog units of the classic dialog font.
    resize(930, 620);
}

CMainDlg::~CMainDlg() = default;

QAction* CMainDlg::addCommand(QMenu& menu, Command command, const QString& text,
                              rion::delegate<void()> IResultView::*raised) {
    QAction* action = menu.addAction(text);
    actions_[command] = action;
    if (raised)
        connect(action, &QAction::triggered, this, [this, raised] { raise(this->*raised); });
    return action;
}

void CMainDlg::createMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    addCommand(*file, Command::Open, QStringLiteral("&Open"), &IResultView::onOpen)
        ->setShortcut(QKeySequence::Open);
    file->addSeparator();
    QAction* exitAction = addCommand(*file, Command::Exit, QStringLiteral("E&xit"), nullptr);
    exitAction->setShortcuts({QKeySequence::Quit, QKeySequence(Qt::Key_Escape)});
    connect(exitAction, &QAction::triggered, this, &CMainDlg::exit);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    QAction* compare = addCommand(*tools, Command::Compare, QStringLiteral("&Compare"), nullptr);
    compare->setShortcut(QKeySequence::Refresh);
    connect(compare, &QAction::triggered, this, &CMainDlg::postStartCompare);
    addCommand(*tools, Command::Shuffle, QStringLiteral("&Shuffle"), &IResultView::onSwap);
    addCommand(*tools, Command::Script, QStringLiteral("Sc&ript"), &IResultView::onScript);
    addCommand(*tools, Command::RunKelrun, QStringLiteral("Run &Kelrun"),
               &IResultView::onRunScriptRunner);

    QMenu* options = menuBar()->addMenu(QStringLiteral("Options"));
    struct Switch {
        Command command;
        const char* text;
        rion::delegate<void()> IResultView::*raised;
    };
    const Switch switches[] = {
        {Command::CompareHiddenTables, "Compare hidden tables", &IResultView::onToggleHiddenTables},
        {Command::CompareFieldsOrder, "Compare fields order", &IResultView::onToggleFieldsOrder},
        {Command::CompareForms, "Compare Forms", &IResultView::onToggleForms},
        {Command::CompareMacros, "Compare Macros", &IResultView::onToggleMacros},
        {Command::CompareModules, "Compare Modules", &IResultView::onToggleModules},
        {Command::CompareReports, "Compare Reports", &IResultView::onToggleReports},
        {Command::CompareTableDataMacros, "Compare Table Data Macros",
         &IResultView::onToggleTableDataMacros},
    };
    for (const Switch& item : switches) {
        QAction* action =
            addCommand(*options, item.command, QString::fromLatin1(item.text), nullptr);
        action->setCheckable(true);
        // The mark follows the stored setting: a click puts it back and lets the presenter
        // toggle the setting and set the mark.
        connect(action, &QAction::triggered, this, [this, action, raised = item.raised](bool on) {
            action->setChecked(!on);
            raise(this->*raised);
        });
    }
    options->addSeparator();
    addCommand(*options, Command::ExternalDiff, QStringLiteral("External diff ..."),
               &IResultView::onExternalDiffOptions);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    QAction* about = addCommand(*help, Command::About, QStringLiteral("&About"), nullptr);
    connect(about, &QAction::triggered, this, [this] { AboutDlg(this).exec(); });
    addCommand(*help, Command::ShowTips, QStringLiteral("Show &Tips"), &IResultView::onShowTips);
    QAction* manual = addCommand(*help, Command::Help, QStringLiteral("&Help"), nullptr);
    manual->setShortcut(QKeySequence::HelpContents);
    connect(manual, &QAction::triggered, this, [] { openManual(); });
}

void CMainDlg::createToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Toolbar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->toggleViewAction()->setEnabled(false);
    bar->setIconSize(QSize(32, 32));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    struct Button {
        Command command;
        ToolbarImage image;
        const char* text;
    };
    const Button buttons[] = {
        {Command::Open, ToolbarImage::Open, "Open"},
        {Command::Compare, ToolbarImage::Compare, "Compare"},
        {Command::Shuffle, ToolbarImage::Shuffle, "Shuffle"},
        {Command::Script, ToolbarImage::Script, "Script"},
        {Command::Help, ToolbarImage::Help, "Help"},
        {Command::Exit, ToolbarImage::Exit, "Exit"},
    };
    for (const Button& button : buttons) {
        // The toolbar's own action shares the menu item's command but has its own text.
        QAction* menuItem = actions_.at(button.command);
        QAction* action =
            bar->addAction(toolbarIcon(button.image), QString::fromLatin1(button.text));
        action->setToolTip(menuItem->text().remove(QLatin1Char('&')));
        connect(action, &QAction::triggered, menuItem, &QAction::trigger);
        if (QWidget* widget = bar->widgetForAction(action))
            widget->setMinimumSize(52, 52);
    }
}

void CMainDlg::createCentralArea() {
    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // The etched line under the toolbar.
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setLineWidth(1);
    line->setFixedHeight(2);
    column->addWidget(line);

    // Two equally stretched columns with equal outer margins and no gap between them: the
    // second column begins exactly at the middle of the window.
    auto* grid = new QGridLayout;
    grid->setContentsMargins(10, 8, 10, 4);
    grid->setHorizontalSpacing(0);
    grid->setVerticalSpacing(2);
    auto label = [](const QString& text) {
        auto* result = new QLabel(text);
        result->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        result->setTextFormat(Qt::PlainText);
        return result;
    };
    firstCaption_ = label(QStringLiteral("First database"));
    secondCaption_ = label(QStringLiteral("Second database"));
    firstName_ = label(QStringLiteral(" "));
    secondName_ = label(QStringLiteral(" "));
    for (QLabel* name : {firstName_, secondName_})
        name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(firstCaption_, 0, 0);
    grid->addWidget(secondCaption_, 0, 1);
    grid->addWidget(firstName_, 1, 0);
    grid->addWidget(secondName_, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    list_ = new CSplitterListViewCtrl;
    grid->addWidget(list_, 2, 0, 1, 2);
    grid->setRowStretch(2, 1);
    column->addLayout(grid, 1);
    setCentralWidget(central);

    trackTip_ = new CListViewTrackTip(*list_, [this](int row, bool secondSide) {
        const ElementData* data = list_->rows().elementData(row);
        if (!data)
            return QString();
        return lines(secondSide ? data->secondTooltip : data->firstTooltip);
    });
    connect(list_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        const ElementData* data = list_->elementData(index);
        if (data && onShowDifference)
            onShowDifference(data);
    });

    bar_ = new QProgressBar;
    bar_->setTextVisible(false);
    bar_->setFixedHeight(18);
    progress_ = std::make_unique<Progress>(*bar_);
    statusBar()->setContentsMargins(8, 0, 0, 2);
    statusBar()->addWidget(bar_, 1);
}

QAction* CMainDlg::action(Command command) const {
    auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainDlg::raise(const rion::delegate<void()>& delegate) {
    if (delegate)
        delegate();
}

void CMainDlg::postStartCompare() {
    QCoreApplication::postEvent(this, new QEvent(kStartCompareEvent));
}

bool CMainDlg::event(QEvent* event) {
    if (event->type() != kStartCompareEvent)
        return QMainWindow::event(event);
    startCompare();
    return true;
}

void CMainDlg::startCompare() {
    // A reading lets queued events through to keep the window alive; a second request that
    // arrives that way is already being served.
    if (comparing_)
        return;
    comparing_ = true;
    {
        WaitCursor wait;
        raise(onCompare);
    }
    comparing_ = false;
    if (startupTipsPending_ && !firstPaintPending_)
        QMetaObject::invokeMethod(this, &CMainDlg::firstIdle, Qt::QueuedConnection);
}

void CMainDlg::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!creationPending_)
        return;
    creationPending_ = false;
    raise(onShowOptions);
}

void CMainDlg::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (!firstPaintPending_)
        return;
    firstPaintPending_ = false;
    if (isCompareAtStart && isCompareAtStart())
        postStartCompare();
    // Queued behind the comparison, so that the tips come when the window is idle.
    QMetaObject::invokeMethod(this, &CMainDlg::firstIdle, Qt::QueuedConnection);
}

void CMainDlg::firstIdle() {
    if (!startupTipsPending_ || comparing_)
        return;
    startupTipsPending_ = false;
    raise(onStartupTips);
}

void CMainDlg::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    QCoreApplication::quit();
}

void CMainDlg::exit() {
    close();
}

void CMainDlg::setFirstName(const std::u16string& name) {
    // Names are set when a comparison begins, which destroys the elements of the rows shown:
    // the rows go now, so that no double click can reach them.
    list_->rows().clear();
    firstName_->setText(toQString(name));
}

void CMainDlg::setSecondName(const std::u16string& name) {
    secondName_->setText(toQString(name));
}

settings::IProgress& CMainDlg::progress() {
    progress_->reset();
    return *progress_;
}

void CMainDlg::showMessage(int icon, const std::u16string& text, const std::u16string& caption) {
    QMessageBox box(QMessageBox::Icon(icon), toQString(caption), toQString(text), QMessageBox::Ok,
                    this);
    box.exec();
}

void CMainDlg::showInformation(const std::u16string& text, const std::u16string& caption) {
    showMessage(QMessageBox::NoIcon, text, caption);
}

void CMainDlg::showError(const std::u16string& text, const std::u16string& caption) {
    showMessage(QMessageBox::Critical, text, caption);
}

void CMainDlg::showWarning(const std::u16string& text, const std::u16string& caption) {
    showMessage(QMessageBox::Information, text, caption);
}

void CMainDlg::showResults(const std::vector<ElementDifference>& results,
                           const DataTypeName& dataTypeNames, bool compareFieldsOrder) {
    WaitCursor wait;
    list_->rows().clear();
    list_->rows().setRows(buildResultRows(results, dataTypeNames, compareFieldsOrder));
}

void CMainDlg::editDatabases(database::DatabaseDescription& first,
                             database::DatabaseDescription& second) {
    COpenFilesDlg dialog(first, second, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    repaint();
    postStartCompare();
}

void CMainDlg::check(Command command, bool checked) {
    actions_.at(command)->setChecked(checked);
}

void CMainDlg::checkHiddenTables(bool checked) {
    check(Command::CompareHiddenTables, checked);
}

void CMainDlg::checkFieldsOrder(bool checked) {
    check(Command::CompareFieldsOrder, checked);
}

void CMainDlg::checkForms(bool checked) {
    check(Command::CompareForms, checked);
}

void CMainDlg::checkModules(bool checked) {
    check(Command::CompareModules, checked);
}

void CMainDlg::checkMacros(bool checked) {
    check(Command::CompareMacros, checked);
}

void CMainDlg::checkReports(bool checked) {
    check(Command::CompareReports, checked);
}

void CMainDlg::checkTableDataMacros(bool checked) {
    check(Command::CompareTableDataMacros, checked);
}

void CMainDlg::showScript(const std::u16string& reportText, const std::u16string& scriptText) {
    showReportWindow(nullptr, reportText, scriptText);
}

bool CMainDlg::editExternalDiffOptions(settings::comparer::Options& options) {
    ExternalDiffOptionsDlg dialog(options, this);
    return dialog.exec() == QDialog::Accepted;
}

std::unique_ptr<ITipView> CMainDlg::createTipView() {
    return createTipsWindow(this);
}
