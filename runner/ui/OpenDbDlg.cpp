#include "runner/ui/OpenDbDlg.h"

#include "runner/ui/DatabaseFields.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace runner::ui {

QString securityNote() {
    return "Leave the fields empty if your database is not protected with msaccess user level "
           "security.";
}

OpenDbDlg::OpenDbDlg(database::DatabaseDescription& description, QWidget* parent)
    : QDialog(parent), description_(description), fields_(new DatabaseFields(description, this)) {
    setWindowTitle("Open database");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fields_);
    auto* note = new QLabel(securityNote(), this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void OpenDbDlg::accept() {
    fields_->store(description_);
    QDialog::accept();
}

} // namespace runner::ui
