#include "report/TextDiffAdapter.h"
#include "foundation/text/WideString.h"
#include "report/diff/Diff.h"
#include "tests/compare/SchemaFixture.h"

#include <gtest/gtest.h>

using namespace fixture;

namespace {

TEST(TextDiffAdapter, TablePartsGiveTheirCreatingStatements) {
    Table t(u"T");
    Field& name = field(t, {.name = u"Name", .type = 202, .length = 40, .allowZeroLength = true});
    name.setFormat(u">");
    EXPECT_EQ(diffText(name), u"ALTER TABLE [T]\r\n\tADD COLUMN [Name] TEXT(40) NOT NULL;\r\n"
                              u"ALTER TABLE [T] ALLOW ZERO LENGTH [Name];\r\n"
                              u"ALTER TABLE [T] FORMAT [Name] SET \">\";\r\n");

    field(t, {.name = u"Id", .type = 3});
    EXPECT_EQ(diffText(index(t, u"IX", {u"Name", u"Id"}, false, true, 1)),
              u"CREATE UNIQUE INDEX [IX]\r\n\tON [T] ([Name], [Id])\r\n\tWITH DISALLOW NULL;\r\n");
    EXPECT_EQ(diffText(key(t, {.name = u"PK", .columns = {{u"Id", nullptr}}})),
              u"ALTER TABLE [T]\r\n\tADD CONSTRAINT [PK]\r\n\t PRIMARY KEY ([Id]);\r\n");
    EXPECT_EQ(diffText(check(t, u"C", u"[Id] > 0")),
              u"ALTER TABLE [T]\r\n\tADD CONSTRAINT [C]\r\n\tCHECK ([Id] > 0);\r\n");
}

TEST(TextDiffAdapter, ForeignKeysAreIncluded) {
    Table t(u"Child");
    Key& foreign = key(t, {.name = u"FK",
                           .type = Key::Foreign,
                           .relatedTable = u"Parent",
                           .columns = {{u"ParentId", u"Id"}},
                           .deleteRule = Key::RuleCascade});
    EXPECT_EQ(diffText(foreign), u"ALTER TABLE [Child]\r\n\tADD CONSTRAINT [FK]\r\n\tFOREIGN KEY "
                                 u"([ParentId]) REFERENCES\r\n\t\t[Parent] ([Id])\r\n\tON DELETE "
                                 u"CASCADE;\r\n");
}

TEST(TextDiffAdapter, TableGivesCreateTableWithWhatItWritesItself) {
    Table t(u"T");
    field(t, {.name = u"Id", .type = 3, .autoincrement = true});
    field(t, {.name = u"Files", .type = 101, .nullable = true});
    key(t, {.name = u"PK", .columns = {{u"Id", nullptr}}});
    key(t,
        {.name = u"FK", .type = Key::Foreign, .relatedTable = u"P", .columns = {{u"Id", u"Id"}}});
    std::u16string sql = diffText(t);
    EXPECT_EQ(sql.find(u"CREATE TABLE [T] (\r\n\t[Id] AUTOINCREMENT,\r\n\tCONSTRAINT [PK] PRIMARY "
                       u"KEY ([Id])\r\n);\r\n"),
              0u)
        << text::toUtf8(sql);
    EXPECT_NE(sql.find(u"ADD COLUMN [Files] ATTACHMENT;"), std::u16string::npos);
    // Foreign keys of a table belong to the planner, not to CREATE TABLE.
    EXPECT_EQ(sql.find(u"FOREIGN KEY"), std::u16string::npos);
}

TEST(TextDiffAdapter, LinkedTablesNameTheirKindOfSource) {
    EXPECT_EQ(diffText(TableLinkedAccess(u"L", u"Remote", u"C:\\other.mdb")),
              u"LINK TABLE [L]\r\n\tTO [Remote]\r\n\tSRC \"C:\\other.mdb\";\r\n");
    EXPECT_EQ(diffText(TableLinkedODBC(u"O", u"dbo.T", u"ODBC;DSN=x")),
              u"LINK TABLE [O]\r\n\tTO [dbo.T]\r\n\tODBC \"ODBC;DSN=x\";\r\n");
}

TEST(TextDiffAdapter, QueriesGiveTheirStoredText) {
    EXPECT_EQ(diffText(View(u"V", u"SELECT *\r\nFROM t;")), u"SELECT *\r\nFROM t;");
    EXPECT_EQ(diffText(Procedure(u"P", u"PARAMETERS a Long;\r\nDELETE FROM t WHERE id=a;")),
              u"PARAMETERS a Long;\r\nDELETE FROM t WHERE id=a;");
    EXPECT_EQ(diffText(EmptyElement::instance()), u"");
}

TEST(TextDiffAdapter, DocumentsAreDecodedByTheirByteOrderMark) {
    using Bytes = Entity::AbstractAccessDocument::Bytes;
    // "é€" in UTF-8, in UTF-16 little-endian, and as Windows-1252 bytes without a mark.
    Entity::Form utf8(u"F", Bytes{0xEF, 0xBB, 0xBF, 'a', 0xC3, 0xA9, 0xE2, 0x82, 0xAC});
    Entity::Report utf16(u"R",
                         Bytes{0xFF, 0xFE, 'a', 0, 0xE9, 0, 0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE});
    Entity::Module ansi(u"M", Bytes{'a', 0xE9, 0x80});
    Entity::Macro empty(u"E", Bytes{});
    EXPECT_EQ(diffText(utf8), u"aé€");
    EXPECT_EQ(diffText(utf16), u"aé€\U0001F600");
    EXPECT_EQ(diffText(ansi), u"aé€");
    EXPECT_EQ(diffText(empty), u"");
}

TEST(TextDiffAdapter, DataMacrosAreReindentedByFourSpaces) {
    Table t(u"T");
    EXPECT_EQ(diffText(dataMacro(t, "")), u"");
    EXPECT_EQ(diffText(dataMacro(t, "<DataMacros><DataMacro Event=\"AfterInsert\"><Statements>"
                                    "<Action Name=\"SetLocalVar\"/></Statements></DataMacro>"
                                    "</DataMacros>")),
              u"<?xml version=\"1.0\"?>\n"
              u"<DataMacros>\n"
              u"    <DataMacro Event=\"AfterInsert\">\n"
              u"        <Statements>\n"
              u"            <Action Name=\"SetLocalVar\" />\n"
              u"        </Statements>\n"
              u"    </DataMacro>\n"
              u"</DataMacros>\n");
}

TEST(TextDiffAdapter, DataMacroEncodingIsDetected) {
    // Access exports data macros as UTF-16 with a byte-order mark. The default parse drops
    // the declaration, and saving writes a plain one.
    std::u16string xml = u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><m a=\"é\"/>";
    std::string bytes = "\xFF\xFE";
    for (char16_t c : xml) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    Table t(u"T");
    EXPECT_EQ(diffText(dataMacro(t, bytes)), u"<?xml version=\"1.0\"?>\n<m a=\"é\" />\n");
}

TEST(TextDiffAdapter, MalformedDataMacroKeepsWhatWasParsed) {
    Table t(u"T");
    std::u16string sql = diffText(dataMacro(t, "<a><b>text</b><c>"));
    EXPECT_NE(sql.find(u"<b>text</b>"), std::u16string::npos) << text::toUtf8(sql);
}

TEST(TextDiffAdapter, DiffOfTwoViewsMarksTheChangedWord) {
    View before(u"V", u"SELECT name FROM t");
    View after(u"V", u"SELECT city FROM t");
    diff::Segments segments = diff::computeDiff(diffText(before), diffText(after));
    ASSERT_EQ(segments.size(), 4u);
    EXPECT_EQ(segments[0], (diff::Segment{diff::Operation::Equal, u"SELECT "}));
    EXPECT_EQ(segments[1], (diff::Segment{diff::Operation::Delete, u"name"}));
    EXPECT_EQ(segments[2], (diff::Segment{diff::Operation::Insert, u"city"}));
    EXPECT_EQ(segments[3], (diff::Segment{diff::Operation::Equal, u" FROM t"}));

    // A field only in the second database: its whole definition as one insertion.
    Table t(u"T");
    Field& added = textField(t, u"F");
    segments = diff::computeDiff(diffText(EmptyElement::instance()), diffText(added));
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_EQ(segments[0].operation, diff::Operation::Insert);
    EXPECT_EQ(segments[0].text, diffText(added));
}

} // namespace
