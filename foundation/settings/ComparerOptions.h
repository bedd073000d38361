#pragma once

// The comparer's settings, kept under HKEY_CURRENT_USER\SOFTWARE\Kelvor. Loading never
// fails: a value that is missing or cannot be read keeps its default.

#include <memory>
#include <string>

namespace settings::comparer {

inline constexpr char16_t kRegistryKey[] = u"SOFTWARE\\Kelvor";
inline constexpr char16_t kDefaultExternalDiffCommand[] = u"meld %p1 %p2";

struct Options {
    bool compareHiddenTables = false;                                 // "data3"
    bool compareFieldsOrder = false;                                  // "data4"
    bool compareForms = false;                                        // "data8"
    bool compareModules = false;                                      // "data9"
    bool compareMacros = false;                                       // "data10"
    bool compareReports = false;                                      // "data11"
    bool compareTableDataMacros = false;                              // "data12"
    bool useExternalDiff = false;                                     // "data5"
    std::u16string externalDiffCommand = kDefaultExternalDiffCommand; // "data6", "%p1" "%p2"
    bool showTipsOnStartup = true;                                    // "data13"
    int currentTip = 0;                                               // "data14"
};

class OptionsManager {
public:
    // Loads the settings.
    OptionsManager();
    virtual ~OptionsManager();

    // Loads them first when none are held.
    const Options& options();
    // Discards the record held and reads a fresh one.
    void load();

    // Each setter changes the record, then stores its values; false when a value could not be
    // stored (the record keeps the change).
    bool setCompareHiddenTables(bool value);
    bool setCompareFieldsOrder(bool value);
    bool setCompareForms(bool value);
    bool setCompareModules(bool value);
    bool setCompareMacros(bool value);
    bool setCompareReports(bool value);
    bool setCompareTableDataMacros(bool value);
    // True only when both values were stored.
    bool setExternalDiff(bool use, const std::u16string& command);
    // Stores both values; the result is that of the current tip.
    bool setTips(bool showOnStartup, int currentTip);

private:
    Options& record();
    bool setFlag(bool Options::*field, const char16_t* name, bool value);

    std::unique_ptr<Options> options_;
};

} // namespace settings::comparer
