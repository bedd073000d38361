#include "foundation/engine/mdbfile/StoredProperties.h"

#include "foundation/text/WideString.h"

#include <limits>
#include <optional>

namespace engine::mdbfile {

namespace {

struct KnownProperty {
    std::u16string_view name;
    int type;
};

// Field properties Access sets, with their DAO types.
constexpr KnownProperty knownProperties[] = {
    {u"AggregateType", daotype::longInteger},
    {u"AllowMultipleValues", daotype::boolean},
    {u"AllowValueListEdits", daotype::boolean},
    {u"AppendOnly", daotype::boolean},
    {u"BoundColumn", daotype::integer},
    {u"Caption", daotype::text},
    {u"ColumnCount", daotype::integer},
    {u"ColumnHeads", daotype::boolean},
    {u"ColumnHidden", daotype::boolean},
    {u"ColumnOrder", daotype::integer},
    {u"ColumnWidth", daotype::integer},
    {u"ColumnWidths", daotype::text},
    {u"CurrencyLCID", daotype::longInteger},
    {u"DecimalPlaces", daotype::byte},
    {u"Description", daotype::text},
    {u"DisplayControl", daotype::integer},
    {u"Expression", daotype::text},
    {u"FilterLookup", daotype::byte},
    {u"Format", daotype::text},
    {u"IMEMode", daotype::byte},
    {u"IMESentenceMode", daotype::byte},
    {u"InputMask", daotype::text},
    {u"LimitToList", daotype::boolean},
    {u"ListRows", daotype::integer},
    {u"ListWidth", daotype::text},
    {u"ResultType", daotype::byte},
    {u"RowSource", daotype::text},
    {u"RowSourceType", daotype::text},
    {u"ShowDatePicker", daotype::integer},
    {u"ShowOnlyRowSourceValues", daotype::boolean},
    {u"SmartTags", daotype::text},
    {u"TextAlign", daotype::byte},
    {u"TextFormat", daotype::byte},
};

bool isYes(const std::string& value) {
    return value == "yes";
}

std::optional<std::int64_t> integerOf(const std::string& value, std::int64_t low,
                                      std::int64_t high) {
    std::int64_t number = 0;
    if (!text::parseInt(text::fromUtf8(value), number) || number < low || number > high)
        return std::nullopt;
    return number;
}

template <class T> std::optional<Variant> integerVariant(const std::string& value) {
    auto number = integerOf(value, std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
    if (!number)
        return std::nullopt;
    return Variant(T(*number));
}

std::optional<Variant> typedValue(int type, const std::string& value) {
    switch (type) {
    case daotype::boolean:
        if (value != "yes" && value != "no")
            return std::nullopt;
        return Variant(isYes(value));
    case daotype::byte:
        return integerVariant<std::uint8_t>(value);
    case daotype::integer:
        return integerVariant<std::int16_t>(value);
    case daotype::longInteger:
        return integerVariant<std::int32_t>(value);
    default:
        return Variant(text::fromUtf8(value));
    }
}

} // namespace

const std::string* findStored(const StoredValues& stored, std::u16string_view name) {
    auto it = stored.find(std::u16string(name));
    return it == stored.end() ? nullptr : &it->second;
}

void applyColumnProperties(const StoredValues& stored, catalog::Column& column) {
    if (const std::string* required = findStored(stored, u"Required"); required && isYes(*required))
        column.nullable = false;
    bool textual = column.type == type::varWChar || column.type == type::wChar ||
                   column.type == type::longVarWChar;
    if (const std::string* azl = findStored(stored, u"AllowZeroLength"); azl && textual)
        column.allowZeroLength = isYes(*azl);
    if (const std::string* value = findStored(stored, u"DefaultValue"))
        column.defaultValue = text::fromUtf8(*value);
    if (const std::string* rule = findStored(stored, u"ValidationRule"))
        column.validationRule = text::fromUtf8(*rule);
    if (const std::string* ruleText = findStored(stored, u"ValidationText"))
        column.validationText = text::fromUtf8(*ruleText);
    for (const KnownProperty& known : knownProperties) {
        const std::string* value = findStored(stored, known.name);
        if (!value)
            continue;
        if (std::optional<Variant> typed = typedValue(known.type, *value))
            column.properties.push_back({std::u16string(known.name), known.type, *typed});
    }
}

void applyTableProperties(const StoredValues& stored, catalog::Table& table) {
    if (const std::string* rule = findStored(stored, u"ValidationRule"))
        table.validationRule = text::fromUtf8(*rule);
    if (const std::string* ruleText = findStored(stored, u"ValidationText"))
        table.validationText = text::fromUtf8(*ruleText);
}

} // namespace engine::mdbfile
