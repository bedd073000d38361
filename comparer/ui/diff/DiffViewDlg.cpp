#include "comparer/ui/diff/DiffViewDlg.h"

#include "comparer/ui/diff/CDialogResizeRion.h"
#include "foundation/platform/qt/QtText.h"

#include <QApplication>
#include <QPushButton>
#include <QWheelEvent>

namespace {

constexpr int clientWidth = 720;
constexpr int clientHeight = 520;
constexpr int gap = 8;

} // namespace

DiffViewDlg::DiffViewDlg(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      view_(this), ok_(new QPushButton(QStringLiteral("OK"), this)) {
    setWindowTitle(QStringLiteral("Diff"));
    resize(clientWidth, clientHeight);
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    const QSize button(std::max(75, ok_->sizeHint().width()), ok_->sizeHint().height());
    ok_->setGeometry(clientWidth - gap - button.width(), clientHeight - gap - button.height(),
                     button.width(), button.height());
    view_.setGeometry(gap, gap, clientWidth - 2 * gap, clientHeight - 3 * gap - button.height());
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    ok_->installEventFilter(this);
    resize_ = new CDialogResizeRion(*this, true, true);
    resize_->addControl(*ok_, CDialogResizeRion::MoveX | CDialogResizeRion::MoveY);
    resize_->addControl(view_, CDialogResizeRion::SizeX | CDialogResizeRion::SizeY);
    view_.setFocus();
}

void DiffViewDlg::setTitle(const std::u16string& title) {
    if (!title.empty())
        setWindowTitle(platform::qt::toQString(title));
}

void DiffViewDlg::wheelEvent(QWheelEvent* event) {
    QCoreApplication::sendEvent(view_.viewport(), event);
}

bool DiffViewDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel)
        return QDialog::eventFilter(watched, event);
    wheelEvent(static_cast<QWheelEvent*>(event));
    return true;
}

void showDiffWindow(QWidget* owner, const std::u16string& title, const diff::Segments& segments) {
    DiffViewDlg window(owner ? owner : QApplication::activeWindow());
    window.setTitle(title);
    for (const diff::Segment& segment : segments)
        window.textView().append(segment.text, diff::segmentStyle(segment.operation));
    window.exec();
}
