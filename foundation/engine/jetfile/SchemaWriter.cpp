#include "foundation/engine/jetfile/SchemaWriter.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/CatalogProperties.h"
#include "foundation/engine/jetfile/CatalogRows.h"
#include "foundation/engine/jetfile/CatalogSpec.h"
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
    TableDefinition definition = buildTableDefinition(tableSpecOf(table, fileSortOrder()));
    PropertyBlob properties = propertiesOf(table);
    PageAllocator allocator(copy_);
    allocateTablePages(copy_, allocator, definition);
    CatalogRows catalog(copy_, allocator);
    catalog.addTable(table.name, definition.pages.front(), properties, table.hidden);
    catalog.finish();
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
    catalog.finish();
}

} // namespace engine::jetfile
