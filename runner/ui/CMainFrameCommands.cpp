// The window's commands: opening, saving and creating files, and the two kinds of run.

#include "runner/ui/CMainFrame.h"

#include "foundation/platform/qt/CEditRion.h"
#include "foundation/platform/qt/QtText.h"
#include "foundation/platform/qt/WaitCursor.h"
#include "foundation/text/IOException.h"
#include "foundation/text/WideString.h"
#include "runner/executor/MdbCreator.h"
#include "runner/executor/ScriptExecutor.h"
#include "runner/stream/FileReader.h"
#include "runner/stream/StringStream.h"
#include "runner/ui/RunProgress.h"

#include <QApplication>
#include <QStatusBar>

#include <exception>
#include <new>

namespace runner::ui {

using platform::qt::fromQString;
using platform::qt::toQString;
using platform::qt::WaitCursor;

namespace {

// Message boxes break lines at "\n"; the runner's texts use "\r\n".
QString boxText(std::u16string_view text) {
    return toQString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

void replaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to) {
    for (size_t at = text.find(from); at != std::u16string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

} // namespace

std::u16string CMainFrame::editorText() const {
    // The raw text: toPlainText would also turn no-break spaces into blanks.
    QString text = editor_->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n').replace(QChar::LineSeparator, u'\n');
    return fromQString(text);
}

void CMainFrame::error(const QString& title, const std::u16string& text) {
    prompts_->message(this, FramePrompts::Icon::Error, title, boxText(text));
}

void CMainFrame::openDatabase() {
    prompts_->openDatabase(this, description_);
    showDatabase();
}

void CMainFrame::openScript() {
    ChosenFile chosen = prompts_->openFile(this, "Open script", filters::scripts());
    if (chosen.path.empty())
        return;
    scriptPath_ = chosen.path;
    SQLExecutor::ScriptHelper loaded = script_;
    if (!loaded.load(chosen.path)) {
        // An empty file opens as an empty script, saved back as ANSI text.
        if (loaded.errorMessage().empty()) {
            script_ = SQLExecutor::ScriptHelper();
            script_.setPath(chosen.path);
            lineBreak_ = u"\r\n";
            editor_->clear();
            editorHoldsRunScript_ = false;
            return;
        }
        // The window keeps its script and the path it is saved to.
        error("Error", loaded.errorMessage());
        return;
    }
    script_ = std::move(loaded);
    lineBreak_ = script_.text().find(u"\r\n") == std::u16string::npos &&
                         script_.text().find(u'\n') != std::u16string::npos
                     ? u"\n"
                     : u"\r\n";
    editor_->setPlainText(toQString(script_.text()));
    script_.clearText();
    editorHoldsRunScript_ = false;
}

void CMainFrame::saveScript() {
    if (script_.path().empty()) {
        saveScriptAs();
        return;
    }
    save();
}

void CMainFrame::saveScriptAs() {
    ChosenFile chosen = prompts_->saveFile(this, "Save script", filters::scripts());
    if (chosen.path.empty())
        return;
    script_.setPath(withFilterExtension(chosen.path, chosen.filter, {u".sql"}));
    save();
}

void CMainFrame::save() {
    if (editor_->document()->isEmpty())
        return;
    std::u16string text;
    try {
        text = editorText();
        if (lineBreak_ != u"\n")
            replaceAll(text, u"\n", lineBreak_);
    } catch (const std::bad_alloc&) {
        error("Error", u"Can't allocate memory to save file");
        return;
    }
    try {
        script_.save(text);
        editor_->document()->setModified(false);
    } catch (const text::IOException& failure) {
        error("Error", failure.message());
    }
}

void CMainFrame::createDatabase() {
    ChosenFile chosen = prompts_->saveFile(this, "Create MDB", filters::newDatabases());
    if (chosen.path.empty())
        return;
    database::DatabaseDescription previous = description_;
    description_.path = withFilterExtension(chosen.path, chosen.filter, {u".mdb", u".accdb"});
    SQLExecutor::MdbCreator creator(description_);
    if (!creator.create()) {
        // The database chosen before stays the one to run against.
        description_ = previous;
        error("Can't save", creator.message());
        return;
    }
    showDatabase();
}

void CMainFrame::run() {
    if (description_.path.empty()) {
        prompts_->message(this, FramePrompts::Icon::None, "Can't open mdb file",
                          "Choose a database file");
        return;
    }
    WaitCursor wait;
    std::u16string text;
    try {
        text = editorText();
    } catch (const std::bad_alloc&) {
        error("Error", u"Can't allocate memory to parse the script.\r\nUse File->Execute script");
        return;
    }
    if (text.empty())
        return;
    Libs::Text::StringStream stream(text);
    std::u16string report = runScript(stream, 1, true);
    editorHoldsRunScript_ = true;
    showReport(report);
}

void CMainFrame::executeScript() {
    if (!prompts_->executeScript(this, description_, scriptPath_))
        return;
    showDatabase();
    if (description_.path.empty()) {
        prompts_->message(this, FramePrompts::Icon::None, "Can't open mdb file",
                          "Choose a database file");
        return;
    }
    if (scriptPath_.empty()) {
        prompts_->message(this, FramePrompts::Icon::None, QString(), "Choose a script file");
        return;
    }
    WaitCursor wait;
    FileReader reader(scriptPath_);
    if (!reader.open()) {
        prompts_->message(this, FramePrompts::Icon::None, QString(),
                          boxText(reader.errorMessage()));
        return;
    }
    int unitsToSize = reader.encoding() == text::TextEncoding::UTF16 ? 2 : 1;
    std::u16string report = runScript(reader, unitsToSize, false);
    reader.close();
    editor_->clear();
    editorHoldsRunScript_ = false;
    showReport(report);
}

std::u16string CMainFrame::runScript(Libs::Stream::ITextStreamReader& reader, int unitsToSize,
                                     bool verbose) {
    RunProgress progress(reader, unitsToSize, [this](const RunState& state) {
        statusBar()->showMessage(QString("Running the script: %1% read, %2 command(s) completed")
                                     .arg(state.percentRead)
                                     .arg(state.commandsCompleted));
        // Paint, but leave the user's keys and clicks queued until the run is over.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    std::u16string report;
    running_ = true;
    try {
        SQLExecutor::ScriptExecutor executor(description_, progress, verbose,
                                             options_.stopOnError());
        report = executor.run(progress);
    } catch (const std::exception& failure) {
        // The reader's own failures end the run; the window stays.
        error("Error", text::fromUtf8(failure.what()));
    }
    running_ = false;
    statusBar()->clearMessage();
    return report;
}

void CMainFrame::showReport(const std::u16string& report) {
    output_->setPlainText(toQString(report));
    output_->moveCursor(QTextCursor::End);
    output_->ensureCursorVisible();
}

void CMainFrame::toggleStopOnError() {
    options_.setStopOnError(!options_.stopOnError());
    action(command::StopOnError)->setChecked(options_.stopOnError());
}

} // namespace runner::ui
