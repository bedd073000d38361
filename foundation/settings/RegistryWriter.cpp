#include "foundation/settings/RegistryWriter.h"

namespace settings {

bool RegistryBoolWriter::write(RegistryKey& key) {
    return key.writeDword(name_, value_ ? 1 : 0);
}

bool RegistryIntWriter::write(RegistryKey& key) {
    return key.writeDword(name_, static_cast<std::uint32_t>(value_));
}

bool RegistryStringWriter::write(RegistryKey& key) {
    return key.writeString(name_, value_);
}

bool writeRegistryValue(std::u16string_view subKey, IRegistryWriter& writer) {
    auto key = RegistryKey::create(subKey);
    return key && writer.write(*key);
}

} // namespace settings
