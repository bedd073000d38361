#include "foundation/engine/mdbfile/FileReader.h"

#include "foundation/engine/mdbfile/JetTypes.h"
#include "foundation/engine/mdbfile/LibmdbFile.h"
#include "foundation/engine/mdbfile/QueryText.h"
#include "foundation/engine/mdbfile/StoredProperties.h"
#include "foundation/engine/mdbfile/TableDefinition.h"
#include "foundation/text/WideString.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>

namespace engine::mdbfile {

namespace {

namespace objecttype {
constexpr int localTable = 1;
constexpr int odbcLink = 4;
constexpr int query = 5;
constexpr int accessLink = 6;
} // namespace objecttype

namespace objectflag {
constexpr std::uint32_t system = 0x80000000;
constexpr std::uint32_t accessSystem = 0x2;
constexpr std::uint32_t hidden = 0x8;
} // namespace objectflag

// The low three bytes of an object's id are its definition page.
constexpr std::uint32_t idPageMask = 0x00FFFFFF;

constexpr std::u16string_view odbcPrefix = u"ODBC;";

std::optional<std::int64_t> numberOf(const Cell& cell) {
    if (cell.null || cell.text.empty())
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(cell.text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0')
        return std::nullopt;
    return value;
}

std::u16string textOf(const Cell& cell) {
    return text::fromUtf8(cell.text);
}

Variant textVariant(const Cell& cell) {
    return cell.null ? Variant::null() : Variant(textOf(cell));
}

template <class T> Variant numberVariant(const Cell& cell) {
    std::optional<std::int64_t> value = numberOf(cell);
    return value ? Variant(T(*value)) : Variant::null();
}

// One MSysObjects row, typed.
struct Object {
    std::int32_t id = 0;
    std::u16string name;
    int type = 0;
    std::uint32_t flags = 0;
    std::u16string database;
    std::u16string connect;
    std::u16string foreignName;
};

// An attachment or multi-value column: the catalog type of its elements and the table that
// holds them.
struct ComplexColumn {
    int type = 0;
    const Object* flatTable = nullptr;
};

// The catalog type of a complex column from the name of its type table; empty for the
// version history of an append-only memo, which the engine does not show as a column.
int complexColumnType(std::u16string_view typeTable) {
    static const std::pair<std::u16string_view, int> types[] = {
        {u"MSysComplexType_Attachment", type::attachment},
        {u"MSysComplexType_UnsignedByte", type::tinyInt},
        {u"MSysComplexType_Short", type::smallInt},
        {u"MSysComplexType_Long", type::integer},
        {u"MSysComplexType_IEEESingle", type::single},
        {u"MSysComplexType_IEEEDouble", type::doubleType},
        {u"MSysComplexType_GUID", type::guid},
        {u"MSysComplexType_Decimal", type::decimal},
        {u"MSysComplexType_Text", type::varWChar},
    };
    for (const auto& [name, code] : types)
        if (name == typeTable)
            return code;
    return type::empty;
}

catalog::TableKind localTableKind(std::uint32_t flags) {
    if (flags & objectflag::system)
        return catalog::TableKind::System;
    if (flags & objectflag::accessSystem)
        return catalog::TableKind::AccessSystem;
    return catalog::TableKind::Local;
}

int indexNulls(const RawLogicalIndex& logical, const RawPhysicalIndex& physical) {
    if (logical.type == indextype::primary || (physical.flags & indexflag::required))
        return adox::indexNullsDisallow;
    if (physical.flags & indexflag::ignoreNulls)
        return adox::indexNullsIgnore;
    return adox::indexNullsAllow;
}

template <class T> void sortByName(std::vector<T>& items) {
    std::stable_sort(items.begin(), items.end(), [](const T& a, const T& b) {
        return text::compareNoCase(a.name, b.name) < 0;
    });
}

class SchemaReading {
public:
    explicit SchemaReading(LibmdbFile& file) : file_(file) {}

    FileSnapshot read() {
        FileSnapshot snapshot;
        readObjects(snapshot.objects);
        readComplexTypes();
        for (const Object& object : objects_) {
            switch (object.type) {
            case objecttype::localTable:
                snapshot.catalog.tables.push_back(localTable(object));
                break;
            case objecttype::accessLink:
                snapshot.catalog.tables.push_back(linkedTable(object, false));
                break;
            case objecttype::odbcLink:
                snapshot.catalog.tables.push_back(linkedTable(object, true));
                break;
            default:
                break;
            }
        }
        snapshot.catalog.relations = relations();
        snapshot.catalog.queries = queries();
        sortByName(snapshot.catalog.tables);
        sortByName(snapshot.catalog.relations);
        sortByName(snapshot.catalog.queries);
        return snapshot;
    }

private:
    void readObjects(RowSet& objects) {
        objects.columns.assign(std::begin(objectColumns), std::end(objectColumns));
        std::vector<std::string> names;
        for (std::u16string_view column : objectColumns)
            names.push_back(text::toUtf8(column));
        // LvExtra matters for tables only (their data macros); for forms and reports it holds
        // their definitions, long and of no use here, and reads as null.
        constexpr std::size_t typeColumn = 3;
        auto isTable = [](const std::vector<Cell>& row) {
            return numberOf(row[typeColumn]) == objecttype::localTable;
        };
        for (const std::vector<Cell>& cells : file_.readRows(u"MSysObjects", names, isTable)) {
            objects.rows.push_back({numberVariant<std::int32_t>(cells[0]),
                                    numberVariant<std::int32_t>(cells[1]), textVariant(cells[2]),
                                    numberVariant<std::int16_t>(cells[3]),
                                    numberVariant<std::int32_t>(cells[4]), textVariant(cells[5]),
                                    textVariant(cells[6]), textVariant(cells[7]),
                                    cells[8].null ? Variant::null() : Variant(cells[8].bytes)});
            std::optional<std::int64_t> id = numberOf(cells[0]);
            std::optional<std::int64_t> type = numberOf(cells[3]);
            if (!id || !type || cells[2].null)
                throw DamagedFile("object without id, type or name");
            objects_.push_back({std::int32_t(*id), textOf(cells[2]), int(*type),
                                std::uint32_t(numberOf(cells[4]).value_or(0)), textOf(cells[5]),
                                textOf(cells[6]), textOf(cells[7])});
        }
    }

    const Object* findObject(std::int64_t id) const {
        for (const Object& object : objects_)
            if (object.id == id)
                return &object;
        return nullptr;
    }

    void readComplexTypes() {
        for (const auto& cells : file_.readRows(
                 u"MSysComplexColumns", {"ComplexID", "ComplexTypeObjectID", "FlatTableID"})) {
            std::optional<std::int64_t> complexId = numberOf(cells[0]);
            std::optional<std::int64_t> typeObject = numberOf(cells[1]);
            const Object* typeTable = typeObject ? findObject(*typeObject) : nullptr;
            if (!complexId || !typeTable)
                continue;
            std::optional<std::int64_t> flatTable = numberOf(cells[2]);
            complexColumns_[std::uint32_t(*complexId)] = {
                complexColumnType(typeTable->name), flatTable ? findObject(*flatTable) : nullptr};
        }
    }

    TableDefinition readDefinition(const CatalogEntry& entry) {
        PageReader readPage = [this](std::uint32_t page, std::span<std::uint8_t> buffer) {
            return file_.readPage(page, buffer);
        };
        std::vector<std::uint8_t> bytes =
            readDefinitionPages(readPage, entry.page, file_.pageSize());
        return parseTableDefinition(
            bytes, file_.jet3(),
            [this](std::span<const std::uint8_t> stored) { return file_.decodeName(stored); });
    }

    // The column that holds a multi-value column's values in its flat table: its length,
    // precision and scale are the multi-value column's own.
    std::optional<RawColumn> multiValueElement(const ComplexColumn& complex) {
        const Object* flat = complex.flatTable;
        const CatalogEntry* entry =
            flat ? file_.findTableEntry(flat->name, flat->id & idPageMask) : nullptr;
        if (!entry)
            return std::nullopt;
        for (RawColumn& column : readDefinition(*entry).columns)
            if (column.name == u"Value")
                return std::move(column);
        return std::nullopt;
    }

    catalog::Table linkedTable(const Object& object, bool odbc) const {
        catalog::Table table;
        table.name = object.name;
        table.kind = odbc ? catalog::TableKind::OdbcLink : catalog::TableKind::AccessLink;
        table.hidden = (object.flags & objectflag::hidden) != 0;
        table.remoteTableName = object.foreignName;
        if (!odbc) {
            table.linkDatasource = object.database;
            table.linkProviderString = object.connect;
        } else if (text::equalsNoCase(
                       std::u16string_view(object.connect).substr(0, odbcPrefix.size()),
                       odbcPrefix)) {
            table.linkProviderString = object.connect.substr(odbcPrefix.size());
        } else {
            table.linkProviderString = object.connect;
        }
        return table;
    }

    catalog::Table localTable(const Object& object) {
        const CatalogEntry* entry = file_.findTableEntry(object.name, object.id & idPageMask);
        if (!entry)
            throw DamagedFile("table missing from the catalog");
        TableDefinition definition = readDefinition(*entry);

        catalog::Table table;
        table.name = object.name;
        table.kind = localTableKind(object.flags);
        table.hidden = (object.flags & objectflag::hidden) != 0;
        if (const StoredValues* stored = storedValues(*entry, {}))
            applyTableProperties(*stored, table);

        std::stable_sort(
            definition.columns.begin(), definition.columns.end(),
            [](const RawColumn& a, const RawColumn& b) { return a.number < b.number; });
        // By column number; hidden columns are left out, and so are complex ones: Access
        // keeps an index of its own on the key a complex column holds, which the engine never
        // lists among the table's indexes.
        std::map<int, std::u16string> indexableNames;
        for (const RawColumn& raw : definition.columns) {
            std::optional<catalog::Column> column = makeColumn(raw, *entry);
            if (!column)
                continue;
            if (raw.type != jet::complex)
                indexableNames[raw.number] = column->name;
            table.columns.push_back(std::move(*column));
        }
        for (const RawLogicalIndex& logical : definition.logical)
            if (std::optional<catalog::Index> index =
                    makeIndex(logical, definition, indexableNames))
                table.indexes.push_back(std::move(*index));
        return table;
    }

    static const StoredValues* storedValues(const CatalogEntry& entry, std::u16string_view name) {
        for (const PropertyBlock& block : entry.properties)
            if (block.name == name)
                return &block.values;
        return nullptr;
    }

    // A calculated column's stored result type; 0 for other columns.
    static int calculatedResultType(const StoredValues* stored) {
        const std::string* expression = stored ? findStored(*stored, u"Expression") : nullptr;
        const std::string* resultType = stored ? findStored(*stored, u"ResultType") : nullptr;
        if (!expression || expression->empty() || !resultType)
            return 0;
        return std::max(0, std::atoi(resultType->c_str()));
    }

    // The type a column reads as: a complex column's element type, a calculated column's
    // result type, else its stored type.
    int catalogTypeOf(const RawColumn& raw, const StoredValues* stored) const {
        if (raw.type == jet::complex) {
            auto it = complexColumns_.find(raw.complexId);
            return it == complexColumns_.end() ? type::empty : it->second.type;
        }
        if (int result = calculatedResultType(stored))
            return jet::catalogType(result, false);
        return jet::catalogType(raw.type, (raw.flags & columnflag::fixedLength) != 0);
    }

    // What a column's size, precision and scale come from: the column itself, or for a
    // multi-value column the column of its flat table that holds the values. None for an
    // attachment.
    std::optional<RawColumn> shapeOf(const RawColumn& raw, int catalogType) {
        if (raw.type != jet::complex)
            return raw;
        if (catalogType == type::attachment)
            return std::nullopt;
        auto it = complexColumns_.find(raw.complexId);
        return it == complexColumns_.end() ? std::nullopt : multiValueElement(it->second);
    }

    std::optional<catalog::Column> makeColumn(const RawColumn& raw, const CatalogEntry& entry) {
        const StoredValues* stored = storedValues(entry, raw.name);
        catalog::Column column;
        column.name = raw.name;
        column.type = catalogTypeOf(raw, stored);
        if (raw.type == jet::complex && column.type == type::empty)
            return std::nullopt;
        std::optional<RawColumn> shape = shapeOf(raw, column.type);
        // A calculated text holds up to 255 characters whatever its stored length says.
        bool calculatedText = calculatedResultType(stored) == jet::text;
        column.size = calculatedText ? 255
                      : shape        ? jet::definedSize(column.type, shape->length, file_.jet3())
                                     : 0;
        if (column.type == type::decimal && shape && shape->type == jet::numeric) {
            column.precision = shape->precision;
            column.scale = shape->scale;
        }
        column.fixedLength = column.type == type::wChar;
        column.autoIncrement = raw.type == jet::longInteger && column.type == type::integer &&
                               (raw.flags & columnflag::autoNumber) != 0;
        bool textual = column.type == type::varWChar || column.type == type::wChar ||
                       column.type == type::longVarWChar;
        column.compressed = textual && shape && shape->compressedUnicode;
        // The definition flags compression for text only; for a memo, Access records it among
        // the column's properties. Jet 3 stores text in a code page and compresses nothing.
        const std::string* compression =
            stored ? findStored(*stored, u"UnicodeCompression") : nullptr;
        if (textual && compression && !file_.jet3())
            column.compressed = *compression == "yes";
        column.nullable = (raw.flags & columnflag::nullable) != 0;
        if (stored)
            applyColumnProperties(*stored, column);
        if (raw.type == jet::complex && column.type != type::attachment)
            readAsMultiValued(column);
        return column;
    }

    // The engine shows a multi-valued column as a memo (its values joined in one text); what
    // the values are stays known for DAO's complex field types.
    static void readAsMultiValued(catalog::Column& column) {
        column.multiValueType = column.type;
        column.type = type::longVarWChar;
        column.precision = 0;
        column.scale = 0;
    }

    static std::optional<catalog::Index> makeIndex(const RawLogicalIndex& logical,
                                                   const TableDefinition& definition,
                                                   const std::map<int, std::u16string>& names) {
        if (logical.type == indextype::foreign && logical.foreignSide != foreignside::referencing)
            return std::nullopt;
        const RawPhysicalIndex& physical = definition.physical[std::size_t(logical.physical)];
        catalog::Index index;
        index.name = logical.name;
        index.primary = logical.type == indextype::primary;
        index.foreign = logical.type == indextype::foreign;
        index.unique = index.primary || (physical.flags & indexflag::unique) != 0;
        index.nulls = indexNulls(logical, physical);
        for (const RawIndexColumn& key : physical.columns) {
            auto it = names.find(key.columnNumber);
            // An index over a column the engine does not show, or over a complex column, is
            // not shown either.
            if (it == names.end())
                return std::nullopt;
            index.columns.push_back({it->second, !key.ascending});
        }
        return index;
    }

    std::vector<catalog::Relation> relations() {
        struct Field {
            std::int64_t position;
            catalog::RelationField names;
        };
        std::vector<catalog::Relation> result;
        std::map<std::u16string, std::vector<Field>> fields;
        for (const auto& cells : file_.readRows(
                 u"MSysRelationships", {"szRelationship", "grbit", "icolumn", "szObject",
                                        "szColumn", "szReferencedObject", "szReferencedColumn"})) {
            std::u16string name = textOf(cells[0]);
            if (!fields.count(name)) {
                catalog::Relation relation;
                relation.name = name;
                relation.attributes = std::int32_t(numberOf(cells[1]).value_or(0));
                relation.foreignTable = textOf(cells[3]);
                relation.table = textOf(cells[5]);
                result.push_back(relation);
            }
            fields[name].push_back(
                {numberOf(cells[2]).value_or(0), {textOf(cells[6]), textOf(cells[4])}});
        }
        for (catalog::Relation& relation : result) {
            std::vector<Field>& pairs = fields[relation.name];
            std::stable_sort(pairs.begin(), pairs.end(), [](const Field& a, const Field& b) {
                return a.position < b.position;
            });
            for (const Field& field : pairs)
                relation.fields.push_back(field.names);
        }
        return result;
    }

    std::vector<catalog::Query> queries() {
        std::map<std::int64_t, std::vector<QueryRow>> rows;
        for (const auto& cells :
             file_.readRows(u"MSysQueries", {"ObjectId", "Attribute", "Expression", "Flag", "Name1",
                                             "Name2", "LvExtra"})) {
            std::optional<std::int64_t> id = numberOf(cells[0]);
            if (!id)
                continue;
            rows[*id].push_back({int(numberOf(cells[1]).value_or(0)), textOf(cells[2]),
                                 int(numberOf(cells[3]).value_or(0)), textOf(cells[4]),
                                 textOf(cells[5]), int(numberOf(cells[6]).value_or(0))});
        }
        std::vector<catalog::Query> result;
        for (const Object& object : objects_) {
            // Queries Access keeps for forms and reports ("~sq_...") are system objects.
            if (object.type != objecttype::query ||
                (object.flags & (objectflag::system | objectflag::accessSystem)))
                continue;
            if (std::optional<catalog::Query> query = buildQuery(object.name, rows[object.id]))
                result.push_back(std::move(*query));
        }
        return result;
    }

    LibmdbFile& file_;
    std::vector<Object> objects_;
    std::map<std::uint32_t, ComplexColumn> complexColumns_; // by complex id
};

} // namespace

FileSnapshot readAccessFile(const std::string& path) {
    LibmdbFile file(path);
    return SchemaReading(file).read();
}

} // namespace engine::mdbfile
