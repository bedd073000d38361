#include "foundation/engine/jetfile/TableDesign.h"

#include "foundation/engine/jetfile/Names.h"

#include <algorithm>

namespace engine::jetfile {

namespace {

bool hasLength(std::uint8_t type) {
    return type == column::text || type == column::binary;
}

bool isTextual(std::uint8_t type) {
    return type == column::text || type == column::memo;
}

ColumnDesign columnDesignOf(const ColumnDefinition& c) {
    ColumnDesign design;
    design.name = c.name;
    design.type = c.type;
    if (hasLength(c.type)) {
        design.length = c.length;
        design.fixedLength = c.isFixedLength();
    }
    design.autoIncrement = (c.flags & (column::autoLongFlag | column::autoGuidFlag)) != 0;
    design.compressedUnicode = (c.extendedFlags & column::compressedUnicodeFlag) != 0;
    design.hyperlink = (c.flags & column::hyperlinkFlag) != 0;
    if (c.type == column::complex)
        design.complexId = c.misc;
    if (c.type == column::numeric) {
        design.precision = c.precision();
        design.scale = c.scale();
    } else {
        design.sortOrder = {c.sortOrderId(), c.sortOrderVersion()};
    }
    return design;
}

IndexDesign indexDesignOf(const TableDefinition& definition, const LogicalIndex& logical) {
    if (logical.physicalIndex >= definition.physicalIndexes.size())
        throw FormatError("logical index refers to a missing physical index");
    const PhysicalIndex& physical = definition.physicalIndexes[logical.physicalIndex];
    IndexDesign design;
    design.name = logical.name;
    for (const IndexColumn& column : physical.columns()) {
        const ColumnDefinition* c = definition.columnByNumber(column.columnNumber);
        if (c == nullptr)
            throw FormatError("index " + std::string(logical.name.begin(), logical.name.end()) +
                              " refers to a missing column");
        design.columns.push_back({c->name, column.ascending});
    }
    design.primary = logical.kind == index::primaryKind;
    design.unique = (physical.flags & index::uniqueFlag) != 0;
    design.ignoreNulls = (physical.flags & index::ignoreNullsFlag) != 0;
    design.disallowNull = (physical.flags & index::requiredFlag) != 0;
    if (logical.kind == index::foreignKind)
        design.foreignKey = ForeignKeyDesign{logical.relatedTableType, logical.relatedIndex,
                                             logical.relatedTablePage, logical.cascadeUpdates,
                                             logical.cascadeDeletes};
    return design;
}

} // namespace

const ColumnDesign* TableDesign::column(std::u16string_view wanted) const {
    for (const ColumnDesign& c : columns)
        if (sameName(c.name, wanted))
            return &c;
    return nullptr;
}

SortOrder newColumnSortOrder(std::uint8_t type, SortOrder fileOrder) {
    if (isTextual(type))
        return fileOrder;
    return {fileOrder.id, 0};
}

TableDesign designOfDefinition(const TableDefinition& definition, std::u16string name) {
    TableDesign design;
    design.name = std::move(name);
    for (const ColumnDefinition& c : definition.columns)
        design.columns.push_back(columnDesignOf(c));
    std::vector<const LogicalIndex*> byNumber;
    for (const LogicalIndex& logical : definition.logicalIndexes)
        byNumber.push_back(&logical);
    std::sort(byNumber.begin(), byNumber.end(),
              [](const LogicalIndex* a, const LogicalIndex* b) { return a->number < b->number; });
    for (const LogicalIndex* logical : byNumber)
        design.indexes.push_back(indexDesignOf(definition, *logical));
    return design;
}

} // namespace engine::jetfile
