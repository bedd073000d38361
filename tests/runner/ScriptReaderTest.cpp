#include "TempDir.h"

#include "runner/sqlexecutor/SQLParser.h"
#include "runner/sqlexecutor/ScriptHelper.h"
#include "runner/stream/FileReader.h"
#include "runner/stream/StringStream.h"

#include "foundation/text/IOException.h"
#include "foundation/text/WideString.h"

#include <gtest/gtest.h>

using text::TextEncoding;
using namespace std::string_literals;

namespace {

std::u16string pathOf(const std::filesystem::path& path) {
    return text::fromUtf8(path.string());
}

std::vector<std::u16string> readLines(Libs::Stream::ITextStreamReader& reader) {
    std::vector<std::u16string> lines;
    while (reader.readLine())
        lines.emplace_back(reader.currentLine());
    return lines;
}

std::vector<std::u16string> fileLines(const std::filesystem::path& path) {
    FileReader reader(pathOf(path));
    EXPECT_TRUE(reader.open()) << text::toUtf8(reader.errorMessage());
    return readLines(reader);
}

std::u16string wholeFile(const std::filesystem::path& path) {
    FileReader reader(pathOf(path));
    std::u16string textRead;
    EXPECT_TRUE(reader.readAll(textRead)) << text::toUtf8(reader.errorMessage());
    return textRead;
}

// UTF-16 little-endian bytes of a text.
std::string utf16(std::u16string_view textToWrite) {
    std::string bytes;
    for (char16_t unit : textToWrite) {
        bytes += char(unit & 0xFF);
        bytes += char(unit >> 8);
    }
    return bytes;
}

using Lines = std::vector<std::u16string>;

} // namespace

TEST(StringStream, LinesKeepTheirEnds) {
    std::u16string script = u"a\nb";
    Libs::Text::StringStream stream(script);
    EXPECT_EQ(stream.size(), 3);
    EXPECT_EQ(readLines(stream), (Lines{u"a\n", u"b"}));
    EXPECT_FALSE(stream.readLine());

    std::u16string windows = u"x\r\n\r\ny\r";
    Libs::Text::StringStream crlf(windows);
    EXPECT_EQ(readLines(crlf), (Lines{u"x\r\n", u"\r\n", u"y\r"}));

    std::u16string empty;
    Libs::Text::StringStream none(empty);
    EXPECT_FALSE(none.readLine());
}

TEST(FileReader, Utf8MarkIsSkippedByBothPaths) {
    TempDir dir;
    auto path = dir.write("s.sql", "\xEF\xBB\xBFSELECT '\xC3\xA9';\r\nSELECT 2;\r\n");
    FileReader reader(pathOf(path));
    ASSERT_TRUE(reader.open());
    EXPECT_EQ(reader.encoding(), TextEncoding::UTF8);
    EXPECT_EQ(reader.size(), 3 + 14 + 11);
    EXPECT_EQ(readLines(reader), (Lines{u"SELECT '\u00e9';\n", u"SELECT 2;\n"}));
    EXPECT_TRUE(reader.close());
    EXPECT_EQ(wholeFile(path), u"SELECT '\u00e9';\r\nSELECT 2;\r\n");
}

TEST(FileReader, Utf16MarkIsSkippedByBothPaths) {
    TempDir dir;
    // U+010A and U+0A00 hold the byte 0A without being line feeds.
    std::u16string content = u"\u010A\u0A00;\r\n\U0001F600 x\n";
    auto path = dir.write("s.sql", "\xFF\xFE" + utf16(content));
    FileReader reader(pathOf(path));
    ASSERT_TRUE(reader.open());
    EXPECT_EQ(reader.encoding(), TextEncoding::UTF16);
    EXPECT_EQ(readLines(reader), (Lines{u"\u010A\u0A00;\n", u"\U0001F600 x\n"}));
    EXPECT_EQ(wholeFile(path), content);
}

TEST(FileReader, MarklessBytesAreCodePointsOnTheLinePathAndAnsiOnTheWholePath) {
    TempDir dir;
    auto path = dir.write("s.sql", "\xE9\x80\n");
    FileReader reader(pathOf(path));
    ASSERT_TRUE(reader.open());
    EXPECT_EQ(reader.encoding(), TextEncoding::ASCII);
    EXPECT_EQ(readLines(reader), (Lines{u"\u00e9\u0080\n"}));
    EXPECT_EQ(wholeFile(path), u"\u00e9\u20ac\n");

    // Shorter than the UTF-8 mark: two characters of ANSI text.
    auto partialMark = dir.write("mark.sql", "\xEF\xBB");
    EXPECT_EQ(fileLines(partialMark), (Lines{u"\u00ef\u00bb"}));
    EXPECT_EQ(wholeFile(partialMark), u"\u00ef\u00bb");
}

TEST(FileReader, BigEndianMarkCannotBeOpened) {
    TempDir dir;
    auto path = dir.write("be.sql", "\xFE\xFF\x00\x41");
    std::u16string expected = u"Can't open file " + pathOf(path);
    FileReader lines(pathOf(path));
    EXPECT_FALSE(lines.open());
    EXPECT_EQ(lines.errorMessage(), expected);
    EXPECT_FALSE(lines.readLine());

    FileReader whole(pathOf(path));
    std::u16string textRead;
    EXPECT_FALSE(whole.readAll(textRead));
    EXPECT_EQ(whole.errorMessage(), expected);
}

TEST(FileReader, MissingFile) {
    TempDir dir;
    auto path = pathOf(dir.file("missing.sql"));
    FileReader reader(path);
    EXPECT_FALSE(reader.open());
    EXPECT_EQ(reader.errorMessage(), u"Can't open file " + path);
}

TEST(FileReader, LongLinesAndTheLastLineWithoutLineFeed) {
    TempDir dir;
    std::string longLine(100000, 'x');
    auto path = dir.write("long.sql", "a\r\n" + longLine + "\n\n" + longLine + "y");
    std::u16string wide(100000, u'x');
    EXPECT_EQ(fileLines(path), (Lines{u"a\n", wide + u"\n", u"\n", wide + u"y"}));

    // A line longer than a read-ahead block in UTF-16 keeps its units aligned.
    auto utf16Path = dir.write("long16.sql", "\xFF\xFE" + utf16(wide + u"\u0A0A\r\nz"));
    EXPECT_EQ(fileLines(utf16Path), (Lines{wide + u"\u0A0A\n", u"z"}));
}

TEST(FileReader, EmptyFileHasNoLineAndLoadsAsAFailureWithoutMessage) {
    TempDir dir;
    auto path = dir.write("empty.sql", "");
    EXPECT_TRUE(fileLines(path).empty());
    FileReader reader(pathOf(path));
    std::u16string textRead = u"old";
    EXPECT_FALSE(reader.readAll(textRead));
    EXPECT_EQ(reader.errorMessage(), u"");

    // A file of only a mark has no line either.
    EXPECT_TRUE(fileLines(dir.write("mark.sql", "\xFF\xFE")).empty());
}

TEST(FileReader, FeedsTheParser) {
    TempDir dir;
    auto path = dir.write("s.sql", "\xFF\xFE" + utf16(u"-- c\r\nDROP FORM\r\n [F];\r\nSELECT 1"));
    FileReader reader(pathOf(path));
    ASSERT_TRUE(reader.open());
    SQLExecutor::SQLParser parser(reader);
    auto first = parser.next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text(), u"DROP FORM [F]");
    EXPECT_EQ(first->lineNumber(), 2);
    auto last = parser.next();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->text(), u"SELECT 1");
    EXPECT_FALSE(parser.next());
    // Line feeds count once: the reader delivers "\r\n" as "\n".
    EXPECT_EQ(parser.charactersRead(), 5 + 10 + 6 + 8);
}

TEST(ScriptHelper, SavesInTheEncodingItLoaded) {
    TempDir dir;
    std::string utf16File = "\xFF\xFE" + utf16(u"SELECT '\u20ac';\r\n");
    auto path = dir.write("s.sql", utf16File);
    SQLExecutor::ScriptHelper helper;
    ASSERT_TRUE(helper.load(pathOf(path)));
    EXPECT_EQ(helper.encoding(), TextEncoding::UTF16);
    EXPECT_EQ(helper.text(), u"SELECT '\u20ac';\r\n");
    std::u16string edited = helper.text();
    helper.clearText();
    EXPECT_TRUE(helper.text().empty());
    helper.save(edited);
    EXPECT_EQ(readBytes(path), utf16File);

    auto copy = dir.file("copy.sql");
    helper.setPath(pathOf(copy));
    helper.save(u"A");
    EXPECT_EQ(readBytes(copy), "\xFF\xFE"
                               "A\0"s);
}

TEST(ScriptHelper, NeverLoadedScriptIsSavedAsAnsi) {
    TempDir dir;
    SQLExecutor::ScriptHelper helper;
    EXPECT_EQ(helper.encoding(), TextEncoding::ASCII);
    helper.setPath(pathOf(dir.file("new.sql")));
    helper.save(u"\u20ac\u4e00\r\n");
    EXPECT_EQ(readBytes(dir.file("new.sql")), "\x80?\r\n");
}

TEST(ScriptHelper, FailuresKeepTheReadersMessage) {
    TempDir dir;
    SQLExecutor::ScriptHelper helper;
    std::u16string missing = pathOf(dir.file("missing.sql"));
    EXPECT_FALSE(helper.load(missing));
    EXPECT_TRUE(helper.hasError());
    EXPECT_EQ(helper.errorMessage(), u"Can't open file " + missing);

    helper.setPath(pathOf(dir.file("no/such/dir.sql")));
    try {
        helper.save(u"x");
        FAIL() << "saved into a missing directory";
    } catch (const text::IOException& error) {
        EXPECT_EQ(error.message(), u"Can't create file.");
    }

    ASSERT_TRUE(helper.load(pathOf(dir.write("ok.sql", "x"))));
    EXPECT_FALSE(helper.hasError());
}
