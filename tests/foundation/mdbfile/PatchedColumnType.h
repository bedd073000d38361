#pragma once

// Gives a column of a copied Jet 4 or ACE file another stored type code, as a newer Access
// would have written it (Date/Time Extended, or a type nothing here knows). Only the column's
// entry in its table definition changes; the table is found by its column names.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace mdbtest {

namespace patch {

constexpr std::size_t pageSize = 4096;
constexpr std::size_t columnCountAt = 45;
constexpr std::size_t physicalCountAt = 51;
constexpr std::size_t firstEntryAt = 63;
constexpr std::size_t physicalEntrySize = 12;
constexpr std::size_t columnEntrySize = 25;

inline std::uint32_t readLittle(const std::vector<std::uint8_t>& page, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = width; i-- > 0;)
        value = (value << 8) | page[at + std::size_t(i)];
    return value;
}

// Names are UCS-2, or one byte a character after the FF FE mark.
inline std::string nameAt(const std::vector<std::uint8_t>& page, std::size_t at,
                          std::size_t length) {
    std::string name;
    bool compressed = length >= 2 && page[at] == 0xFF && page[at + 1] == 0xFE;
    for (std::size_t i = compressed ? 2 : 0; i < length; i += compressed ? 1 : 2)
        name += char(page[at + i]);
    return name;
}

} // namespace patch

// Sets the type byte of each named column of the table whose definition holds exactly the
// columns `table`; returns how many entries changed.
inline int patchColumnTypes(const std::filesystem::path& file, const std::set<std::string>& table,
                            const std::vector<std::pair<std::string, std::uint8_t>>& types) {
    using namespace patch;
    std::fstream io(file, std::ios::in | std::ios::out | std::ios::binary);
    std::vector<std::uint8_t> page(pageSize);
    int changed = 0;
    for (std::size_t number = 0;; ++number) {
        io.seekg(std::streamoff(number * pageSize));
        if (!io.read(reinterpret_cast<char*>(page.data()), std::streamsize(pageSize)))
            break;
        if (page[0] != 0x02 || page[1] != 0x01)
            continue; // not the first page of a table definition
        std::size_t columns = readLittle(page, columnCountAt, 2);
        std::size_t first = firstEntryAt + readLittle(page, physicalCountAt, 4) * physicalEntrySize;
        std::size_t at = first + columns * columnEntrySize;
        std::vector<std::string> names;
        for (std::size_t i = 0; i < columns && at + 2 <= pageSize; ++i) {
            std::size_t length = readLittle(page, at, 2);
            if (at + 2 + length > pageSize)
                break;
            names.push_back(nameAt(page, at + 2, length));
            at += 2 + length;
        }
        if (std::set<std::string>(names.begin(), names.end()) != table)
            continue;
        for (const auto& [column, type] : types)
            for (std::size_t i = 0; i < names.size(); ++i)
                if (names[i] == column) {
                    page[first + i * columnEntrySize] = type;
                    ++changed;
                }
        io.clear();
        io.seekp(std::streamoff(number * pageSize));
        io.write(reinterpret_cast<const char*>(page.data()), std::streamsize(pageSize));
    }
    return changed;
}

} // namespace mdbtest
