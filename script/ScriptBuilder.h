#pragma once

// Turns the items of a comparison, in their order, into the statements that give the first
// database the structure of the second: added elements are created, deleted ones dropped,
// changed ones altered. Views, procedures and Access objects go straight to the generator;
// table elements go through a plan per table (TableDiff), which is written at the end.

#include "compare/ElementDifference.h"
#include "schema/AccessDataTypeName.h"
#include "script/CommandGenerator.h"
#include "script/TableDiff.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class Database;

class ScriptBuilder {
public:
    // The schemas are not owned; the items given to add() must belong to them.
    ScriptBuilder(const Database& first, const Database& second);
    ~ScriptBuilder();
    ScriptBuilder(const ScriptBuilder&) = delete;
    ScriptBuilder& operator=(const ScriptBuilder&) = delete;

    // A table's items must follow the item of their table, as a comparison orders them.
    void add(const ElementDifference& item);
    // Writes the plans, in the order of their lower-cased table names, and returns the
    // script. Call once.
    std::u16string finish();

private:
    // The plan of a table, by its name ignoring the case of A-Z.
    TableDiff& plan(std::u16string_view tableName);

    void addTable(const Table& table, ElementState state);
    void addField(const Field& field, ElementState state);
    void addIndex(const Index& index, ElementState state);
    void addKey(const Key& key, ElementState state);
    void addCheck(const CheckConstraint& constraint, ElementState state);
    void addQuery(const ElementDifference& item);
    void addTableDataMacro(const TableDataMacro& macro, ElementState state);
    void addDocument(const Element& document, ElementState state);

    void changeField(const Field& field);
    // ALTER COLUMN, with the first database's keys on the column dropped and added again.
    void alterColumnWithKeys(const Field& field);
    // Foreign keys of other tables that refer to a primary or unique key must be dropped
    // before it and added after it.
    void recreateReferencingForeignKeys(const Key& key);

    AccessDataTypeName dialect_;
    CommandGenerator generator_{dialect_};
    const Database& first_;
    const Database& second_;
    std::map<std::u16string, std::unique_ptr<TableDiff>> plans_;
    // The first database's foreign keys by the exact name of the table they refer to, in
    // table and key order, so that finding the dependants of a key does not scan every table.
    std::unordered_map<std::u16string, std::vector<const Key*>> foreignKeysByRelatedTable_;
    // Children of a table that is created or dropped as a whole need no statements of
    // their own; the last table item decides.
    bool skipDeletedChildren_ = false;
    bool skipAddedChildren_ = false;
};
