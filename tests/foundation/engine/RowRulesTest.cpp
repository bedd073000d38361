#include "DataFixture.h"

namespace enginetest {

// What a row must satisfy before a change is kept, and the messages when it does not.
class RowChecks : public DataFixture {
protected:
    static std::u16string prohibited(const std::u16string& rule, const std::u16string& owner) {
        return u"One or more values are prohibited by the validation rule '" + rule +
               u"' set for '" + owner +
               u"'. Enter a value that the expression for this field can accept.";
    }
};

TEST_F(RowChecks, RequiredZeroLengthSizesAndTypesRefuseRows) {
    exec(u"CREATE TABLE [T] ([Id] LONG CONSTRAINT [PK] PRIMARY KEY, [Name] TEXT(5) NOT NULL, "
         u"[Code] CHAR(3), [Qty] BYTE, [Raw] BINARY(2))");
    const std::u16string required = u"Field 'T.Name' cannot contain a Null value because the "
                                    u"Required property for this field is set to True. Enter a "
                                    u"value in this field.";
    const std::u16string mismatch = u"Data type mismatch in criteria expression.";
    const std::u16string tooSmall = u"The field is too small to accept the amount of data you "
                                    u"attempted to add. Try inserting or pasting less data.";
    EXPECT_EQ(runFailure(u"INSERT INTO [T] ([Id]) VALUES (1)"), required);
    EXPECT_EQ(runFailure(u"INSERT INTO [T] ([Id], [Name]) VALUES (1, ?)", {Variant::null()}),
              required);
    EXPECT_EQ(runFailure(u"INSERT INTO [T] ([Id], [Name]) VALUES (1, '')"),
              u"Field 'T.Name' cannot be a zero-length string.");
    EXPECT_EQ(runFailure(u"INSERT INTO [T] ([Name]) VALUES ('x')"),
              u"Index or primary key cannot contain a Null value.");
    EXPECT_EQ(runFailure(u"INSERT INTO [T] ([Id], [Name]) VALUES (1, 'sixsix')"), tooSmall);
    EXPECT_EQ(runFailure(u"INSERT INTO [T] ([Id], [Name], [Raw]) VALUES (1, 'a', ?)",
                         {Variant(Variant::Bytes{1, 2, 3})}),
              tooSmall);
    EXPECT_EQ(runFailure(u"INSERT INTO [T] ([Id], [Name], [Qty]) VALUES (1, 'a', 256)"),
              u"Numeric field overflow.");
    EXPECT_EQ(runFailure(u"INSERT INTO [T] ([Id], [Name], [Qty]) VALUES (1, 'a', 'many')"),
              mismatch);
    EXPECT_EQ(runFailure(u"INSERT INTO [T] ([Id], [Name], [Qty]) VALUES (1, 'a', ?)",
                         {Variant(Variant::Bytes{1})}),
              mismatch);
    EXPECT_EQ(runFailure(u"INSERT INTO [T] ([Id], [Name], [Qty]) VALUES (1, 'a', 1 / 0)"),
              u"Division by zero.");
    EXPECT_EQ(select(u"SELECT * FROM [T]"), std::vector<std::string>{});

    // Fixed-length text is padded; a number is rounded half to even into an integer column.
    run(u"INSERT INTO [T] ([Id], [Name], [Code], [Qty]) VALUES (1, 'a', 'x', 2.5)");
    run(u"INSERT INTO [T] ([Id], [Name], [Code], [Qty]) VALUES (2, 'b', 'yz', '3.5')");
    EXPECT_EQ(select(u"SELECT [Code] & '|', [Qty] FROM [T] ORDER BY [Id]"),
              (std::vector<std::string>{"x  ||2", "yz ||4"}));
    EXPECT_EQ(runFailure(u"INSERT INTO [T] ([Id], [Name]) VALUES (1, 'c')"),
              u"The changes you requested to the table were not successful because they would "
              u"create duplicate values in the index, primary key, or relationship. Change the "
              u"data in the field or fields that contain duplicate data, remove the index, or "
              u"redefine the index to permit duplicate entries and try again.");
    EXPECT_EQ(runFailure(u"UPDATE [T] SET [Name] = Null WHERE [Id] = 2"), required);

    // Once zero-length strings are allowed, they go in.
    column(u"T", u"Name")
        ->properties()
        ->item(u"Jet OLEDB:Allow Zero Length")
        ->setValue(Variant(true));
    EXPECT_EQ(run(u"UPDATE [T] SET [Name] = ''"), 2);
    EXPECT_EQ(select(u"SELECT Len([Name]), [Name] IS NULL FROM [T]"),
              (std::vector<std::string>{"0|0", "0|0"}));
}

TEST_F(RowChecks, ValidationRulesAndChecksRefuseRowsWithTheirTexts) {
    exec(u"CREATE TABLE [V] ([Id] LONG, [Qty] LONG, [Code] TEXT(10), [Start] DATETIME, "
         u"[End] DATETIME)");
    exec(u"ALTER TABLE [V] ADD CONSTRAINT [CK_Id] CHECK ([Id] < 100)");
    auto qty = column(u"V", u"Qty")->properties();
    qty->item(u"Jet OLEDB:Column Validation Rule")->setValue(Variant(u">0"));
    qty->item(u"Jet OLEDB:Column Validation Text")->setValue(Variant(u"Qty must be positive."));
    column(u"V", u"Code")
        ->properties()
        ->item(u"Jet OLEDB:Column Validation Rule")
        ->setValue(Variant(u"Like \"A*\" Or Is Null"));
    table(u"V")
        ->properties()
        ->item(u"Jet OLEDB:Table Validation Rule")
        ->setValue(Variant(u"[Start] <= [End]"));

    run(u"INSERT INTO [V] ([Id], [Qty], [Code], [Start], [End]) VALUES (1, 5, 'Abc', "
        u"#1/1/2024#, #1/2/2024#)");
    run(u"INSERT INTO [V] ([Id]) VALUES (2)"); // a null passes every rule
    EXPECT_EQ(runFailure(u"INSERT INTO [V] ([Id], [Qty]) VALUES (3, 0)"), u"Qty must be positive.");
    EXPECT_EQ(runFailure(u"INSERT INTO [V] ([Id], [Code]) VALUES (3, 'xyz')"),
              prohibited(u"Like \"A*\" Or Is Null", u"V.Code"));
    EXPECT_EQ(runFailure(u"UPDATE [V] SET [End] = #12/31/2023# WHERE [Id] = 1"),
              prohibited(u"[Start] <= [End]", u"V"));
    EXPECT_EQ(runFailure(u"INSERT INTO [V] ([Id]) VALUES (100)"), prohibited(u"CK_Id", u"V"));
    // Every row of a statement is checked, not only the first.
    EXPECT_EQ(runFailure(u"UPDATE [V] SET [Qty] = [Id] - 2"), u"Qty must be positive.");
    table(u"V")
        ->properties()
        ->item(u"Jet OLEDB:Table Validation Text")
        ->setValue(Variant(u"Start after end."));
    EXPECT_EQ(runFailure(u"INSERT INTO [V] ([Id], [Start], [End]) VALUES (4, Now(), Now() - 1)"),
              u"Start after end.");
    EXPECT_EQ(select(u"SELECT [Id], [Qty], [End] FROM [V] ORDER BY [Id]"),
              (std::vector<std::string>{"1|5|01/02/2024", "2|NULL|NULL"}));

    // A rule the engine cannot evaluate is not enforced.
    column(u"V", u"Code")
        ->properties()
        ->item(u"Jet OLEDB:Column Validation Rule")
        ->setValue(Variant(u"DLookUp(\"x\", \"y\") = [Code]"));
    EXPECT_EQ(run(u"INSERT INTO [V] ([Id], [Code]) VALUES (5, 'zzz')"), 1);
}

} // namespace enginetest
