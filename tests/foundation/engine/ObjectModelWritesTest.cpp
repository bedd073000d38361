#include "DataFixture.h"

#include <cmath>

namespace enginetest {

// The object-model writes of the script runner, each read back, on a table whose rows must
// survive every rebuild.
class ObjectModelWrites : public DataFixture {
protected:
    static constexpr int rowCount = 40;

    void SetUp() override {
        DataFixture::SetUp();
        exec(u"CREATE TABLE [P] ([Id] LONG CONSTRAINT [PK_P] PRIMARY KEY)");
        exec(u"CREATE TABLE [R] ([Id] LONG CONSTRAINT [PK_R] PRIMARY KEY, [PId] LONG, "
             u"[Name] TEXT(20), [Qty] LONG, [Total] DOUBLE, [Note] MEMO, [Raw] LONGBINARY)");
        run(u"INSERT INTO [P] ([Id]) VALUES (1)");
        for (int i = 0; i < rowCount; ++i)
            run(u"INSERT INTO [R] ([Id], [PId], [Name], [Qty], [Total], [Note], [Raw]) "
                u"VALUES (?, 1, ?, ?, ?, ?, ?)",
                {Variant(std::int32_t(i)), Variant(name(i)), Variant(std::int32_t(i * 3)),
                 Variant(i % 7 == 0 ? std::nan("") : i / 4.0), Variant(note(i)),
                 Variant(Variant::Bytes{std::uint8_t(i), 0, 0xFF})});
    }

    static std::u16string name(int i) { return u"name\r\n" + text::toWString(i); }
    static std::u16string note(int i) {
        return u"line one\r\nline \"" + text::toWString(i) + u"\"\rend\n";
    }

    // Every row is there with the values it was inserted with.
    void expectRows(const char* after) {
        SCOPED_TRACE(after);
        auto rs = open(u"SELECT * FROM [R] ORDER BY [Id]");
        int i = 0;
        for (; !rs->eof(); rs->moveNext(), ++i) {
            auto fields = rs->fields();
            EXPECT_EQ(fields->item(u"Id")->value().toInt(), i);
            EXPECT_EQ(fields->item(u"Name")->value(), Variant(name(i)));
            EXPECT_EQ(fields->item(u"Qty")->value().toDouble(), i * 3.0);
            EXPECT_EQ(fields->item(u"Note")->value(), Variant(note(i)));
            EXPECT_EQ(fields->item(u"Raw")->value(),
                      Variant(Variant::Bytes{std::uint8_t(i), 0, 0xFF}));
        }
        EXPECT_EQ(i, rowCount);
    }

    std::shared_ptr<dao::Database> openDao() {
        return components().createDBEngine(daoClassId)->openDatabase(u16(path), {}, false, u"");
    }

    // The runner's property rule: set the value, else delete and create the property.
    void setFieldProperty(const std::u16string& field, const std::u16string& name, int type,
                          const Variant& value) {
        auto db = openDao();
        auto f = db->tableDefs()->item(u"R")->fields()->item(field);
        try {
            f->properties()->item(name)->setValue(value);
        } catch (const EngineError&) {
            try {
                f->properties()->remove(name);
            } catch (const EngineError&) {
            }
            f->properties()->append(f->createProperty(name, type, value));
        }
        db->close();
    }
};

TEST_F(ObjectModelWrites, CalculatedColumnRebuildKeepsEveryRow) {
    setFieldProperty(u"Total", u"Format", 10, Variant(u"Fixed"));
    auto db = openDao();
    auto fields = db->tableDefs()->item(u"R")->fields();
    auto old = fields->item(u"Total");
    auto rebuilt = db->tableDefs()->item(u"R")->createField({}, {}, {});
    auto from = old->properties();
    for (int i = 0; i < from->count(); ++i) {
        if (from->item(i)->name() == u"Expression")
            continue;
        try {
            rebuilt->properties()->item(i)->setValue(from->item(i)->value());
        } catch (const EngineError&) {
        }
    }
    fields->remove(u"Total");
    rebuilt->properties()->item(u"Expression")->setValue(Variant(u"[Qty] * 2"));
    fields->append(rebuilt);
    db->close();

    expectRows("the calculated column's rebuild");
    db = openDao();
    auto total = db->tableDefs()->item(u"R")->fields()->item(u"Total");
    EXPECT_EQ(total->type(), 7);
    EXPECT_EQ(total->properties()->value(u"Expression"), Variant(u"[Qty] * 2"));
    EXPECT_EQ(db->tableDefs()->item(u"R")->fields()->count(), 7);
    db->close();
    EXPECT_EQ(select(u"SELECT Count(*) FROM [R] WHERE [Total] IS NULL"),
              (std::vector<std::string>{"40"}));
}

TEST_F(ObjectModelWrites, ColumnRebuildsAndPropertyWritesKeepEveryRow) {
    exec(u"ALTER TABLE [R] ALTER COLUMN [Qty] DOUBLE");
    expectRows("a type change");
    exec(u"ALTER TABLE [R] ADD COLUMN [Extra] TEXT(5) NOT NULL DEFAULT \"e\"");
    EXPECT_EQ(select(u"SELECT DISTINCT [Extra] FROM [R]"), (std::vector<std::string>{"e"}));
    exec(u"ALTER TABLE [R] DROP COLUMN [Extra]");
    expectRows("adding and dropping a column");
    exec(u"ALTER TABLE [R] ADD CONSTRAINT [FK_R] FOREIGN KEY ([PId]) REFERENCES [P] ([Id])");
    expectRows("a foreign key");

    auto name = column(u"R", u"Name")->properties();
    name->item(u"Jet OLEDB:Allow Zero Length")->setValue(Variant(std::int16_t(-1)));
    name->item(u"Jet OLEDB:Column Validation Rule")->setValue(Variant(u"Is Not Null"));
    setFieldProperty(u"Qty", u"DecimalPlaces", 3, Variant(std::int32_t(255)));
    setFieldProperty(u"Qty", u"DecimalPlaces", 3, Variant(std::int32_t(2)));
    setFieldProperty(u"Qty", u"Format", 10, Variant(u"Standard"));
    auto db = openDao();
    auto qty = db->tableDefs()->item(u"R")->fields()->item(u"Qty");
    qty->setDefaultValue(Variant(u"7"));
    qty->properties()->remove(u"Format");
    db->close();
    expectRows("property writes");

    db = openDao();
    qty = db->tableDefs()->item(u"R")->fields()->item(u"Qty");
    EXPECT_EQ(qty->properties()->value(u"DecimalPlaces"), Variant(std::int16_t(2))); // type 3
    EXPECT_THROW(qty->properties()->item(u"Format"), EngineError);
    EXPECT_EQ(qty->defaultValue(), Variant(u"7"));
    db->close();
    EXPECT_EQ(property(column(u"R", u"Name"), u"Jet OLEDB:Allow Zero Length"), Variant(true));
    // The new default fills a row that leaves the column out; the new rule and key hold.
    run(u"INSERT INTO [R] ([Id], [PId], [Name]) VALUES (100, 1, '')");
    EXPECT_EQ(single(u"SELECT [Qty] FROM [R] WHERE [Id] = 100"), Variant(7.0));
    EXPECT_EQ(runFailure(u"INSERT INTO [R] ([Id], [PId], [Name]) VALUES (101, 2, 'x')"),
              u"You cannot add or change a record because a related record is required in "
              u"table 'P'.");
    EXPECT_EQ(runFailure(u"DELETE FROM [P]"),
              u"The record cannot be deleted or changed because table 'R' includes related "
              u"records.");
}

TEST_F(ObjectModelWrites, RelationsOfTheRunnerAreEnforcedAsWritten) {
    exec(u"CREATE TABLE [Q] ([Id] LONG, [RId] LONG)");
    run(u"INSERT INTO [Q] ([Id], [RId]) VALUES (1, 5)");
    auto db = openDao();
    auto relation = db->createRelation(u"FK_Q");
    relation->setTable(u"R");
    relation->setForeignTable(u"Q");
    relation->setAttributes(dao::relationUnique | dao::relationUpdateCascade |
                            dao::relationDeleteCascade);
    auto field = relation->createField(Variant(u"Id"), {}, {});
    field->setForeignName(u"RId");
    relation->fields()->append(field);
    db->relations()->append(relation);
    db->close();

    db = openDao();
    EXPECT_EQ(db->relations()->item(u"FK_Q")->attributes(), 0x1 | 0x100 | 0x1000);
    db->close();
    EXPECT_EQ(run(u"UPDATE [R] SET [Id] = 500 WHERE [Id] = 5"), 1);
    EXPECT_EQ(select(u"SELECT [RId] FROM [Q]"), (std::vector<std::string>{"500"}));
    EXPECT_EQ(run(u"DELETE FROM [R] WHERE [Id] = 500"), 1);
    EXPECT_EQ(select(u"SELECT Count(*) FROM [Q]"), (std::vector<std::string>{"0"}));
}

} // namespace enginetest
