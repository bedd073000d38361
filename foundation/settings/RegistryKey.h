#pragma once

// A key of the current user's registry, kept in one .reg file that both programs share:
// ${XDG_CONFIG_HOME:-$HOME/.config}/kelvor/registry.reg (see RegistryDocument for its form).
//
// Opening a key reads the file once. Each write is one transaction under an advisory lock
// on "registry.reg.lock": it reads the file afresh, changes the one value and replaces the
// file atomically, so that two programs writing at once lose nothing and a crash never
// leaves half a file. A file that cannot be read is never replaced.

#include "foundation/settings/RegistryDocument.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace settings {

class RegistryKey {
public:
    // HKEY_CURRENT_USER\<subKey> for reading; none when the file or the key is missing.
    static std::optional<RegistryKey> open(std::u16string_view subKey);
    // HKEY_CURRENT_USER\<subKey> for writing; none when the settings folder cannot be made.
    static std::optional<RegistryKey> create(std::u16string_view subKey);

    // A double-word value.
    std::optional<std::uint32_t> readDword(std::u16string_view name) const;
    // A string value whose data, terminator included, takes at most maxBytes bytes.
    std::optional<std::u16string> readString(std::u16string_view name, std::size_t maxBytes) const;

    // False when the value could not be stored.
    bool writeDword(std::u16string_view name, std::uint32_t value);
    bool writeString(std::u16string_view name, std::u16string_view value);

    // The settings file; none without a home folder.
    static std::optional<std::filesystem::path> storePath();

private:
    RegistryKey(std::filesystem::path file, std::u16string key, RegistryDocument document);
    bool write(std::u16string_view name, const RegistryValue& value);

    std::filesystem::path file_;
    std::u16string key_;
    RegistryDocument document_; // as last read or written
};

} // namespace settings
