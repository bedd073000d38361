#include "runner/ui/CAboutDlg.h"

#include "runner/ui/Icons.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>

namespace runner::ui {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle("About");
    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(icons::program().pixmap(48, 48));
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(new QLabel(QString("Kelrun version %1").arg(kProgramVersion), this), 0, 1);
    auto* link = new QLabel(QString("<a href=\"%1\">%1</a>").arg(kProductPage), this);
    link->setObjectName("productLink");
    link->setTextFormat(Qt::RichText);
    link->setOpenExternalLinks(true);
    layout->addWidget(link, 1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace runner::ui
