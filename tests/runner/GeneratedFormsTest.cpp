// Every statement form the comparer's script generator writes, exactly as it writes it
// (line breaks, tabs, Base64 lines), must reach the command class the runner needs.

#include "ParserTestSupport.h"

#include "runner/sqlexecutor/AccessObjectCommands.h"
#include "runner/sqlexecutor/ColumnCommands.h"
#include "runner/sqlexecutor/ForeignKeyCommand.h"
#include "runner/sqlexecutor/LinkCommands.h"
#include "runner/sqlexecutor/QueryCommands.h"

#include <cryptopp/base64.h>
#include <gtest/gtest.h>

#include <functional>
#include <typeindex>

using namespace SQLExecutor;

namespace {

// The generator's Base64: lines of 72 characters, each ended by "\r\n".
std::u16string generatorBase64(const Bytes& bytes) {
    std::string encoded;
    CryptoPP::Base64Encoder encoder(nullptr, true, 72);
    encoder.Put(bytes.data(), bytes.size());
    encoder.MessageEnd();
    encoded.resize(std::size_t(encoder.MaxRetrievable()));
    encoder.Get(reinterpret_cast<CryptoPP::byte*>(encoded.data()), encoded.size());
    std::u16string result;
    for (char c : encoded) {
        if (c == '\n')
            result += u'\r';
        result += char16_t(static_cast<unsigned char>(c));
    }
    return result;
}

Bytes sampleDefinition() {
    Bytes bytes;
    for (int i = 0; i < 300; ++i)
        bytes.push_back(std::uint8_t(i * 7 + 3));
    return bytes;
}

struct Form {
    std::u16string script;
    std::type_index expectedClass;
    std::function<void(const SQLCommand&)> check = nullptr;
};

template <typename Command> const Command& as(const SQLCommand& command) {
    return dynamic_cast<const Command&>(command);
}

std::vector<Form> generatedForms() {
    const Bytes definition = sampleDefinition();
    const std::u16string base64 = generatorBase64(definition);
    auto hasDefinition = [definition](const SQLCommand& c) {
        EXPECT_EQ(as<SQLCommandAlterAccessObject>(c).definition(), definition);
    };
    return {
        {u"DROP TABLE [Order Details];\r\n", typeid(SQLCommand)},
        {u"ALTER TABLE [T] DROP COLUMN [C];\r\n", typeid(SQLCommand)},
        {u"DROP INDEX [I] ON [T];\r\n", typeid(SQLCommand)},
        {u"DROP VIEW [V];\r\n", typeid(SQLCommand)},
        {u"DROP PROCEDURE [P];\r\n", typeid(SQLCommand)},
        {u"ALTER TABLE [T] DROP CONSTRAINT [CK_1];\r\n", typeid(SQLCommand)},
        {u"ALTER TABLE [T] DROP CONSTRAINT [[Qty].ValidationRule];\r\n",
         typeid(SQLCommandAlterValidationRule),
         [](const SQLCommand& c) {
             const auto& rule = as<SQLCommandAlterValidationRule>(c);
             EXPECT_EQ(rule.table(), u"T");
             EXPECT_EQ(rule.column(), u"Qty");
             EXPECT_EQ(rule.rule(), u"");
         }},
        {u"DROP FORM [Main Form];\r\n", typeid(SQLCommandDropAccessObject),
         [](const SQLCommand& c) {
             EXPECT_EQ(as<SQLCommandDropAccessObject>(c).kind(), 2);
             EXPECT_EQ(as<SQLCommandDropAccessObject>(c).name(), u"Main Form");
         }},
        {u"DROP MODULE [M];\r\n", typeid(SQLCommandDropAccessObject),
         [](const SQLCommand& c) { EXPECT_EQ(as<SQLCommandDropAccessObject>(c).kind(), 5); }},
        {u"DROP REPORT [R];\r\n", typeid(SQLCommandDropAccessObject),
         [](const SQLCommand& c) { EXPECT_EQ(as<SQLCommandDropAccessObject>(c).kind(), 3); }},
        {u"DROP TABLE DATA MACRO [Orders];\r\n", typeid(SQLCommandAlterAccessObject),
         [](const SQLCommand& c) {
             const auto& drop = as<SQLCommandAlterAccessObject>(c);
             EXPECT_EQ(drop.kind(), 12);
             EXPECT_EQ(drop.name(), u"Orders");
             EXPECT_EQ(drop.definition(), Bytes{0});
         }},
        {u"CREATE TABLE [T] (\r\n\t[Id] AUTOINCREMENT,\r\n\t[Name] TEXT(50) WITH COMPRESSION NOT "
         u"NULL DEFAULT \"x\",\r\n\t[Price] DECIMAL(18, 2),\r\n\tCONSTRAINT [PK] PRIMARY KEY "
         u"([Id]),\r\n\tCONSTRAINT [U1] UNIQUE ([Name])\r\n);\r\n",
         typeid(SQLCommand)},
        {u"ALTER TABLE [T]\r\n\tADD COLUMN [C] LONG NOT NULL DEFAULT 5;\r\n", typeid(SQLCommand)},
        {u"ALTER TABLE [T]\r\n\tADD COLUMN [Files] ATTACHMENT;\r\n",
         typeid(SQLCommandAddAttachment),
         [](const SQLCommand& c) {
             EXPECT_EQ(as<SQLCommandAddAttachment>(c).table(), u"T");
             EXPECT_EQ(as<SQLCommandAddAttachment>(c).column(), u"Files");
         }},
        {u"ALTER TABLE [T]\r\n\tALTER COLUMN [C] LONG DEFAULT ;\r\n", typeid(SQLCommand)},
        {u"ALTER TABLE [T]\r\n\tALTER COLUMN [D] DATETIME DEFAULT '1/1/2000';\r\n",
         typeid(SQLCommand)},
        {u"CREATE UNIQUE INDEX [I]\r\n\tON [T] ([A], [B])\r\n\tWITH DISALLOW NULL;\r\n",
         typeid(SQLCommand)},
        {u"CREATE INDEX [PrimaryKey]\r\n\tON [T] ([Id])\r\n\tWITH PRIMARY;\r\n",
         typeid(SQLCommand)},
        {u"ALTER TABLE [T]\r\n\tADD CONSTRAINT [PK]\r\n\t PRIMARY KEY ([Id]);\r\n",
         typeid(SQLCommand)},
        {u"ALTER TABLE [T]\r\n\tADD CONSTRAINT [U]\r\n\t UNIQUE ([A], [B]);\r\n",
         typeid(SQLCommand)},
        {u"ALTER TABLE [Child]\r\n\tADD CONSTRAINT [FK]\r\n\tFOREIGN KEY ([P]) REFERENCES\r\n\t\t"
         u"[Parent] ([Id])\r\n\tON UPDATE CASCADE\r\n\tON DELETE SET NULL;\r\n",
         typeid(SQLCommand)},
        {u"ALTER TABLE [Child]\r\n\tADD CONSTRAINT [FK2]\r\n\tFOREIGN KEY NO INDEX ([A], [B]) "
         u"REFERENCES\r\n\t\t[Parent] ([X], [Y])\r\n\tON UPDATE CASCADE\r\n\tON DELETE "
         u"CASCADE;\r\n",
         typeid(SQLCommandAddConstraintNoIndex),
         [](const SQLCommand& c) {
             const auto& key = as<SQLCommandAddConstraintNoIndex>(c);
             EXPECT_EQ(key.table(), u"Child");
             EXPECT_EQ(key.constraintName(), u"FK2");
             EXPECT_EQ(key.referencedTable(), u"Parent");
             EXPECT_EQ(key.columns(), (std::vector<ColumnPair>{{u"A", u"X"}, {u"B", u"Y"}}));
             EXPECT_FALSE(key.unique());
             EXPECT_TRUE(key.updateCascades());
             EXPECT_TRUE(key.deleteCascades());
         }},
        {u"ALTER TABLE [Child]\r\n\tADD CONSTRAINT [FK3]\r\n\tFOREIGN KEY UNIQUE ([A]) "
         u"REFERENCES\r\n\t\t[Parent] ([X]);\r\n",
         typeid(SQLCommandAddConstraintNoIndex),
         [](const SQLCommand& c) {
             const auto& key = as<SQLCommandAddConstraintNoIndex>(c);
             EXPECT_TRUE(key.unique());
             EXPECT_FALSE(key.updateCascades() || key.deleteCascades());
             EXPECT_EQ(key.columns(), (std::vector<ColumnPair>{{u"A", u"X"}}));
         }},
        {u"ALTER TABLE [T]\r\n\tADD CONSTRAINT [CK]\r\n\tCHECK ([A] > 0);\r\n", typeid(SQLCommand)},
        {u"ALTER TABLE [T]\r\n\tADD CONSTRAINT [[Qty].ValidationRule]\r\n\tCHECK (>0 And "
         u"<100);\r\n",
         typeid(SQLCommandAlterValidationRule),
         [](const SQLCommand& c) {
             EXPECT_EQ(as<SQLCommandAlterValidationRule>(c).rule(), u">0 And <100");
         }},
        {u"LINK TABLE [Local]\r\n\tTO [Remote]\r\n\tSRC \"/data/other.mdb\";\r\n",
         typeid(SQLCommandLinkAccess),
         [](const SQLCommand& c) {
             const auto& link = as<SQLCommandLinkAccess>(c);
             EXPECT_EQ(link.localTable(), u"Local");
             EXPECT_EQ(link.remoteTable(), u"Remote");
             EXPECT_EQ(link.connection(), u"/data/other.mdb");
         }},
        {u"LINK TABLE [L]\r\n\tTO [dbo.R]\r\n\tODBC \"ODBC;DSN=x\";\r\n",
         typeid(SQLCommandLinkODBC),
         [](const SQLCommand& c) {
             EXPECT_EQ(as<SQLCommandLinkODBC>(c).connection(), u"ODBC;DSN=x");
         }},
        {u"CREATE VIEW [Active] AS SELECT *\r\nFROM [T]\r\nWHERE [A] = 1;\r\n\r\n",
         typeid(SQLCommandCreateView),
         [](const SQLCommand& c) {
             EXPECT_EQ(as<SQLCommandCreateView>(c).name(), u"Active");
             EXPECT_EQ(as<SQLCommandCreateView>(c).body(),
                       u"SELECT *\r\nFROM [T]\r\nWHERE [A] = 1");
         }},
        {u"CREATE PROCEDURE [Find] ([p] Text ( 255 ), [q] Long) AS \r\nSELECT *\r\nFROM [T] "
         u"WHERE [A]=[p];\r\n\r\n\r\n",
         typeid(SQLCommandCreateProcedure),
         [](const SQLCommand& c) {
             const auto& procedure = as<SQLCommandCreateProcedure>(c);
             EXPECT_EQ(procedure.name(), u"Find");
             EXPECT_EQ(procedure.parameters(), u"[p] Text ( 255 ), [q] Long");
             EXPECT_EQ(procedure.body(), u"\r\nSELECT *\r\nFROM [T] WHERE [A]=[p]");
         }},
        {u"ALTER TABLE [T] ALLOW ZERO LENGTH [C];\r\n", typeid(SQLCommandAlterZeroLength),
         [](const SQLCommand& c) { EXPECT_TRUE(as<SQLCommandAlterZeroLength>(c).allow()); }},
        {u"ALTER TABLE [T] DENY ZERO LENGTH [C];\r\n", typeid(SQLCommandAlterZeroLength),
         [](const SQLCommand& c) { EXPECT_FALSE(as<SQLCommandAlterZeroLength>(c).allow()); }},
        {u"ALTER TABLE [T] EXPRESSION [C] SET \"[A] & \"-\" & [B]\";\r\n",
         typeid(SQLCommandAlterCalculatedFieldExpression),
         [](const SQLCommand& c) {
             EXPECT_EQ(as<SQLCommandAlterCalculatedFieldExpression>(c).expression(),
                       u"[A] & \"-\" & [B]");
         }},
        {u"ALTER TABLE [T] FORMAT [C] SET \"\";\r\n", typeid(SQLCommandAlterFormat),
         [](const SQLCommand& c) { EXPECT_EQ(as<SQLCommandAlterFormat>(c).format(), u""); }},
        {u"ALTER TABLE [T] FORMAT [C] SET \"Short Date\";\r\n", typeid(SQLCommandAlterFormat),
         [](const SQLCommand& c) {
             EXPECT_EQ(as<SQLCommandAlterFormat>(c).format(), u"Short Date");
         }},
        {u"ALTER TABLE [T] DECIMAL PLACES [C] SET 2;\r\n", typeid(SQLCommandAlterDecimalPlaces),
         [](const SQLCommand& c) { EXPECT_EQ(as<SQLCommandAlterDecimalPlaces>(c).places(), 2); }},
        {u"ALTER TABLE [T] DECIMAL PLACES [C] SET AUTO;\r\n", typeid(SQLCommandAlterDecimalPlaces),
         [](const SQLCommand& c) { EXPECT_EQ(as<SQLCommandAlterDecimalPlaces>(c).places(), 255); }},
        {u"ALTER TABLE [T] DEFAULT [C] SET abc;\r\n", typeid(SQLCommandAlterDefaultValue),
         [](const SQLCommand& c) {
             const auto& value = as<SQLCommandAlterDefaultValue>(c);
             EXPECT_EQ(value.table(), u"T");
             EXPECT_EQ(value.column(), u"C");
             EXPECT_EQ(value.defaultValue(), u"abc");
         }},
        {u"ALTER FORM [Main Form] SET base64(\"" + base64 + u"\");\r\n",
         typeid(SQLCommandAlterAccessObject),
         [hasDefinition](const SQLCommand& c) {
             EXPECT_EQ(as<SQLCommandAlterAccessObject>(c).kind(), 2);
             EXPECT_EQ(as<SQLCommandAlterAccessObject>(c).name(), u"Main Form");
             hasDefinition(c);
         }},
        {u"ALTER MODULE [M] SET base64(\"" + base64 + u"\");\r\n",
         typeid(SQLCommandAlterAccessObject),
         [hasDefinition](const SQLCommand& c) {
             EXPECT_EQ(as<SQLCommandAlterAccessObject>(c).kind(), 5);
             hasDefinition(c);
         }},
        {u"ALTER MACRO [AutoExec] SET base64(\"" + base64 + u"\");\r\n",
         typeid(SQLCommandAlterAccessObject),
         [](const SQLCommand& c) { EXPECT_EQ(as<SQLCommandAlterAccessObject>(c).kind(), 4); }},
        {u"ALTER REPORT [R] SET base64(\"" + base64 + u"\");\r\n",
         typeid(SQLCommandAlterAccessObject),
         [](const SQLCommand& c) { EXPECT_EQ(as<SQLCommandAlterAccessObject>(c).kind(), 3); }},
        {u"ALTER TABLE [Orders] DATA MACRO SET base64(\"" + base64 + u"\");\r\n",
         typeid(SQLCommandAlterTableDataMacro),
         [definition](const SQLCommand& c) {
             EXPECT_EQ(as<SQLCommandAlterTableDataMacro>(c).table(), u"Orders");
             EXPECT_EQ(as<SQLCommandAlterTableDataMacro>(c).definition(), definition);
         }},
    };
}

} // namespace

TEST(GeneratedForms, OneScriptOfEveryFormIsClassifiedStatementByStatement) {
    std::vector<Form> forms = generatedForms();
    std::u16string script;
    for (const Form& form : forms)
        script += form.script;
    auto commands = parseScript(script);
    ASSERT_EQ(commands.size(), forms.size());
    for (std::size_t i = 0; i < forms.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "statement " << i);
        EXPECT_EQ(std::type_index(typeid(*commands[i])), forms[i].expectedClass);
        if (forms[i].check && std::type_index(typeid(*commands[i])) == forms[i].expectedClass)
            forms[i].check(*commands[i]);
    }
}
