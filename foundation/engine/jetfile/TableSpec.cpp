#include "foundation/engine/jetfile/TableSpec.h"

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

ColumnSpec columnSpecOf(const ColumnDefinition& c) {
    ColumnSpec spec;
    spec.name = c.name;
    spec.type = c.type;
    if (hasLength(c.type)) {
        spec.length = c.length;
        spec.fixedLength = c.isFixedLength();
    }
    spec.autoIncrement = (c.flags & (column::autoLongFlag | column::autoGuidFlag)) != 0;
    spec.compressedUnicode = (c.extendedFlags & column::compressedUnicodeFlag) != 0;
    spec.hyperlink = (c.flags & column::hyperlinkFlag) != 0;
    if (c.type == column::complex)
        spec.complexId = c.misc;
    if (c.type == column::numeric) {
        spec.precision = c.precision();
        spec.scale = c.scale();
    } else {
        spec.sortOrder = {c.sortOrderId(), c.sortOrderVersion()};
    }
    return spec;
}

IndexSpec indexSpecOf(const TableDefinition& definition, const LogicalIndex& logical) {
    if (logical.physicalIndex >= definition.physicalIndexes.size())
        throw FormatError("logical index refers to a missing physical index");
    const PhysicalIndex& physical = definition.physicalIndexes[logical.physicalIndex];
    IndexSpec spec;
    spec.name = logical.name;
    for (const IndexColumn& column : physical.columns()) {
        const ColumnDefinition* c = definition.columnByNumber(column.columnNumber);
        if (c == nullptr)
            throw FormatError("index " + std::string(logical.name.begin(), logical.name.end()) +
                              " refers to a missing column");
        spec.columns.push_back({c->name, column.ascending});
    }
    spec.primary = logical.kind == index::primaryKind;
    spec.unique = (physical.flags & index::uniqueFlag) != 0;
    spec.ignoreNulls = (physical.flags & index::ignoreNullsFlag) != 0;
    spec.disallowNull = (physical.flags & index::requiredFlag) != 0;
    if (logical.kind == index::foreignKind)
        spec.foreignKey =
            ForeignKeySpec{logical.relatedTableType, logical.relatedIndex, logical.relatedTablePage,
                           logical.cascadeUpdates, logical.cascadeDeletes};
    return spec;
}

} // namespace

const ColumnSpec* TableSpec::column(std::u16string_view wanted) const {
    for (const ColumnSpec& c : columns)
        if (sameName(c.name, wanted))
            return &c;
    return nullptr;
}

SortOrder newColumnSortOrder(std::uint8_t type, SortOrder fileOrder) {
    if (isTextual(type))
        return fileOrder;
    return {fileOrder.id, 0};
}

TableSpec specOfDefinition(const TableDefinition& definition, std::u16string name) {
    TableSpec spec;
    spec.name = std::move(name);
    for (const ColumnDefinition& c : definition.columns)
        spec.columns.push_back(columnSpecOf(c));
    std::vector<const LogicalIndex*> byNumber;
    for (const LogicalIndex& logical : definition.logicalIndexes)
        byNumber.push_back(&logical);
    std::sort(byNumber.begin(), byNumber.end(),
              [](const LogicalIndex* a, const LogicalIndex* b) { return a->number < b->number; });
    for (const LogicalIndex* logical : byNumber)
        spec.indexes.push_back(indexSpecOf(definition, *logical));
    return spec;
}

} // namespace engine::jetfile
