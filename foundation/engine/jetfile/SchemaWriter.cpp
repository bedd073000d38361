#include "foundation/engine/jetfile/SchemaWriter.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/CatalogDesign.h"
#include "foundation/engine/jetfile/CatalogProperties.h"
#include "foundation/engine/jetfile/CatalogRows.h"
#include "foundation/engine/jetfile/Names.h"
#include "foundation/engine/jetfile/Relationships.h"
#include "foundation/engine/jetfile/TableBuilder.h"
#include "foundation/engine/jetfile/TablePages.h"
#include "foundation/text/WideString.h"

namespace engine::jetfile {

std::optional<PageNumber> SchemaWriter::findTable(std::u16string_view name) const {
    for (const CatalogTable& t : listTables(copy_))
        if (sameName(t.name, name))
            return t.definitionPage;
    return std::nullopt;
}

PageNumber SchemaWriter::tableNamed(std::u16string_view name) const {
    std::optional<PageNumber> page = findTable(name);
    if (!page)
        throw DefinitionRefused("Table '" + text::toUtf8(name) + "' does not exist.");
    return *page;
}

SortOrder SchemaWriter::fileSortOrder() const {
    return HeaderPage::decode(copy_.read(0)).sortOrder;
}

void SchemaWriter::createTable(const catalog::Table& table) {
    if (findTable(table.name))
        throw DefinitionRefused("Table '" + text::toUtf8(table.name) + "' already exists.");
    if (table.kind != catalog::TableKind::Local)
        throw DefinitionRefused("Only local tables can be created here.");
    if (!table.checks.empty())
        throw DefinitionRefused("CHECK constraints cannot be created here.");
    SortOrder order = fileSortOrder();
    TableDesign design = tableDesignOf(table, order);
    PageAllocator allocator(copy_);
    std::optional<ComplexColumns> complex;
    prepareComplexColumns(design, allocator, complex);
    TableDefinition definition = buildTableDefinition(design);
    PropertyBlob properties = propertiesOf(table);
    allocateTablePages(copy_, allocator, definition);
    CatalogRows catalog(copy_, allocator);
    std::uint32_t flags = table.hidden ? hiddenObjectFlag : 0;
    if (complex)
        flags |= complexColumnsFlag;
    catalog.addTable(table.name, definition.pages.front(), properties, flags);
    for (const ColumnDefinition& c : definition.columns)
        if (c.type == column::complex)
            complex->addAttachment(catalog, table.name, definition.pages.front(), c, order);
    if (complex)
        complex->finish();
    catalog.finish();
}

void SchemaWriter::prepareComplexColumns(TableDesign& design, PageAllocator& allocator,
                                         std::optional<ComplexColumns>& complex) const {
    for (ColumnDesign& c : design.columns) {
        if (c.type != column::complex)
            continue;
        if (!copy_.format().isAce())
            throw DefinitionRefused("Field '" + text::toUtf8(c.name) +
                                    "': a Jet 4 file has no attachment fields.");
        if (!complex)
            complex.emplace(copy_, allocator);
        c.complexId = complex->nextId();
        design.indexes.push_back(complexIndexDesign(c.name));
    }
}

void SchemaWriter::dropTable(std::u16string_view name) {
    PageNumber page = tableNamed(name);
    if (!relationshipsOf(copy_, name).empty())
        throw DefinitionRefused("Table '" + text::toUtf8(name) +
                                "' is part of one or more relationships.");
    TableDefinition definition = TableDefinition::read(copy_, page);
    PageAllocator allocator(copy_);
    CatalogRows catalog(copy_, allocator);
    catalog.removeTable(page);
    releaseTablePages(copy_, allocator, definition);
    std::optional<ComplexColumns> complex;
    for (const ColumnDefinition& c : definition.columns) {
        if (c.type != column::complex)
            continue;
        if (!complex)
            complex.emplace(copy_, allocator);
        complex->remove(catalog, c.misc);
    }
    if (complex)
        complex->finish();
    catalog.finish();
}

} // namespace engine::jetfile
