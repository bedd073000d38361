#include "runner/ui/OpenDbAndScriptDlg.h"

#include "foundation/platform/qt/QtText.h"
#include "runner/ui/DatabaseFields.h"
#include "runner/ui/FileChoice.h"
#include "runner/ui/OpenDbDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace runner::ui {

OpenDbAndScriptDlg::OpenDbAndScriptDlg(database::DatabaseDescription& description,
                                       std::u16string& scriptPath, QWidget* parent)
    : QDialog(parent), description_(description), scriptPath_(scriptPath),
      fields_(new DatabaseFields(description, this)) {
    setWindowTitle("Execute script");
    script_ = fields_->addFileRow("Script file:", platform::qt::toQString(scriptPath),
                                  filters::scriptFiles(), "scriptFile");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fields_);
    auto* note = new QLabel(securityNote(), this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton("Run", QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void OpenDbAndScriptDlg::accept() {
    fields_->store(description_);
    scriptPath_ = platform::qt::fromQString(script_->text());
    QDialog::accept();
}

} // namespace runner::ui
