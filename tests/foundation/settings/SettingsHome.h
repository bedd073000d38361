#pragma once

// Points the settings and data folders of this process at a fresh scratch folder.

#include "tests/foundation/platform/ScratchFolder.h"

#include <fstream>
#include <iterator>
#include <string>

class SettingsHome {
public:
    SettingsHome() {
        ::setenv("XDG_CONFIG_HOME", (scratch_ / "config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (scratch_ / "data").c_str(), 1);
    }

    const std::filesystem::path& root() const { return scratch_.path(); }
    std::filesystem::path storeFile() const { return scratch_ / "config/kelvor/registry.reg"; }

    void writeStore(const std::string& bytes) const {
        std::filesystem::create_directories(storeFile().parent_path());
        std::ofstream(storeFile(), std::ios::binary) << bytes;
    }

    std::string readStore() const { return read(storeFile()); }

    static std::string read(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    ScratchFolder scratch_;
};
