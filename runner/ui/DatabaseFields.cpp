#include "runner/ui/DatabaseFields.h"

#include "foundation/platform/qt/QtText.h"
#include "runner/ui/FileChoice.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace runner::ui {

using platform::qt::fromQString;
using platform::qt::toQString;

DatabaseFields::DatabaseFields(const database::DatabaseDescription& description, QWidget* parent)
    : QWidget(parent), grid_(new QGridLayout(this)) {
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setColumnMinimumWidth(1, 320);
    QLineEdit* path = addRow("Database name:", description.path, "databaseName");
    addBrowseButton(path, filters::databases());
    addRow("Database password:", description.databasePassword, "databasePassword")
        ->setEchoMode(QLineEdit::Password);
    addRow("User name:", description.userName, "userName");
    addRow("User password:", description.userPassword, "userPassword")
        ->setEchoMode(QLineEdit::Password);
    QLineEdit* system = addRow("System database:", description.systemDatabase, "systemDatabase");
    addBrowseButton(system, filters::workgroups());
}

void DatabaseFields::store(database::DatabaseDescription& description) const {
    auto text = [this](const char* name) { return fromQString(field(name)->text()); };
    description.path = text("databaseName");
    description.databasePassword = text("databasePassword");
    description.userName = text("userName");
    description.userPassword = text("userPassword");
    description.systemDatabase = text("systemDatabase");
}

QLineEdit* DatabaseFields::addFileRow(const QString& label, const QString& text,
                                      const QStringList& filters, const char* name) {
    QLineEdit* edit = addRow(label, fromQString(text), name);
    addBrowseButton(edit, filters);
    return edit;
}

QLineEdit* DatabaseFields::field(const char* name) const {
    return findChild<QLineEdit*>(QString::fromLatin1(name));
}

QLineEdit* DatabaseFields::addRow(const QString& label, const std::u16string& text,
                                  const char* name) {
    int row = rows_++;
    auto* edit = new QLineEdit(toQString(text), this);
    edit->setObjectName(QString::fromLatin1(name));
    auto* caption = new QLabel(label, this);
    caption->setBuddy(edit);
    grid_->addWidget(caption, row, 0);
    grid_->addWidget(edit, row, 1);
    return edit;
}

void DatabaseFields::addBrowseButton(QLineEdit* field, const QStringList& filters) {
    auto* button = new QPushButton("...", this);
    button->setObjectName(field->objectName() + "Browse");
    // A narrow button, as wide as its three dots need.
    button->setFixedWidth(button->fontMetrics().horizontalAdvance("....") + 16);
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid_->getItemPosition(grid_->indexOf(field), &row, &column, &rowSpan, &columnSpan);
    grid_->addWidget(button, row, 2);
    connect(button, &QPushButton::clicked, this, [this, field, filters] {
        ChosenFile chosen = chooseFileToOpen(this, QString(), filters);
        if (!chosen.path.empty())
            field->setText(toQString(chosen.path));
    });
}

} // namespace runner::ui
