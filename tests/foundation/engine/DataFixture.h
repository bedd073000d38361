#pragma once

// An embedded database reached through ADO commands with parameters and recordsets.

#include "EngineFixture.h"

namespace enginetest {

class DataFixture : public EmbeddedDatabase {
protected:
    // Runs the statement with its parameters (type 8, 5 or 205 by their values) and returns the
    // records affected.
    std::int64_t run(const std::u16string& sql, const std::vector<Variant>& parameters = {}) {
        auto command = components().createCommand();
        command->setActiveConnection(connection);
        command->setCommandText(sql);
        for (const Variant& value : parameters) {
            int type = value.isString() ? 8 : value.isByteArray() ? 205 : 5;
            int size = value.isString()      ? int(value.asString().size())
                       : value.isByteArray() ? int(value.asBytes().size())
                                             : 8;
            command->parameters()->append(
                command->createParameter(u"t", type, ado::parameterInput, size, value));
        }
        std::int64_t affected = 0;
        command->execute(&affected, ado::commandTypeText | ado::executeNoRecords);
        return affected;
    }

    std::shared_ptr<ado::Recordset> open(const std::u16string& sql,
                                         const std::vector<Variant>& parameters = {}) {
        std::int64_t affected = 0;
        return connection->execute(sql, parameters, &affected);
    }

    // Every row of a query, its values as text ("NULL" for null) joined by "|".
    std::vector<std::string> select(const std::u16string& sql,
                                    const std::vector<Variant>& parameters = {}) {
        std::vector<std::string> result;
        auto rs = open(sql, parameters);
        for (; !rs->eof(); rs->moveNext()) {
            std::string row;
            auto fields = rs->fields();
            for (int i = 0; i < fields->count(); ++i)
                row += (i ? "|" : "") +
                       text::toUtf8(fields->item(i)->value().toText().value_or(u"NULL"));
            result.push_back(row);
        }
        return result;
    }

    Variant single(const std::u16string& sql) {
        auto rs = open(sql);
        EXPECT_FALSE(rs->eof()) << text::toUtf8(sql);
        return rs->eof() ? Variant() : rs->fields()->item(0)->value();
    }

    std::u16string runFailure(const std::u16string& sql,
                              const std::vector<Variant>& parameters = {}) {
        std::u16string description = failureOf([&] { run(sql, parameters); });
        EXPECT_NE(description, u"") << text::toUtf8(sql) << " succeeded";
        return description;
    }
};

} // namespace enginetest
