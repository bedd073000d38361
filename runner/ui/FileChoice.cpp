#include "runner/ui/FileChoice.h"

#include "foundation/platform/qt/QtText.h"

#include <QFileDialog>

namespace runner::ui {

// Qt reads the patterns from the parentheses and separates them by blanks, and its "*.*"
// would skip names without a dot, so "All Files" lists "*".
namespace filters {
QStringList scripts() {
    return {"Script Files (*.sql)", "All Files (*)"};
}
QStringList databases() {
    return {"Microsoft Access Databases (*.mdb *.accdb)", "All Files (*)"};
}
QStringList workgroups() {
    return {"Access Files (*.mdw)", "All Files (*)"};
}
QStringList scriptFiles() {
    return {"Access Files (*.sql)", "All Files (*)"};
}
QStringList newDatabases() {
    return {"Create MDB file (*.mdb)", "Create ACCDB file (*.accdb)", "All Files (*)"};
}
} // namespace filters

std::u16string withFilterExtension(std::u16string path, int filter,
                                   const std::vector<std::u16string_view>& extensions) {
    if (filter < 0 || size_t(filter) >= extensions.size())
        return path;
    size_t nameStart = path.find_last_of(u'/');
    nameStart = nameStart == std::u16string::npos ? 0 : nameStart + 1;
    if (path.find(u'.', nameStart) != std::u16string::npos)
        return path;
    path += extensions[size_t(filter)];
    return path;
}

namespace {

ChosenFile choose(QWidget* owner, const QString& caption, const QStringList& filters,
                  QFileDialog::AcceptMode mode) {
    QFileDialog dialog(owner, caption);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {platform::qt::fromQString(dialog.selectedFiles().first()),
            int(filters.indexOf(dialog.selectedNameFilter()))};
}

} // namespace

ChosenFile chooseFileToOpen(QWidget* owner, const QString& caption, const QStringList& filters) {
    return choose(owner, caption, filters, QFileDialog::AcceptOpen);
}

ChosenFile chooseFileToSave(QWidget* owner, const QString& caption, const QStringList& filters) {
    return choose(owner, caption, filters, QFileDialog::AcceptSave);
}

} // namespace runner::ui
