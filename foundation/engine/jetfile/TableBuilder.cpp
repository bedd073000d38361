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

std::uint16_t definedLength(const ColumnDesign& design) {
    switch (design.type) {
    case column::text:
    case column::binary:
        return design.length;
    case column::memo:
    case column::oleObject:
        return 0;
    case column::boolean:
        return 1;
    default:
        ColumnDefinition typed;
        typed.type = design.type;
        return std::uint16_t(fixedColumnSize(typed));
    }
}

std::uint32_t miscOf(const ColumnDesign& design) {
    if (design.type == column::complex)
        return design.complexId;
    if (design.type == column::numeric)
        return std::uint32_t(design.precision) | std::uint32_t(design.scale) << 8;
    return std::uint32_t(design.sortOrder.id) | std::uint32_t(design.sortOrder.version) << 24;
}

std::uint8_t flagsOf(const ColumnDesign& design) {
    std::uint8_t flags = column::nullableFlag; // on every column Access writes
    if (!isVariableLength(design))
        flags |= column::fixedLengthFlag;
    if (design.autoIncrement)
        flags |= design.type == column::guid ? column::autoGuidFlag : column::autoLongFlag;
    if (design.hyperlink)
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

void checkColumns(const TableDesign& design) {
    if (design.columns.size() > maxColumns)
        throw DefinitionRefused("Too many fields defined.");
    for (const ColumnDesign& c : design.columns)
        checkColumnDesign(c);
    for (std::size_t i = 0; i < design.columns.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (sameName(design.columns[i].name, design.columns[j].name))
                throw DefinitionRefused("Field '" + text::toUtf8(design.columns[i].name) +
                                        "' already exists in table '" + text::toUtf8(design.name) +
                                        "'.");
}

void placeColumns(const TableDesign& design, TableDefinition& t) {
    std::uint16_t variables = 0;
    std::uint16_t fixedEnd = 0;
    for (std::size_t i = 0; i < design.columns.size(); ++i) {
        const ColumnDesign& c = design.columns[i];
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
    t.maxColumns = std::uint16_t(design.columns.size());
    t.variableColumnCount = variables;
}

std::uint8_t physicalFlagsOf(const IndexDesign& design) {
    std::uint8_t flags = index::createdFlag;
    if (design.primary || design.unique)
        flags |= index::uniqueFlag;
    if (design.ignoreNulls)
        flags |= index::ignoreNullsFlag;
    if (design.primary || design.disallowNull)
        flags |= index::requiredFlag;
    return flags;
}

// The columns' numbers are their places in a new table.
std::vector<std::uint16_t> columnNumbersOf(const TableDesign& table, const IndexDesign& design) {
    std::vector<std::uint16_t> numbers;
    for (const IndexColumnDesign& c : design.columns) {
        auto found =
            std::find_if(table.columns.begin(), table.columns.end(),
                         [&](const ColumnDesign& s) { return sameName(s.name, c.column); });
        if (found == table.columns.end())
            throw DefinitionRefused("Index '" + text::toUtf8(design.name) + "' names no field '" +
                                    text::toUtf8(c.column) + "'.");
        numbers.push_back(std::uint16_t(found - table.columns.begin()));
    }
    return numbers;
}

void placeIndexes(const TableDesign& design, TableDefinition& t) {
    bool hasPrimary = false;
    for (std::size_t i = 0; i < design.indexes.size(); ++i) {
        const IndexDesign& index = design.indexes[i];
        for (std::size_t j = 0; j < i; ++j)
            if (sameName(design.indexes[j].name, index.name))
                throw DefinitionRefused("Index '" + text::toUtf8(index.name) + "' already exists.");
        if (index.primary && hasPrimary)
            throw DefinitionRefused("Primary key already exists.");
        hasPrimary = hasPrimary || index.primary;
        PhysicalIndex wanted = physicalIndexOf(index, columnNumbersOf(design, index));
        std::size_t physical =
            sharedOrNew(t.physicalIndexes, std::move(wanted), index.foreignKey.has_value());
        t.logicalIndexes.push_back(logicalIndexOf(index, i, physical));
    }
    sortLogicalIndexes(t);
}

} // namespace

PhysicalIndex physicalIndexOf(const IndexDesign& design, std::vector<std::uint16_t> columnNumbers) {
    if (design.columns.empty() || design.columns.size() > maxIndexColumns)
        throw DefinitionRefused("Index '" + text::toUtf8(design.name) +
                                "' must have 1 to 10 fields.");
    PhysicalIndex physical;
    physical.reserved0 = physicalIndexTag;
    physical.columnNumbers = std::move(columnNumbers);
    for (const IndexColumnDesign& c : design.columns)
        physical.columnOrders.push_back(c.ascending ? 1 : 0);
    physical.columnNumbers.resize(maxIndexColumns, unusedIndexColumn);
    physical.columnOrders.resize(maxIndexColumns, 0);
    physical.flags = physicalFlagsOf(design);
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

LogicalIndex logicalIndexOf(const IndexDesign& design, std::size_t number, std::size_t physical) {
    LogicalIndex logical;
    logical.reserved0 = definitionTag;
    logical.number = std::uint32_t(number);
    logical.physicalIndex = std::uint32_t(physical);
    logical.name = design.name;
    if (design.foreignKey) {
        logical.kind = index::foreignKind;
        logical.relatedTableType = design.foreignKey->relatedTableType;
        logical.relatedIndex = design.foreignKey->relatedIndex;
        logical.relatedTablePage = design.foreignKey->relatedTablePage;
        logical.cascadeUpdates = design.foreignKey->cascadeUpdates;
        logical.cascadeDeletes = design.foreignKey->cascadeDeletes;
        return logical;
    }
    logical.kind = design.primary ? index::primaryKind : 0;
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

void checkColumnDesign(const ColumnDesign& c) {
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

bool isVariableLength(const ColumnDesign& design) {
    if (design.storedVariable)
        return true;
    switch (design.type) {
    case column::text:
    case column::binary:
        return !design.fixedLength;
    case column::memo:
    case column::oleObject:
        return true;
    default:
        return false;
    }
}

ColumnDefinition columnDefinitionOf(const ColumnDesign& design, const ColumnPlace& place) {
    ColumnDefinition c;
    c.type = design.type;
    c.reserved1 = definitionTag;
    c.number = place.number;
    c.variableIndex = place.variableIndex;
    c.index = place.index;
    c.misc = miscOf(design);
    c.flags = flagsOf(design);
    c.extendedFlags = design.extendedFlags;
    if (design.compressedUnicode)
        c.extendedFlags |= column::compressedUnicodeFlag;
    c.fixedOffset = place.fixedOffset;
    c.length = definedLength(design);
    c.name = design.name;
    return c;
}

TableDefinition buildTableDefinition(const TableDesign& design) {
    checkColumns(design);
    TableDefinition t;
    t.reserved12 = definitionTag;
    t.autoNumberFlag = 1;
    t.reserved25 = Bytes(3);
    t.reserved32 = Bytes(8);
    t.tableType = userTable;
    placeColumns(design, t);
    placeIndexes(design, t);
    t.trailer = Bytes(trailerSize);
    return t;
}

PropertyBlob buildTableProperties(const TableDesign& design) {
    PropertyBlob properties;
    for (const ColumnDesign& c : design.columns)
        if (c.required)
            properties.set(c.name, Property::boolean(u"Required", true, Property::ddlFlag));
    return properties;
}

} // namespace engine::jetfile
