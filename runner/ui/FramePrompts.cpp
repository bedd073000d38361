#include "runner/ui/FramePrompts.h"

#include "runner/ui/CAboutDlg.h"
#include "runner/ui/OpenDbAndScriptDlg.h"
#include "runner/ui/OpenDbDlg.h"

#include <QMessageBox>

namespace runner::ui {

void FramePrompts::message(QWidget* owner, Icon icon, const QString& title, const QString& text) {
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::NoIcon, title, text,
                    QMessageBox::Ok, owner);
    box.exec();
}

ChosenFile FramePrompts::openFile(QWidget* owner, const QString& caption,
                                  const QStringList& filters) {
    return chooseFileToOpen(owner, caption, filters);
}

ChosenFile FramePrompts::saveFile(QWidget* owner, const QString& caption,
                                  const QStringList& filters) {
    return chooseFileToSave(owner, caption, filters);
}

bool FramePrompts::openDatabase(QWidget* owner, database::DatabaseDescription& description) {
    return OpenDbDlg(description, owner).exec() == QDialog::Accepted;
}

bool FramePrompts::executeScript(QWidget* owner, database::DatabaseDescription& description,
                                 std::u16string& scriptPath) {
    return OpenDbAndScriptDlg(description, scriptPath, owner).exec() == QDialog::Accepted;
}

void FramePrompts::about(QWidget* owner) {
    CAboutDlg(owner).exec();
}

} // namespace runner::ui
