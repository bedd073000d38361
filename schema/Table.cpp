#include "schema/Table.h"

#include "foundation/text/WideString.h"
#include "schema/IEntityVisitor.h"

#include <algorithm>
#include <cassert>

namespace {

template <class T>
std::unique_ptr<T> takeOut(std::vector<std::unique_ptr<T>>& list, const T& element) {
    auto found = std::find_if(list.begin(), list.end(), [&](const std::unique_ptr<T>& held) {
        return held.get() == &element;
    });
    if (found == list.end())
        return nullptr;
    std::unique_ptr<T> taken = std::move(*found);
    list.erase(found);
    return taken;
}

} // namespace

Table::Table(std::u16string name) : Element(std::move(name)) {}

Table::~Table() = default;

void Table::accept(IEntityVisitor& visitor) const {
    visitor.visit(*this);
}

Field& Table::addField(std::unique_ptr<Field> field) {
    assert(&field->table() == this);
    return *fields_.emplace_back(std::move(field));
}

Index& Table::addIndex(std::unique_ptr<Index> index) {
    assert(&index->table() == this);
    return *indexes_.emplace_back(std::move(index));
}

CheckConstraint& Table::addCheckConstraint(std::unique_ptr<CheckConstraint> constraint) {
    return *checkConstraints_.emplace_back(std::move(constraint));
}

Key& Table::addKey(std::unique_ptr<Key> key) {
    assert(&key->table() == this);
    auto same = std::find_if(keys_.begin(), keys_.end(), [&](const std::unique_ptr<Key>& held) {
        return held->name() == key->name();
    });
    if (same == keys_.end())
        return *keys_.emplace_back(std::move(key));
    // A relationship and an index-based key can share a name; the relationship says more.
    if (key->type() == Key::Foreign)
        *same = std::move(key);
    return **same;
}

std::unique_ptr<Index> Table::removeIndex(const Index& index) {
    return takeOut(indexes_, index);
}

std::unique_ptr<Key> Table::removeKey(const Key& key) {
    return takeOut(keys_, key);
}

Field* Table::findField(std::u16string_view name) const {
    for (const auto& field : fields_) {
        if (text::equalsNoCase(field->name(), name))
            return field.get();
    }
    return nullptr;
}

Field* Table::findFieldExact(std::u16string_view name) const {
    for (const auto& field : fields_) {
        if (field->name() == name)
            return field.get();
    }
    return nullptr;
}

Key* Table::findKeyExact(std::u16string_view name) const {
    for (const auto& key : keys_) {
        if (key->name() == name)
            return key.get();
    }
    return nullptr;
}

void Table::sortFieldsByPosition() {
    std::stable_sort(fields_.begin(), fields_.end(),
                     [](const std::unique_ptr<Field>& a, const std::unique_ptr<Field>& b) {
                         return a->position() < b->position();
                     });
}

void Table::setTableDataMacro(std::unique_ptr<TableDataMacro> macro) {
    tableDataMacro_ = std::move(macro);
}
