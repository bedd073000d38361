#pragma once

// The runner's command line: "<sql file> <mdb file>" followed by options in any order and
// letter case. A repeated option keeps its last value.

#include <string>
#include <vector>

class RunnerCommandLine {
public:
    // Word 0 is the program.
    explicit RunnerCommandLine(std::vector<std::u16string> words);

    // False when the command line is malformed; message() then holds the usage text.
    bool parse();

    const std::u16string& scriptPath() const { return scriptPath_; }
    // The target database: path and the security values of "/s", "/p", "/un" and "/up".
    const std::u16string& databasePath() const { return databasePath_; }
    const std::u16string& systemDatabase() const { return systemDatabase_; }
    const std::u16string& databasePassword() const { return databasePassword_; }
    const std::u16string& userName() const { return userName_; }
    const std::u16string& userPassword() const { return userPassword_; }

    bool create() const { return create_; }
    bool deleteOld() const { return deleteOld_; }
    bool console() const { return console_; }
    bool logFile() const { return logFile_; }
    bool stopOnError() const { return stopOnError_; }

    const std::u16string& message() const { return message_; }

    static const std::u16string& usageText();

private:
    bool takeOption(const std::u16string& word);
    bool fail();

    std::vector<std::u16string> words_;
    std::size_t next_ = 3;
    std::u16string scriptPath_;
    std::u16string databasePath_;
    std::u16string systemDatabase_;
    std::u16string databasePassword_;
    std::u16string userName_;
    std::u16string userPassword_;
    bool create_ = false;
    bool deleteOld_ = false;
    bool console_ = false;
    bool logFile_ = false;
    bool stopOnError_ = true;
    std::u16string message_;
};
