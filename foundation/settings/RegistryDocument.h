#pragma once

// The text of a Windows .reg file, the stand-in for the current user's registry.
//
// A new file is written as regedit writes version 5.00 files: UTF-16 little-endian with the
// mark FF FE, "\r\n" line ends, so that it imports on Windows as it is and keeps any text
// safe. A file found in UTF-8 (with or without its mark) or with "\n" line ends stays so.
//
// Reading never fails: a line that cannot be read (garbage, a truncated value, a type the
// programs do not use) is ignored, and a value whose line cannot be read keeps its
// default. Changing a value rewrites only that value's lines; every other byte of the file,
// unreadable lines included, is kept as it was.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace settings {

// A double word (REG_DWORD) or a string (REG_SZ).
using RegistryValue = std::variant<std::uint32_t, std::u16string>;

class RegistryDocument {
public:
    // An empty file.
    RegistryDocument();
    // The bytes of an existing file.
    explicit RegistryDocument(std::string_view bytes);

    // Keys are full paths such as "HKEY_CURRENT_USER\SOFTWARE\Kelvor"; key and value names
    // match without regard to the case of A-Z, as in the registry.
    bool hasKey(std::u16string_view key) const;
    // The value as the last readable line for it gives it.
    std::optional<RegistryValue> value(std::u16string_view key, std::u16string_view name) const;
    // Replaces the last line of the value, or adds one to the key, or adds the key.
    void setValue(std::u16string_view key, std::u16string_view name, const RegistryValue& value);

    std::string bytes() const;

private:
    enum class Kind { Blank, Section, Value, Other };
    struct Entry {
        Kind kind;
        std::vector<std::string> lines; // the bytes of each line, line end included
        std::u16string key;             // the section's key, for sections and values
        std::u16string name;            // values only
        std::optional<RegistryValue> value;
    };

    void split(std::string_view body);
    void group(const std::vector<std::string>& lines);
    // The text of a line without its line end.
    std::u16string decodeLine(std::string_view line) const;
    std::string encodeLine(std::u16string_view text) const;
    void terminateLastLine();
    Entry makeValueEntry(std::u16string_view key, std::u16string_view name,
                         const RegistryValue& value) const;

    bool utf16_ = true;
    std::string mark_;
    std::u16string newline_ = u"\r\n";
    std::vector<Entry> entries_;
};

} // namespace settings
