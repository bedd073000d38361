#pragma once

// Everything the editor window asks of its user in a modal box: messages, file dialogs and
// the two database dialogs. The window asks through this class so that tests can answer in
// place of a user.

#include "foundation/database/DatabaseDescription.h"
#include "runner/ui/FileChoice.h"

#include <QString>

#include <string>

class QWidget;

namespace runner::ui {

class FramePrompts {
public:
    enum class Icon { None, Error };

    virtual ~FramePrompts() = default;

    virtual void message(QWidget* owner, Icon icon, const QString& title, const QString& text);
    virtual ChosenFile openFile(QWidget* owner, const QString& caption, const QStringList& filters);
    virtual ChosenFile saveFile(QWidget* owner, const QString& caption, const QStringList& filters);
    // The Open database dialog; true when it was accepted (the description then changed).
    virtual bool openDatabase(QWidget* owner, database::DatabaseDescription& description);
    // The Execute script dialog; true after "Run" (description and path then changed).
    virtual bool executeScript(QWidget* owner, database::DatabaseDescription& description,
                               std::u16string& scriptPath);
    virtual void about(QWidget* owner);
};

} // namespace runner::ui
