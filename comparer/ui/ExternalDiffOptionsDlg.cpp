#include "comparer/ui/ExternalDiffOptionsDlg.h"

#include "foundation/platform/qt/QtText.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using platform::qt::fromQString;
using platform::qt::toQString;

namespace {

constexpr char kExampleProgram[] = "/usr/bin/meld";

QLabel* note(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

} // namespace

ExternalDiffOptionsDlg::ExternalDiffOptionsDlg(settings::comparer::Options& options,
                                               QWidget* parent)
    : QDialog(parent), options_(options), use_(new QCheckBox(QStringLiteral("Use external diff:"))),
      command_(new QLineEdit(toQString(options.externalDiffCommand))),
      example_(new QLineEdit(QStringLiteral("\"%1\" %p1 %p2").arg(kExampleProgram))) {
    setWindowTitle(QStringLiteral("External diff"));
    use_->setChecked(options.useExternalDiff);
    example_->setReadOnly(true);

    auto* grid = new QGridLayout(this);
    int row = 0;
    grid->addWidget(note(QStringLiteral("Instead of the built-in diff window, a double click "
                                        "on a result line can show the two texts of the "
                                        "line in an external diff tool.")),
                    row++, 0, 1, 2);
    grid->addWidget(use_, row++, 0, 1, 2);
    auto* commandCaption = new QLabel(QStringLiteral("Command line:"));
    commandCaption->setBuddy(command_);
    grid->addWidget(commandCaption, row, 0);
    grid->addWidget(command_, row++, 1);
    grid->addWidget(note(QStringLiteral("Enclose a program path that contains spaces in "
                                        "double quotes. Parameters:")),
                    row++, 0, 1, 2);
    grid->addWidget(note(QStringLiteral("%p1 - first file\n%p2 - second file")), row++, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Example:")), row, 0);
    grid->addWidget(example_, row++, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, row, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    resize(460, sizeHint().height());
}

void ExternalDiffOptionsDlg::accept() {
    options_.useExternalDiff = use_->isChecked();
    options_.externalDiffCommand = fromQString(command_->text());
    QDialog::accept();
}
