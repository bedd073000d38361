#include "runner/CommandLineRun.h"

#include "foundation/database/DatabaseDescription.h"
#include "foundation/engine/EngineComponents.h"
#include "foundation/platform/Console.h"
#include "foundation/platform/MessageBox.h"
#include "foundation/settings/Progress.h"
#include "foundation/text/WideString.h"
#include "runner/RunLog.h"
#include "runner/executor/MdbCreator.h"
#include "runner/executor/ScriptExecutor.h"
#include "runner/stream/FileReader.h"

#include <filesystem>

namespace {

database::DatabaseDescription descriptionOf(const RunnerCommandLine& commandLine) {
    database::DatabaseDescription description;
    description.setConnectionFields(commandLine.databasePath(), commandLine.systemDatabase(),
                                    commandLine.databasePassword(), commandLine.userName(),
                                    commandLine.userPassword());
    return description;
}

// "/o": an existing file of the database's name goes first. A directory is not a database
// file and is left alone; creating over it fails with the engine's message.
bool deleteOldFile(const std::u16string& path, std::u16string& message) {
    std::filesystem::path file(text::toUtf8(path));
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::symlink_status(file, error);
    if (!std::filesystem::exists(status) || std::filesystem::is_directory(status))
        return true;
    if (std::filesystem::remove(file, error))
        return true;
    message = u"Can't delete file " + path;
    return false;
}

} // namespace

bool runCommandLine(const RunnerCommandLine& commandLine, std::u16string& message) {
    return runCommandLine(commandLine, message, engine::components());
}

bool runCommandLine(const RunnerCommandLine& commandLine, std::u16string& message,
                    engine::Components& components) {
    database::DatabaseDescription description = descriptionOf(commandLine);
    if (commandLine.create()) {
        if (commandLine.deleteOld() && !deleteOldFile(description.path, message))
            return false;
        SQLExecutor::MdbCreator creator(description, components);
        if (!creator.create()) {
            message = creator.message();
            return false;
        }
    }
    FileReader reader(commandLine.scriptPath());
    if (!reader.open()) {
        message = reader.errorMessage();
        return false;
    }
    SQLExecutor::ScriptExecutor executor(description, reader, false, commandLine.stopOnError(),
                                         components);
    settings::FakeProgress progress;
    message = executor.run(progress);
    reader.close();
    return !executor.hasErrors();
}

void reportFailure(const RunnerCommandLine& commandLine, const std::u16string& message) {
    if (commandLine.console())
        platform::writeConsole(message);
    if (commandLine.logFile() && !appendToLog(kLogFileName, message))
        platform::showMessage(u"Error", u"Can't write to the log file");
    if (!commandLine.console() && !commandLine.logFile())
        platform::showMessage(u"Error", message);
}
