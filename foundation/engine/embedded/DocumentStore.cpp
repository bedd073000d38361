#include "foundation/engine/embedded/DocumentStore.h"

#include "foundation/engine/api/Codes.h"
#include "foundation/engine/embedded/SchemaRules.h"
#include "foundation/engine/embedded/SystemObjects.h"

namespace engine::embedded {

namespace {

bool isDataMacro(int objectType) {
    return objectType == access::objectTableDataMacro;
}

void requireKnownType(int objectType) {
    if (!isDataMacro(objectType) && !documentObjectType(objectType))
        throw documentErrors::invalidObjectType();
}

} // namespace

void DocumentStore::requireLocalTable(std::u16string_view table) {
    auto row = db_.prepare("SELECT object_type FROM \"kel.tables\" WHERE name = ?");
    row.bind(1, table);
    if (!row.step())
        throw errors::tableNotFound(table);
    if (row.integer(0) != objecttype::localTable)
        throw schemaErrors::linkedTable(table);
}

std::optional<DocumentStore::Bytes> DocumentStore::load(int objectType, std::u16string_view name) {
    requireKnownType(objectType);
    auto row = isDataMacro(objectType)
                   ? db_.prepare("SELECT data_macro FROM \"kel.tables\" WHERE name = ?1 AND "
                                 "data_macro IS NOT NULL")
                   : db_.prepare("SELECT content FROM \"kel.documents\" WHERE kind = ?2 AND "
                                 "name = ?1");
    row.bind(1, name);
    if (!isDataMacro(objectType))
        row.bind(2, std::int64_t(objectType));
    if (!row.step())
        return std::nullopt;
    return row.blob(0);
}

void DocumentStore::save(int objectType, std::u16string_view name, const Bytes& content) {
    requireKnownType(objectType);
    if (isDataMacro(objectType)) {
        requireLocalTable(name);
        db_.prepare("UPDATE \"kel.tables\" SET data_macro = ?2 WHERE name = ?1")
            .bind(1, name)
            .bindBlob(2, content.data(), content.size())
            .run();
        return;
    }
    checkName(name);
    // The new spelling of the name replaces the old one.
    db_.prepare("INSERT OR REPLACE INTO \"kel.documents\" (kind, name, content) VALUES (?, ?, ?)")
        .bind(1, std::int64_t(objectType))
        .bind(2, name)
        .bindBlob(3, content.data(), content.size())
        .run();
}

bool DocumentStore::remove(int objectType, std::u16string_view name) {
    requireKnownType(objectType);
    if (isDataMacro(objectType)) {
        requireLocalTable(name);
        db_.prepare("UPDATE \"kel.tables\" SET data_macro = NULL WHERE name = ? AND data_macro "
                    "IS NOT NULL")
            .bind(1, name)
            .run();
    } else {
        db_.prepare("DELETE FROM \"kel.documents\" WHERE kind = ? AND name = ?")
            .bind(1, std::int64_t(objectType))
            .bind(2, name)
            .run();
    }
    return db_.changes() > 0;
}

namespace documentErrors {

EngineError invalidObjectType() {
    return {status::unspecified,
            u"The object type argument for the action or method is blank or invalid."};
}

EngineError objectNotFound(std::u16string_view name) {
    return {status::unspecified, u"The application can't find the object '" + std::u16string(name) +
                                     u"'. Make sure the object exists and that you spell its "
                                     u"name correctly."};
}

} // namespace documentErrors

} // namespace engine::embedded
