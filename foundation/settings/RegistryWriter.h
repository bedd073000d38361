#pragma once

// One writer per value type, created on the stack with a value name and a value (both
// copied), and handed an open key to store itself in.

#include "foundation/settings/RegistryKey.h"

#include <string>
#include <string_view>

namespace settings {

class IRegistryWriter {
public:
    // True when the value was stored.
    virtual bool write(RegistryKey& key) = 0;

protected:
    ~IRegistryWriter() = default;
};

// A double word 1 or 0.
class RegistryBoolWriter final : public IRegistryWriter {
public:
    RegistryBoolWriter(std::u16string_view name, bool value) : name_(name), value_(value) {}
    bool write(RegistryKey& key) override;

private:
    std::u16string name_;
    bool value_;
};

class RegistryIntWriter final : public IRegistryWriter {
public:
    RegistryIntWriter(std::u16string_view name, int value) : name_(name), value_(value) {}
    bool write(RegistryKey& key) override;

private:
    std::u16string name_;
    int value_;
};

// A string value; like a zero-terminated string it ends at the first NUL.
class RegistryStringWriter final : public IRegistryWriter {
public:
    RegistryStringWriter(std::u16string_view name, std::u16string_view value)
        : name_(name), value_(value.substr(0, value.find(u'\0'))) {}
    bool write(RegistryKey& key) override;

private:
    std::u16string name_;
    std::u16string value_;
};

// Creates or opens HKEY_CURRENT_USER\<subKey> and stores one value; false when either fails.
bool writeRegistryValue(std::u16string_view subKey, IRegistryWriter& writer);

} // namespace settings
