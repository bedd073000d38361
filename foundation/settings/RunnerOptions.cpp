#include "foundation/settings/RunnerOptions.h"

#include "foundation/settings/RegistryKey.h"
#include "foundation/settings/RegistryWriter.h"

namespace settings::runner {

namespace {
constexpr char16_t kStopOnError[] = u"stoponerror";
}

const Options& OptionsManager::options() {
    if (!loaded_) {
        loaded_ = true;
        if (auto key = RegistryKey::open(kRegistryKey)) {
            if (auto v = key->readDword(kStopOnError))
                options_.stopOnError = *v != 0;
        }
    }
    return options_;
}

bool OptionsManager::setStopOnError(bool value) {
    loaded_ = true;
    options_.stopOnError = value;
    RegistryBoolWriter writer(kStopOnError, value);
    return writeRegistryValue(kRegistryKey, writer);
}

} // namespace settings::runner
