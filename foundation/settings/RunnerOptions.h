#pragma once

// The runner's one setting, kept under HKEY_CURRENT_USER\SOFTWARE\Kelrun.

namespace settings::runner {

inline constexpr char16_t kRegistryKey[] = u"SOFTWARE\\Kelrun";

struct Options {
    bool stopOnError = true; // "stoponerror"
};

class OptionsManager {
public:
    // Read on first use and kept; a missing or unreadable value means true.
    const Options& options();
    bool stopOnError() { return options().stopOnError; }
    // Changes the record, then stores the value; false when it could not be stored.
    bool setStopOnError(bool value);

private:
    Options options_;
    bool loaded_ = false;
};

} // namespace settings::runner
