#pragma once

// "Open files": the paths and credentials of both databases. Enter in a field moves to
// the next field; OK asks for a missing database name, and updates each description as
// soon as its name is there.

#include "foundation/database/DatabaseDescription.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;
class QGroupBox;
class QFileSystemModel;

class COpenFilesDlg : public QDialog {
public:
    // The descriptions are not owned; OK changes them in place.
    COpenFilesDlg(database::DatabaseDescription& first, database::DatabaseDescription& second,
                  QWidget* parent = nullptr);

    // The fields of one database, in tab order.
    struct Fields {
        QLineEdit* databaseName;
        QLineEdit* databasePassword;
        QLineEdit* userName;
        QLineEdit* userPassword;
        QLineEdit* systemDatabase;
    };
    const Fields& firstFields() const { return fields_[0]; }
    const Fields& secondFields() const { return fields_[1]; }
    QPushButton* okButton() const { return ok_; }

private:
    QGroupBox* createGroup(const QString& title, Fields& fields,
                           const database::DatabaseDescription& description);
    void browse(QLineEdit* field, bool systemDatabase);
    void confirm();
    // False, with the message shown, when the name field is empty.
    bool take(const Fields& fields, database::DatabaseDescription& description,
              const QString& missingMessage);
    void focusNextField();

    std::array<database::DatabaseDescription*, 2> descriptions_;
    std::array<Fields, 2> fields_{};
    QPushButton* ok_ = nullptr;
    QFileSystemModel* files_ = nullptr;
};
