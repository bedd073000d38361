#include "foundation/engine/jetfile/ComplexColumns.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/IndexWriter.h"
#include "foundation/engine/jetfile/RowBuilder.h"
#include "foundation/engine/jetfile/TableBuilder.h"
#include "foundation/engine/jetfile/TablePages.h"
#include "foundation/engine/jetfile/Text.h"

#include <algorithm>
#include <random>

namespace engine::jetfile {

namespace {

constexpr std::size_t maxNameLength = 64;
constexpr std::uint16_t attachmentTextBytes = 510;

std::u16string capped(std::u16string name) {
    if (name.size() > maxNameLength)
        name.resize(maxNameLength);
    return name;
}

PageNumber systemTable(const PageSource& file, std::u16string_view name) {
    for (const CatalogTable& t : listTables(file))
        if (t.name == name)
            return t.definitionPage;
    throw FormatError("the file has no system table " + std::string(name.begin(), name.end()));
}

Bytes u32Bytes(std::uint32_t value) {
    Bytes bytes;
    appendU32(bytes, value);
    return bytes;
}

// Extended flags Access gives the columns of a flat table: its values, the parent's key and
// its own key.
constexpr std::uint8_t valueColumnFlags = 0x10;
constexpr std::uint8_t parentKeyFlags = 0x08;
constexpr std::uint8_t ownKeyFlags = 0x04;

ColumnDesign flatColumn(std::u16string name, std::uint8_t type, SortOrder fileOrder) {
    ColumnDesign c;
    c.name = std::move(name);
    c.type = type;
    if (type == column::text)
        c.length = attachmentTextBytes;
    c.sortOrder = newColumnSortOrder(type, fileOrder);
    c.extendedFlags = valueColumnFlags;
    return c;
}

// Access keeps both keys among the variable-length columns, without a sort order; DAO
// refuses the table otherwise.
ColumnDesign flatKey(std::u16string name, std::uint8_t extendedFlags) {
    ColumnDesign c;
    c.name = std::move(name);
    c.type = column::longInteger;
    c.storedVariable = true;
    c.sortOrder = {0, 0};
    c.extendedFlags = extendedFlags;
    return c;
}

} // namespace

std::u16string complexIndexName(std::u16string_view column, std::u16string_view guid) {
    std::u16string name(column.substr(0, maxNameLength - guid.size() - 1));
    return name + u"_" + std::u16string(guid);
}

IndexDesign complexIndexDesign(std::u16string_view column) {
    IndexDesign design;
    design.name = complexIndexName(column, newGuidHex());
    design.columns = {{std::u16string(column), true}};
    design.unique = true;
    design.disallowNull = true;
    return design;
}

TableDesign attachmentFlatTable(std::u16string_view table, std::u16string_view column,
                                SortOrder fileOrder) {
    std::u16string name(column);
    std::u16string parentKey = capped(u"_" + name);
    std::u16string ownKey = capped(std::u16string(table) + u"_" + name);
    TableDesign design;
    design.name = capped(u"f_" + newGuidHex() + u"_" + name);
    design.columns = {flatKey(parentKey, parentKeyFlags),
                      flatColumn(u"FileData", column::oleObject, fileOrder),
                      flatColumn(u"FileFlags", column::longInteger, fileOrder),
                      flatColumn(u"FileName", column::text, fileOrder),
                      flatColumn(u"FileTimeStamp", column::dateTime, fileOrder),
                      flatColumn(u"FileType", column::text, fileOrder),
                      flatColumn(u"FileURL", column::memo, fileOrder),
                      flatKey(ownKey, ownKeyFlags)};
    design.columns.back().autoIncrement = true;
    IndexDesign parent;
    parent.name = parentKey;
    parent.columns = {{parentKey, true}};
    parent.disallowNull = true;
    IndexDesign scalar;
    scalar.name = u"IdxFKPrimaryScalar";
    scalar.columns = {{parentKey, true}, {u"FileName", true}};
    scalar.unique = true;
    scalar.disallowNull = true;
    IndexDesign primary;
    primary.name = u"MSysComplexPKIndex";
    primary.columns = {{ownKey, true}};
    primary.primary = true;
    primary.unique = true;
    primary.disallowNull = true;
    design.indexes = {parent, scalar, primary};
    return design;
}

std::u16string newGuidHex() {
    static std::mt19937_64 random{std::random_device{}()};
    static constexpr char16_t digits[] = u"0123456789ABCDEF";
    std::u16string hex;
    for (int half = 0; half < 2; ++half) {
        std::uint64_t bits = random();
        for (int i = 0; i < 16; ++i, bits >>= 4)
            hex.push_back(digits[bits & 0xF]);
    }
    return hex;
}

ComplexColumns::ComplexColumns(WorkingCopy& copy, PageAllocator& allocator)
    : copy_(copy), allocator_(allocator),
      columns_(copy, allocator, systemTable(copy, u"MSysComplexColumns")) {
    const ColumnDefinition& id = columnNamed(columns_.definition(), u"ComplexID");
    forEachRow(copy_, columns_.definition(), [&](PageNumber, std::uint8_t, StoredRow&& r) {
        if (auto value = r.value(id))
            next_ = std::max(next_, value->u32(0));
    });
}

std::uint32_t ComplexColumns::nextId() {
    return ++next_;
}

void ComplexColumns::addAttachment(CatalogRows& catalog, std::u16string_view table,
                                   PageNumber parentPage, const ColumnDefinition& column,
                                   SortOrder fileOrder) {
    TableDesign design = attachmentFlatTable(table, column.name, fileOrder);
    TableDefinition flat = buildTableDefinition(design);
    allocateTablePages(copy_, allocator_, flat);
    catalog.addTable(design.name, flat.pages.front(), PropertyBlob(), flatTableFlags);

    const TableDefinition& rows = columns_.definition();
    ColumnValues values;
    values[columnNamed(rows, u"ColumnName").number] = encodeText(column.name);
    values[columnNamed(rows, u"ComplexTypeObjectID").number] =
        u32Bytes(systemTable(copy_, u"MSysComplexType_Attachment"));
    values[columnNamed(rows, u"FlatTableID").number] = u32Bytes(flat.pages.front());
    values[columnNamed(rows, u"ConceptualTableID").number] = u32Bytes(parentPage);
    values[columnNamed(rows, u"ComplexID").number] = u32Bytes(column.misc);
    columns_.insert(buildRow(rows, values));
}

void ComplexColumns::remove(CatalogRows& catalog, std::uint32_t complexId) {
    const TableDefinition& rows = columns_.definition();
    const ColumnDefinition& id = columnNamed(rows, u"ComplexID");
    const ColumnDefinition& flatId = columnNamed(rows, u"FlatTableID");
    std::optional<RowPointer> at;
    std::optional<PageNumber> flatPage;
    forEachRow(copy_, rows, [&](PageNumber page, std::uint8_t row, StoredRow&& r) {
        auto value = r.value(id);
        auto flat = r.value(flatId);
        if (at || !value || value->u32(0) != complexId)
            return;
        at = RowPointer{page, row};
        if (flat)
            flatPage = flat->u32(0);
    });
    if (!at)
        throw FormatError("MSysComplexColumns has no row for complex id " +
                          std::to_string(complexId));
    columns_.remove(*at);
    if (!flatPage)
        return;
    TableDefinition flat = TableDefinition::read(copy_, *flatPage);
    catalog.removeTable(*flatPage);
    releaseTablePages(copy_, allocator_, flat);
}

void ComplexColumns::finish() {
    for (std::size_t i = 0; i < columns_.definition().physicalIndexes.size(); ++i)
        rebuildIndex(copy_, allocator_, columns_.definition(), i);
    columns_.saveDefinition();
}

bool hasComplexColumns(const TableDefinition& table) {
    return std::any_of(table.columns.begin(), table.columns.end(),
                       [](const ColumnDefinition& c) { return c.type == column::complex; });
}

std::vector<std::u16string> indexesOverColumn(const TableDefinition& table,
                                              std::uint16_t columnNumber) {
    std::vector<std::u16string> names;
    for (const LogicalIndex& logical : table.logicalIndexes) {
        if (logical.physicalIndex >= table.physicalIndexes.size())
            continue;
        const PhysicalIndex& physical = table.physicalIndexes[logical.physicalIndex];
        if (std::find(physical.columnNumbers.begin(), physical.columnNumbers.end(), columnNumber) !=
            physical.columnNumbers.end())
            names.push_back(logical.name);
    }
    return names;
}

} // namespace engine::jetfile
