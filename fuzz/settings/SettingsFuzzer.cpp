// libFuzzer target: any bytes as the settings file. Reading never fails; an untouched document
// gives back every byte of a file that is not empty; after a value is set, the rewritten file reads
// that value back and every other value of the two programs as it read before.

#include "foundation/settings/RegistryDocument.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::u16string_view kComparerKey = u"HKEY_CURRENT_USER\\SOFTWARE\\Kelvor";
constexpr std::u16string_view kRunnerKey = u"HKEY_CURRENT_USER\\SOFTWARE\\Kelrun";

struct Name {
    std::u16string_view key;
    std::u16string_view value;
};

constexpr Name kNames[] = {
    {kComparerKey, u"data3"},  {kComparerKey, u"data4"},  {kComparerKey, u"data5"},
    {kComparerKey, u"data6"},  {kComparerKey, u"data8"},  {kComparerKey, u"data9"},
    {kComparerKey, u"data10"}, {kComparerKey, u"data11"}, {kComparerKey, u"data12"},
    {kComparerKey, u"data13"}, {kComparerKey, u"data14"}, {kRunnerKey, u"stoponerror"},
};

std::vector<std::optional<settings::RegistryValue>>
valuesOf(const settings::RegistryDocument& document) {
    std::vector<std::optional<settings::RegistryValue>> values;
    for (const Name& name : kNames)
        values.push_back(document.value(name.key, name.value));
    return values;
}

void check(bool condition, const char* what) {
    if (condition)
        return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    settings::RegistryDocument document(bytes);
    check(size == 0 || document.bytes() == bytes, // an empty file is written as a new one
          "an untouched document keeps every byte");
    auto before = valuesOf(document);

    // The value to change follows the input's last byte, its new content both kinds.
    std::size_t changed = size ? data[size - 1] % std::size(kNames) : 0;
    settings::RegistryValue value =
        size % 2 ? settings::RegistryValue(std::uint32_t(size))
                 : settings::RegistryValue(std::u16string(u"\"C:\\Program Files\\x\" %p1 \u00e9;"));
    document.setValue(kNames[changed].key, kNames[changed].value, value);

    settings::RegistryDocument reread(document.bytes());
    auto after = valuesOf(reread);
    before[changed] = value;
    check(after == before, "the rewritten file reads as written");
    return 0;
}
