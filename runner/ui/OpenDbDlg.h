#pragma once

// "Open database": the database to run scripts against, with its user-level security.

#include "foundation/database/DatabaseDescription.h"

#include <QDialog>

namespace runner::ui {

class DatabaseFields;

// A note under the fields of both database dialogs.
QString securityNote();

class OpenDbDlg : public QDialog {
public:
    // The fields start with the description; accepting copies them back into it.
    OpenDbDlg(database::DatabaseDescription& description, QWidget* parent = nullptr);

    DatabaseFields* fields() const { return fields_; }
    void accept() override;

private:
    database::DatabaseDescription& description_;
    DatabaseFields* fields_;
};

} // namespace runner::ui
