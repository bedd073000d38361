#include "foundation/engine/embedded/SchemaEditor.h"

#include "foundation/engine/embedded/DdlParser.h"
#include "foundation/engine/embedded/Lexer.h"
#include "foundation/engine/embedded/SchemaRules.h"
#include "foundation/text/WideString.h"

#include <algorithm>

namespace engine::embedded {

namespace {

using Constraint = ddl::Constraint;
namespace errs = schemaErrors;

bool same(std::u16string_view a, std::u16string_view b) {
    return text::equalsNoCase(a, b);
}

template <class T> T* findNamed(std::vector<T>& items, std::u16string_view name) {
    for (T& item : items)
        if (same(item.name, name))
            return &item;
    return nullptr;
}

bool sameColumnSet(const std::vector<std::u16string>& a, const std::vector<std::u16string>& b) {
    if (a.size() != b.size())
        return false;
    for (const auto& name : a)
        if (std::none_of(b.begin(), b.end(), [&](const auto& other) { return same(name, other); }))
            return false;
    return true;
}

std::vector<std::u16string> indexColumns(const catalog::Index& index) {
    std::vector<std::u16string> names;
    for (const auto& entry : index.columns)
        names.push_back(entry.name);
    return names;
}

bool indexUses(const catalog::Index& index, std::u16string_view column) {
    return std::any_of(index.columns.begin(), index.columns.end(),
                       [&](const auto& entry) { return same(entry.name, column); });
}

// The first of base, base1, base2, ... that `taken` refuses not.
template <class Taken> std::u16string freeName(const std::u16string& base, Taken taken) {
    if (!taken(base))
        return base;
    for (int n = 1;; ++n) {
        std::u16string candidate = base + text::toWString(n);
        if (!taken(candidate))
            return candidate;
    }
}

std::vector<std::u16string> relationColumns(const catalog::Relation& relation, bool foreign) {
    std::vector<std::u16string> names;
    for (const auto& field : relation.fields)
        names.push_back(foreign ? field.foreignName : field.name);
    return names;
}

// A query is a procedure when it declares parameters or is not a plain select.
bool isProcedure(std::u16string_view text, bool hasParameters) {
    if (hasParameters)
        return true;
    std::vector<Token> tokens = tokenize(text);
    if (!tokens.front().isWord(u"SELECT") && !tokens.front().isWord(u"TRANSFORM") &&
        !tokens.front().isSymbol(u"("))
        return true;
    int depth = 0;
    for (const Token& token : tokens) {
        if (token.isSymbol(u"("))
            ++depth;
        else if (token.isSymbol(u")"))
            --depth;
        else if (depth == 0 && token.isWord(u"INTO"))
            return true;
    }
    return false;
}

} // namespace

// ---- statements

void SchemaEditor::execute(const ddl::Statement& statement) {
    std::visit(
        [this](const auto& s) {
            using T = std::decay_t<decltype(s)>;
            if constexpr (std::is_same_v<T, ddl::CreateTable>)
                createTable(s);
            else if constexpr (std::is_same_v<T, ddl::AddColumns>)
                addColumns(s);
            else if constexpr (std::is_same_v<T, ddl::AlterColumn>)
                alterColumn(s);
            else if constexpr (std::is_same_v<T, ddl::DropColumns>)
                dropColumns(s);
            else if constexpr (std::is_same_v<T, ddl::AddConstraint>)
                addConstraint(s);
            else if constexpr (std::is_same_v<T, ddl::DropConstraint>)
                dropConstraint(s);
            else if constexpr (std::is_same_v<T, ddl::CreateIndex>)
                createIndex(s);
            else if constexpr (std::is_same_v<T, ddl::DropIndex>)
                dropIndex(s);
            else if constexpr (std::is_same_v<T, ddl::DropTable>)
                dropTable(s);
            else if constexpr (std::is_same_v<T, ddl::DropQuery>)
                dropQuery(s);
            else
                appendQuery(s.name, s.text);
        },
        statement);
}

// Tables and queries share one set of names.
void SchemaEditor::checkNewName(std::u16string_view name, bool table) {
    checkName(name);
    if (store_.loadTable(name) || store_.loadQuery(name))
        throw table ? errors::tableExists(name) : errs::objectExists(name);
}

void SchemaEditor::createTable(const ddl::CreateTable& statement) {
    checkNewName(statement.name, true);
    TableEdit edit;
    edit.after.name = statement.name;
    for (const ddl::ColumnDefinition& definition : statement.columns) {
        checkName(definition.name);
        if (edit.after.findColumn(definition.name))
            throw errors::fieldExists(definition.name, statement.name);
        edit.after.columns.push_back(columnOf(definition));
    }
    // Keys first, so that a foreign key may reference the table's own primary key.
    std::vector<Constraint> constraints;
    for (const auto& definition : statement.columns)
        constraints.insert(constraints.end(), definition.constraints.begin(),
                           definition.constraints.end());
    constraints.insert(constraints.end(), statement.constraints.begin(),
                       statement.constraints.end());
    std::stable_partition(constraints.begin(), constraints.end(), [](const Constraint& c) {
        return c.kind == Constraint::Kind::PrimaryKey || c.kind == Constraint::Kind::Unique;
    });
    for (const Constraint& constraint : constraints)
        addConstraint(edit, constraint);
    if (edit.after.columns.size() > maxColumns)
        throw errs::tooManyFields();
    if (edit.after.indexes.size() > maxIndexes)
        throw errs::tooManyIndexes(edit.after.name);
    store_.createTable(edit);
}

void SchemaEditor::addColumns(const ddl::AddColumns& statement) {
    TableEdit edit = beginEdit(statement.table);
    for (const ddl::ColumnDefinition& definition : statement.columns) {
        checkName(definition.name);
        if (edit.after.findColumn(definition.name))
            throw errors::fieldExists(definition.name, edit.after.name);
        edit.after.columns.push_back(columnOf(definition));
    }
    for (const ddl::ColumnDefinition& definition : statement.columns)
        for (const Constraint& constraint : definition.constraints)
            addConstraint(edit, constraint);
    commit(edit);
}

void SchemaEditor::alterColumn(const ddl::AlterColumn& statement) {
    TableEdit edit = beginEdit(statement.table);
    catalog::Column* column = findNamed(edit.after.columns, statement.column.name);
    if (!column)
        throw errs::fieldNotFound(statement.column.name, edit.after.name);
    catalog::Column changed = columnOf(statement.column);
    changed.name = column->name;
    changed.validationRule = column->validationRule;
    changed.validationText = column->validationText;
    changed.properties = column->properties;
    bool text = changed.type == type::varWChar || changed.type == type::longVarWChar ||
                changed.type == type::wChar;
    changed.allowZeroLength = text && column->allowZeroLength;
    if (statement.column.defaultClause == ddl::DefaultClause::Absent)
        changed.defaultValue = column->defaultValue;
    bool retyped =
        daoTypeOf(changed.type) != daoTypeOf(column->type) || changed.size != column->size;
    if (retyped)
        for (const auto& relation : store_.relationsOf(edit.after.name))
            for (const auto& field : relation.fields)
                if ((same(relation.foreignTable, edit.after.name) &&
                     same(field.foreignName, changed.name)) ||
                    (same(relation.table, edit.after.name) && same(field.name, changed.name)))
                    throw errs::changeInRelationship(changed.name);
    *column = std::move(changed);
    for (const Constraint& constraint : statement.column.constraints)
        addConstraint(edit, constraint);
    commit(edit);
}

void SchemaEditor::removeColumn(TableEdit& edit, const std::u16string& name) {
    catalog::Column* column = findNamed(edit.after.columns, name);
    if (!column)
        throw errs::fieldNotFound(name, edit.after.name);
    for (const catalog::Index& index : edit.after.indexes)
        if (indexUses(index, name))
            throw errs::fieldInIndex();
    for (const auto& relation : store_.relationsOf(edit.after.name))
        for (const auto& field : relation.fields)
            if ((same(relation.foreignTable, edit.after.name) && same(field.foreignName, name)) ||
                (same(relation.table, edit.after.name) && same(field.name, name)))
                throw errs::fieldInRelationship();
    if (edit.after.columns.size() == 1)
        throw errs::lastField(edit.after.name);
    std::erase_if(edit.after.columns, [&](const auto& c) { return same(c.name, name); });
}

void SchemaEditor::dropColumns(const ddl::DropColumns& statement) {
    TableEdit edit = beginEdit(statement.table);
    for (const std::u16string& name : statement.columns)
        removeColumn(edit, name);
    commit(edit);
}

void SchemaEditor::addConstraint(const ddl::AddConstraint& statement) {
    TableEdit edit = beginEdit(statement.table);
    addConstraint(edit, statement.constraint);
    commit(edit);
}

void SchemaEditor::dropConstraint(const ddl::DropConstraint& statement) {
    TableEdit edit = beginEdit(statement.table);
    const std::u16string& table = edit.after.name;
    if (catalog::Index* index = findNamed(edit.after.indexes, statement.name);
        index && !index->foreign) {
        // A relation needs a unique index on the columns it references.
        std::vector<std::u16string> columns = indexColumns(*index);
        for (const auto& relation : store_.relationsOf(table)) {
            if (!same(relation.table, table) ||
                !sameColumnSet(relationColumns(relation, false), columns))
                continue;
            bool other = std::any_of(
                edit.after.indexes.begin(), edit.after.indexes.end(), [&](const auto& x) {
                    return &x != index && x.unique && sameColumnSet(indexColumns(x), columns);
                });
            if (!other)
                throw errs::usedInRelationship();
        }
        std::erase_if(edit.after.indexes,
                      [&](const auto& x) { return same(x.name, statement.name); });
        commit(edit);
        return;
    }
    if (auto relation = store_.loadRelation(statement.name);
        relation && same(relation->foreignTable, table)) {
        std::erase_if(edit.after.indexes,
                      [&](const auto& x) { return x.foreign && same(x.name, relation->name); });
        std::erase_if(edit.relationsAfter,
                      [&](const auto& r) { return same(r.name, relation->name); });
        edit.removed.push_back(relation->name);
        commit(edit);
        return;
    }
    if (findNamed(edit.after.checks, statement.name)) {
        std::erase_if(edit.after.checks,
                      [&](const auto& c) { return same(c.name, statement.name); });
        commit(edit);
        return;
    }
    throw errs::constraintNotFound();
}

void SchemaEditor::createIndex(const ddl::CreateIndex& statement) {
    TableEdit edit = beginEdit(statement.table);
    checkName(statement.name);
    if (edit.after.findIndex(statement.name))
        throw errs::indexExists(edit.after.name, statement.name);
    if (statement.primary && std::any_of(edit.after.indexes.begin(), edit.after.indexes.end(),
                                         [](const auto& x) { return x.primary; }))
        throw errs::primaryKeyExists();
    catalog::Index index;
    index.name = statement.name;
    index.primary = statement.primary;
    index.unique = statement.unique || statement.primary;
    index.nulls = statement.primary ? adox::indexNullsDisallow : statement.nulls;
    for (const catalog::IndexColumn& entry : statement.columns) {
        const catalog::Column* column = edit.after.findColumn(entry.name);
        if (!column)
            throw errs::fieldNotFound(entry.name, edit.after.name);
        if (indexUses(index, entry.name))
            throw EngineError(status::syntaxError, u"Syntax error in CREATE INDEX statement.");
        index.columns.push_back({column->name, entry.descending});
    }
    edit.after.indexes.push_back(std::move(index));
    commit(edit);
}

void SchemaEditor::dropIndex(const ddl::DropIndex& statement) {
    TableEdit edit = beginEdit(statement.table);
    const catalog::Index* index = edit.after.findIndex(statement.name);
    if (!index)
        throw errs::indexNotFound(statement.name);
    if (index->foreign)
        throw errs::usedInRelationship();
    ddl::DropConstraint asConstraint{statement.table, statement.name};
    dropConstraint(asConstraint);
}

void SchemaEditor::dropTable(const ddl::DropTable& statement) {
    auto table = store_.loadTable(statement.name);
    if (!table)
        throw errors::tableNotFound(statement.name);
    if (table->kind == catalog::TableKind::System ||
        table->kind == catalog::TableKind::AccessSystem)
        throw errors::readOnly();
    if (!store_.relationsOf(table->name).empty())
        throw errs::usedInRelationship();
    store_.dropTable(*table);
}

void SchemaEditor::dropQuery(const ddl::DropQuery& statement) {
    if (!store_.loadQuery(statement.name))
        throw errors::tableNotFound(statement.name);
    store_.deleteQuery(statement.name);
}

// ---- constraints

void SchemaEditor::addConstraint(TableEdit& edit, const Constraint& constraint) {
    catalog::Table& table = edit.after;
    for (const catalog::IndexColumn& column : constraint.columns)
        if (!table.findColumn(column.name))
            throw errs::fieldNotFound(column.name, table.name);
    if (!constraint.name.empty())
        checkName(constraint.name);
    auto indexTaken = [&](const std::u16string& name) { return table.findIndex(name) != nullptr; };
    switch (constraint.kind) {
    case Constraint::Kind::PrimaryKey:
    case Constraint::Kind::Unique: {
        bool primary = constraint.kind == Constraint::Kind::PrimaryKey;
        if (primary && std::any_of(table.indexes.begin(), table.indexes.end(),
                                   [](const auto& x) { return x.primary; }))
            throw errs::primaryKeyExists();
        std::u16string base = primary ? u"PrimaryKey" : u"";
        if (!primary)
            for (const auto& column : constraint.columns)
                base += column.name;
        std::u16string name =
            constraint.name.empty() ? freeName(base, indexTaken) : constraint.name;
        if (indexTaken(name))
            throw errs::indexExists(table.name, name);
        catalog::Index index;
        index.name = name;
        index.primary = primary;
        index.unique = true;
        index.nulls = primary ? adox::indexNullsDisallow : adox::indexNullsAllow;
        for (const auto& column : constraint.columns) {
            if (indexUses(index, column.name))
                throw EngineError(status::syntaxError, u"Syntax error in CONSTRAINT clause.");
            index.columns.push_back({table.findColumn(column.name)->name, column.descending});
        }
        table.indexes.push_back(std::move(index));
        break;
    }
    case Constraint::Kind::ForeignKey: {
        std::u16string name = constraint.name;
        if (name.empty())
            name = freeName(constraint.references.table + table.name, [&](const auto& n) {
                return indexTaken(n) || store_.loadRelation(n).has_value() ||
                       findNamed(edit.added, n);
            });
        addForeignKey(edit, constraint, name);
        break;
    }
    case Constraint::Kind::Check: {
        std::u16string name =
            constraint.name.empty()
                ? freeName(u"CK_" + table.name,
                           [&](const auto& n) { return findNamed(table.checks, n) != nullptr; })
                : constraint.name;
        if (findNamed(table.checks, name))
            throw errs::objectExists(name);
        std::u16string_view clause = constraint.clause;
        if (clause.find_first_not_of(u" \t\r\n") == std::u16string_view::npos)
            throw EngineError(status::syntaxError, u"Syntax error in CONSTRAINT clause.");
        table.checks.push_back({name, constraint.clause});
        break;
    }
    }
    if (table.indexes.size() > maxIndexes)
        throw errs::tooManyIndexes(table.name);
}

void SchemaEditor::addForeignKey(TableEdit& edit, const Constraint& constraint,
                                 const std::u16string& name) {
    const ddl::References& refs = constraint.references;
    catalog::Relation relation;
    relation.name = name;
    relation.foreignTable = edit.after.name;
    std::optional<catalog::Table> loaded;
    const catalog::Table* referenced = &edit.after;
    if (!same(refs.table, edit.after.name)) {
        loaded = store_.loadTable(refs.table);
        if (!loaded)
            throw errors::tableNotFound(refs.table);
        if (loaded->kind != catalog::TableKind::Local)
            throw errs::linkedTable(loaded->name);
        referenced = &*loaded;
    }
    relation.table = referenced->name;
    std::vector<std::u16string> related = refs.columns;
    if (related.empty()) {
        auto primary = std::find_if(referenced->indexes.begin(), referenced->indexes.end(),
                                    [](const auto& x) { return x.primary; });
        if (primary == referenced->indexes.end())
            throw errs::noUniqueIndex();
        related = indexColumns(*primary);
    }
    if (related.size() != constraint.columns.size() || related.empty())
        throw errs::relationshipMismatch();
    for (std::size_t i = 0; i < related.size(); ++i) {
        const catalog::Column* parent = referenced->findColumn(related[i]);
        if (!parent)
            throw errs::fieldNotFound(related[i], referenced->name);
        const catalog::Column* child = edit.after.findColumn(constraint.columns[i].name);
        if (daoTypeOf(parent->type) != daoTypeOf(child->type))
            throw errs::relationshipMismatch();
        relation.fields.push_back({parent->name, child->name});
    }
    bool keyed =
        std::any_of(referenced->indexes.begin(), referenced->indexes.end(), [&](const auto& x) {
            return x.unique && sameColumnSet(indexColumns(x), related);
        });
    if (!keyed)
        throw errs::noUniqueIndex();
    std::int32_t attributes = refs.unique ? dao::relationUnique : 0;
    if (refs.updateRule == adox::ruleCascade)
        attributes |= dao::relationUpdateCascade;
    else if (refs.updateRule == adox::ruleSetNull)
        attributes |= dao::relationUpdateSetNull;
    if (refs.deleteRule == adox::ruleCascade)
        attributes |= dao::relationDeleteCascade;
    else if (refs.deleteRule == adox::ruleSetNull)
        attributes |= dao::relationDeleteSetNull;
    relation.attributes = attributes;
    addRelation(edit, std::move(relation), !refs.noIndex, refs.unique);
}

void SchemaEditor::addRelation(TableEdit& edit, catalog::Relation relation, bool withIndex,
                               bool uniqueIndex) {
    checkName(relation.name);
    if (store_.loadRelation(relation.name) || findNamed(edit.added, relation.name))
        throw errs::objectExists(relation.name);
    if (withIndex && !(relation.attributes & dao::relationDontEnforce)) {
        if (edit.after.findIndex(relation.name))
            throw errs::indexExists(edit.after.name, relation.name);
        catalog::Index index;
        index.name = relation.name;
        index.unique = uniqueIndex;
        index.foreign = true;
        for (const auto& field : relation.fields)
            index.columns.push_back({field.foreignName, false});
        edit.after.indexes.push_back(std::move(index));
    }
    edit.relationsAfter.push_back(relation);
    edit.added.push_back(std::move(relation));
}

// ---- edits

TableEdit SchemaEditor::beginEdit(const std::u16string& name) {
    auto table = store_.loadTable(name);
    if (!table)
        throw errors::tableNotFound(name);
    if (table->kind == catalog::TableKind::AccessLink ||
        table->kind == catalog::TableKind::OdbcLink)
        throw errs::linkedTable(table->name);
    if (table->kind != catalog::TableKind::Local)
        throw errors::readOnly();
    TableEdit edit;
    edit.before = *table;
    edit.after = std::move(*table);
    for (catalog::Relation& relation : store_.relationsOf(name))
        if (same(relation.foreignTable, name))
            edit.relationsBefore.push_back(std::move(relation));
    edit.relationsAfter = edit.relationsBefore;
    return edit;
}

void SchemaEditor::commit(TableEdit& edit) {
    if (edit.after.columns.size() > maxColumns)
        throw errs::tooManyFields();
    if (edit.after.indexes.size() > maxIndexes)
        throw errs::tooManyIndexes(edit.after.name);
    store_.changeTable(edit);
}

// ---- object-model writes

void SchemaEditor::alterColumn(const std::u16string& table, const std::u16string& column,
                               const catalog::Column& definition) {
    TableEdit edit = beginEdit(table);
    catalog::Column* current = findNamed(edit.after.columns, column);
    if (!current)
        throw errs::fieldNotFound(column, edit.after.name);
    bool renamed = !same(definition.name, current->name);
    bool retyped =
        daoTypeOf(definition.type) != daoTypeOf(current->type) || definition.size != current->size;
    if (renamed) {
        checkName(definition.name);
        if (edit.after.findColumn(definition.name))
            throw errors::fieldExists(definition.name, edit.after.name);
        for (const catalog::Index& index : edit.after.indexes)
            if (indexUses(index, column))
                throw errs::fieldInIndex();
        edit.renamed.push_back({definition.name, current->name});
    }
    if (renamed || retyped)
        for (const auto& relation : store_.relationsOf(edit.after.name))
            for (const auto& field : relation.fields)
                if ((same(relation.foreignTable, table) && same(field.foreignName, column)) ||
                    (same(relation.table, table) && same(field.name, column)))
                    throw errs::changeInRelationship(column);
    *current = definition;
    commit(edit);
}

void SchemaEditor::appendColumn(const std::u16string& table, const catalog::Column& definition) {
    TableEdit edit = beginEdit(table);
    checkName(definition.name);
    if (edit.after.findColumn(definition.name))
        throw errors::fieldExists(definition.name, edit.after.name);
    edit.after.columns.push_back(definition);
    commit(edit);
}

void SchemaEditor::dropColumn(const std::u16string& table, const std::u16string& column) {
    TableEdit edit = beginEdit(table);
    removeColumn(edit, column);
    commit(edit);
}

void SchemaEditor::appendTable(const catalog::Table& table) {
    checkNewName(table.name, true);
    catalog::Table created = table;
    created.indexes.clear();
    created.checks.clear();
    if (created.kind == catalog::TableKind::Local) {
        if (created.columns.empty())
            throw EngineError(status::unspecified,
                              u"Table '" + created.name + u"' must have at least one field.");
        for (const catalog::Column& column : created.columns)
            checkName(column.name);
    } else if (created.kind != catalog::TableKind::AccessLink &&
               created.kind != catalog::TableKind::OdbcLink) {
        throw errors::invalidArgument();
    }
    store_.appendTable(created);
}

void SchemaEditor::alterTable(const std::u16string& table, const catalog::Table& definition) {
    TableEdit edit = beginEdit(table);
    edit.after.hidden = definition.hidden;
    edit.after.temporary = definition.temporary;
    edit.after.validationRule = definition.validationRule;
    edit.after.validationText = definition.validationText;
    commit(edit);
}

void SchemaEditor::appendRelation(const catalog::Relation& relation) {
    TableEdit edit = beginEdit(relation.foreignTable);
    auto referenced = same(relation.table, relation.foreignTable)
                          ? std::optional(edit.after)
                          : store_.loadTable(relation.table);
    if (!referenced)
        throw errors::tableNotFound(relation.table);
    if (relation.fields.empty())
        throw errs::relationshipMismatch();
    catalog::Relation added = relation;
    added.foreignTable = edit.after.name;
    added.table = referenced->name;
    bool enforced = !(relation.attributes & dao::relationDontEnforce);
    std::vector<std::u16string> related;
    for (catalog::RelationField& field : added.fields) {
        const catalog::Column* parent = referenced->findColumn(field.name);
        const catalog::Column* child = edit.after.findColumn(field.foreignName);
        if (!parent)
            throw errs::fieldNotFound(field.name, referenced->name);
        if (!child)
            throw errs::fieldNotFound(field.foreignName, edit.after.name);
        if (daoTypeOf(parent->type) != daoTypeOf(child->type))
            throw errs::relationshipMismatch();
        field = {parent->name, child->name};
        related.push_back(parent->name);
    }
    if (enforced) {
        if (referenced->kind != catalog::TableKind::Local)
            throw errs::linkedTable(referenced->name);
        bool keyed =
            std::any_of(referenced->indexes.begin(), referenced->indexes.end(), [&](const auto& x) {
                return x.unique && sameColumnSet(indexColumns(x), related);
            });
        if (!keyed)
            throw errs::noUniqueIndex();
    }
    addRelation(edit, std::move(added), enforced, relation.attributes & dao::relationUnique);
    commit(edit);
}

void SchemaEditor::dropRelation(const std::u16string& name) {
    auto relation = store_.loadRelation(name);
    if (!relation)
        throw errors::itemNotFound();
    dropConstraint(ddl::DropConstraint{relation->foreignTable, relation->name});
}

void SchemaEditor::appendQuery(const std::u16string& name, const std::u16string& text) {
    checkNewName(name, false);
    catalog::Query query;
    query.name = name;
    query.text = text;
    auto clause = parseParametersClause(text);
    if (clause)
        query.parameters = std::move(clause->parameters);
    if (text.find_first_not_of(u" \t\r\n") == std::u16string::npos)
        throw EngineError(status::syntaxError, u"Invalid SQL statement; expected 'DELETE', "
                                               u"'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'.");
    query.procedure = isProcedure(clause ? std::u16string_view(clause->body) : text, bool(clause));
    store_.insertQuery(query);
}

} // namespace engine::embedded
