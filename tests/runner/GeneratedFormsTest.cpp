// The comparer's script generator and the runner's parser meet only in the script text: every
// statement form the generator writes must reach the command class the runner executes it
// with, carrying the names, values and decoded definitions the generator put in, and the
// forms the engine runs as they are must stay plain SQL.

#include "ParserTestSupport.h"

#include "tests/script/SchemaBuilders.h"

#include "compare/SchemaComparison.h"
#include "runner/sqlexecutor/AccessObjectCommands.h"
#include "runner/sqlexecutor/ColumnCommands.h"
#include "runner/sqlexecutor/ForeignKeyCommand.h"
#include "runner/sqlexecutor/LinkCommands.h"
#include "runner/sqlexecutor/QueryCommands.h"
#include "schema/AccessDataTypeName.h"
#include "schema/AccessDocument.h"
#include "schema/Database.h"
#include "schema/TableLinked.h"
#include "schema/View.h"
#include "script/CommandGenerator.h"
#include "script/ScriptText.h"

#include <gtest/gtest.h>

#include <functional>
#include <typeindex>

using namespace SQLExecutor;
using namespace testing_schema;

namespace {

using Check = std::function<void(const SQLCommand&)>;

// What one statement must become.
struct Expected {
    std::type_index type;
    Check check;
};

// Plain SQL that reaches the engine as exactly this text (lines joined by blanks).
Expected plain(std::u16string text) {
    return {typeid(SQLCommand), [text](const SQLCommand& command) {
                EXPECT_EQ(text::toUtf8(command.text()), text::toUtf8(text));
            }};
}

template <typename Command> Expected is(std::function<void(const Command&)> check) {
    return {typeid(Command),
            [check](const SQLCommand& command) { check(dynamic_cast<const Command&>(command)); }};
}

Expected zeroLength(std::u16string table, std::u16string column, bool allow) {
    return is<SQLCommandAlterZeroLength>([=](const SQLCommandAlterZeroLength& command) {
        EXPECT_EQ(command.table(), table);
        EXPECT_EQ(command.column(), column);
        EXPECT_EQ(command.allow(), allow);
    });
}

Expected format(std::u16string table, std::u16string column, std::u16string value) {
    return is<SQLCommandAlterFormat>([=](const SQLCommandAlterFormat& command) {
        EXPECT_EQ(command.table(), table);
        EXPECT_EQ(command.column(), column);
        EXPECT_EQ(command.format(), value);
    });
}

Expected decimalPlaces(std::u16string table, std::u16string column, int places) {
    return is<SQLCommandAlterDecimalPlaces>([=](const SQLCommandAlterDecimalPlaces& command) {
        EXPECT_EQ(command.table(), table);
        EXPECT_EQ(command.column(), column);
        EXPECT_EQ(command.places(), places);
    });
}

Expected expression(std::u16string table, std::u16string column, std::u16string value) {
    return is<SQLCommandAlterCalculatedFieldExpression>(
        [=](const SQLCommandAlterCalculatedFieldExpression& command) {
            EXPECT_EQ(command.table(), table);
            EXPECT_EQ(command.column(), column);
            EXPECT_EQ(text::toUtf8(command.expression()), text::toUtf8(value));
        });
}

Expected defaultValue(std::u16string table, std::u16string column, std::u16string value) {
    return is<SQLCommandAlterDefaultValue>([=](const SQLCommandAlterDefaultValue& command) {
        EXPECT_EQ(text::toUtf8(command.table()), text::toUtf8(table));
        EXPECT_EQ(text::toUtf8(command.column()), text::toUtf8(column));
        EXPECT_EQ(text::toUtf8(command.defaultValue()), text::toUtf8(value));
    });
}

Expected validationRule(std::u16string table, std::u16string column, std::u16string rule) {
    return is<SQLCommandAlterValidationRule>([=](const SQLCommandAlterValidationRule& command) {
        EXPECT_EQ(command.table(), table);
        EXPECT_EQ(command.column(), column);
        EXPECT_EQ(text::toUtf8(command.rule()), text::toUtf8(rule));
    });
}

Expected attachment(std::u16string table, std::u16string column) {
    return is<SQLCommandAddAttachment>([=](const SQLCommandAddAttachment& command) {
        EXPECT_EQ(command.table(), table);
        EXPECT_EQ(command.column(), column);
    });
}

Expected accessObject(int kind, std::u16string name, Bytes definition) {
    return is<SQLCommandAlterAccessObject>([=](const SQLCommandAlterAccessObject& command) {
        EXPECT_EQ(command.kind(), kind);
        EXPECT_EQ(command.name(), name);
        EXPECT_EQ(command.definition(), definition);
    });
}

Expected droppedObject(int kind, std::u16string name) {
    return is<SQLCommandDropAccessObject>([=](const SQLCommandDropAccessObject& command) {
        EXPECT_EQ(command.kind(), kind);
        EXPECT_EQ(command.name(), name);
    });
}

Expected dataMacro(std::u16string table, Bytes definition) {
    return is<SQLCommandAlterTableDataMacro>([=](const SQLCommandAlterTableDataMacro& command) {
        EXPECT_EQ(command.table(), table);
        EXPECT_EQ(command.definition(), definition);
    });
}

struct ForeignKeyFields {
    std::u16string name;
    std::vector<ColumnPair> columns;
    bool unique = false;
    bool updateCascades = false;
    bool deleteCascades = false;
};

Expected foreignKeyNoIndex(ForeignKeyFields fields) {
    return is<SQLCommandAddConstraintNoIndex>([=](const SQLCommandAddConstraintNoIndex& command) {
        EXPECT_EQ(command.table(), u"Orders");
        EXPECT_EQ(command.referencedTable(), u"Customers");
        EXPECT_EQ(command.constraintName(), fields.name);
        EXPECT_EQ(command.columns(), fields.columns);
        EXPECT_EQ(command.unique(), fields.unique);
        EXPECT_EQ(command.updateCascades(), fields.updateCascades);
        EXPECT_EQ(command.deleteCascades(), fields.deleteCascades);
    });
}

Expected view(std::u16string name, std::u16string body) {
    return is<SQLCommandCreateView>([=](const SQLCommandCreateView& command) {
        EXPECT_EQ(command.name(), name);
        EXPECT_EQ(text::toUtf8(command.body()), text::toUtf8(body));
    });
}

Expected procedure(std::u16string name, std::u16string parameters, std::u16string body) {
    return is<SQLCommandCreateProcedure>([=](const SQLCommandCreateProcedure& command) {
        EXPECT_EQ(command.name(), name);
        EXPECT_EQ(text::toUtf8(command.parameters()), text::toUtf8(parameters));
        EXPECT_EQ(text::toUtf8(command.body()), text::toUtf8(body));
    });
}

template <typename Link>
Expected link(std::u16string local, std::u16string remote, std::u16string connection) {
    return is<Link>([=](const Link& command) {
        EXPECT_EQ(command.localTable(), local);
        EXPECT_EQ(command.remoteTable(), remote);
        EXPECT_EQ(text::toUtf8(command.connection()), text::toUtf8(connection));
    });
}

// An object definition long enough for several Base64 lines, with every byte value.
Bytes definitionBytes(int seed) {
    Bytes bytes;
    for (int i = 0; i < 300; ++i)
        bytes.push_back(std::uint8_t(i * 7 + seed));
    return bytes;
}

// One generator operation, or a few that belong together, and what the runner must see.
struct Case {
    const char* operation;
    std::function<void(CommandGenerator&)> write;
    std::vector<Expected> expected;
};

void expectCommands(const std::vector<std::unique_ptr<SQLCommand>>& commands,
                    const std::vector<const Expected*>& expected) {
    ASSERT_EQ(commands.size(), expected.size());
    for (std::size_t i = 0; i < commands.size(); ++i) {
        SCOPED_TRACE(testing::Message()
                     << "statement " << i << ": " << text::toUtf8(commands[i]->text()));
        ASSERT_EQ(std::type_index(typeid(*commands[i])), expected[i]->type);
        expected[i]->check(*commands[i]);
    }
}

// Elements of the first and second database that the cases write statements for.
class GeneratedForms : public ::testing::Test {
protected:
    GeneratedForms() {
        id = &addField(orders, {.name = u"ID", .type = Long, .autoincrement = true});
        name = &addField(orders, {.name = u"Name",
                                  .type = Text,
                                  .length = 50,
                                  .defaultText = u"\"x\"",
                                  .compressed = true});
        name->setFormat(u"\"No. \"@");
        price = &addField(orders, {.name = u"Price",
                                   .type = Decimal,
                                   .numericScale = 2,
                                   .precision = 18,
                                   .nullable = true});
        price->setDecimalPlaces(2);
        total = &addColumn(orders, u"Total", Double);
        total->setExpression(u"[Price] * 2 & \"-\"");
        qty = &addField(orders,
                        {.name = u"Qty", .type = Long, .defaultText = u"abc", .nullable = true});
        note = &addField(orders, {.name = u"Note",
                                  .type = Memo,
                                  .defaultText = u"\"on SET off\"",
                                  .nullable = true,
                                  .allowZeroLength = true});
        due = &addField(
            orders,
            {.name = u"Due", .type = DateTime, .defaultText = u"#1/1/2000#", .nullable = true});
        files = &addColumn(orders, u"Files", Attachment);
        addColumn(orders, u"CustomerID", Long);
        addColumn(orders, u"Region", Long);

        primary = &addKey(orders, u"PK", Key::Primary, {u"ID"});
        unique = &addKey(orders, u"UQ", Key::Unique, {u"Name"});
        uniqueFiles = &addKey(orders, u"UF", Key::Unique, {u"Files"});
        enforced = &addForeignKey(orders, u"FK", u"Customers", {{u"CustomerID", u"ID"}},
                                  {.deleteRule = Key::RuleSetNull, .updateRule = Key::RuleCascade});
        loose = &addForeignKey(
            orders, u"Loose", u"Customers", {{u"CustomerID", u"ID"}, {u"Region", u"Region"}},
            {.deleteRule = Key::RuleCascade, .updateRule = Key::RuleCascade, .notEnforced = true});
        looseSetNull = &addForeignKey(orders, u"LooseNull", u"Customers", {{u"CustomerID", u"ID"}},
                                      {.deleteRule = Key::RuleSetNull, .notEnforced = true});
        oneToOne = &addForeignKey(orders, u"OneToOne", u"Customers", {{u"CustomerID", u"ID"}},
                                  {.oneToOne = true});

        byName = &addIndex(orders, u"ByName", {u"Name", u"ID"}, false, true, 1);
        primaryIndex = &addIndex(orders, u"PrimaryKey", {u"ID"}, true, true, 0);
        byQty = &addIndex(orders, u"ByQty", {u"Qty"}, false, false, 2);
        byNote = &addIndex(orders, u"ByNote", {u"Note"});

        positive = &addCheck(orders, u"Positive", u"[Qty] > 0 AND [Price] >= 0");
        rule = &addCheck(orders, u"[Qty].ValidationRule", u">0 And <100");
        orders.setTableDataMacro(std::make_unique<TableDataMacro>(u"Orders", definitionBytes(1)));
    }

    std::vector<Case> cases() const;

    AccessDataTypeName dialect;
    Table orders{u"Orders"};
    Field *id, *name, *price, *total, *qty, *note, *due, *files;
    Key *primary, *unique, *uniqueFiles, *enforced, *loose, *looseSetNull, *oneToOne;
    Index *byName, *primaryIndex, *byQty, *byNote;
    CheckConstraint *positive, *rule;
    View accessView{u"Active", u"SELECT *\r\nFROM [Orders]\r\nWHERE [Qty] > 1;\r\n"};
    View engineView{u"Big Orders", u"SELECT * FROM [Orders] WHERE [Qty] > 100"};
    Procedure accessProcedure{u"Find",
                              u"PARAMETERS [p] Text ( 255 ), [q] Long;\r\nSELECT *\r\nFROM "
                              u"[Orders]\r\nWHERE [Name]=[p];\r\n"};
    Procedure engineProcedure{u"Add",
                              u"PARAMETERS [a] LONG;INSERT INTO [Orders] ([Qty]) VALUES ([a])"};
    Procedure actionQuery{u"Purge", u"DELETE FROM [Orders];\r\n"};
    TableLinkedAccess linkedAccess{u"Local", u"Remote Table", u"/data/other.mdb"};
    TableLinkedODBC linkedOdbc{u"Sales", u"dbo.Sales", u"ODBC;DSN=sales;UID=me"};
    Entity::Form form{u"Main Form", definitionBytes(2)};
    Entity::Module module{u"Code", definitionBytes(3)};
    Entity::Macro macro{u"AutoExec", definitionBytes(4)};
    Entity::Report report{u"Sales 2024 (draft)", definitionBytes(5)};
};

std::vector<Case> GeneratedForms::cases() const {
    const Bytes macroBytes = definitionBytes(1);
    return {
        {"dropTable",
         [&](CommandGenerator& g) { g.dropTable(orders); },
         {plain(u"DROP TABLE [Orders]")}},
        {"dropColumn",
         [&](CommandGenerator& g) { g.dropColumn(*name); },
         {plain(u"ALTER TABLE [Orders] DROP COLUMN [Name]")}},
        {"dropIndex",
         [&](CommandGenerator& g) { g.dropIndex(*byName); },
         {plain(u"DROP INDEX [ByName] ON [Orders]")}},
        {"dropView and dropProcedure",
         [&](CommandGenerator& g) {
             g.dropView(accessView);
             g.dropProcedure(accessProcedure);
         },
         {plain(u"DROP VIEW [Active]"), plain(u"DROP PROCEDURE [Find]")}},
        {"dropCheck",
         [&](CommandGenerator& g) {
             g.dropCheck(*positive);
             g.dropCheck(*rule);
         },
         {plain(u"ALTER TABLE [Orders] DROP CONSTRAINT [Positive]"),
          validationRule(u"Orders", u"Qty", u"")}},
        {"dropKey",
         [&](CommandGenerator& g) {
             g.dropKey(*enforced);
             g.dropKey(*unique);
             g.dropKey(*primary);
         },
         {plain(u"ALTER TABLE [Orders] DROP CONSTRAINT [FK]"),
          plain(u"ALTER TABLE [Orders] DROP CONSTRAINT [UQ]"),
          plain(u"ALTER TABLE [Orders] DROP CONSTRAINT [PK]")}},
        {"dropForm, dropModule, dropReport",
         [&](CommandGenerator& g) {
             g.dropForm(form);
             g.dropModule(module);
             g.dropReport(report);
         },
         {droppedObject(AccessObjectKind::Form, u"Main Form"),
          droppedObject(AccessObjectKind::Module, u"Code"),
          droppedObject(AccessObjectKind::Report, u"Sales 2024 (draft)")}},
        {"dropTableDataMacro",
         [&](CommandGenerator& g) { g.dropTableDataMacro(*orders.tableDataMacro()); },
         {accessObject(AccessObjectKind::TableDataMacro, u"Orders", Bytes{0})}},
        {"createTable",
         [&](CommandGenerator& g) { g.createTable(orders); },
         {plain(u"CREATE TABLE [Orders] ( [ID] AUTOINCREMENT, [Name] TEXT(50) WITH COMPRESSION "
                u"NOT NULL DEFAULT \"x\", [Price] DECIMAL(18, 2), [Total] DOUBLE, [Qty] LONG, "
                u"[Note] MEMO DEFAULT \"on SET off\", [Due] DATETIME DEFAULT '1/1/2000', "
                u"[CustomerID] LONG, [Region] LONG, "
                u"CONSTRAINT [PK] PRIMARY KEY ([ID]), CONSTRAINT [UQ] UNIQUE ([Name]) )"),
          zeroLength(u"Orders", u"Name", false), zeroLength(u"Orders", u"Note", true),
          format(u"Orders", u"Name", u"\"No. \"@"), decimalPlaces(u"Orders", u"Price", 2),
          expression(u"Orders", u"Total", u"[Price] * 2 & \"-\""),
          defaultValue(u"Orders", u"Qty", u"abc"), attachment(u"Orders", u"Files"),
          plain(u"ALTER TABLE [Orders] ADD CONSTRAINT [UF] UNIQUE ([Files])"),
          dataMacro(u"Orders", macroBytes)}},
        {"addColumn",
         [&](CommandGenerator& g) {
             g.addColumn(*name);
             g.addColumn(*total);
             g.addColumn(*qty);
             g.addColumn(*files);
         },
         {plain(u"ALTER TABLE [Orders] ADD COLUMN [Name] TEXT(50) WITH COMPRESSION NOT NULL "
                u"DEFAULT \"x\""),
          zeroLength(u"Orders", u"Name", false), format(u"Orders", u"Name", u"\"No. \"@"),
          plain(u"ALTER TABLE [Orders] ADD COLUMN [Total] DOUBLE"),
          plain(u"ALTER TABLE [Orders] ADD COLUMN [Qty] LONG"),
          defaultValue(u"Orders", u"Qty", u"abc"), attachment(u"Orders", u"Files"),
          expression(u"Orders", u"Total", u"[Price] * 2 & \"-\"")}},
        {"alterColumn",
         [&](CommandGenerator& g) {
             g.alterColumn(*price);
             g.alterColumn(*note);
             g.alterColumn(*total);
             g.alterColumn(*due);
         },
         {plain(u"ALTER TABLE [Orders] ALTER COLUMN [Price] DECIMAL(18, 2) DEFAULT"),
          decimalPlaces(u"Orders", u"Price", 2),
          plain(u"ALTER TABLE [Orders] ALTER COLUMN [Note] MEMO DEFAULT \"on SET off\""),
          zeroLength(u"Orders", u"Note", true),
          plain(u"ALTER TABLE [Orders] ALTER COLUMN [Total] DOUBLE DEFAULT"),
          expression(u"Orders", u"Total", u"[Price] * 2 & \"-\""),
          plain(u"ALTER TABLE [Orders] ALTER COLUMN [Due] DATETIME DEFAULT '1/1/2000'")}},
        {"createIndex",
         [&](CommandGenerator& g) {
             g.createIndex(*byName);
             g.createIndex(*primaryIndex);
             g.createIndex(*byQty);
             g.createIndex(*byNote);
         },
         {plain(u"CREATE UNIQUE INDEX [ByName] ON [Orders] ([Name], [ID]) WITH DISALLOW NULL"),
          plain(u"CREATE INDEX [PrimaryKey] ON [Orders] ([ID]) WITH PRIMARY"),
          plain(u"CREATE INDEX [ByQty] ON [Orders] ([Qty]) WITH IGNORE NULL"),
          plain(u"CREATE INDEX [ByNote] ON [Orders] ([Note])")}},
        {"addKey",
         [&](CommandGenerator& g) {
             g.addKey(*primary);
             g.addKey(*unique);
             g.addKey(*enforced);
             g.addKey(*loose);
             g.addKey(*looseSetNull);
             g.addKey(*oneToOne);
         },
         {plain(u"ALTER TABLE [Orders] ADD CONSTRAINT [PK] PRIMARY KEY ([ID])"),
          plain(u"ALTER TABLE [Orders] ADD CONSTRAINT [UQ] UNIQUE ([Name])"),
          plain(u"ALTER TABLE [Orders] ADD CONSTRAINT [FK] FOREIGN KEY ([CustomerID]) "
                u"REFERENCES [Customers] ([ID]) ON UPDATE CASCADE ON DELETE SET NULL"),
          foreignKeyNoIndex({.name = u"Loose",
                             .columns = {{u"CustomerID", u"ID"}, {u"Region", u"Region"}},
                             .updateCascades = true,
                             .deleteCascades = true}),
          // The rule the relationship cannot carry keeps it from the extended form.
          plain(u"ALTER TABLE [Orders] ADD CONSTRAINT [LooseNull] FOREIGN KEY NO INDEX "
                u"([CustomerID]) REFERENCES [Customers] ([ID]) ON DELETE SET NULL"),
          foreignKeyNoIndex(
              {.name = u"OneToOne", .columns = {{u"CustomerID", u"ID"}}, .unique = true})}},
        {"recreateKey",
         [&](CommandGenerator& g) {
             g.recreateKey(*unique);
             g.recreateKey(*loose);
         },
         {plain(u"ALTER TABLE [Orders] ADD CONSTRAINT [UQ] UNIQUE ([Name])"),
          foreignKeyNoIndex({.name = u"Loose",
                             .columns = {{u"CustomerID", u"ID"}, {u"Region", u"Region"}},
                             .updateCascades = true,
                             .deleteCascades = true})}},
        {"addCheck",
         [&](CommandGenerator& g) {
             g.addCheck(*positive);
             g.addCheck(*rule);
         },
         {plain(u"ALTER TABLE [Orders] ADD CONSTRAINT [Positive] CHECK ([Qty] > 0 AND [Price] "
                u">= 0)"),
          validationRule(u"Orders", u"Qty", u">0 And <100")}},
        {"linkAccessTable and linkOdbcTable",
         [&](CommandGenerator& g) {
             g.linkAccessTable(linkedAccess);
             g.linkOdbcTable(linkedOdbc);
         },
         {link<SQLCommandLinkAccess>(u"Local", u"Remote Table", u"/data/other.mdb"),
          link<SQLCommandLinkODBC>(u"Sales", u"dbo.Sales", u"ODBC;DSN=sales;UID=me")}},
        {"createView",
         [&](CommandGenerator& g) {
             g.createView(accessView);
             g.createView(engineView);
         },
         // A query's text keeps its line breaks.
         {view(u"Active", u"SELECT *\r\nFROM [Orders]\r\nWHERE [Qty] > 1"),
          view(u"Big Orders", u"SELECT * FROM [Orders] WHERE [Qty] > 100")}},
        {"createProcedure",
         [&](CommandGenerator& g) {
             g.createProcedure(accessProcedure);
             g.createProcedure(engineProcedure);
             g.createProcedure(actionQuery);
         },
         // An action query without parameters is a procedure with an empty list.
         {procedure(u"Find", u"[p] Text ( 255 ), [q] Long",
                    u"\r\nSELECT *\r\nFROM [Orders]\r\nWHERE [Name]=[p]"),
          procedure(u"Add", u"[a] LONG", u"INSERT INTO [Orders] ([Qty]) VALUES ([a])"),
          procedure(u"Purge", u"", u"DELETE FROM [Orders]")}},
        {"single column properties",
         [&](CommandGenerator& g) {
             g.setZeroLength(*note, ScriptCategory::AlterColumns);
             g.setExpression(*total, ScriptCategory::AlterColumns);
             g.setFormat(*price, ScriptCategory::AlterColumns);
             g.setDecimalPlaces(*price, ScriptCategory::AlterColumns);
             g.setDecimalPlaces(*total, ScriptCategory::AlterColumns);
             g.setDefault(*name, ScriptCategory::AlterColumns);
             g.setDefault(*note, ScriptCategory::AlterColumns);
         },
         {zeroLength(u"Orders", u"Note", true),
          expression(u"Orders", u"Total", u"[Price] * 2 & \"-\""), format(u"Orders", u"Price", u""),
          decimalPlaces(u"Orders", u"Price", 2),
          decimalPlaces(u"Orders", u"Total", SQLCommandAlterDecimalPlaces::automatic),
          defaultValue(u"Orders", u"Name", u"\"x\""),
          defaultValue(u"Orders", u"Note", u"\"on SET off\"")}},
        {"setForm, setModule, setMacro, setReport, setTableDataMacro",
         [&](CommandGenerator& g) {
             g.setForm(form);
             g.setModule(module);
             g.setMacro(macro);
             g.setReport(report);
             g.setTableDataMacro(*orders.tableDataMacro());
         },
         {accessObject(AccessObjectKind::Form, u"Main Form", definitionBytes(2)),
          accessObject(AccessObjectKind::Module, u"Code", definitionBytes(3)),
          accessObject(AccessObjectKind::Macro, u"AutoExec", definitionBytes(4)),
          accessObject(AccessObjectKind::Report, u"Sales 2024 (draft)", definitionBytes(5)),
          dataMacro(u"Orders", macroBytes)}},
    };
}

std::u16string writeScript(AccessDataTypeName& dialect, const Case& operation) {
    CommandGenerator generator(dialect);
    operation.write(generator);
    return generator.assemble(true);
}

std::vector<const Expected*> pointersTo(const std::vector<Expected>& expected) {
    std::vector<const Expected*> pointers;
    for (const Expected& one : expected)
        pointers.push_back(&one);
    return pointers;
}

} // namespace

TEST_F(GeneratedForms, EveryOperationReachesTheCommandTheRunnerNeeds) {
    for (const Case& operation : cases()) {
        SCOPED_TRACE(operation.operation);
        std::u16string script = writeScript(dialect, operation);
        SCOPED_TRACE(text::toUtf8(script));
        expectCommands(parseScript(script), pointersTo(operation.expected));
    }
}

// Statements must end where the generator ended them, whatever follows.
TEST_F(GeneratedForms, AllOperationsInOneScriptStayApart) {
    std::vector<Case> all = cases();
    std::u16string script;
    std::vector<const Expected*> expected;
    for (const Case& operation : all) {
        script += writeScript(dialect, operation);
        for (const Expected& one : operation.expected)
            expected.push_back(&one);
    }
    expectCommands(parseScript(script), expected);
}

// A whole script of a comparison, from the text the comparer writes to a file.
TEST(GeneratedScript, EveryStatementOfAComparisonIsClassified) {
    auto first = std::make_unique<Database>(u"/db/first.accdb");
    auto second = std::make_unique<Database>(u"/db/second.accdb");
    for (Database* database : {first.get(), second.get()}) {
        Table& customers = database->addTable(std::make_unique<Table>(u"Customers"));
        addField(customers, {.name = u"ID", .type = Long, .autoincrement = true});
        addKey(customers, u"PK", Key::Primary, {u"ID"});
        Table& orders = database->addTable(std::make_unique<Table>(u"Orders"));
        addField(orders, {.name = u"ID", .type = Long, .autoincrement = true});
        addColumn(orders, u"CustomerID", Long);
        Field& amount = addColumn(orders, u"Amount", Double);
        if (database == second.get()) {
            amount.setDecimalPlaces(2);
            addColumn(orders, u"Note", Text, 20).setAllowZeroLength(true);
            addForeignKey(orders, u"Buyer", u"Customers", {{u"CustomerID", u"ID"}},
                          {.deleteRule = Key::RuleCascade, .notEnforced = true});
            addCheck(orders, u"[Amount].ValidationRule", u">=0");
        }
    }
    first->addTable(std::make_unique<Table>(u"Old"));
    first->addForm(std::make_unique<Entity::Form>(u"Gone", bytes("f")));
    second->addView(std::make_unique<View>(u"Big", u"SELECT * FROM [Orders] WHERE [Amount] > 9"));
    second->addProcedure(std::make_unique<Procedure>(u"Clear", u"DELETE FROM [Orders]"));
    second->addModule(std::make_unique<Entity::Module>(u"Code", bytes("Option Compare Database")));

    AccessDataTypeName dialect;
    SchemaComparison comparison(std::move(first), std::move(second), ComparisonOptions{}, dialect);
    std::u16string script = scriptText(comparison);
    SCOPED_TRACE(text::toUtf8(script));

    const std::vector<Expected> expected = {
        plain(u"DROP TABLE [Old]"),
        plain(u"ALTER TABLE [Orders] ADD COLUMN [Note] TEXT(20)"),
        zeroLength(u"Orders", u"Note", true),
        decimalPlaces(u"Orders", u"Amount", 2),
        is<SQLCommandAddConstraintNoIndex>([](const SQLCommandAddConstraintNoIndex& key) {
            EXPECT_EQ(key.constraintName(), u"Buyer");
            EXPECT_TRUE(key.deleteCascades());
        }),
        validationRule(u"Orders", u"Amount", u">=0"),
        view(u"Big", u"SELECT * FROM [Orders] WHERE [Amount] > 9"),
        procedure(u"Clear", u"", u"DELETE FROM [Orders]"),
        droppedObject(AccessObjectKind::Form, u"Gone"),
        accessObject(AccessObjectKind::Module, u"Code", bytes("Option Compare Database")),
    };
    expectCommands(parseScript(script), pointersTo(expected));
}
