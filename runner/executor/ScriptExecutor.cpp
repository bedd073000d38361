// The run itself: command after command, the report, and the hand-over of the database
// between the engine and Access. The operations live in the files named after the interface
// they go through.

#include "runner/executor/ScriptExecutor.h"

#include "foundation/database/Exceptions.h"
#include "foundation/engine/EngineComponents.h"
#include "foundation/text/IOException.h"
#include "foundation/text/WideString.h"
#include "runner/executor/ErrorText.h"
#include "runner/sqlexecutor/CommandError.h"
#include "runner/sqlexecutor/SQLParser.h"

#include <exception>

namespace SQLExecutor {

ScriptExecutor::ScriptExecutor(const database::DatabaseDescription& description,
                               Libs::Stream::ITextStreamReader& reader, bool verbose,
                               bool stopOnError)
    : ScriptExecutor(description, reader, verbose, stopOnError, engine::components()) {}

ScriptExecutor::ScriptExecutor(const database::DatabaseDescription& description,
                               Libs::Stream::ITextStreamReader& reader, bool verbose,
                               bool stopOnError, engine::Components& components)
    : description_(description), reader_(reader), components_(components), verbose_(verbose),
      stopOnError_(stopOnError),
      connection_(description, database::ProviderChoice::ByExtension, components),
      access_(components) {}

ScriptExecutor::~ScriptExecutor() {
    if (accessStarted_)
        access_.close();
    connection_.close();
}

std::u16string ScriptExecutor::run(settings::IProgress& progress) {
    SQLParser parser(reader_);
    progress.start(int(reader_.size()));
    while (!stop_) {
        std::unique_ptr<SQLCommand> command = parser.next();
        if (!command)
            break;
        if (verbose_)
            echo(*command);
        int before = successes_;
        executeOne(*command);
        if (successes_ != before)
            progress.step();
    }
    if (successes_ != 0) {
        report_ += u"Command(s) completed successfully: " + text::toWString(successes_) + u"\r\n";
        progress.finish();
    }
    if (errors_ != 0)
        report_ += u"Error(s): " + text::toWString(errors_) + u"\r\n";
    connection_.close();
    if (accessStarted_) {
        accessStarted_ = false;
        access_.close();
    }
    return report_;
}

void ScriptExecutor::executeOne(const SQLCommand& command) {
    try {
        command.execute(*this);
        ++successes_;
    } catch (const engine::EngineError& error) {
        commandFailed(command, engineFailureText(error));
    } catch (const database::Exception& error) {
        commandFailed(command, error.message());
    } catch (const text::IOException& error) {
        commandFailed(command, error.message());
    } catch (const CommandError& error) {
        commandFailed(command, u"\r\nError: " + error.message());
    } catch (const database::DbOpenException& error) {
        // Nothing else can succeed on a database that does not open.
        hasErrors_ = true;
        report_ += error.message() + u"\r\n\r\n";
        stop_ = true;
    } catch (const std::exception& error) {
        // Anything else (memory, the file system) fails the command rather than the program.
        commandFailed(command, u"\r\nError: " + text::fromUtf8(error.what()));
    }
}

void ScriptExecutor::commandFailed(const SQLCommand& command, const std::u16string& message) {
    // The verbose report already shows the command.
    if (!verbose_)
        echo(command);
    hasErrors_ = true;
    if (stopOnError_)
        stop_ = true;
    report_ += message + u"\r\n\r\n";
    ++errors_;
}

void ScriptExecutor::echo(const SQLCommand& command) {
    report_ += text::toWString(command.lineNumber()) + u"\t" + command.text() + u"\r\n";
}

void ScriptExecutor::useEngine() {
    if (!accessStarted_)
        return;
    accessStarted_ = false;
    access_.close();
}

void ScriptExecutor::useAccess() {
    if (accessStarted_)
        return;
    connection_.close();
    // A failed start leaves Access stopped, so the next Access command tries again.
    access_.start(description_);
    access_.setQuitOption(engine::access::quitSaveAll);
    accessStarted_ = true;
}

} // namespace SQLExecutor
