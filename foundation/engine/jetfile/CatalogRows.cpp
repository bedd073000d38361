#include "foundation/engine/jetfile/CatalogRows.h"

#include "foundation/engine/jetfile/Catalog.h"
#include "foundation/engine/jetfile/ColumnChange.h"
#include "foundation/engine/jetfile/IndexWriter.h"
#include "foundation/engine/jetfile/LongValue.h"
#include "foundation/engine/jetfile/LongValueWriter.h"
#include "foundation/engine/jetfile/RowBuilder.h"
#include "foundation/engine/jetfile/Text.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace engine::jetfile {

namespace {

constexpr std::int16_t tableType = 1;
constexpr std::int16_t containerType = 3;
constexpr std::uint32_t catalogObjectId = 2; // MSysObjects' own Id
// Rights as MSysACEs stores them (ACM): all rights on an object, and what the owner holds
// on MSysObjects, which tells the owner apart from the groups.
constexpr std::uint32_t fullRights = 0xFFEFF;
constexpr std::uint32_t catalogOwnerRights = 0x60000;
constexpr double unixEpochAsOleDate = 25569.0; // 1 January 1970

PageNumber definitionPageOf(const PageSource& file, std::u16string_view name) {
    for (const CatalogTable& t : listTables(file))
        if (t.name == name)
            return t.definitionPage;
    throw FormatError("the file has no system table " + std::string(name.begin(), name.end()));
}

// Local time, as Access stamps its objects.
Bytes now() {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    double days = double(t + local.tm_gmtoff) / 86400.0 + unixEpochAsOleDate;
    Bytes bytes(sizeof days);
    std::memcpy(bytes.data(), &days, sizeof days);
    return bytes;
}

Bytes u32Bytes(std::uint32_t value) {
    Bytes bytes;
    appendU32(bytes, value);
    return bytes;
}

Bytes u16Bytes(std::uint16_t value) {
    Bytes bytes;
    appendU16(bytes, value);
    return bytes;
}

std::optional<std::uint32_t> u32Of(const StoredRow& row, const ColumnDefinition& column) {
    auto value = row.value(column);
    if (!value)
        return std::nullopt;
    return value->u32(0);
}

// The row's values as buildRow takes them.
ColumnValues valuesOf(const StoredRow& row, const TableDefinition& table) {
    ColumnValues values;
    for (const ColumnDefinition& c : table.columns) {
        if (c.type == column::boolean) {
            if (row.hasValue(c.number))
                values[c.number] = {1};
        } else if (ColumnValue value = columnValue(row, c)) {
            values[c.number] = std::move(*value);
        }
    }
    return values;
}

} // namespace

CatalogRows::CatalogRows(WorkingCopy& copy, PageAllocator& allocator)
    : copy_(copy), allocator_(allocator), objects_(copy, allocator, catalogDefinitionPage),
      aces_(copy, allocator, definitionPageOf(copy, u"MSysACEs")) {}

const ColumnDefinition& CatalogRows::objectColumn(std::u16string_view name) const {
    return columnNamed(objects_.definition(), name);
}

const ColumnDefinition& CatalogRows::aceColumn(std::u16string_view name) const {
    return columnNamed(aces_.definition(), name);
}

std::optional<CatalogRows::Found> CatalogRows::objectRow(PageNumber definitionPage) const {
    const TableDefinition& catalog = objects_.definition();
    const ColumnDefinition& id = objectColumn(u"Id");
    const ColumnDefinition& type = objectColumn(u"Type");
    std::optional<Found> found;
    forEachRow(copy_, catalog, [&](PageNumber page, std::uint8_t row, StoredRow&& r) {
        auto typeBytes = r.value(type);
        if (!found && u32Of(r, id) == definitionPage && typeBytes &&
            std::int16_t(typeBytes->u16(0)) == tableType)
            found = Found{{page, row}, std::move(r)};
    });
    return found;
}

CatalogRows::Found CatalogRows::tableRow(PageNumber definitionPage) const {
    std::optional<Found> found = objectRow(definitionPage);
    if (!found)
        throw FormatError("MSysObjects has no row for the table on page " +
                          std::to_string(definitionPage));
    return std::move(*found);
}

std::optional<Bytes> CatalogRows::storedProperties(const PropertyBlob& properties) {
    if (properties.empty())
        return std::nullopt;
    const ColumnDefinition& lvProp = objectColumn(u"LvProp");
    LongValueWriter writer(copy_, allocator_, objects_.definition(), lvProp.number);
    // Access keeps the blob out of the row, on a page of long values.
    return writer.store(properties.encode(), 0);
}

CatalogRows::Container CatalogRows::tablesContainer() const {
    const ColumnDefinition& type = objectColumn(u"Type");
    const ColumnDefinition& name = objectColumn(u"Name");
    std::optional<Container> found;
    forEachRow(copy_, objects_.definition(), [&](PageNumber, std::uint8_t, StoredRow&& r) {
        auto typeBytes = r.value(type);
        auto nameBytes = r.value(name);
        auto id = u32Of(r, objectColumn(u"Id"));
        if (found || !typeBytes || !nameBytes || !id ||
            std::int16_t(typeBytes->u16(0)) != containerType || decodeText(*nameBytes) != u"Tables")
            return;
        auto owner = r.value(objectColumn(u"Owner"));
        found = Container{*id, owner ? owner->copy() : Bytes()};
    });
    if (!found)
        throw FormatError("MSysObjects has no Tables container");
    return *found;
}

Bytes CatalogRows::ownerOfNewObjects(const Container& tables) const {
    // The user holding the owner's rights on MSysObjects; else the container's owner.
    const ColumnDefinition& objectId = aceColumn(u"ObjectId");
    const ColumnDefinition& sid = aceColumn(u"SID");
    const ColumnDefinition& acm = aceColumn(u"ACM");
    Bytes owner = tables.owner;
    forEachRow(copy_, aces_.definition(), [&](PageNumber, std::uint8_t, StoredRow&& r) {
        auto s = r.value(sid);
        if (u32Of(r, objectId) == catalogObjectId && u32Of(r, acm) == catalogOwnerRights && s)
            owner = s->copy();
    });
    return owner;
}

void CatalogRows::addTable(std::u16string_view name, PageNumber definitionPage,
                           const PropertyBlob& properties, std::uint32_t flags) {
    Container tables = tablesContainer();
    Bytes owner = ownerOfNewObjects(tables);
    Bytes stamp = now();
    ColumnValues values;
    values[objectColumn(u"Id").number] = u32Bytes(definitionPage);
    values[objectColumn(u"ParentId").number] = u32Bytes(tables.id);
    values[objectColumn(u"Name").number] = encodeText(name);
    values[objectColumn(u"Type").number] = u16Bytes(std::uint16_t(tableType));
    values[objectColumn(u"DateCreate").number] = stamp;
    values[objectColumn(u"DateUpdate").number] = stamp;
    values[objectColumn(u"Flags").number] = u32Bytes(flags);
    if (!owner.empty())
        values[objectColumn(u"Owner").number] = owner;
    if (auto blob = storedProperties(properties))
        values[objectColumn(u"LvProp").number] = std::move(*blob);
    objects_.insert(buildRow(objects_.definition(), values));
    addPermissions(tables.id, definitionPage, owner);
}

void CatalogRows::addPermissions(std::uint32_t containerId, std::uint32_t object, ByteView owner) {
    const ColumnDefinition& objectId = aceColumn(u"ObjectId");
    const ColumnDefinition& sid = aceColumn(u"SID");
    const ColumnDefinition& acm = aceColumn(u"ACM");
    const ColumnDefinition& inheritable = aceColumn(u"FInheritable");
    std::vector<Bytes> sids;
    forEachRow(copy_, aces_.definition(), [&](PageNumber, std::uint8_t, StoredRow&& r) {
        auto s = r.value(sid);
        if (u32Of(r, objectId) == containerId && u32Of(r, acm) == fullRights &&
            r.hasValue(inheritable.number) && s)
            sids.push_back(s->copy());
    });
    Bytes ownerSid = owner.copy();
    if (!ownerSid.empty() && std::find(sids.begin(), sids.end(), ownerSid) == sids.end())
        sids.insert(sids.begin(), ownerSid);
    for (const Bytes& s : sids) {
        ColumnValues values;
        values[objectId.number] = u32Bytes(object);
        values[sid.number] = s;
        values[acm.number] = u32Bytes(fullRights);
        aces_.insert(buildRow(aces_.definition(), values));
    }
}

void CatalogRows::dropProperties(const StoredRow& row) {
    const ColumnDefinition& lvProp = objectColumn(u"LvProp");
    if (auto stored = row.value(lvProp))
        LongValueWriter(copy_, allocator_, objects_.definition(), lvProp.number).remove(*stored);
}

void CatalogRows::removeTable(PageNumber definitionPage) {
    Found found = tableRow(definitionPage);
    dropProperties(found.row);
    objects_.remove(found.at);
    const ColumnDefinition& objectId = aceColumn(u"ObjectId");
    std::vector<RowPointer> permissions;
    forEachRow(copy_, aces_.definition(), [&](PageNumber page, std::uint8_t row, StoredRow&& r) {
        if (u32Of(r, objectId) == definitionPage)
            permissions.push_back({page, row});
    });
    for (RowPointer at : permissions)
        aces_.remove(at);
}

PropertyBlob CatalogRows::properties(PageNumber definitionPage) const {
    Found found = tableRow(definitionPage);
    auto stored = found.row.value(objectColumn(u"LvProp"));
    if (!stored)
        return PropertyBlob();
    return PropertyBlob::decode(readLongValue(copy_, *stored));
}

void CatalogRows::update(PageNumber definitionPage, const PropertyBlob& properties, bool hidden,
                         bool complexColumns) {
    Found found = tableRow(definitionPage);
    const TableDefinition& catalog = objects_.definition();
    ColumnValues values = valuesOf(found.row, catalog);
    std::uint16_t lvProp = objectColumn(u"LvProp").number;
    dropProperties(found.row);
    values.erase(lvProp);
    if (auto blob = storedProperties(properties))
        values[lvProp] = std::move(*blob);
    std::uint16_t flags = objectColumn(u"Flags").number;
    std::uint32_t stored = values.count(flags) ? ByteView(values[flags]).u32(0) : 0;
    auto set = [&](std::uint32_t flag, bool on) { stored = on ? stored | flag : stored & ~flag; };
    set(hiddenObjectFlag, hidden);
    set(complexColumnsFlag, complexColumns);
    values[flags] = u32Bytes(stored);
    values[objectColumn(u"DateUpdate").number] = now();
    objects_.replace(found.at, buildRow(catalog, values));
}

void CatalogRows::finish() {
    for (TableWriter* table : {&objects_, &aces_}) {
        for (std::size_t i = 0; i < table->definition().physicalIndexes.size(); ++i)
            rebuildIndex(copy_, allocator_, table->definition(), i);
        table->saveDefinition();
    }
}

} // namespace engine::jetfile
