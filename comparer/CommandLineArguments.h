#pragma once

// The comparer's command line: decides whether the program opens its window (empty or on
// two databases) or writes a synchronisation script, and collects the values for the run.
// Parsing only looks at the words; it opens nothing.
//
// Script mode also takes switches for pipelines, which the usage text does not list: "-" as
// the script path writes the script to standard output, "/r <file>" writes the text report
// too ("-" again standard output), and "/x" makes the exit code tell the outcome.

#include <string>
#include <vector>

enum class RunMode : int {
    NoDatabases = 0,
    ShowUsage = 1,
    WriteScript = 2,
    OpenDatabases = 3,
};

class CommandLineArguments {
public:
    // Word 0 is the program; an empty list stands for a missing word array.
    explicit CommandLineArguments(std::vector<std::u16string> words);

    // True when the program may go on; false when the usage box is to be shown.
    bool parse();

    RunMode mode() const { return mode_; }
    bool utf8() const { return utf8_; }
    bool utf16() const { return utf16_; }
    bool console() const { return console_; }
    // "/r": where the text report goes; empty when not asked for.
    const std::u16string& reportPath() const { return reportPath_; }
    // "/x": the exit code is 0 for identical, 1 for different, 2 for a failure.
    bool exitStatus() const { return exitStatus_; }
    bool hasError() const { return error_; }
    const std::u16string& usage() const { return usage_; }
    const std::u16string& firstDatabase() const { return firstDatabase_; }
    const std::u16string& secondDatabase() const { return secondDatabase_; }
    const std::u16string& firstTitle() const { return firstTitle_; }
    const std::u16string& secondTitle() const { return secondTitle_; }
    const std::u16string& scriptPath() const { return scriptPath_; }

    static const std::u16string& usageText();

private:
    bool isTitleForm() const;
    bool parseTitles();
    bool parseScriptSwitches();
    void loadUsage();
    bool usageExit();

    std::vector<std::u16string> words_;
    RunMode mode_ = RunMode::NoDatabases;
    bool utf8_ = false;
    bool utf16_ = false;
    bool console_ = false;
    bool exitStatus_ = false;
    bool error_ = false;
    std::u16string usage_;
    std::u16string firstDatabase_;
    std::u16string secondDatabase_;
    std::u16string firstTitle_;
    std::u16string secondTitle_;
    std::u16string scriptPath_;
    std::u16string reportPath_;
};
