#include "comparer/ui/diff/ReportDlg.h"

#include "comparer/ui/diff/CDialogResizeRion.h"
#include "foundation/platform/qt/CEditRion.h"
#include "foundation/platform/qt/QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>

namespace {

constexpr int clientWidth = 680;
constexpr int clientHeight = 500;
constexpr int gap = 8;

CEditRion* readOnlyEdit(const std::u16string& text) {
    auto* edit = new CEditRion;
    edit->setReadOnly(true);
    edit->setPlainText(platform::qt::toQString(text));
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return edit;
}

} // namespace

ReportDlg::ReportDlg(const std::u16string& report, const std::u16string& script, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint),
      report_(report), script_(script), tabs_(new QTabWidget(this)),
      scriptEdit_(readOnlyEdit(script)), reportEdit_(readOnlyEdit(report)),
      copy_(new QPushButton(QStringLiteral("Copy to Clipboard"), this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)) {
    setWindowTitle(QStringLiteral("Report"));
    resize(clientWidth, clientHeight);
    tabs_->addTab(scriptEdit_, QStringLiteral("SQL Diff"));
    tabs_->addTab(reportEdit_, QStringLiteral("Text Diff"));
    tabs_->setCurrentIndex(0);

    // The two buttons side by side, centred under the tabs.
    const int height = std::max(copy_->sizeHint().height(), ok_->sizeHint().height());
    const int copyWidth = std::max(75, copy_->sizeHint().width());
    const int okWidth = std::max(75, ok_->sizeHint().width());
    const int buttonsLeft = (clientWidth - copyWidth - gap - okWidth) / 2;
    const int buttonsTop = clientHeight - gap - height;
    copy_->setGeometry(buttonsLeft, buttonsTop, copyWidth, height);
    ok_->setGeometry(buttonsLeft + copyWidth + gap, buttonsTop, okWidth, height);
    tabs_->setGeometry(gap, gap, clientWidth - 2 * gap, buttonsTop - 2 * gap);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(copy_, &QPushButton::clicked, this, &ReportDlg::copyToClipboard);

    resize_ = new CDialogResizeRion(*this, true, true);
    resize_->addControl(*tabs_, CDialogResizeRion::SizeX | CDialogResizeRion::SizeY);
    resize_->addControl(*copy_, CDialogResizeRion::CenterX | CDialogResizeRion::MoveY);
    resize_->addControl(*ok_, CDialogResizeRion::CenterX | CDialogResizeRion::MoveY);
    scriptEdit_->setFocus();
}

void ReportDlg::copyToClipboard() {
    const bool report = tabs_->currentIndex() == 1;
    (report ? reportEdit_ : scriptEdit_)->selectAll();
    // The edit's own copy would turn line breaks into paragraph separators and back; the
    // caller's text goes unchanged.
    QApplication::clipboard()->setText(platform::qt::toQString(report ? report_ : script_));
    accept();
}

void showReportWindow(QWidget* owner, const std::u16string& report, const std::u16string& script) {
    ReportDlg window(report, script, owner ? owner : QApplication::activeWindow());
    window.exec();
}
