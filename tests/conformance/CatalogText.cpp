#include "CatalogText.h"

#include "foundation/engine/EngineComponents.h"
#include "foundation/engine/api/Adox.h"
#include "foundation/engine/api/Dao.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/text/WideString.h"

#include <cstdio>
#include <sstream>

namespace conformance {

using namespace engine;

namespace {

std::string utf8(const std::u16string& s) {
    return text::toUtf8(s);
}

// Line breaks shown as "\n" so that a query's text stays on its record line.
std::string oneLine(const std::u16string& s) {
    std::string out;
    for (char c : utf8(s)) {
        if (c == '\r')
            continue;
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out;
}

std::string valueText(const Variant& v) {
    if (v.isNull())
        return "NULL";
    return oneLine(v.toText().value_or(u"?"));
}

std::string hex(std::int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%X", std::uint32_t(value));
    return buffer;
}

// An absent property reads as empty.
Variant propertyOr(const std::shared_ptr<Properties>& properties, std::u16string_view name) {
    try {
        return properties->value(name);
    } catch (const EngineError&) {
        return Variant();
    }
}

bool isTrue(const Variant& v) {
    return v.toInt().value_or(0) != 0;
}

template <class C> std::string columnList(const std::shared_ptr<C>& columns) {
    std::string out = "(";
    for (int i = 0; i < columns->count(); ++i)
        out += (i ? ", " : "") + utf8(columns->item(i)->name());
    return out + ")";
}

std::shared_ptr<adox::Catalog> catalogOn(const std::shared_ptr<ado::Connection>& connection) {
    auto catalog = components().createCatalog();
    catalog->setActiveConnection(connection);
    return catalog;
}

std::vector<std::string> tables(const adox::Catalog& catalog) {
    std::vector<std::string> lines;
    auto all = catalog.tables();
    for (int i = 0; i < all->count(); ++i) {
        auto table = all->item(i);
        std::string type = utf8(table->type());
        if (type != "SYSTEM TABLE" && type != "ACCESS TABLE")
            lines.push_back(utf8(table->name()) + " " + type);
    }
    return lines;
}

std::vector<std::string> columns(const adox::Table& table) {
    std::vector<std::string> lines;
    auto all = table.columns();
    for (int i = 0; i < all->count(); ++i) {
        auto column = all->item(i);
        std::string line = utf8(column->name()) + " type=" + std::to_string(column->type());
        if (column->definedSize() != 0)
            line += " size=" + std::to_string(column->definedSize());
        if (column->precision() != 0 || column->numericScale() != 0)
            line += " precision=" + std::to_string(column->precision()) +
                    " scale=" + std::to_string(column->numericScale());
        if (!(column->attributes() & adox::columnNullable))
            line += " notnull";
        if (column->attributes() & adox::columnFixed)
            line += " fixed";
        auto properties = column->properties();
        if (isTrue(propertyOr(properties, u"Autoincrement")))
            line += " autoincrement";
        if (isTrue(propertyOr(properties, u"Jet OLEDB:Compressed UniCode Strings")))
            line += " compressed";
        if (isTrue(propertyOr(properties, u"Jet OLEDB:Allow Zero Length")))
            line += " zerolength";
        Variant defaultValue = propertyOr(properties, u"Default");
        if (!defaultValue.isEmpty())
            line += " default=" + valueText(defaultValue);
        Variant rule = propertyOr(properties, u"Jet OLEDB:Column Validation Rule");
        if (!rule.isEmpty() && !rule.isNull() && !rule.toText().value_or(u"").empty())
            line += " rule=" + valueText(rule);
        Variant ruleText = propertyOr(properties, u"Jet OLEDB:Column Validation Text");
        if (!ruleText.isEmpty() && !ruleText.isNull() && !ruleText.toText().value_or(u"").empty())
            line += " ruletext=" + valueText(ruleText);
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> indexes(const adox::Table& table) {
    std::vector<std::string> lines;
    auto all = table.indexes();
    for (int i = 0; i < all->count(); ++i) {
        auto index = all->item(i);
        std::string line = utf8(index->name()) + " " + columnList(index->columns());
        if (index->primaryKey())
            line += " primary";
        if (index->unique())
            line += " unique";
        if (index->indexNulls() != adox::indexNullsAllow)
            line += " nulls=" + std::to_string(index->indexNulls());
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> keys(const adox::Table& table) {
    std::vector<std::string> lines;
    auto all = table.keys();
    for (int i = 0; i < all->count(); ++i) {
        auto key = all->item(i);
        const char* type = key->type() == adox::keyPrimary  ? "primary"
                           : key->type() == adox::keyUnique ? "unique"
                                                            : "foreign";
        std::string line = utf8(key->name()) + " " + type + " " + columnList(key->columns());
        if (key->type() == adox::keyForeign) {
            std::string related = "(";
            auto keyColumns = key->columns();
            for (int c = 0; c < keyColumns->count(); ++c)
                related += (c ? ", " : "") + utf8(keyColumns->item(c)->relatedColumn());
            line += " -> " + utf8(key->relatedTable()) + " " + related + ")";
            if (key->updateRule() != adox::ruleNone)
                line += " update=" + std::to_string(key->updateRule());
            if (key->deleteRule() != adox::ruleNone)
                line += " delete=" + std::to_string(key->deleteRule());
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> queries(const std::shared_ptr<adox::Views>& all) {
    std::vector<std::string> lines;
    for (int i = 0; i < all->count(); ++i) {
        auto query = all->item(i);
        lines.push_back(utf8(query->name()) + ": " + oneLine(query->command()->commandText()));
    }
    return lines;
}

std::vector<std::string> parameters(const adox::Catalog& catalog, const std::u16string& name) {
    std::shared_ptr<adox::View> query;
    try {
        query = catalog.procedures()->item(name);
    } catch (const EngineError&) {
        query = catalog.views()->item(name);
    }
    std::vector<std::string> lines;
    auto all = query->command()->parameters();
    for (int i = 0; i < all->count(); ++i) {
        auto parameter = all->item(i);
        lines.push_back(utf8(parameter->name()) + " type=" + std::to_string(parameter->type()) +
                        " size=" + std::to_string(parameter->size()));
    }
    return lines;
}

std::vector<std::string> checks(ado::Connection& connection) {
    std::vector<std::string> lines;
    auto rows = connection.openSchema(ado::schemaCheckConstraints, {});
    for (; !rows->eof(); rows->moveNext()) {
        auto fields = rows->fields();
        lines.push_back(valueText(fields->item(u"CONSTRAINT_NAME")->value()) + ": " +
                        valueText(fields->item(u"CHECK_CLAUSE")->value()));
    }
    return lines;
}

std::vector<std::string> tableConstraints(ado::Connection& connection,
                                          const std::u16string& table) {
    std::vector<std::string> lines;
    auto rows =
        connection.openSchema(ado::schemaTableConstraints, {{}, {}, {}, {}, {}, Variant(table)});
    for (; !rows->eof(); rows->moveNext()) {
        auto fields = rows->fields();
        lines.push_back(valueText(fields->item(u"CONSTRAINT_NAME")->value()) + " " +
                        valueText(fields->item(u"CONSTRAINT_TYPE")->value()));
    }
    return lines;
}

std::shared_ptr<dao::Database> daoDatabase(const std::filesystem::path& path) {
    return components()
        .createDBEngine(daoClassId)
        ->openDatabase(text::fromUtf8(path.string()), {}, true, u"");
}

std::vector<std::string> relations(const dao::Database& database) {
    std::vector<std::string> lines;
    auto all = database.relations();
    for (int i = 0; i < all->count(); ++i) {
        auto relation = all->item(i);
        std::string pairs = "(";
        auto fields = relation->fields();
        for (int f = 0; f < fields->count(); ++f)
            pairs += (f ? ", " : "") + utf8(fields->item(f)->name()) + " = " +
                     utf8(fields->item(f)->foreignName());
        lines.push_back(utf8(relation->name()) + " " + utf8(relation->table()) + " -> " +
                        utf8(relation->foreignTable()) + " " + pairs +
                        ") attributes=" + hex(relation->attributes()));
    }
    return lines;
}

// The properties a user or the runner sets on a field, where they hold a value; the built-in
// ones are in the field's line.
constexpr const char16_t* kFieldProperties[] = {
    u"Caption",    u"Description",    u"Format",         u"DecimalPlaces", u"InputMask",
    u"Expression", u"ValidationRule", u"ValidationText", u"ResultType",    u"TextFormat"};

std::vector<std::string> fields(const dao::Database& database, const std::u16string& table) {
    std::vector<std::string> lines;
    auto all = database.tableDefs()->item(table)->fields();
    for (int i = 0; i < all->count(); ++i) {
        auto field = all->item(i);
        std::string line = utf8(field->name()) + " type=" + std::to_string(field->type()) +
                           " size=" + std::to_string(field->size());
        if (field->required())
            line += " required";
        if (field->allowZeroLength())
            line += " zerolength";
        Variant defaultValue = field->defaultValue();
        if (!defaultValue.isEmpty() && !defaultValue.isNull() &&
            !defaultValue.toText().value_or(u"").empty())
            line += " default=" + valueText(defaultValue);
        lines.push_back(line);
        auto properties = field->properties();
        for (const char16_t* name : kFieldProperties) {
            Variant value = propertyOr(properties, name);
            if (!value.isEmpty() && !value.toText().value_or(u"").empty())
                lines.push_back("  " + utf8(name) + "=" + valueText(value));
        }
    }
    return lines;
}

std::vector<std::string> daoIndexes(const dao::Database& database, const std::u16string& table) {
    std::vector<std::string> lines;
    auto all = database.tableDefs()->item(table)->indexes();
    for (int i = 0; i < all->count(); ++i) {
        auto index = all->item(i);
        std::string line = utf8(index->name()) + " " + columnList(index->fields());
        if (index->primary())
            line += " primary";
        if (index->unique())
            line += " unique";
        if (index->required())
            line += " required";
        if (index->ignoreNulls())
            line += " ignorenulls";
        if (index->foreign())
            line += " foreign";
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> tableDef(const dao::Database& database, const std::u16string& table) {
    auto definition = database.tableDefs()->item(table);
    std::vector<std::string> lines{"attributes=" + hex(definition->attributes())};
    if (!definition->connect().empty())
        lines.push_back("Connect=" + oneLine(definition->connect()));
    if (!definition->sourceTableName().empty())
        lines.push_back("SourceTableName=" + oneLine(definition->sourceTableName()));
    return lines;
}

} // namespace

std::vector<std::string> catalogLines(const std::shared_ptr<ado::Connection>& connection,
                                      const std::filesystem::path& path,
                                      const std::string& subject) {
    std::istringstream words(subject);
    std::string what;
    words >> what;
    std::string rest;
    std::getline(words, rest);
    rest.erase(0, rest.find_first_not_of(' '));
    std::u16string name = text::fromUtf8(rest);

    auto catalog = catalogOn(connection);
    if (what == "tables")
        return tables(*catalog);
    if (what == "columns")
        return columns(*catalog->tables()->item(name));
    if (what == "indexes")
        return indexes(*catalog->tables()->item(name));
    if (what == "keys")
        return keys(*catalog->tables()->item(name));
    if (what == "views")
        return queries(catalog->views());
    if (what == "procedures")
        return queries(catalog->procedures());
    if (what == "parameters")
        return parameters(*catalog, name);
    if (what == "checks")
        return checks(*connection);
    if (what == "constraints")
        return tableConstraints(*connection, name);
    if (what == "relations")
        return relations(*daoDatabase(path));
    if (what == "fields")
        return fields(*daoDatabase(path), name);
    if (what == "daoindexes")
        return daoIndexes(*daoDatabase(path), name);
    if (what == "tabledef")
        return tableDef(*daoDatabase(path), name);
    return {"unknown catalog subject '" + what + "'"};
}

} // namespace conformance
