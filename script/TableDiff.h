#pragma once

// The script plan of one table: the indexes, keys and check constraints to drop, create or
// recreate, collected during the walk over a comparison and written by flush() once every
// item is known. Collecting first lets the plan drop what a constraint change takes with it
// (a key's own index) and write each statement once, however many items asked for it.

#include <map>
#include <string>

class CheckConstraint;
class CommandGenerator;
class Database;
class Index;
class Key;
class Table;

class TableDiff {
public:
    // Neither is owned. Keys that are recreated take their definition from the second
    // database when it still has them.
    TableDiff(CommandGenerator& generator, const Database& second);

    // Writes CREATE TABLE at once and plans the new table's foreign keys, indexes and checks.
    void createTable(const Table& table);

    // Each of these only records the element; the first element recorded under a name stays.
    void dropIndex(const Index& index);
    void createIndex(const Index& index);
    void dropCheck(const CheckConstraint& constraint);
    void addCheck(const CheckConstraint& constraint);
    void dropKey(const Key& key);
    void addKey(const Key& key);
    // Dropped and added again, because it or a column it uses changes.
    void recreateKey(const Key& key);

    // Writes the collected statements; called once, after the walk.
    void flush();

private:
    template <class T> using NamedSet = std::map<std::u16string, const T*>;

    CommandGenerator& generator_;
    const Database& second_;
    NamedSet<Index> indexesToDrop_;
    NamedSet<Index> indexesToCreate_;
    NamedSet<CheckConstraint> checksToAdd_;
    NamedSet<CheckConstraint> checksToDrop_;
    NamedSet<Key> keysToDrop_;
    NamedSet<Key> keysToAdd_;
    NamedSet<Key> keysToRecreate_;
};
