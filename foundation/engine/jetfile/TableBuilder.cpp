#include "foundation/engine/jetfile/TableBuilder.h"

#include "foundation/engine/jetfile/Names.h"
#include "foundation/engine/jetfile/StoredRow.h"
#include "foundation/text/WideString.h"

#include <algorithm>

namespace engine::jetfile {

namespace {

constexpr std::uint8_t userTable = 0x4E;
constexpr std::size_t maxColumns = 255;
constexpr std::size_t maxIndexColumns = 10;
constexpr std::size_t trailerSize = 8;
// A logical index that is not a foreign key carries this in both cascade bytes.
constexpr std::uint8_t noCascade = 4;
constexpr std::uint32_t noRelatedIndex = 0xFFFFFFFF;

std::uint16_t definedLength(const ColumnSpec& spec) {
    switch (spec.type) {
    case column::text:
    case column::binary:
        return spec.length;
    case column::memo:
    case column::oleObject:
        return 0;
    case column::boolean:
        return 1;
    default:
        ColumnDefinition typed;
        typed.type = spec.type;
        return std::uint16_t(fixedColumnSize(typed));
    }
}

std::uint32_t miscOf(const ColumnSpec& spec) {
    if (spec.type == column::complex)
        return spec.complexId;
    if (spec.type == column::numeric)
        return std::uint32_t(spec.precision) | std::uint32_t(spec.scale) << 8;
    return std::uint32_t(spec.sortOrder.id) | std::uint32_t(spec.sortOrder.version) << 24;
}

std::uint8_t flagsOf(const ColumnSpec& spec) {
    std::uint8_t flags = column::nullableFlag; // on every column Access writes
    if (!isVariableLength(spec))
        flags |= column::fixedLengthFlag;
    if (spec.autoIncrement)
        flags |= spec.type == column::guid ? column::autoGuidFlag : column::autoLongFlag;
    if (spec.hyperlink)
        flags |= column::hyperlinkFlag;
    return flags;
}

constexpr std::uint16_t maxTextBytes = 510;

bool isBuildable(std::uint8_t type) {
    switch (type) {
    case column::boolean:
    case column::byte:
    case column::integer:
    case column::longInteger:
    case column::money:
    case column::single:
    case column::doubleType:
    case column::dateTime:
    case column::binary:
    case column::text:
    case column::oleObject:
    case column::memo:
    case column::guid:
    case column::numeric:
    case column::complex: // its flat table is made beside it
        return true;
    default:
        return false;
    }
}

void checkColumns(const TableSpec& spec) {
    if (spec.columns.size() > maxColumns)
        throw DefinitionRefused("Too many fields defined.");
    for (const ColumnSpec& c : spec.columns)
        checkColumnSpec(c);
    for (std::size_t i = 0; i < spec.columns.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (sameName(spec.columns[i].name, spec.columns[j].name))
                throw DefinitionRefused("Field '" + text::toUtf8(spec.columns[i].name) +
                                        "' already exists in table '" + text::toUtf8(spec.name) +
                                        "'.");
}

void placeColumns(const TableSpec& spec, TableDefinition& t) {
    std::uint16_t variables = 0;
    std::uint16_t fixedEnd = 0;
    for (std::size_t i = 0; i < spec.columns.size(); ++i) {
        const ColumnSpec& c = spec.columns[i];
        ColumnPlace place{std::uint16_t(i), std::uint16_t(i), variables, 0};
        ColumnDefinition definition = columnDefinitionOf(c, place);
        if (isVariableLength(c)) {
            ++variables;
        } else if (c.type != column::boolean) {
            definition.fixedOffset = fixedEnd;
            fixedEnd = std::uint16_t(fixedEnd + fixedColumnSize(definition));
        }
        t.columns.push_back(std::move(definition));
        if (isLongValue(c.type))
            t.columnUsageMaps.push_back({std::uint16_t(i), 0, 0});
    }
    t.maxColumns = std::uint16_t(spec.columns.size());
    t.variableColumnCount = variables;
}

std::uint8_t physicalFlagsOf(const IndexSpec& spec) {
    std::uint8_t flags = index::createdFlag;
    if (spec.primary || spec.unique)
        flags |= index::uniqueFlag;
    if (spec.ignoreNulls)
        flags |= index::ignoreNullsFlag;
    if (spec.primary || spec.disallowNull)
        flags |= index::requiredFlag;
    return flags;
}

// The columns' numbers are their places in a new table.
std::vector<std::uint16_t> columnNumbersOf(const TableSpec& table, const IndexSpec& spec) {
    std::vector<std::uint16_t> numbers;
    for (const IndexColumnSpec& c : spec.columns) {
        auto found = std::find_if(table.columns.begin(), table.columns.end(),
                                  [&](const ColumnSpec& s) { return sameName(s.name, c.column); });
        if (found == table.columns.end())
            throw DefinitionRefused("Index '" + text::toUtf8(spec.name) + "' names no field '" +
                                    text::toUtf8(c.column) + "'.");
        numbers.push_back(std::uint16_t(found - table.columns.begin()));
    }
    return numbers;
}

void placeIndexes(const TableSpec& spec, TableDefinition& t) {
    bool hasPrimary = false;
    for (std::size_t i = 0; i < spec.indexes.size(); ++i) {
        const IndexSpec& index = spec.indexes[i];
        for (std::size_t j = 0; j < i; ++j)
            if (sameName(spec.indexes[j].name, index.name))
                throw DefinitionRefused("Index '" + text::toUtf8(index.name) + "' already exists.");
        if (index.primary && hasPrimary)
            throw DefinitionRefused("Primary key already exists.");
        hasPrimary = hasPrimary || index.primary;
        PhysicalIndex wanted = physicalIndexOf(index, columnNumbersOf(spec, index));
        std::size_t physical =
            sharedOrNew(t.physicalIndexes, std::move(wanted), index.foreignKey.has_value());
        t.logicalIndexes.push_back(logicalIndexOf(index, i, physical));
    }
    sortLogicalIndexes(t);
}

} // namespace

PhysicalIndex physicalIndexOf(const IndexSpec& spec, std::vector<std::uint16_t> columnNumbers) {
    if (spec.columns.empty() || spec.columns.size() > maxIndexColumns)
        throw DefinitionRefused("Index '" + text::toUtf8(spec.name) +
                                "' must have 1 to 10 fields.");
    PhysicalIndex physical;
    physical.reserved0 = physicalIndexTag;
    physical.columnNumbers = std::move(columnNumbers);
    for (const IndexColumnSpec& c : spec.columns)
        physical.columnOrders.push_back(c.ascending ? 1 : 0);
    physical.columnNumbers.resize(maxIndexColumns, unusedIndexColumn);
    physical.columnOrders.resize(maxIndexColumns, 0);
    physical.flags = physicalFlagsOf(spec);
    physical.reserved47 = Bytes(5);
    return physical;
}

// An index shares a B-tree over the same columns in the same order that has its flags; a
// foreign key shares one whatever its flags, a unique one first (the one a relationship
// requires on its referenced side).
std::size_t sharedOrNew(std::vector<PhysicalIndex>& physicals, PhysicalIndex wanted,
                        bool foreignKey) {
    auto sameKey = [&](const PhysicalIndex& p) {
        return p.columnNumbers == wanted.columnNumbers && p.columnOrders == wanted.columnOrders;
    };
    auto find = [&](auto&& also) -> std::size_t {
        for (std::size_t i = 0; i < physicals.size(); ++i)
            if (sameKey(physicals[i]) && also(physicals[i]))
                return i;
        return physicals.size();
    };
    std::size_t found = physicals.size();
    if (foreignKey)
        found = find([](const PhysicalIndex& p) { return (p.flags & index::uniqueFlag) != 0; });
    if (found == physicals.size())
        found = find([&](const PhysicalIndex& p) { return foreignKey || p.flags == wanted.flags; });
    if (found == physicals.size())
        physicals.push_back(std::move(wanted));
    return found;
}

LogicalIndex logicalIndexOf(const IndexSpec& spec, std::size_t number, std::size_t physical) {
    LogicalIndex logical;
    logical.reserved0 = definitionTag;
    logical.number = std::uint32_t(number);
    logical.physicalIndex = std::uint32_t(physical);
    logical.name = spec.name;
    if (spec.foreignKey) {
        logical.kind = index::foreignKind;
        logical.relatedTableType = spec.foreignKey->relatedTableType;
        logical.relatedIndex = spec.foreignKey->relatedIndex;
        logical.relatedTablePage = spec.foreignKey->relatedTablePage;
        logical.cascadeUpdates = spec.foreignKey->cascadeUpdates;
        logical.cascadeDeletes = spec.foreignKey->cascadeDeletes;
        return logical;
    }
    logical.kind = spec.primary ? index::primaryKind : 0;
    logical.relatedIndex = noRelatedIndex;
    logical.cascadeUpdates = noCascade;
    logical.cascadeDeletes = noCascade;
    return logical;
}

void sortLogicalIndexes(TableDefinition& t) {
    std::stable_sort(
        t.logicalIndexes.begin(), t.logicalIndexes.end(),
        [](const LogicalIndex& a, const LogicalIndex& b) { return nameBefore(a.name, b.name); });
}

void checkColumnSpec(const ColumnSpec& c) {
    if (!isBuildable(c.type))
        throw DefinitionRefused("Field '" + text::toUtf8(c.name) +
                                "' has a type this writer does not create yet.");
    if (c.type != column::text && c.type != column::binary)
        return;
    if (c.length == 0)
        throw DefinitionRefused("Field '" + text::toUtf8(c.name) + "' has no size.");
    if (c.length > maxTextBytes)
        throw DefinitionRefused("Size of field '" + text::toUtf8(c.name) + "' is too long.");
}

bool isLongValue(std::uint8_t type) {
    return type == column::memo || type == column::oleObject;
}

bool isVariableLength(const ColumnSpec& spec) {
    if (spec.storedVariable)
        return true;
    switch (spec.type) {
    case column::text:
    case column::binary:
        return !spec.fixedLength;
    case column::memo:
    case column::oleObject:
        return true;
    default:
        return false;
    }
}

ColumnDefinition columnDefinitionOf(const ColumnSpec& spec, const ColumnPlace& place) {
    ColumnDefinition c;
    c.type = spec.type;
    c.reserved1 = definitionTag;
    c.number = place.number;
    c.variableIndex = place.variableIndex;
    c.index = place.index;
    c.misc = miscOf(spec);
    c.flags = flagsOf(spec);
    c.extendedFlags = spec.extendedFlags;
    if (spec.compressedUnicode)
        c.extendedFlags |= column::compressedUnicodeFlag;
    c.fixedOffset = place.fixedOffset;
    c.length = definedLength(spec);
    c.name = spec.name;
    return c;
}

TableDefinition buildTableDefinition(const TableSpec& spec) {
    checkColumns(spec);
    TableDefinition t;
    t.reserved12 = definitionTag;
    t.autoNumberFlag = 1;
    t.reserved25 = Bytes(3);
    t.reserved32 = Bytes(8);
    t.tableType = userTable;
    placeColumns(spec, t);
    placeIndexes(spec, t);
    t.trailer = Bytes(trailerSize);
    return t;
}

PropertyBlob buildTableProperties(const TableSpec& spec) {
    PropertyBlob properties;
    for (const ColumnSpec& c : spec.columns)
        if (c.required)
            properties.set(c.name, Property::boolean(u"Required", true, Property::ddlFlag));
    return properties;
}

} // namespace engine::jetfile
