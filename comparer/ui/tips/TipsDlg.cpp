#include "comparer/ui/tips/TipsDlg.h"

#include "comparer/ui/tips/FormattedTextView.h"
#include "comparer/ui/tips/LightBulb.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QWheelEvent>

using FormattedTextViewControl::FormattedTextView;

namespace {

// Sizes in dialog units of the classic dialog font (1.5 by 1.625 pixels per unit).
QSize fromDialogUnits(int x, int y) {
    return QSize(x * 3 / 2, y * 13 / 8);
}

QLabel* createHeading(QWidget* parent) {
    auto* heading = new QLabel(QStringLiteral("Did you know ... ?"), parent);
    QFont font(QApplication::font().family());
    font.setPixelSize(22);
    heading->setFont(font);
    return heading;
}

QLabel* createPicture(QWidget* parent) {
    auto* picture = new QLabel(parent);
    picture->setPixmap(lightBulb());
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setFixedSize(picture->pixmap().size());
    return picture;
}

} // namespace

TipsDlg::TipsDlg(QWidget* owner, std::string_view document)
    : owner_(owner), tips_(Tips::load(document.data(), document.size())) {
    setWindowTitle(QStringLiteral("Kelvor Tips"));
    createControls();
    setFixedSize(fromDialogUnits(317, 183));
}

TipsDlg::~TipsDlg() = default;

void TipsDlg::createControls() {
    auto* headingRow = new QHBoxLayout;
    headingRow->addWidget(createPicture(this), 0, Qt::AlignVCenter);
    headingRow->addSpacing(8);
    headingRow->addWidget(createHeading(this), 1, Qt::AlignVCenter);

    view_ = new FormattedTextView(this);
    view_->setFixedSize(fromDialogUnits(303, 125));

    showOnStartup_ = new QCheckBox(QStringLiteral("Show Tips on Startup"), this);
    next_ = new QPushButton(QStringLiteral("Next"), this);
    previous_ = new QPushButton(QStringLiteral("Previous"), this);
    close_ = new QPushButton(QStringLiteral("Close"), this);
    next_->setDefault(true);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(showOnStartup_);
    buttonRow->addStretch(1);
    buttonRow->addWidget(next_);
    buttonRow->addWidget(previous_);
    buttonRow->addWidget(close_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->addLayout(headingRow);
    layout->addWidget(view_);
    layout->addLayout(buttonRow);

    connect(next_, &QPushButton::clicked, this, [this] { view_->setTip(tips_.next()); });
    connect(previous_, &QPushButton::clicked, this, [this] { view_->setTip(tips_.previous()); });
    connect(close_, &QPushButton::clicked, this, &TipsDlg::reject);
}

void TipsDlg::show(bool showOnStartup, int currentTip) {
    tips_.select(currentTip);
    view_->setTip(tips_.current());
    showOnStartup_->setChecked(showOnStartup);
    next_->setFocus();

    // Parented for the modal run only: centred on and above its owner, but never deleted
    // by it.
    QWidget* owner = QApplication::activeWindow();
    if (!owner || owner == this)
        owner = owner_;
    setParent(owner, windowFlags());
    exec();
    setParent(nullptr, windowFlags());
}

void TipsDlg::reject() {
    tips_.next();
    if (onTipsClosed)
        onTipsClosed(showOnStartup_->isChecked(), tips_.index());
    QDialog::reject();
}

void TipsDlg::wheelEvent(QWheelEvent* event) {
    event->accept();
}

std::unique_ptr<ITipView> createTipsWindow(QWidget* owner) {
    return std::make_unique<TipsDlg>(owner);
}
