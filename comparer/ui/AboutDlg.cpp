#include "comparer/ui/AboutDlg.h"

#include "comparer/ui/HelpManual.h"
#include "comparer/ui/Icons.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QUrl>

namespace {

constexpr char kProjectPage[] = "https://kelvor.example.org/";

QString link() {
    QString manual = findManual();
    if (manual.isEmpty())
        return QStringLiteral("<a href=\"%1\">%1</a>").arg(QString::fromLatin1(kProjectPage));
    return QStringLiteral("<a href=\"%1\">Kelvor manual</a>")
        .arg(QUrl::fromLocalFile(manual).toString());
}

} // namespace

AboutDlg::AboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Kelvor"));
    auto* grid = new QGridLayout(this);
    auto* icon = new QLabel;
    icon->setPixmap(kelvorIcon().pixmap(48, 48));
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(new QLabel(QStringLiteral("Kelvor ") + QStringLiteral("3.7")), 0, 1);
    auto* address = new QLabel(link());
    address->setTextFormat(Qt::RichText);
    address->setOpenExternalLinks(true);
    grid->addWidget(address, 1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    grid->addWidget(buttons, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
}
