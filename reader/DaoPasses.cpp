#include "reader/DaoPasses.h"

#include "foundation/engine/api/Codes.h"
#include "foundation/engine/api/EngineError.h"
#include "reader/PropertyValues.h"

#include <vector>

namespace reader {

namespace {

constexpr int kAutomaticDecimalPlaces = 255;
constexpr int kCalculatedDecimalPrecision = 18;

// Calls onTable(definition, table) for each plain local table definition the schema holds.
template <class TableFunction>
void forEachTakenTable(const engine::dao::Database& database, Database& schema,
                       TableFunction&& onTable) {
    std::shared_ptr<engine::dao::TableDefs> definitions = database.tableDefs();
    for (int i = 0; i < definitions->count(); ++i) {
        std::shared_ptr<engine::dao::TableDef> definition = definitions->item(i);
        if (definition->attributes() != 0)
            continue;
        if (Table* table = schema.findTable(definition->name()))
            onTable(*definition, *table);
    }
}

int deleteRuleOf(std::int32_t attributes) {
    if (attributes & engine::dao::relationDeleteSetNull)
        return Key::RuleSetNull;
    if (attributes & engine::dao::relationDeleteCascade)
        return Key::RuleCascade;
    return Key::RuleNone;
}

int updateRuleOf(std::int32_t attributes) {
    return (attributes & engine::dao::relationUpdateCascade) ? Key::RuleCascade : Key::RuleNone;
}

// Expression, format and decimal places; a property that is absent is passed over.
void copyDesignProperties(const engine::Properties& properties, Field& field) {
    if (std::optional<engine::Variant> value = findProperty(properties, u"Expression")) {
        std::u16string expression = textOf(*value);
        if (!expression.empty()) {
            field.setExpression(std::move(expression));
            // A calculated decimal reports no precision of its own.
            if (field.type() == engine::type::decimal && field.precision() == 0 &&
                field.numericScale() == 0)
                field.setPrecision(kCalculatedDecimalPrecision);
        }
    }
    if (std::optional<engine::Variant> value = findProperty(properties, u"Format")) {
        std::u16string format = textOf(*value);
        if (!format.empty())
            field.setFormat(std::move(format));
    }
    if (std::optional<engine::Variant> value = findProperty(properties, u"DecimalPlaces")) {
        std::optional<std::int64_t> number = value->toInt();
        if (!hasNoValue(*value) && number) {
            int places = static_cast<std::uint8_t>(*number);
            if (places != kAutomaticDecimalPlaces)
                field.setDecimalPlaces(places);
        }
    }
}

} // namespace

void readPrimaryKeys(const engine::dao::Database& database, Database& schema) {
    forEachTakenTable(database, schema, [](const engine::dao::TableDef& definition, Table& table) {
        std::shared_ptr<engine::dao::Indexes> indexes = definition.indexes();
        for (int i = 0; i < indexes->count(); ++i) {
            std::shared_ptr<engine::dao::Index> index = indexes->item(i);
            if (!index->primary())
                continue;
            auto key = std::make_unique<Key>(table, index->name(), u"", Key::Primary, Key::RuleNone,
                                             Key::RuleNone, false, false);
            std::shared_ptr<engine::dao::Fields> fields = index->fields();
            for (int f = 0; f < fields->count(); ++f) {
                std::shared_ptr<engine::dao::Field> field = fields->item(f);
                key->addColumn(field->name(), u"",
                               (field->attributes() & engine::dao::fieldDescending) != 0);
            }
            table.addKey(std::move(key));
        }
    });
}

void readRelationships(const engine::dao::Database& database, Database& schema) {
    std::shared_ptr<engine::dao::Relations> relations = database.relations();
    for (int i = 0; i < relations->count(); ++i) {
        std::shared_ptr<engine::dao::Relation> relation = relations->item(i);
        std::int32_t attributes = relation->attributes();
        Table* table = schema.findTable(relation->foreignTable());
        if (!table)
            continue;
        auto key = std::make_unique<Key>(*table, relation->name(), relation->table(), Key::Foreign,
                                         deleteRuleOf(attributes), updateRuleOf(attributes),
                                         (attributes & engine::dao::relationDontEnforce) != 0,
                                         (attributes & engine::dao::relationUnique) != 0);
        std::shared_ptr<engine::dao::Fields> fields = relation->fields();
        for (int f = 0; f < fields->count(); ++f) {
            std::shared_ptr<engine::dao::Field> field = fields->item(f);
            key->addColumn(field->foreignName(), field->name());
        }
        table->addKey(std::move(key));
    }
}

void readFieldProperties(const engine::dao::Database& database, Database& schema) {
    forEachTakenTable(database, schema, [](const engine::dao::TableDef& definition, Table& table) {
        std::shared_ptr<engine::dao::Fields> fields = definition.fields();
        for (int i = 0; i < fields->count(); ++i) {
            std::shared_ptr<engine::dao::Field> source = fields->item(i);
            Field* field = table.findFieldExact(source->name());
            if (!field)
                continue;
            if (source->type() == engine::daotype::attachment)
                field->setType(engine::type::attachment);
            // Allow zero length is only ever switched on here.
            if (!field->allowsZeroLength() && source->allowZeroLength())
                field->setAllowZeroLength(true);
            copyDesignProperties(*source->properties(), *field);
        }
    });
}

void removeAttachmentIndexes(Database& schema) {
    auto isAttachment = [](const Field* field) {
        return field->type() == engine::type::attachment;
    };
    for (const auto& table : schema.tables()) {
        std::vector<const Index*> indexes;
        for (const auto& index : table->indexes()) {
            if (index->columns().size() == 1 && isAttachment(index->columns().front()))
                indexes.push_back(index.get());
        }
        std::vector<const Key*> keys;
        for (const auto& key : table->keys()) {
            std::vector<Field*> fields = key->fields();
            if (fields.size() == 1 && isAttachment(fields.front()))
                keys.push_back(key.get());
        }
        for (const Index* index : indexes)
            table->removeIndex(*index);
        for (const Key* key : keys)
            table->removeKey(*key);
    }
}

} // namespace reader
