#include "EngineFixture.h"

namespace enginetest {

class ObjectModel : public EmbeddedDatabase {
protected:
    void SetUp() override {
        EmbeddedDatabase::SetUp();
        exec(u"CREATE TABLE [P] ([Id] LONG CONSTRAINT [PK_P] PRIMARY KEY, [Name] TEXT(20))");
        exec(u"CREATE TABLE [C] ([Id] LONG, [PId] LONG, [Price] DECIMAL(10, 2), [Note] MEMO)");
    }
    std::shared_ptr<dao::Database> openDao() {
        return components().createDBEngine(daoClassId)->openDatabase(u16(path), {}, false, u"");
    }
    std::vector<std::string> rowset(int schema, std::vector<Variant> restrictions,
                                    std::vector<std::u16string> fields) {
        std::vector<std::string> result;
        auto rs = connection->openSchema(schema, restrictions);
        for (; !rs->eof(); rs->moveNext()) {
            std::string row;
            for (const auto& field : fields)
                row += (row.empty() ? "" : "|") +
                       text::toUtf8(rs->fields()->item(field)->value().toText().value_or(u"NULL"));
            result.push_back(row);
        }
        rs->close();
        EXPECT_EQ(rs->state(), ado::stateClosed);
        return result;
    }
};

TEST_F(ObjectModel, CollectionsAndAbsentPropertiesThrowItemNotFound) {
    auto tables = catalog->tables();
    EXPECT_EQ(tables->count(), 3);
    EXPECT_EQ(tables->item(0)->name(), u"C");
    for (auto call : std::initializer_list<std::function<void()>>{
             [&] { tables->item(3); },
             [&] { tables->item(-1); },
             [&] { tables->item(u"Nope"); },
             [&] { column(u"C", u"Id")->properties()->item(u"Format"); },
             [&] { table(u"C")->properties()->item(u"No Such Property"); },
         }) {
        try {
            call();
            ADD_FAILURE() << "no error";
        } catch (const EngineError& e) {
            EXPECT_EQ(e.status(), status::itemNotFound);
            EXPECT_EQ(e.description(), u"Item cannot be found in the collection corresponding to "
                                       u"the requested name or ordinal.");
        }
    }
    auto properties = table(u"C")->properties();
    EXPECT_EQ(properties->value(u"Temporary Table"), Variant(false));
    EXPECT_EQ(properties->value(u"Jet OLEDB:Table Hidden In Access"), Variant(false));
    EXPECT_EQ(properties->value(u"Jet OLEDB:Link Datasource"), Variant(u""));
    EXPECT_EQ(tables->item(u"MSysObjects")->type(), u"SYSTEM TABLE");
}

TEST_F(ObjectModel, ViewsAndProceduresWithTheirTextAndParameters) {
    exec(u"CREATE VIEW [Expensive] AS SELECT * FROM [C] WHERE [Price] > 100");
    auto command = components().createCommand();
    command->setCommandText(u"PARAMETERS [pName] Text ( 30 ), [pWhen] DateTime, pN Decimal(8,2);"
                            u"\r\nSELECT * FROM [P] WHERE [Name] = [pName]");
    catalog->procedures()->append(u"ByName", command);
    command->setCommandText(u"DELETE FROM [C]");
    catalog->views()->append(u"Purge", command);
    reopen();
    auto views = catalog->views();
    ASSERT_EQ(views->count(), 1);
    EXPECT_EQ(views->item(0)->name(), u"Expensive");
    EXPECT_EQ(views->item(0)->command()->commandText(), u"SELECT * FROM [C] WHERE [Price] > 100");
    EXPECT_EQ(table(u"Expensive")->type(), u"VIEW");
    auto procedures = catalog->procedures();
    ASSERT_EQ(procedures->count(), 2);
    auto byName = procedures->item(u"ByName")->command();
    EXPECT_EQ(byName->commandText(),
              u"PARAMETERS [pName] Text ( 30 ), [pWhen] DateTime, pN Decimal(8,2);"
              u"\r\nSELECT * FROM [P] WHERE [Name] = [pName]");
    auto parameters = byName->parameters();
    ASSERT_EQ(parameters->count(), 3);
    EXPECT_EQ(parameters->item(0)->name(), u"pName");
    EXPECT_EQ(parameters->item(0)->type(), 202);
    EXPECT_EQ(parameters->item(0)->size(), 30);
    EXPECT_EQ(parameters->item(1)->type(), 7);
    EXPECT_EQ(parameters->item(1)->size(), 0);
    EXPECT_EQ(parameters->item(2)->type(), 131);
    EXPECT_EQ(parameters->item(2)->precision(), 8);
    EXPECT_EQ(parameters->item(2)->numericScale(), 2);
    EXPECT_EQ(procedures->item(u"Purge")->command()->parameters()->count(), 0);
    exec(u"CREATE PROCEDURE [Add] ([a] LONG, [b] TEXT(5)) AS INSERT INTO [P] VALUES ([a], [b])");
    auto added = catalog->procedures()->item(u"Add")->command();
    EXPECT_EQ(added->commandText(),
              u"PARAMETERS [a] LONG, [b] TEXT(5);INSERT INTO [P] VALUES ([a], [b])");
    EXPECT_EQ(added->parameters()->item(1)->size(), 5);
    EXPECT_EQ(failureOf([&] { catalog->views()->append(u"P", command); }),
              u"Object 'P' already exists.");
}

TEST_F(ObjectModel, ColumnPropertyWritesReadBack) {
    auto note = column(u"C", u"Note");
    note->properties()->item(u"Jet OLEDB:Allow Zero Length")->setValue(Variant(std::int16_t(-1)));
    note->properties()->item(u"Jet OLEDB:Column Validation Rule")->setValue(Variant(u"<> 'x'"));
    reopen();
    note = column(u"C", u"Note");
    EXPECT_EQ(property(note, u"Jet OLEDB:Allow Zero Length"), Variant(true));
    EXPECT_EQ(property(note, u"Jet OLEDB:Column Validation Rule"), Variant(u"<> 'x'"));
    EXPECT_EQ(rowset(ado::schemaCheckConstraints, {}, {u"CONSTRAINT_NAME", u"CHECK_CLAUSE"}),
              (std::vector<std::string>{"[C].[Note].ValidationRule|<> 'x'"}));
    EXPECT_EQ(rowset(ado::schemaTableConstraints,
                     {{}, {}, {}, {}, {}, Variant(u"C"), Variant(u"CHECK")},
                     {u"CONSTRAINT_NAME", u"CONSTRAINT_TYPE"}),
              (std::vector<std::string>{"[Note].ValidationRule|CHECK"}));
    note->properties()->item(u"Jet OLEDB:Column Validation Rule")->setValue(Variant(u""));
    EXPECT_TRUE(rowset(ado::schemaCheckConstraints, {}, {u"CONSTRAINT_NAME"}).empty());
}

TEST_F(ObjectModel, DaoFieldsAndTheirProperties) {
    auto db = openDao();
    auto fields = db->tableDefs()->item(u"C")->fields();
    auto price = fields->item(u"Price");
    EXPECT_EQ(price->type(), 20);
    EXPECT_FALSE(price->allowZeroLength());
    EXPECT_EQ(price->properties()->value(u"Expression"), Variant(u""));
    EXPECT_THROW(price->properties()->item(u"Format"), EngineError);
    EXPECT_THROW(price->properties()->item(u"DecimalPlaces"), EngineError);
    price->setDefaultValue(Variant(u"0"));
    price->properties()->append(price->createProperty(u"Format", 10, Variant(u"Currency")));
    price->properties()->append(
        price->createProperty(u"DecimalPlaces", 2, Variant(std::uint8_t(2))));
    db->close();

    db = openDao();
    price = db->tableDefs()->item(u"C")->fields()->item(u"Price");
    EXPECT_EQ(price->defaultValue(), Variant(u"0"));
    EXPECT_EQ(property(column(u"C", u"Price"), u"Default"), Variant(u"0"));
    EXPECT_EQ(price->properties()->value(u"Format"), Variant(u"Currency"));
    EXPECT_EQ(price->properties()->value(u"DecimalPlaces"), Variant(std::uint8_t(2)));
    price->properties()->remove(u"Format");
    EXPECT_THROW(price->properties()->remove(u"Name"), EngineError);
    db->close();
    db = openDao();
    EXPECT_THROW(
        db->tableDefs()->item(u"C")->fields()->item(u"Price")->properties()->item(u"Format"),
        EngineError);
    EXPECT_EQ(db->tableDefs()->item(u"C")->attributes(), 0);
    EXPECT_EQ(db->tableDefs()->item(u"MSysObjects")->attributes(), std::int32_t(0x80000002u));
    db->close();
}

TEST_F(ObjectModel, DaoRelationsAndAttachmentColumns) {
    auto db = openDao();
    auto relation = db->createRelation(u"Loose");
    relation->setTable(u"P");
    relation->setForeignTable(u"C");
    relation->setAttributes(dao::relationDontEnforce | dao::relationDeleteCascade);
    auto field = relation->createField(Variant(u"Id"), {}, {});
    field->setForeignName(u"PId");
    relation->fields()->append(field);
    db->relations()->append(relation);

    auto tableDef = db->tableDefs()->item(u"C");
    tableDef->fields()->append(tableDef->createField(Variant(u"Files"), Variant(101), Variant(0)));
    db->close();

    db = openDao();
    auto loose = db->relations()->item(u"Loose");
    EXPECT_EQ(loose->attributes(), 0x2 | 0x1000);
    EXPECT_EQ(loose->fields()->item(0)->foreignName(), u"PId");
    EXPECT_EQ(db->tableDefs()->item(u"C")->fields()->item(u"Files")->type(), 101);
    db->close();
    // A relation that is not enforced has no index; it still reads as a foreign key.
    EXPECT_EQ(table(u"C")->indexes()->count(), 0);
    EXPECT_EQ(table(u"C")->keys()->item(u"Loose")->deleteRule(), adox::ruleCascade);
    EXPECT_EQ(column(u"C", u"Files")->type(), 203);
    EXPECT_EQ(rowset(ado::schemaTableConstraints, {{}, {}, {}, {}, {}, Variant(u"C")},
                     {u"CONSTRAINT_NAME", u"CONSTRAINT_TYPE"}),
              (std::vector<std::string>{"Loose|FOREIGN KEY"}));
    db = openDao();
    auto relations = db->relations();
    relations->remove(u"loose");
    EXPECT_EQ(db->relations()->count(), 0);
    EXPECT_EQ(table(u"C")->keys()->count(), 0);
    db->close();
}

TEST_F(ObjectModel, LinkedTablesReadBackWithTheirProperties) {
    auto add = [&](const char16_t* name, const char16_t* source, const char16_t* value) {
        auto t = components().createTable();
        t->setParentCatalog(catalog);
        t->setName(name);
        t->properties()->item(u"Jet OLEDB:Create Link")->setValue(Variant(std::int32_t(1)));
        t->properties()->item(source)->setValue(Variant(value));
        t->properties()->item(u"Jet OLEDB:Remote Table Name")->setValue(Variant(u"Orders"));
        catalog->tables()->append(t);
    };
    add(u"LinkedAccess", u"Jet OLEDB:Link Datasource", u"/data/other.mdb");
    add(u"LinkedOdbc", u"Jet OLEDB:Link Provider String", u"ODBC;DSN=Sales;UID=me");
    reopen();
    auto access = table(u"LinkedAccess");
    EXPECT_EQ(access->type(), u"LINK");
    EXPECT_EQ(access->properties()->value(u"Jet OLEDB:Link Datasource"),
              Variant(u"/data/other.mdb"));
    EXPECT_EQ(access->properties()->value(u"Jet OLEDB:Remote Table Name"), Variant(u"Orders"));
    auto odbc = table(u"LinkedOdbc");
    EXPECT_EQ(odbc->type(), u"PASS-THROUGH");
    EXPECT_EQ(odbc->properties()->value(u"Jet OLEDB:Link Provider String"),
              Variant(u"DSN=Sales;UID=me"));
    auto db = openDao();
    EXPECT_EQ(db->tableDefs()->item(u"LinkedAccess")->attributes(), dao::tableAttachedTable);
    EXPECT_EQ(db->tableDefs()->item(u"LinkedOdbc")->attributes(), dao::tableAttachedOdbc);
    EXPECT_EQ(db->tableDefs()->item(u"LinkedOdbc")->connect(), u"ODBC;DSN=Sales;UID=me");
    db->close();
}

TEST_F(ObjectModel, ColumnsRowsetGivesOrdinalPositions) {
    EXPECT_EQ(rowset(ado::schemaColumns, {{}, {}, Variant(u"c"), {}},
                     {u"COLUMN_NAME", u"ORDINAL_POSITION", u"IS_NULLABLE"}),
              (std::vector<std::string>{"Id|1|-1", "PId|2|-1", "Price|3|-1", "Note|4|-1"}));
    EXPECT_EQ(rowset(ado::schemaColumns, {{}, {}, Variant(u"P"), Variant(u"Name")},
                     {u"TABLE_NAME", u"DATA_TYPE", u"CHARACTER_MAXIMUM_LENGTH"}),
              (std::vector<std::string>{"P|130|20"}));
    EXPECT_EQ(rowset(ado::schemaTableConstraints, {{}, {}, {}, {}, {}, Variant(u"P")},
                     {u"CONSTRAINT_NAME", u"CONSTRAINT_TYPE"}),
              (std::vector<std::string>{"PK_P|PRIMARY KEY"}));
    EXPECT_THROW(connection->openSchema(20, {}), EngineError);
}

TEST_F(ObjectModel, CheckConstraintsReadBackExactlyAsWritten) {
    exec(u"ALTER TABLE [C]\r\n\tADD CONSTRAINT [CK_Price]\r\n\tCHECK ( [Price] >= 0 And "
         u"[Price] < (SELECT Max([Id]) FROM [P]) );\r\n");
    reopen();
    EXPECT_EQ(rowset(ado::schemaCheckConstraints, {}, {u"CONSTRAINT_NAME", u"CHECK_CLAUSE"}),
              (std::vector<std::string>{
                  "CK_Price| [Price] >= 0 And [Price] < (SELECT Max([Id]) FROM [P]) "}));
    EXPECT_EQ(rowset(ado::schemaTableConstraints,
                     {{}, {}, {}, {}, {}, Variant(u"C"), Variant(u"CHECK")},
                     {u"TABLE_NAME", u"CONSTRAINT_NAME"}),
              (std::vector<std::string>{"C|CK_Price"}));
}

} // namespace enginetest

namespace enginetest {

TEST_F(ObjectModel, PropertiesStayUsableAfterTheObjectsTheyCameFrom) {
    // Each object of the chain is released at the end of the statement.
    auto rule = catalog->tables()->item(u"C")->columns()->item(u"Note")->properties()->item(
        u"Jet OLEDB:Column Validation Rule");
    auto db = openDao();
    auto format = db->tableDefs()->item(u"C")->fields()->item(u"Price")->createProperty(
        u"Format", 10, Variant(u"Fixed"));
    auto properties = db->tableDefs()->item(u"C")->fields()->item(u"Price")->properties();
    auto relationFields = db->createRelation(u"R")->fields();
    rule->setValue(Variant(u"Is Not Null"));
    properties->append(format);
    EXPECT_EQ(relationFields->count(), 0);
    db->close();
    EXPECT_EQ(property(column(u"C", u"Note"), u"Jet OLEDB:Column Validation Rule"),
              Variant(u"Is Not Null"));
    db = openDao();
    EXPECT_EQ(db->tableDefs()->item(u"C")->fields()->item(u"Price")->properties()->value(u"Format"),
              Variant(u"Fixed"));
    db->close();
}

TEST_F(ObjectModel, HiddenAndTemporaryTablesAndTableValidation) {
    auto properties = table(u"C")->properties();
    properties->item(u"Jet OLEDB:Table Hidden In Access")->setValue(Variant(true));
    properties->item(u"Temporary Table")->setValue(Variant(true));
    properties->item(u"Jet OLEDB:Table Validation Rule")->setValue(Variant(u"[Id] > 0"));
    EXPECT_EQ(failureOf([&] {
                  properties->item(u"Jet OLEDB:Link Datasource")->setValue(Variant(u"/x.mdb"));
              }),
              u"Property 'Jet OLEDB:Link Datasource' is read-only.");
    reopen();
    auto c = table(u"C")->properties();
    EXPECT_EQ(c->value(u"Jet OLEDB:Table Hidden In Access"), Variant(true));
    EXPECT_EQ(c->value(u"Temporary Table"), Variant(true));
    EXPECT_EQ(c->value(u"Jet OLEDB:Table Validation Rule"), Variant(u"[Id] > 0"));
    EXPECT_EQ(table(u"C")->columns()->count(), 4);
    auto db = openDao();
    EXPECT_EQ(db->tableDefs()->item(u"C")->attributes(), dao::tableHiddenObject);
    db->close();
}

} // namespace enginetest
