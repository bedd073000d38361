// SchemaWriter::changeTable: the definition changes in the order that keeps each step valid
// (indexes dropped before their columns, columns added before indexes over them), the rows
// move to the new layout when columns were dropped (added ones alone leave them as they are),
// and the properties follow the model last.

#include "foundation/engine/jetfile/SchemaWriter.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/CatalogDesign.h"
#include "foundation/engine/jetfile/CatalogProperties.h"
#include "foundation/engine/jetfile/CatalogRows.h"
#include "foundation/engine/jetfile/ColumnChange.h"
#include "foundation/engine/jetfile/IndexChange.h"
#include "foundation/engine/jetfile/IndexWriter.h"
#include "foundation/engine/jetfile/LongValueWriter.h"
#include "foundation/engine/jetfile/Names.h"
#include "foundation/engine/jetfile/Relationships.h"
#include "foundation/engine/jetfile/TableBuilder.h"
#include "foundation/engine/jetfile/TablePages.h"
#include "foundation/engine/jetfile/TableWriter.h"
#include "foundation/text/WideString.h"

namespace engine::jetfile {

namespace {

bool sameStorage(const catalog::Column& a, const catalog::Column& b) {
    return a.type == b.type && a.size == b.size && a.precision == b.precision &&
           a.scale == b.scale && a.fixedLength == b.fixedLength &&
           a.autoIncrement == b.autoIncrement && a.compressed == b.compressed;
}

bool sameIndex(const catalog::Index& a, const catalog::Index& b) {
    if (a.primary != b.primary || a.unique != b.unique || a.nulls != b.nulls ||
        a.foreign != b.foreign || a.columns.size() != b.columns.size())
        return false;
    for (std::size_t i = 0; i < a.columns.size(); ++i)
        if (!sameName(a.columns[i].name, b.columns[i].name) ||
            a.columns[i].descending != b.columns[i].descending)
            return false;
    return true;
}

// Whether the table has no index of that name defined that way: one to drop when before
// lacks it in after, one to add when after lacks it in before.
bool lacksIndex(const catalog::Table& table, const catalog::Index& index) {
    const catalog::Index* same = table.findIndex(index.name);
    return same == nullptr || !sameIndex(*same, index);
}

bool sameChecks(const catalog::Table& a, const catalog::Table& b) {
    if (a.checks.size() != b.checks.size())
        return false;
    for (std::size_t i = 0; i < a.checks.size(); ++i)
        if (a.checks[i].name != b.checks[i].name || a.checks[i].clause != b.checks[i].clause)
            return false;
    return true;
}

// Every row of the table laid out again for the new definition, each keeping its place, in
// one pass however many columns changed; the long values of dropped columns are freed.
void relayout(WorkingCopy& copy, PageAllocator& allocator, TableWriter& table, TableDefinition to) {
    TableDefinition from = table.definition();
    std::vector<std::pair<RowPointer, StoredRow>> rows;
    forEachRow(copy, from, [&](PageNumber page, std::uint8_t row, StoredRow&& r) {
        rows.emplace_back(RowPointer{page, row}, std::move(r));
    });
    std::vector<std::pair<const ColumnDefinition*, LongValueWriter>> droppedValues;
    for (const ColumnDefinition& c : from.columns)
        if (isLongValue(c.type) && !to.columnByNumber(c.number))
            droppedValues.emplace_back(&c, LongValueWriter(copy, allocator, from, c.number));
    table.definition() = std::move(to);
    for (auto& [at, row] : rows) {
        for (auto& [column, values] : droppedValues)
            if (std::optional<ByteView> value = row.value(*column))
                values.remove(*value);
        table.replace(at, rewriteRow(row, from, table.definition()));
    }
    for (const ColumnUsageMaps& maps : from.columnUsageMaps)
        if (!table.definition().columnByNumber(maps.columnNumber))
            releaseColumnMaps(copy, allocator, table.definition(), maps);
}

void rebuildAll(WorkingCopy& copy, PageAllocator& allocator, TableDefinition& table) {
    for (std::size_t i = 0; i < table.physicalIndexes.size(); ++i)
        rebuildIndex(copy, allocator, table, i);
}

} // namespace

void SchemaWriter::changeTable(const catalog::Table& before, const catalog::Table& after) {
    if (!sameName(before.name, after.name))
        throw DefinitionRefused("A table cannot be renamed here.");
    PageNumber page = tableNamed(after.name);
    for (const catalog::Column& c : after.columns)
        if (const catalog::Column* old = before.findColumn(c.name); old && !sameStorage(*old, c))
            throw DefinitionRefused("Field '" + text::toUtf8(c.name) +
                                    "' cannot change its type or size here.");
    for (const catalog::Column& c : before.columns)
        if (!after.findColumn(c.name) && !relationshipsOf(copy_, after.name, c.name).empty())
            throw DefinitionRefused("Field '" + text::toUtf8(c.name) +
                                    "' is part of one or more relationships.");
    if (!sameChecks(before, after))
        throw DefinitionRefused("CHECK constraints cannot be changed here.");
    SortOrder order = fileSortOrder();
    PageAllocator allocator(copy_);
    TableWriter table(copy_, allocator, page);
    TableDefinition& definition = table.definition();

    for (const catalog::Index& index : before.indexes)
        if (lacksIndex(after, index))
            if (std::optional<PhysicalIndex> tree = dropIndex(definition, index.name))
                releaseIndexPages(copy_, allocator, definition, *tree);

    // A complex column's own index goes before the column, its flat table after it.
    std::vector<std::uint32_t> droppedComplex;
    for (const catalog::Column& c : before.columns) {
        if (after.findColumn(c.name))
            continue;
        const ColumnDefinition& stored = columnNamed(definition, c.name);
        if (stored.type != column::complex)
            continue;
        droppedComplex.push_back(stored.misc);
        for (const std::u16string& name : indexesOverColumn(definition, stored.number))
            if (std::optional<PhysicalIndex> tree = dropIndex(definition, name))
                releaseIndexPages(copy_, allocator, definition, *tree);
    }
    TableDesign added;
    for (const catalog::Column& c : after.columns)
        if (!before.findColumn(c.name))
            added.columns.push_back(columnDesignOf(c, order));
    for (const ColumnDesign& c : added.columns)
        if (c.type == column::complex && definition.rowCount > 0)
            throw DefinitionRefused("An attachment field added to a table that holds rows is not "
                                    "supported on Access files yet.");
    std::optional<ComplexColumns> complex;
    prepareComplexColumns(added, allocator, complex);

    TableDefinition layout = definition;
    bool columnsDropped = false;
    bool columnsAdded = !added.columns.empty();
    for (const catalog::Column& c : before.columns)
        if (!after.findColumn(c.name)) {
            layout = withColumnDropped(layout, c.name);
            columnsDropped = true;
        }
    for (const ColumnDesign& c : added.columns)
        layout = withColumnAdded(layout, after.name, c);
    if (columnsAdded && !columnsDropped) {
        // As Access does: the rows stay as they are; a column numbered past a row's column
        // count reads as null there.
        definition = std::move(layout);
        for (ColumnUsageMaps& maps : definition.columnUsageMaps)
            if (maps.usedPages == 0)
                allocateColumnMaps(copy_, allocator, definition, maps);
    } else if (columnsDropped) {
        relayout(copy_, allocator, table, std::move(layout));
        for (ColumnUsageMaps& maps : definition.columnUsageMaps)
            if (maps.usedPages == 0)
                allocateColumnMaps(copy_, allocator, definition, maps);
        rebuildAll(copy_, allocator, definition);
    }

    auto buildIndex = [&](const IndexDesign& design) {
        std::size_t tree = addIndex(definition, design);
        if (definition.physicalIndexes[tree].rootPage == 0)
            allocateIndexPages(copy_, allocator, definition, definition.physicalIndexes[tree]);
        rebuildIndex(copy_, allocator, definition, tree);
    };
    for (const IndexDesign& design : added.indexes)
        buildIndex(design);
    for (const catalog::Index& index : after.indexes)
        if (lacksIndex(before, index)) {
            if (index.foreign)
                throw DefinitionRefused("Index '" + text::toUtf8(index.name) +
                                        "' backs a relationship, which this writer cannot make.");
            buildIndex(indexDesignOf(index));
        }
    table.saveDefinition();

    CatalogRows catalog(copy_, allocator);
    if (!droppedComplex.empty() && !complex)
        complex.emplace(copy_, allocator);
    for (std::uint32_t id : droppedComplex)
        complex->remove(catalog, id);
    for (const ColumnDesign& c : added.columns)
        if (c.type == column::complex)
            complex->addAttachment(catalog, after.name, page, columnNamed(definition, c.name),
                                   order);
    if (complex)
        complex->finish();
    PropertyBlob properties = catalog.properties(page);
    for (const catalog::Column& c : before.columns)
        if (!after.findColumn(c.name))
            properties.removeObject(c.name);
    applyTableProperties(properties, &before, after);
    for (const catalog::Column& c : after.columns)
        applyColumnProperties(properties, before.findColumn(c.name), c);
    catalog.update(page, properties, after.hidden, hasComplexColumns(definition));
    catalog.finish();
}

} // namespace engine::jetfile
