#include "script/TableDiff.h"

#include "schema/Database.h"
#include "script/CommandGenerator.h"
#include "script/KeyAsIndex.h"

#include <algorithm>

namespace {

template <class T, class U>
void removeNamesIn(std::map<std::u16string, const T*>& set,
                   const std::map<std::u16string, const U*>& names) {
    for (const auto& entry : names)
        set.erase(entry.first);
}

// A key's own index comes with the key, unless the key is written as that index.
bool comesWithAKey(const Index& index, const Table& table) {
    return std::any_of(table.keys().begin(), table.keys().end(), [&](const auto& key) {
        return key->name() == index.name() && indexWrittenForKey(*key) != &index;
    });
}

} // namespace

TableDiff::TableDiff(CommandGenerator& generator, const Database& second)
    : generator_(generator), second_(second) {}

void TableDiff::createTable(const Table& table) {
    generator_.createTable(table);
    for (const auto& key : table.keys()) {
        if (key->type() == Key::Foreign)
            addKey(*key);
    }
    // A key's own index comes with the key: CREATE TABLE writes the primary and unique keys,
    // and the foreign keys follow as constraints.
    for (const auto& index : table.indexes()) {
        if (!index->isPrimaryKey() && !comesWithAKey(*index, table))
            createIndex(*index);
    }
    for (const auto& check : table.checkConstraints())
        addCheck(*check);
}

void TableDiff::dropIndex(const Index& index) {
    indexesToDrop_.emplace(index.name(), &index);
}

void TableDiff::createIndex(const Index& index) {
    indexesToCreate_.emplace(index.name(), &index);
}

void TableDiff::dropCheck(const CheckConstraint& constraint) {
    checksToDrop_.emplace(constraint.name(), &constraint);
}

void TableDiff::addCheck(const CheckConstraint& constraint) {
    checksToAdd_.emplace(constraint.name(), &constraint);
}

void TableDiff::dropKey(const Key& key) {
    keysToDrop_.emplace(key.name(), &key);
}

void TableDiff::addKey(const Key& key) {
    keysToAdd_.emplace(key.name(), &key);
}

void TableDiff::recreateKey(const Key& key) {
    keysToRecreate_.emplace(key.name(), &key);
}

void TableDiff::flush() {
    // A key that goes for good is not added again.
    removeNamesIn(keysToRecreate_, keysToDrop_);
    for (auto& [name, key] : keysToRecreate_) {
        const Table* table = second_.findTable(key->table().name());
        if (const Key* current = table ? table->findKeyExact(name) : nullptr)
            key = current;
    }
    // A key written as its index comes with the index.
    std::erase_if(keysToAdd_, [&](const auto& entry) {
        return indexesToCreate_.contains(entry.first) && indexWrittenForKey(*entry.second);
    });
    // Dropping a constraint drops its index, adding one creates it.
    removeNamesIn(indexesToDrop_, keysToDrop_);
    removeNamesIn(indexesToDrop_, keysToRecreate_);
    removeNamesIn(indexesToCreate_, keysToAdd_);
    removeNamesIn(indexesToCreate_, keysToRecreate_);

    for (const auto& [name, index] : indexesToDrop_)
        generator_.dropIndex(*index);
    for (const auto& [name, index] : indexesToCreate_)
        generator_.createIndex(*index);
    for (const auto& [name, check] : checksToAdd_)
        generator_.addCheck(*check);
    for (const auto& [name, check] : checksToDrop_)
        generator_.dropCheck(*check);
    for (const auto& [name, key] : keysToDrop_)
        generator_.dropKey(*key);
    for (const auto& [name, key] : keysToAdd_)
        generator_.addKey(*key);
    for (const auto& [name, key] : keysToRecreate_) {
        generator_.dropKey(*key);
        if (const Index* index = indexWrittenForKey(*key))
            generator_.createIndex(*index);
        else
            generator_.recreateKey(*key);
    }
}
