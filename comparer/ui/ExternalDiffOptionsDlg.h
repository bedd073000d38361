#pragma once

// "External diff": whether a double click on a result line runs an external diff tool,
// and its command line.

#include "foundation/settings/ComparerOptions.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

class ExternalDiffOptionsDlg : public QDialog {
public:
    // Filled from the options; OK stores both settings back into them. Not owned.
    ExternalDiffOptionsDlg(settings::comparer::Options& options, QWidget* parent = nullptr);

    QCheckBox* useExternalDiff() const { return use_; }
    QLineEdit* commandLine() const { return command_; }
    QLineEdit* example() const { return example_; }

    void accept() override;

private:
    settings::comparer::Options& options_;
    QCheckBox* use_;
    QLineEdit* command_;
    QLineEdit* example_;
};
