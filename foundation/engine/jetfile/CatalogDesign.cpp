#include "foundation/engine/jetfile/CatalogDesign.h"

#include "foundation/engine/api/Codes.h"
#include "foundation/text/WideString.h"

#include <algorithm>

namespace engine::jetfile {

namespace {

// Sizes a DDL statement gets when it names none.
constexpr int defaultTextCharacters = 255;
constexpr int defaultBinaryBytes = 510;
constexpr int defaultDecimalPrecision = 18;

struct StoredType {
    std::uint8_t type;
    bool sized; // the length comes from the column's size
};

std::optional<StoredType> storedType(int adoxType) {
    switch (adoxType) {
    case type::boolean:
        return StoredType{column::boolean, false};
    case type::tinyInt:
        return StoredType{column::byte, false};
    case type::smallInt:
        return StoredType{column::integer, false};
    case type::integer:
        return StoredType{column::longInteger, false};
    case type::single:
        return StoredType{column::single, false};
    case type::doubleType:
        return StoredType{column::doubleType, false};
    case type::currency:
        return StoredType{column::money, false};
    case type::date:
        return StoredType{column::dateTime, false};
    case type::guid:
        return StoredType{column::guid, false};
    case type::decimal:
        return StoredType{column::numeric, false};
    case type::wChar:
    case type::varWChar:
        return StoredType{column::text, true};
    case type::varBinary:
        return StoredType{column::binary, true};
    case type::longVarWChar:
        return StoredType{column::memo, false};
    case type::longVarBinary:
        return StoredType{column::oleObject, false};
    case type::attachment:
        return StoredType{column::complex, false};
    default:
        return std::nullopt;
    }
}

constexpr std::size_t maxNameLength = 64;

// The engine's rule for the names of tables, columns and indexes.
void checkName(std::u16string_view name) {
    bool valid =
        !name.empty() && name.size() <= maxNameLength && name.front() != u' ' &&
        std::none_of(name.begin(), name.end(), [](char16_t c) {
            return c < 0x20 || c == u'.' || c == u'!' || c == u'`' || c == u'[' || c == u']';
        });
    if (!valid)
        throw DefinitionRefused("'" + text::toUtf8(name) +
                                "' is not a valid name. Make sure that it does not include "
                                "invalid characters or punctuation and that it is not too long.");
}

std::uint16_t storedLength(const catalog::Column& c, std::uint8_t stored) {
    if (stored == column::text)
        return std::uint16_t(2 * (c.size > 0 ? c.size : defaultTextCharacters));
    return std::uint16_t(c.size > 0 ? c.size : defaultBinaryBytes);
}

} // namespace

ColumnDesign columnDesignOf(const catalog::Column& c, SortOrder fileOrder) {
    checkName(c.name);
    std::optional<StoredType> stored = storedType(c.type);
    if (!stored || c.multiValueType != 0)
        throw DefinitionRefused("Field '" + text::toUtf8(c.name) +
                                "' has a type this writer cannot make.");
    ColumnDesign design;
    design.name = c.name;
    design.type = stored->type;
    if (stored->sized)
        design.length = storedLength(c, stored->type);
    design.fixedLength = c.type == type::wChar || c.fixedLength;
    design.required = !c.nullable;
    // Access numbers a complex column's keys itself.
    design.autoIncrement = c.autoIncrement || stored->type == column::complex;
    design.compressedUnicode = c.compressed;
    if (stored->type == column::numeric) {
        design.precision = std::uint8_t(c.precision > 0 ? c.precision : defaultDecimalPrecision);
        design.scale = std::uint8_t(c.scale);
    }
    design.sortOrder = newColumnSortOrder(design.type, fileOrder);
    return design;
}

IndexDesign indexDesignOf(const catalog::Index& index) {
    checkName(index.name);
    IndexDesign design;
    design.name = index.name;
    for (const catalog::IndexColumn& c : index.columns)
        design.columns.push_back({c.name, !c.descending});
    design.primary = index.primary;
    design.unique = index.unique || index.primary;
    design.ignoreNulls =
        index.nulls == adox::indexNullsIgnore || index.nulls == adox::indexNullsIgnoreAny;
    design.disallowNull = index.primary || index.nulls == adox::indexNullsDisallow;
    return design;
}

TableDesign tableDesignOf(const catalog::Table& table, SortOrder fileOrder) {
    checkName(table.name);
    TableDesign design;
    design.name = table.name;
    for (const catalog::Column& c : table.columns)
        design.columns.push_back(columnDesignOf(c, fileOrder));
    for (const catalog::Index& index : table.indexes) {
        if (index.foreign)
            throw DefinitionRefused("Index '" + text::toUtf8(index.name) +
                                    "' backs a relationship, which this writer cannot make.");
        design.indexes.push_back(indexDesignOf(index));
    }
    return design;
}

} // namespace engine::jetfile
