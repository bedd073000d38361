#pragma once

// The window's file dialogs: their filters, and the rule that gives a typed name without
// an extension the one of the filter it was typed under.

#include <QString>
#include <QStringList>

#include <string>
#include <string_view>
#include <vector>

class QWidget;

namespace runner::ui {

// What a file dialog returned: the path (empty when cancelled) and the index of the filter
// that was chosen.
struct ChosenFile {
    std::u16string path;
    int filter = 0;
};

namespace filters {
QStringList scripts();      // the editor's open and save dialogs
QStringList databases();    // the database's browse button
QStringList workgroups();   // the system database's browse button
QStringList scriptFiles();  // the Execute script dialog's browse button
QStringList newDatabases(); // Create MDB
} // namespace filters

// Appends extensions[filter] when the chosen filter has one and the file's name (its folders
// aside) contains no ".".
std::u16string withFilterExtension(std::u16string path, int filter,
                                   const std::vector<std::u16string_view>& extensions);

ChosenFile chooseFileToOpen(QWidget* owner, const QString& caption, const QStringList& filters);
ChosenFile chooseFileToSave(QWidget* owner, const QString& caption, const QStringList& filters);

} // namespace runner::ui
