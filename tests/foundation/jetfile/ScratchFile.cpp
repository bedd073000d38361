#include "ScratchFile.h"

#include "SharedFiles.h"

#include <array>
#include <cstdio>
#include <random>
#include <sstream>
#include <sys/wait.h>

namespace jettest {

namespace fs = std::filesystem;

ScratchFile::ScratchFile(const std::string& sharedName) {
    std::random_device random;
    folder_ = fs::temp_directory_path() / ("jetfile-scratch-" + std::to_string(random()));
    fs::create_directories(folder_);
    path_ = folder_ / sharedName;
    fs::copy_file(sharedFile(sharedName), path_);
    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::replace);
}

ScratchFile::~ScratchFile() {
    std::error_code error;
    fs::remove_all(folder_, error);
}

CommandOutput runCommand(const std::string& command) {
    CommandOutput output;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return output;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        output.text.append(buffer.data(), n);
    int status = pclose(pipe);
    output.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return output;
}

std::string shellWord(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

CommandOutput mdbExport(const fs::path& file, const std::string& table) {
    return runCommand("mdb-export " + shellWord(file.string()) + " " + shellWord(table));
}

CommandOutput mdbTool(const std::string& tool, const fs::path& file, const std::string& argument) {
    std::string command = tool + " " + shellWord(file.string());
    return runCommand(argument.empty() ? command : command + " " + shellWord(argument));
}

std::vector<std::string> mdbTables(const fs::path& file) {
    return lines(runCommand("mdb-tables -1 " + shellWord(file.string())).text);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields(1);
    bool inQuotes = false;
    for (char c : line) {
        if (c == '"')
            inQuotes = !inQuotes;
        else if (c == ',' && !inQuotes)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

} // namespace jettest
