#include "script/ScriptBuilder.h"

#include "foundation/text/WideString.h"
#include "schema/Database.h"

#include <algorithm>

ScriptBuilder::ScriptBuilder(const Database& first, const Database& second)
    : first_(first), second_(second) {
    for (const auto& table : first.tables()) {
        for (const auto& key : table->keys()) {
            if (key->type() == Key::Foreign)
                foreignKeysByRelatedTable_[key->relatedTableName()].push_back(key.get());
        }
    }
}

ScriptBuilder::~ScriptBuilder() = default;

TableDiff& ScriptBuilder::plan(std::u16string_view tableName) {
    std::unique_ptr<TableDiff>& plan = plans_[text::asciiLower(tableName)];
    if (!plan)
        plan = std::make_unique<TableDiff>(generator_, second_);
    return *plan;
}

void ScriptBuilder::add(const ElementDifference& item) {
    const Element& element = item.state == ElementState::Deleted ? *item.first : *item.second;
    switch (element.kind()) {
    case ElementKind::Table:
        addTable(static_cast<const Table&>(element), item.state);
        break;
    case ElementKind::Field:
        addField(static_cast<const Field&>(element), item.state);
        break;
    case ElementKind::Index:
        addIndex(static_cast<const Index&>(element), item.state);
        break;
    case ElementKind::Key:
        addKey(static_cast<const Key&>(element), item.state);
        break;
    case ElementKind::CheckConstraint:
        addCheck(static_cast<const CheckConstraint&>(element), item.state);
        break;
    case ElementKind::View:
    case ElementKind::Procedure:
        addQuery(item);
        break;
    case ElementKind::TableDataMacro:
        addTableDataMacro(static_cast<const TableDataMacro&>(element), item.state);
        break;
    case ElementKind::Form:
    case ElementKind::Macro:
    case ElementKind::Module:
    case ElementKind::Report:
        addDocument(element, item.state);
        break;
    default: // linked tables are not synchronised
        break;
    }
}

void ScriptBuilder::addTable(const Table& table, ElementState state) {
    switch (state) {
    case ElementState::Added:
        plan(table.name()).createTable(table);
        skipAddedChildren_ = true;
        skipDeletedChildren_ = false;
        break;
    case ElementState::Deleted:
        generator_.dropTable(table);
        skipDeletedChildren_ = true;
        skipAddedChildren_ = false;
        break;
    case ElementState::Changed:
        skipAddedChildren_ = false;
        skipDeletedChildren_ = false;
        break;
    }
}

void ScriptBuilder::addField(const Field& field, ElementState state) {
    switch (state) {
    case ElementState::Added:
        if (!skipAddedChildren_)
            generator_.addColumn(field);
        break;
    case ElementState::Deleted:
        if (!skipDeletedChildren_)
            generator_.dropColumn(field);
        break;
    case ElementState::Changed:
        changeField(field);
        break;
    }
}

void ScriptBuilder::addIndex(const Index& index, ElementState state) {
    TableDiff& tablePlan = plan(index.table().name());
    switch (state) {
    case ElementState::Added:
        if (!skipAddedChildren_)
            tablePlan.createIndex(index);
        break;
    case ElementState::Deleted:
        if (!skipDeletedChildren_)
            tablePlan.dropIndex(index);
        break;
    case ElementState::Changed:
        tablePlan.dropIndex(index);
        tablePlan.createIndex(index);
        break;
    }
}

void ScriptBuilder::addKey(const Key& key, ElementState state) {
    TableDiff& tablePlan = plan(key.table().name());
    switch (state) {
    case ElementState::Added:
        if (!skipAddedChildren_)
            tablePlan.addKey(key);
        return;
    case ElementState::Deleted:
        // Also under a dropped table: its keys may have dependants elsewhere.
        tablePlan.dropKey(key);
        break;
    case ElementState::Changed:
        tablePlan.recreateKey(key);
        break;
    }
    if (key.type() != Key::Foreign)
        recreateReferencingForeignKeys(key);
}

void ScriptBuilder::addCheck(const CheckConstraint& constraint, ElementState state) {
    TableDiff& tablePlan = plan(constraint.tableName());
    switch (state) {
    case ElementState::Added:
        if (!skipAddedChildren_)
            tablePlan.addCheck(constraint);
        break;
    case ElementState::Deleted:
        if (!skipDeletedChildren_)
            tablePlan.dropCheck(constraint);
        break;
    case ElementState::Changed:
        tablePlan.dropCheck(constraint);
        tablePlan.addCheck(constraint);
        break;
    }
}

// A view and a procedure of the same name pair up: the query is dropped as what it was in the
// first database and created as what it is in the second.
void ScriptBuilder::addQuery(const ElementDifference& item) {
    if (item.state != ElementState::Added) {
        const auto& old = static_cast<const View&>(*item.first);
        if (old.kind() == ElementKind::Procedure)
            generator_.dropProcedure(old);
        else
            generator_.dropView(old);
    }
    if (item.state != ElementState::Deleted) {
        const auto& query = static_cast<const View&>(*item.second);
        if (query.kind() == ElementKind::Procedure)
            generator_.createProcedure(query);
        else
            generator_.createView(query);
    }
}

void ScriptBuilder::addTableDataMacro(const TableDataMacro& macro, ElementState state) {
    switch (state) {
    case ElementState::Added:
        if (!skipAddedChildren_)
            generator_.setTableDataMacro(macro);
        break;
    case ElementState::Deleted:
        if (!skipDeletedChildren_)
            generator_.dropTableDataMacro(macro);
        break;
    case ElementState::Changed:
        generator_.setTableDataMacro(macro);
        break;
    }
}

void ScriptBuilder::addDocument(const Element& document, ElementState state) {
    const bool drop = state == ElementState::Deleted;
    switch (document.kind()) {
    case ElementKind::Form:
        if (drop)
            generator_.dropForm(static_cast<const Entity::Form&>(document));
        else
            generator_.setForm(static_cast<const Entity::Form&>(document));
        break;
    case ElementKind::Macro:
        // The runner drops a macro as it drops the other objects; without the statement a
        // macro of the first database only would outlive every synchronisation.
        if (drop)
            generator_.dropMacro(static_cast<const Entity::Macro&>(document));
        else
            generator_.setMacro(static_cast<const Entity::Macro&>(document));
        break;
    case ElementKind::Module:
        if (drop)
            generator_.dropModule(static_cast<const Entity::Module&>(document));
        else
            generator_.setModule(static_cast<const Entity::Module&>(document));
        break;
    case ElementKind::Report:
        if (drop)
            generator_.dropReport(static_cast<const Entity::Report&>(document));
        else
            generator_.setReport(static_cast<const Entity::Report&>(document));
        break;
    default:
        break;
    }
}

void ScriptBuilder::changeField(const Field& field) {
    const Field::Same& same = field.same();
    const bool definitionSame = same.type && same.length && same.autoincrement &&
                                same.defaultValue && same.numericScale && same.precision &&
                                same.nullable && same.compression;
    if (!definitionSame) {
        alterColumnWithKeys(field);
        return;
    }
    // The validation rule and the position have no statement.
    if (!same.allowZeroLength)
        generator_.setZeroLength(field, ScriptCategory::AlterColumns);
    if (!same.format)
        generator_.setFormat(field, ScriptCategory::AlterColumns);
    if (!same.expression)
        generator_.setExpression(field, ScriptCategory::AlterColumns);
    if (!same.decimalPlaces)
        generator_.setDecimalPlaces(field, ScriptCategory::AlterColumns);
}

void ScriptBuilder::alterColumnWithKeys(const Field& field) {
    // The engine refuses to alter a column that a constraint uses.
    const std::u16string& tableName = field.table().name();
    TableDiff& tablePlan = plan(tableName);
    if (const Table* old = first_.findTable(tableName)) {
        for (const auto& key : old->keys()) {
            const bool usesColumn =
                std::any_of(key->columns().begin(), key->columns().end(),
                            [&](const KeyColumn& column) { return column.column == field.name(); });
            if (!usesColumn)
                continue;
            tablePlan.recreateKey(*key);
            if (key->type() != Key::Foreign)
                recreateReferencingForeignKeys(*key);
        }
    }
    generator_.alterColumn(field);
}

void ScriptBuilder::recreateReferencingForeignKeys(const Key& key) {
    const std::u16string& referenced = key.table().name();
    auto found = foreignKeysByRelatedTable_.find(referenced);
    if (found == foreignKeysByRelatedTable_.end())
        return;
    for (const Key* candidate : found->second) {
        if (candidate->table().name() == referenced)
            continue;
        const bool refersToKey = std::any_of(
            candidate->columns().begin(), candidate->columns().end(),
            [&](const KeyColumn& column) { return key.hasColumn(column.relatedColumn); });
        if (refersToKey)
            plan(candidate->table().name()).recreateKey(*candidate);
    }
}

std::u16string ScriptBuilder::finish() {
    for (auto& [name, tablePlan] : plans_)
        tablePlan->flush();
    plans_.clear();
    return generator_.assemble(true);
}
