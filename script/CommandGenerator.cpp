#include "script/CommandGenerator.h"

#include "foundation/text/WideString.h"
#include "schema/AccessDocument.h"
#include "schema/Base64Text.h"
#include "schema/CheckConstraint.h"
#include "schema/DataTypeName.h"
#include "schema/Field.h"
#include "schema/Index.h"
#include "schema/Key.h"
#include "schema/Table.h"
#include "schema/TableLinked.h"
#include "schema/View.h"
#include "script/KeyAsIndex.h"
#include "script/LiteralRules.h"
#include "script/ProcedureText.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr int characterType = 130;
constexpr int textType = 202;
constexpr int memoType = 203;
constexpr int decimalType = 131;
constexpr int binaryType = 204;
constexpr int attachmentType = 101;

bool isAttachment(const Field& field) {
    return field.type() == attachmentType;
}

bool hasAttachmentColumn(const Key& key) {
    const std::vector<Field*> fields = key.fields();
    return std::any_of(fields.begin(), fields.end(),
                       [](const Field* field) { return isAttachment(*field); });
}

bool hasForeignKeyNamed(const Table& table, const std::u16string& name) {
    return std::any_of(table.keys().begin(), table.keys().end(), [&](const auto& key) {
        return key->type() == Key::Foreign && key->name() == name;
    });
}

std::u16string_view keyKindText(const Key& key) {
    return key.type() == Key::Primary ? u" PRIMARY KEY" : u" UNIQUE";
}

std::u16string_view updateRuleClause(int rule) {
    switch (rule) {
    case Key::RuleCascade:
        return u"\r\n\tON UPDATE CASCADE";
    case Key::RuleSetNull:
        return u"\r\n\tON UPDATE SET NULL";
    default:
        return {};
    }
}

std::u16string_view deleteRuleClause(int rule) {
    switch (rule) {
    case Key::RuleCascade:
        return u"\r\n\tON DELETE CASCADE";
    case Key::RuleSetNull:
        return u"\r\n\tON DELETE SET NULL";
    default:
        return {};
    }
}

std::u16string_view indexOption(const Index& index) {
    if (index.isPrimaryKey())
        return u"\r\n\tWITH PRIMARY";
    switch (index.nulls()) {
    case 1:
        return u"\r\n\tWITH DISALLOW NULL";
    case 2:
        return u"\r\n\tWITH IGNORE NULL";
    default:
        return {};
    }
}

// A statement of the script ends only at a line that ends with ";". Access stores query
// texts with it; a text stored without one gets it, or the runner would take the next
// statement into the query.
std::u16string queryText(std::u16string_view text) {
    std::size_t end = text.find_last_not_of(u" \t\r\n");
    std::u16string result(text);
    if (end == std::u16string_view::npos || text[end] != u';')
        result.insert(end == std::u16string_view::npos ? 0 : end + 1, u";");
    return result;
}

} // namespace

CommandGenerator::CommandGenerator(DataTypeName& dialect) : dialect_(dialect) {}

std::u16string& CommandGenerator::buffer(ScriptCategory category) {
    return categories_[static_cast<std::size_t>(category) - 1];
}

std::u16string CommandGenerator::quoted(const std::u16string& name) const {
    return dialect_.openingQuote() + name + dialect_.closingQuote();
}

std::u16string CommandGenerator::columnList(const Key& key) const {
    std::u16string list;
    for (const KeyColumn& column : key.columns()) {
        if (!list.empty())
            list += u", ";
        list += quoted(column.column);
        if (column.descending)
            list += descendingMark;
    }
    return list;
}

std::u16string CommandGenerator::relatedColumnList(const Key& key) const {
    std::u16string list;
    for (const KeyColumn& column : key.columns()) {
        if (!list.empty())
            list += u", ";
        list += quoted(column.relatedColumn);
    }
    return list;
}

std::u16string CommandGenerator::columnList(const Index& index) const {
    std::u16string list;
    for (std::size_t i = 0; i < index.columns().size(); ++i) {
        if (!list.empty())
            list += u", ";
        list += quoted(index.columns()[i]->name());
        if (index.isDescending(i))
            list += descendingMark;
    }
    return list;
}

void CommandGenerator::endStatement(std::u16string& out) const {
    out += u";\r\n";
    out += dialect_.terminator();
}

bool CommandGenerator::defaultFits(const Field& field) const {
    return !field.defaultText() || defaultFitsType(field.type(), *field.defaultText());
}

std::u16string CommandGenerator::columnDefinition(const Field& field) const {
    std::u16string definition = u" ";
    if (field.isAutoincrement()) {
        definition += dialect_.autoincrementText();
    } else {
        definition += dialect_.findType(field.type()).sqlName;
        // BINARY keeps its size too: without it the engine makes the column 510 bytes long.
        if (field.type() == characterType || field.type() == textType || field.type() == binaryType)
            definition += u"(" + text::toWString(field.length()) + u")";
        else if (field.type() == decimalType)
            definition += u"(" + text::toWString(field.precision()) + u", " +
                          text::toWString(field.numericScale()) + u")";
        if (field.isCompressed() && !isAttachment(field))
            definition += dialect_.compressionText();
        // Without zero-length statements an empty text is how a required column gets its
        // empty strings, so only columns that forbid them are NOT NULL.
        if (!field.isNullable() && (dialect_.zeroLengthSupported() || !field.allowsZeroLength()))
            definition += u" NOT NULL";
    }
    if (field.defaultText() && defaultFits(field)) {
        definition += u" DEFAULT ";
        dialect_.defaultValueText(definition, field);
    }
    return definition;
}

void CommandGenerator::appendPropertyStatement(std::u16string& out, const Field& field,
                                               std::u16string_view property,
                                               std::u16string_view value) const {
    out += u"ALTER TABLE " + quoted(field.table().name()) + u" ";
    out += property;
    out += u" " + quoted(field.name()) + u" SET ";
    out += value;
    endStatement(out);
}

void CommandGenerator::appendZeroLength(std::u16string& out, const Field& field) const {
    if (!dialect_.zeroLengthSupported())
        return;
    if (field.type() != textType && field.type() != memoType)
        return;
    out += u"ALTER TABLE " + quoted(field.table().name()) + u" ";
    out += field.allowsZeroLength() ? u"ALLOW" : u"DENY";
    out += u" ZERO LENGTH " + quoted(field.name());
    endStatement(out);
}

void CommandGenerator::appendExpression(std::u16string& out, const Field& field) const {
    if (!dialect_.expressionsSupported() || !field.hasExpression())
        return;
    appendPropertyStatement(out, field, u"EXPRESSION", u"\"" + field.expression() + u"\"");
}

void CommandGenerator::appendFormat(std::u16string& out, const Field& field) const {
    if (!dialect_.accessPropertiesSupported())
        return;
    appendPropertyStatement(out, field, u"FORMAT", u"\"" + field.format() + u"\"");
}

void CommandGenerator::appendDecimalPlaces(std::u16string& out, const Field& field) const {
    if (!dialect_.decimalPlacesSupported())
        return;
    appendPropertyStatement(out, field, u"DECIMAL PLACES",
                            field.decimalPlacesKnown() ? text::toWString(field.decimalPlaces())
                                                       : u"AUTO");
}

void CommandGenerator::appendDefault(std::u16string& out, const Field& field) const {
    if (!field.defaultText())
        return;
    appendPropertyStatement(out, field, u"DEFAULT", *field.defaultText());
}

void CommandGenerator::appendDrop(ScriptCategory category, std::u16string_view kind,
                                  const std::u16string& name) {
    std::u16string& out = buffer(category);
    out += u"DROP ";
    out += kind;
    out += u" " + quoted(name);
    endStatement(out);
}

void CommandGenerator::dropTable(const Table& table) {
    appendDrop(ScriptCategory::DropTables, u"TABLE", table.name());
}

void CommandGenerator::dropColumn(const Field& field) {
    std::u16string& out = buffer(ScriptCategory::DropColumns);
    out += u"ALTER TABLE " + quoted(field.table().name()) + u" DROP COLUMN " + quoted(field.name());
    endStatement(out);
}

void CommandGenerator::dropIndex(const Index& index) {
    std::u16string& out = buffer(ScriptCategory::DropIndexes);
    out += u"DROP INDEX " + quoted(index.name()) + u" ON " + quoted(index.table().name());
    endStatement(out);
}

void CommandGenerator::dropView(const View& view) {
    appendDrop(ScriptCategory::DropViewsAndProcedures, u"VIEW", view.name());
}

void CommandGenerator::dropProcedure(const View& procedure) {
    appendDrop(ScriptCategory::DropViewsAndProcedures, u"PROCEDURE", procedure.name());
}

void CommandGenerator::dropCheck(const CheckConstraint& constraint) {
    std::u16string& out = buffer(ScriptCategory::DropPrimaryKeysAndChecks);
    out += u"ALTER TABLE " + quoted(constraint.tableName()) + u" DROP CONSTRAINT " +
           quoted(constraint.name());
    endStatement(out);
}

void CommandGenerator::dropKey(const Key& key) {
    ScriptCategory category;
    switch (key.type()) {
    case Key::Foreign:
        category = ScriptCategory::DropForeignKeys;
        break;
    case Key::Unique:
        category = ScriptCategory::DropUniqueKeys;
        break;
    case Key::Primary:
        category = ScriptCategory::DropPrimaryKeysAndChecks;
        break;
    default:
        throw std::invalid_argument("Incorrect key");
    }
    std::u16string& out = buffer(category);
    out += u"ALTER TABLE " + quoted(key.table().name()) + u" DROP CONSTRAINT " + quoted(key.name());
    endStatement(out);
}

void CommandGenerator::dropForm(const Entity::Form& form) {
    if (dialect_.accessPropertiesSupported())
        appendDrop(ScriptCategory::AccessObjects, u"FORM", form.name());
}

void CommandGenerator::dropMacro(const Entity::Macro& macro) {
    if (dialect_.accessPropertiesSupported())
        appendDrop(ScriptCategory::AccessObjects, u"MACRO", macro.name());
}

void CommandGenerator::dropModule(const Entity::Module& module) {
    if (dialect_.accessPropertiesSupported())
        appendDrop(ScriptCategory::AccessObjects, u"MODULE", module.name());
}

void CommandGenerator::dropReport(const Entity::Report& report) {
    if (dialect_.accessPropertiesSupported())
        appendDrop(ScriptCategory::AccessObjects, u"REPORT", report.name());
}

void CommandGenerator::dropTableDataMacro(const TableDataMacro& macro) {
    if (dialect_.accessPropertiesSupported())
        appendDrop(ScriptCategory::AccessObjects, u"TABLE DATA MACRO", macro.name());
}

void CommandGenerator::createTable(const Table& table) {
    std::u16string columns;
    std::u16string zeroLengths;
    std::u16string properties;
    std::u16string defaults;
    for (const auto& field : table.fields()) {
        // The engine creates attachment columns only through ALTER TABLE.
        if (isAttachment(*field)) {
            addColumn(*field);
        } else {
            if (!columns.empty())
                columns += u",\r\n";
            columns += u"\t" + quoted(field->name()) + columnDefinition(*field);
            appendZeroLength(zeroLengths, *field);
            appendExpression(properties, *field);
            if (field->decimalPlacesKnown())
                appendDecimalPlaces(properties, *field);
        }
        if (!field->format().empty())
            appendFormat(properties, *field);
        if (!defaultFits(*field))
            appendDefault(defaults, *field);
    }

    std::u16string constraints;
    for (const auto& key : table.keys()) {
        if (key->type() == Key::Foreign || hasForeignKeyNamed(table, key->name()) ||
            indexWrittenForKey(*key))
            continue;
        // A constraint inside CREATE TABLE cannot name a column the statement lacks.
        if (hasAttachmentColumn(*key)) {
            addKey(*key);
            continue;
        }
        constraints += u",\r\n\tCONSTRAINT " + quoted(key->name());
        constraints += keyKindText(*key);
        constraints += u" (" + columnList(*key) + u")";
    }

    std::u16string& out = buffer(ScriptCategory::CreateTables);
    out += u"CREATE TABLE " + quoted(table.name()) + u" (\r\n" + columns + constraints + u"\r\n)" +
           dialect_.firstTableSuffix() + dialect_.secondTableSuffix();
    endStatement(out);
    out += zeroLengths + properties + defaults;

    if (table.tableDataMacro())
        setTableDataMacro(*table.tableDataMacro());
}

void CommandGenerator::addColumn(const Field& field) {
    std::u16string& out = buffer(ScriptCategory::AddColumns);
    out += u"ALTER TABLE " + quoted(field.table().name()) + u"\r\n\tADD COLUMN " +
           quoted(field.name()) + columnDefinition(field);
    endStatement(out);
    appendZeroLength(out, field);
    appendExpression(buffer(ScriptCategory::AddedColumnExpressions), field);
    if (field.decimalPlacesKnown())
        appendDecimalPlaces(out, field);
    if (!field.format().empty())
        appendFormat(out, field);
    // Without it a non-numeric default of a numeric column would be lost.
    if (!defaultFits(field))
        appendDefault(out, field);
}

void CommandGenerator::alterColumn(const Field& field) {
    std::u16string& out = buffer(ScriptCategory::AlterColumns);
    out += u"ALTER TABLE " + quoted(field.table().name()) + u"\r\n\tALTER COLUMN " +
           quoted(field.name()) + columnDefinition(field);
    if (!field.defaultText())
        out += u" DEFAULT ";
    endStatement(out);
    appendZeroLength(out, field);
    if (field.decimalPlacesKnown())
        appendDecimalPlaces(out, field);
    if (!field.format().empty())
        appendFormat(out, field);
    appendExpression(out, field);
    if (!defaultFits(field))
        appendDefault(out, field);
}

void CommandGenerator::createIndex(const Index& index) {
    std::u16string& out = buffer(ScriptCategory::CreateIndexes);
    out += u"CREATE ";
    if (index.isUnique() && !index.isPrimaryKey())
        out += u"UNIQUE ";
    out += u"INDEX " + quoted(index.name()) + u"\r\n\tON " + quoted(index.table().name()) + u" (" +
           columnList(index) + u")";
    out += indexOption(index);
    endStatement(out);
}

void CommandGenerator::appendKey(std::u16string& out, const Key& key) const {
    out += u"ALTER TABLE " + quoted(key.table().name()) + u"\r\n\tADD CONSTRAINT " +
           quoted(key.name()) + u"\r\n\t";
    out += keyKindText(key);
    out += u" (" + columnList(key) + u")";
    endStatement(out);
}

void CommandGenerator::appendForeignKey(std::u16string& out, const Key& key) const {
    if (key.isNotEnforced() && !dialect_.noIndexSupported())
        return;
    out += u"ALTER TABLE " + quoted(key.table().name()) + u"\r\n\tADD CONSTRAINT " +
           quoted(key.name()) + u"\r\n\tFOREIGN KEY";
    if (key.isNotEnforced())
        out += u" NO INDEX";
    else if (key.isOneToOne() && dialect_.writesForeignKeyUnique())
        out += u" UNIQUE";
    out += u" (" + columnList(key) + u") REFERENCES\r\n\t\t" + quoted(key.relatedTableName()) +
           u" (" + relatedColumnList(key) + u")";
    out += updateRuleClause(key.updateRule());
    out += deleteRuleClause(key.deleteRule());
    endStatement(out);
}

void CommandGenerator::appendKeyTo(ScriptCategory foreignCategory, ScriptCategory otherCategory,
                                   const Key& key) {
    if (key.type() == Key::Foreign)
        appendForeignKey(buffer(foreignCategory), key);
    else
        appendKey(buffer(otherCategory), key);
}

void CommandGenerator::addKey(const Key& key) {
    appendKeyTo(ScriptCategory::AddForeignKeys, ScriptCategory::AddKeys, key);
}

void CommandGenerator::recreateKey(const Key& key) {
    appendKeyTo(ScriptCategory::RecreatedForeignKeys, ScriptCategory::RecreatedKeys, key);
}

void CommandGenerator::addCheck(const CheckConstraint& constraint) {
    std::u16string& out = buffer(ScriptCategory::AddChecks);
    out += u"ALTER TABLE " + quoted(constraint.tableName()) + u"\r\n\tADD CONSTRAINT " +
           quoted(constraint.name()) + u"\r\n\tCHECK (" + constraint.clause() + u")";
    endStatement(out);
}

void CommandGenerator::appendLink(const TableLinkedAccess& table, std::u16string_view kind) {
    std::u16string& out = buffer(ScriptCategory::LinkTables);
    out += u"LINK TABLE " + quoted(table.name()) + u"\r\n\tTO " + quoted(table.remoteTable()) +
           u"\r\n\t";
    out += kind;
    out += u" \"" + table.source() + u"\"";
    endStatement(out);
}

void CommandGenerator::linkAccessTable(const TableLinkedAccess& table) {
    appendLink(table, u"SRC");
}

void CommandGenerator::linkOdbcTable(const TableLinkedODBC& table) {
    appendLink(table, u"ODBC");
}

void CommandGenerator::createView(const View& view) {
    constexpr ScriptCategory category = ScriptCategory::CreateViews;
    dialect_.beforeViewText(static_cast<int>(category));
    std::u16string& out = buffer(category);
    out += u"CREATE VIEW " + quoted(view.name()) + u" AS " + queryText(view.text()) + u"\r\n";
    out += dialect_.terminator();
    dialect_.afterViewText(static_cast<int>(category));
}

// A procedure without a PARAMETERS clause is an action query (a select without parameters is
// a view): the engine refuses it as a view.
void CommandGenerator::createProcedure(const View& procedure) {
    std::optional<ProcedureText> parts = splitProcedureText(procedure.text());
    if (!parts)
        parts = ProcedureText{u"", procedure.text()};
    constexpr ScriptCategory category = ScriptCategory::CreateProcedures;
    dialect_.beforeViewText(static_cast<int>(category));
    std::u16string& out = buffer(category);
    out += u"CREATE PROCEDURE " + quoted(procedure.name()) + u" (" + parts->parameters + u") AS " +
           queryText(parts->body) + u"\r\n\r\n";
    out += dialect_.terminator();
    dialect_.afterViewText(static_cast<int>(category));
}

void CommandGenerator::setZeroLength(const Field& field, ScriptCategory category) {
    appendZeroLength(buffer(category), field);
}

void CommandGenerator::setExpression(const Field& field, ScriptCategory category) {
    appendExpression(buffer(category), field);
}

void CommandGenerator::setFormat(const Field& field, ScriptCategory category) {
    appendFormat(buffer(category), field);
}

void CommandGenerator::setDecimalPlaces(const Field& field, ScriptCategory category) {
    appendDecimalPlaces(buffer(category), field);
}

void CommandGenerator::setDefault(const Field& field, ScriptCategory category) {
    appendDefault(buffer(category), field);
}

void CommandGenerator::appendDocument(std::u16string_view statementHead,
                                      const Entity::AbstractAccessDocument& document) {
    if (!dialect_.accessPropertiesSupported() || document.content().empty())
        return;
    std::u16string& out = buffer(ScriptCategory::AccessObjects);
    out += statementHead;
    out += u" base64(\"" + base64Text(document.content()) + u"\");\r\n";
}

void CommandGenerator::setForm(const Entity::Form& form) {
    appendDocument(u"ALTER FORM " + quoted(form.name()) + u" SET", form);
}

void CommandGenerator::setModule(const Entity::Module& module) {
    appendDocument(u"ALTER MODULE " + quoted(module.name()) + u" SET", module);
}

void CommandGenerator::setMacro(const Entity::Macro& macro) {
    appendDocument(u"ALTER MACRO " + quoted(macro.name()) + u" SET", macro);
}

void CommandGenerator::setReport(const Entity::Report& report) {
    appendDocument(u"ALTER REPORT " + quoted(report.name()) + u" SET", report);
}

void CommandGenerator::setTableDataMacro(const TableDataMacro& macro) {
    appendDocument(u"ALTER TABLE " + quoted(macro.name()) + u" DATA MACRO SET", macro);
}

std::u16string CommandGenerator::assemble(bool includeForeignKeys) const {
    std::u16string script;
    for (std::size_t i = 0; i < categories_.size(); ++i) {
        const auto category = static_cast<ScriptCategory>(i + 1);
        if (category == ScriptCategory::AddForeignKeys && !includeForeignKeys)
            continue;
        script += categories_[i];
    }
    return script;
}
