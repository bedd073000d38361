#pragma once

// The settings of one test in a folder of its own: tests run in parallel, and two of them
// changing one settings file would see each other's values.

#include "tests/foundation/platform/ScratchFolder.h"

#include <cstdlib>
#include <optional>
#include <string>

class PrivateSettings {
public:
    PrivateSettings() {
        if (const char* value = std::getenv("XDG_CONFIG_HOME"))
            saved_ = value;
        ::setenv("XDG_CONFIG_HOME", folder_.path().c_str(), 1);
    }
    ~PrivateSettings() {
        if (saved_)
            ::setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }
    PrivateSettings(const PrivateSettings&) = delete;
    PrivateSettings& operator=(const PrivateSettings&) = delete;

private:
    ScratchFolder folder_;
    std::optional<std::string> saved_;
};
