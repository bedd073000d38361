#pragma once

// The fields that name a database and its user-level security, shared by the Open database
// and Execute script dialogs: database name, database password, user name, user password
// and system database, with browse buttons for the two files and the passwords masked.

#include "foundation/database/DatabaseDescription.h"

#include <QWidget>

class QGridLayout;
class QLineEdit;

namespace runner::ui {

class DatabaseFields : public QWidget {
public:
    explicit DatabaseFields(const database::DatabaseDescription& description,
                            QWidget* parent = nullptr);

    // Copies the fields into the description; its title is left alone.
    void store(database::DatabaseDescription& description) const;

    // Adds a row of a label, a field and a browse button below the database rows.
    QLineEdit* addFileRow(const QString& label, const QString& text, const QStringList& filters,
                          const char* name);

    QLineEdit* field(const char* name) const;

private:
    QLineEdit* addRow(const QString& label, const std::u16string& text, const char* name);
    void addBrowseButton(QLineEdit* field, const QStringList& filters);

    QGridLayout* grid_;
    int rows_ = 0;
};

} // namespace runner::ui
