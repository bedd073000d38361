#include "foundation/engine/api/CatalogModel.h"

#include "foundation/text/WideString.h"

namespace engine::catalog {

namespace {

template <class T> const T* findByName(const std::vector<T>& items, std::u16string_view name) {
    for (const T& item : items)
        if (text::equalsNoCase(item.name, name))
            return &item;
    return nullptr;
}

} // namespace

const Property* Column::findProperty(std::u16string_view name) const {
    return findByName(properties, name);
}

const Column* Table::findColumn(std::u16string_view name) const {
    return findByName(columns, name);
}

const Index* Table::findIndex(std::u16string_view name) const {
    return findByName(indexes, name);
}

const Table* Catalog::findTable(std::u16string_view name) const {
    return findByName(tables, name);
}

std::int32_t daoAttributes(const Table& table) {
    std::int32_t attributes = 0;
    switch (table.kind) {
    case TableKind::Local:
        break;
    case TableKind::AccessLink:
        attributes |= dao::tableAttachedTable;
        break;
    case TableKind::OdbcLink:
        attributes |= dao::tableAttachedOdbc;
        break;
    case TableKind::System:
    case TableKind::AccessSystem:
        attributes |= dao::tableSystemObject;
        break;
    }
    if (table.hidden)
        attributes |= dao::tableHiddenObject;
    if (table.exclusiveLink)
        attributes |= dao::tableAttachExclusive;
    if (table.savedPassword)
        attributes |= dao::tableAttachSavePassword;
    return attributes;
}

} // namespace engine::catalog
