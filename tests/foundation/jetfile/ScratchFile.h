#pragma once

// A shared Access file copied into a folder of its own, removed with it; and what libmdb's
// command-line tools make of a file.

#include <filesystem>
#include <string>
#include <vector>

namespace jettest {

class ScratchFile {
public:
    explicit ScratchFile(const std::string& sharedName);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
};

// The output of a command, and whether it exited with 0.
struct CommandOutput {
    std::string text;
    bool succeeded = false;
};
CommandOutput runCommand(const std::string& command);
// The text as one word of a shell command.
std::string shellWord(const std::string& text);

// mdb-export of a table: the header line, then one line per row.
CommandOutput mdbExport(const std::filesystem::path& file, const std::string& table);
std::vector<std::string> mdbTables(const std::filesystem::path& file);
// Another of libmdb's tools on the file, with an argument after it when not empty.
CommandOutput mdbTool(const std::string& tool, const std::filesystem::path& file,
                      const std::string& argument = "");

// The fields of one line of mdb-export's output, quotes removed.
std::vector<std::string> csvFields(const std::string& line);
std::vector<std::string> lines(const std::string& text);

} // namespace jettest
