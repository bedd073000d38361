#pragma once

// "Execute script": a database and a script file to run against it straight from the file.

#include "foundation/database/DatabaseDescription.h"

#include <QDialog>

#include <string>

class QLineEdit;

namespace runner::ui {

class DatabaseFields;

class OpenDbAndScriptDlg : public QDialog {
public:
    // The fields start with the description and the script path; "Run" copies them back.
    OpenDbAndScriptDlg(database::DatabaseDescription& description, std::u16string& scriptPath,
                       QWidget* parent = nullptr);

    DatabaseFields* fields() const { return fields_; }
    QLineEdit* scriptField() const { return script_; }
    void accept() override;

private:
    database::DatabaseDescription& description_;
    std::u16string& scriptPath_;
    DatabaseFields* fields_;
    QLineEdit* script_;
};

} // namespace runner::ui
