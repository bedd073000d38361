#include "comparer/ui/COpenFilesDlg.h"

#include "foundation/platform/qt/QtText.h"

#include <QCompleter>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

using platform::qt::fromQString;
using platform::qt::toQString;

namespace {

const QString kDatabaseFilters =
    QStringLiteral("Microsoft Access Databases (*.mdb *.accdb);;All Files (*)");
const QString kSystemDatabaseFilters = QStringLiteral("Access Files (*.mdw);;All Files (*)");

} // namespace

COpenFilesDlg::COpenFilesDlg(database::DatabaseDescription& first,
                             database::DatabaseDescription& second, QWidget* parent)
    : QDialog(parent), descriptions_{&first, &second} {
    setWindowTitle(QStringLiteral("Open files"));
    files_ = new QFileSystemModel(this);
    files_->setRootPath(QString());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(createGroup(QStringLiteral("First database"), fields_[0], first));
    layout->addWidget(createGroup(QStringLiteral("Second database"), fields_[1], second));
    auto* note = new QLabel(QStringLiteral("Leave the fields empty if your database is not "
                                           "protected with msaccess user level security."));
    note->setWordWrap(true);
    layout->addWidget(note);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setDefault(true);
    // OK decides by itself whether Enter closes the dialog.
    connect(ok_, &QPushButton::clicked, this, &COpenFilesDlg::confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    resize(560, sizeHint().height());
    fields_[0].databaseName->setFocus();
}

QGroupBox* COpenFilesDlg::createGroup(const QString& title, Fields& fields,
                                      const database::DatabaseDescription& description) {
    auto* group = new QGroupBox(title);
    auto* grid = new QGridLayout(group);
    int row = 0;
    auto addField = [&](const QString& label, const std::u16string& value, bool masked) {
        auto* edit = new QLineEdit(toQString(value));
        if (masked)
            edit->setEchoMode(QLineEdit::Password);
        auto* caption = new QLabel(label);
        caption->setBuddy(edit);
        grid->addWidget(caption, row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
        return edit;
    };
    auto addBrowse = [&](QLineEdit* edit, bool systemDatabase) {
        auto* completer = new QCompleter(files_, edit);
        completer->setCompletionMode(QCompleter::PopupCompletion);
        edit->setCompleter(completer);
        auto* button = new QToolButton;
        button->setText(QStringLiteral("..."));
        connect(button, &QToolButton::clicked, this,
                [this, edit, systemDatabase] { browse(edit, systemDatabase); });
        grid->addWidget(button, row - 1, 2);
    };
    fields.databaseName = addField(QStringLiteral("Database name:"), description.path, false);
    addBrowse(fields.databaseName, false);
    fields.databasePassword =
        addField(QStringLiteral("Database password:"), description.databasePassword, true);
    fields.userName = addField(QStringLiteral("User name:"), description.userName, false);
    fields.userPassword =
        addField(QStringLiteral("User password:"), description.userPassword, true);
    fields.systemDatabase =
        addField(QStringLiteral("System database:"), description.systemDatabase, false);
    addBrowse(fields.systemDatabase, true);
    return group;
}

void COpenFilesDlg::browse(QLineEdit* field, bool systemDatabase) {
    QString chosen = QFileDialog::getOpenFileName(
        this, QString(), field->text(), systemDatabase ? kSystemDatabaseFilters : kDatabaseFilters);
    if (!chosen.isEmpty())
        field->setText(chosen);
}

void COpenFilesDlg::confirm() {
    // Enter in a field clicks OK without moving the focus there.
    if (focusWidget() != ok_) {
        focusNextField();
        return;
    }
    if (!take(fields_[0], *descriptions_[0], QStringLiteral("Select \"First database\"")))
        return;
    if (!take(fields_[1], *descriptions_[1], QStringLiteral("Select \"Second database\"")))
        return;
    accept();
}

bool COpenFilesDlg::take(const Fields& fields, database::DatabaseDescription& description,
                         const QString& missingMessage) {
    if (fields.databaseName->text().isEmpty()) {
        QMessageBox::information(this, QString(), missingMessage);
        fields.databaseName->setFocus();
        return false;
    }
    description.setConnectionFields(
        fromQString(fields.databaseName->text()), fromQString(fields.systemDatabase->text()),
        fromQString(fields.databasePassword->text()), fromQString(fields.userName->text()),
        fromQString(fields.userPassword->text()));
    return true;
}

void COpenFilesDlg::focusNextField() {
    std::array<QLineEdit*, 10> order{};
    size_t at = 0;
    for (const Fields& fields : fields_)
        for (QLineEdit* edit : {fields.databaseName, fields.databasePassword, fields.userName,
                                fields.userPassword, fields.systemDatabase})
            order[at++] = edit;
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] != focusWidget())
            continue;
        if (i + 1 < order.size())
            order[i + 1]->setFocus(Qt::TabFocusReason);
        else
            ok_->setFocus(Qt::TabFocusReason);
        return;
    }
    focusNextChild();
}
