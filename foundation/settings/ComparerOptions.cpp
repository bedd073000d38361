#include "foundation/settings/ComparerOptions.h"

#include "foundation/settings/RegistryKey.h"
#include "foundation/settings/RegistryWriter.h"

namespace settings::comparer {

namespace {

// The double words in the order they are read, with the switch each one sets.
struct FlagValue {
    const char16_t* name;
    bool Options::*field;
};
constexpr FlagValue kFlags[] = {
    {u"data3", &Options::compareHiddenTables},
    {u"data4", &Options::compareFieldsOrder},
    {u"data5", &Options::useExternalDiff},
    {u"data13", &Options::showTipsOnStartup},
    {u"data8", &Options::compareForms},
    {u"data9", &Options::compareModules},
    {u"data10", &Options::compareMacros},
    {u"data11", &Options::compareReports},
    {u"data12", &Options::compareTableDataMacros},
};
constexpr char16_t kCurrentTip[] = u"data14";
constexpr char16_t kExternalDiffCommand[] = u"data6";
constexpr std::size_t kMaxCommandBytes = 1024;

bool store(IRegistryWriter&& writer) {
    return writeRegistryValue(kRegistryKey, writer);
}

} // namespace

OptionsManager::OptionsManager() {
    load();
}

OptionsManager::~OptionsManager() = default;

const Options& OptionsManager::options() {
    return record();
}

Options& OptionsManager::record() {
    if (!options_)
        load();
    return *options_;
}

void OptionsManager::load() {
    options_ = std::make_unique<Options>();
    auto key = RegistryKey::open(kRegistryKey);
    if (!key)
        return;
    Options& o = *options_;
    for (const FlagValue& flag : kFlags) {
        if (auto v = key->readDword(flag.name))
            o.*flag.field = *v != 0;
    }
    if (auto v = key->readDword(kCurrentTip))
        o.currentTip = static_cast<int>(*v);
    if (auto command = key->readString(kExternalDiffCommand, kMaxCommandBytes))
        o.externalDiffCommand = *command;
}

bool OptionsManager::setFlag(bool Options::*field, const char16_t* name, bool value) {
    record().*field = value;
    return store(RegistryBoolWriter(name, value));
}

bool OptionsManager::setCompareHiddenTables(bool value) {
    return setFlag(&Options::compareHiddenTables, u"data3", value);
}

bool OptionsManager::setCompareFieldsOrder(bool value) {
    return setFlag(&Options::compareFieldsOrder, u"data4", value);
}

bool OptionsManager::setCompareForms(bool value) {
    return setFlag(&Options::compareForms, u"data8", value);
}

bool OptionsManager::setCompareModules(bool value) {
    return setFlag(&Options::compareModules, u"data9", value);
}

bool OptionsManager::setCompareMacros(bool value) {
    return setFlag(&Options::compareMacros, u"data10", value);
}

bool OptionsManager::setCompareReports(bool value) {
    return setFlag(&Options::compareReports, u"data11", value);
}

bool OptionsManager::setCompareTableDataMacros(bool value) {
    return setFlag(&Options::compareTableDataMacros, u"data12", value);
}

bool OptionsManager::setExternalDiff(bool use, const std::u16string& command) {
    Options& o = record();
    o.useExternalDiff = use;
    o.externalDiffCommand = command;
    bool usedStored = store(RegistryBoolWriter(u"data5", use));
    bool commandStored = store(RegistryStringWriter(kExternalDiffCommand, command));
    return usedStored && commandStored;
}

bool OptionsManager::setTips(bool showOnStartup, int currentTip) {
    Options& o = record();
    o.showTipsOnStartup = showOnStartup;
    o.currentTip = currentTip;
    store(RegistryBoolWriter(u"data13", showOnStartup));
    return store(RegistryIntWriter(kCurrentTip, currentTip));
}

} // namespace settings::comparer
