#pragma once

// Writes the statements of the synchronisation-script dialect. Each operation appends its
// statements to one of the script's categories; assemble() joins the categories in an
// order that puts every drop before every creation, constraints after the columns they use,
// and queries and Access objects last. The generator decides nothing about what changes.

#include <array>
#include <string>

class CheckConstraint;
class DataTypeName;
class Field;
class Index;
class Key;
class Procedure;
class Table;
class TableDataMacro;
class TableLinkedAccess;
class TableLinkedODBC;
class View;
namespace Entity {
class AbstractAccessDocument;
class Form;
class Macro;
class Module;
class Report;
} // namespace Entity

// Statement categories in assembly order; the values are the positions in the script.
enum class ScriptCategory : int {
    DropForeignKeys = 1,
    DropUniqueKeys = 2,
    DropPrimaryKeysAndChecks = 3,
    DropIndexes = 4,
    DropColumns = 5,
    DropTables = 6,
    DropViewsAndProcedures = 7,
    CreateTables = 8,
    LinkTables = 9,
    AddColumns = 10,
    AddedColumnExpressions = 11,
    AlterColumns = 12,
    CreateIndexes = 13,
    RecreatedKeys = 14,
    RecreatedForeignKeys = 15,
    AddKeys = 16,
    AddForeignKeys = 17,
    AddChecks = 18,
    CreateViews = 19,
    CreateProcedures = 20,
    AccessObjects = 21,
};

class CommandGenerator {
public:
    // The dialect is not owned and must outlive the generator; its view hooks are called.
    explicit CommandGenerator(DataTypeName& dialect);

    void dropTable(const Table& table);
    void dropColumn(const Field& field);
    void dropIndex(const Index& index);
    void dropView(const View& view);
    void dropProcedure(const View& procedure);
    void dropCheck(const CheckConstraint& constraint);
    // Throws std::invalid_argument("Incorrect key") for a type other than primary, foreign
    // or unique, before appending anything.
    void dropKey(const Key& key);
    void dropForm(const Entity::Form& form);
    void dropMacro(const Entity::Macro& macro);
    void dropModule(const Entity::Module& module);
    void dropReport(const Entity::Report& report);
    void dropTableDataMacro(const TableDataMacro& macro);

    // CREATE TABLE with its column-property statements; attachment columns become ADD
    // COLUMN statements, keys on them ADD CONSTRAINT, and the data macro is set too.
    // Foreign keys, indexes and checks are left to the caller.
    void createTable(const Table& table);
    // ALTER TABLE ... ADD COLUMN with the column's property statements.
    void addColumn(const Field& field);
    // ALTER TABLE ... ALTER COLUMN with all property statements of the column; a column
    // without a default gets an empty DEFAULT, which clears the old one.
    void alterColumn(const Field& field);
    void createIndex(const Index& index);
    // New keys; foreign keys go to their own category.
    void addKey(const Key& key);
    // The add part of a key that was dropped to be created again.
    void recreateKey(const Key& key);
    void addCheck(const CheckConstraint& constraint);
    void linkAccessTable(const TableLinkedAccess& table);
    void linkOdbcTable(const TableLinkedODBC& table);
    // CREATE VIEW of a view's text.
    void createView(const View& view);
    // CREATE PROCEDURE with the declarations of the text's PARAMETERS clause; with an empty
    // list when the text has none.
    void createProcedure(const View& procedure);

    // Single-property statements of a column into the given category.
    void setZeroLength(const Field& field, ScriptCategory category);
    void setExpression(const Field& field, ScriptCategory category);
    void setFormat(const Field& field, ScriptCategory category);
    void setDecimalPlaces(const Field& field, ScriptCategory category);
    void setDefault(const Field& field, ScriptCategory category);

    // The definition of an Access object as Base64; nothing for an empty one.
    void setForm(const Entity::Form& form);
    void setModule(const Entity::Module& module);
    void setMacro(const Entity::Macro& macro);
    void setReport(const Entity::Report& report);
    void setTableDataMacro(const TableDataMacro& macro);

    // All categories in order; new foreign keys only when asked for.
    std::u16string assemble(bool includeForeignKeys) const;

private:
    std::u16string& buffer(ScriptCategory category);
    std::u16string quoted(const std::u16string& name) const;
    std::u16string columnList(const Key& key) const;
    std::u16string relatedColumnList(const Key& key) const;
    std::u16string columnList(const Index& index) const;
    std::u16string columnDefinition(const Field& field) const;
    bool defaultFits(const Field& field) const;
    void endStatement(std::u16string& out) const;

    void appendZeroLength(std::u16string& out, const Field& field) const;
    void appendExpression(std::u16string& out, const Field& field) const;
    void appendFormat(std::u16string& out, const Field& field) const;
    void appendDecimalPlaces(std::u16string& out, const Field& field) const;
    void appendDefault(std::u16string& out, const Field& field) const;
    void appendPropertyStatement(std::u16string& out, const Field& field,
                                 std::u16string_view property, std::u16string_view value) const;
    void appendKey(std::u16string& out, const Key& key) const;
    void appendForeignKey(std::u16string& out, const Key& key) const;
    void appendKeyTo(ScriptCategory foreignCategory, ScriptCategory otherCategory, const Key& key);
    void appendDrop(ScriptCategory category, std::u16string_view kind, const std::u16string& name);
    void appendDocument(std::u16string_view statementHead,
                        const Entity::AbstractAccessDocument& document);
    void appendLink(const TableLinkedAccess& table, std::u16string_view kind);

    DataTypeName& dialect_;
    std::array<std::u16string, 21> categories_;
};
