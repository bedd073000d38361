#include "comparer/CommandLineArguments.h"

#include <gtest/gtest.h>

namespace {

struct Parsed {
    bool ok;
    CommandLineArguments arguments;
};

Parsed parse(std::vector<std::u16string> words) {
    words.insert(words.begin(), u"kelvor");
    CommandLineArguments arguments(std::move(words));
    bool ok = arguments.parse();
    return {ok, std::move(arguments)};
}

void expectUsage(const Parsed& p, RunMode mode) {
    EXPECT_FALSE(p.ok);
    EXPECT_TRUE(p.arguments.hasError());
    EXPECT_EQ(p.arguments.usage(), CommandLineArguments::usageText());
    EXPECT_EQ(p.arguments.mode(), mode);
}

} // namespace

TEST(CommandLineArguments, UsageTextIsExact) {
    EXPECT_EQ(CommandLineArguments::usageText(),
              u"Usage:\r\n\r\nKelvor <database1> <database2> [/title1 \"title1\"] [/title2 "
              u"\"title2\"] \r\n\r\nor\r\n\r\nKelvor <database1> <database2> <sql file> "
              u"[/utf8] [/utf16] [/e]\r\n/utf8 - write sql as utf8 file\r\n/utf16 - write sql "
              u"as utf16 file\r\n/e  - show an error message in the console");
}

TEST(CommandLineArguments, NoArgumentsOrNoWordsOpenAnEmptyWindow) {
    Parsed p = parse({});
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.arguments.mode(), RunMode::NoDatabases);
    EXPECT_TRUE(p.arguments.usage().empty());

    CommandLineArguments missing({});
    EXPECT_TRUE(missing.parse());
    EXPECT_EQ(missing.mode(), RunMode::NoDatabases);
}

TEST(CommandLineArguments, OneArgumentShowsUsageButKeepsTheMode) {
    expectUsage(parse({u"/?"}), RunMode::NoDatabases);
    expectUsage(parse({u"a.mdb"}), RunMode::NoDatabases);
}

TEST(CommandLineArguments, TwoDatabasesOpenTheWindowOnThem) {
    Parsed p = parse({u"first.mdb", u"/second.accdb"});
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.arguments.mode(), RunMode::OpenDatabases);
    EXPECT_EQ(p.arguments.firstDatabase(), u"first.mdb");
    EXPECT_EQ(p.arguments.secondDatabase(), u"/second.accdb");
    EXPECT_TRUE(p.arguments.firstTitle().empty());
    EXPECT_TRUE(p.arguments.secondTitle().empty());
}

TEST(CommandLineArguments, TitlesInEitherOrderAndAnyCase) {
    Parsed p = parse({u"a.mdb", u"b.mdb", u"/TITLE2", u"Second", u"/Title1", u"First"});
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.arguments.mode(), RunMode::OpenDatabases);
    EXPECT_EQ(p.arguments.firstTitle(), u"First");
    EXPECT_EQ(p.arguments.secondTitle(), u"Second");
    EXPECT_TRUE(p.arguments.scriptPath().empty());

    // A title given twice keeps the last value; the other stays empty.
    p = parse({u"a.mdb", u"b.mdb", u"/title1", u"x", u"/title1", u"y"});
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.arguments.firstTitle(), u"y");
    EXPECT_TRUE(p.arguments.secondTitle().empty());
}

TEST(CommandLineArguments, TitleFormNeedsBothOptionPairs) {
    // Only "/title1 x": read as the script form with "/title1" as the script path, which then
    // fails on the value.
    expectUsage(parse({u"a.mdb", u"b.mdb", u"/title1", u"x"}), RunMode::ShowUsage);
    expectUsage(parse({u"a.mdb", u"b.mdb", u"/title1", u"x", u"/e", u"y"}), RunMode::ShowUsage);
    expectUsage(parse({u"a.mdb", u"b.mdb", u"/title1", u"x", u"/title2", u"y", u"z"}),
                RunMode::ShowUsage);
}

TEST(CommandLineArguments, ScriptFormCollectsSwitchesInAnyCaseAndOrder) {
    Parsed p = parse({u"a.mdb", u"b.mdb", u"out.sql"});
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.arguments.mode(), RunMode::WriteScript);
    EXPECT_EQ(p.arguments.scriptPath(), u"out.sql");
    EXPECT_FALSE(p.arguments.utf8() || p.arguments.utf16() || p.arguments.console());

    p = parse({u"a.mdb", u"b.mdb", u"out.sql", u"/E"});
    EXPECT_TRUE(p.ok);
    EXPECT_TRUE(p.arguments.console());
    EXPECT_FALSE(p.arguments.utf8() || p.arguments.utf16());

    p = parse({u"a.mdb", u"b.mdb", u"out.sql", u"/UTF16", u"/e", u"/utf8", u"/Utf16", u"/e"});
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.arguments.mode(), RunMode::WriteScript);
    EXPECT_TRUE(p.arguments.utf8() && p.arguments.utf16() && p.arguments.console());
}

TEST(CommandLineArguments, UnknownWordAfterTheScriptShowsUsage) {
    expectUsage(parse({u"a.mdb", u"b.mdb", u"out.sql", u"/utf8", u"/y"}), RunMode::ShowUsage);
    expectUsage(parse({u"a.mdb", u"b.mdb", u"out.sql", u"extra.sql"}), RunMode::ShowUsage);
}

TEST(CommandLineArguments, AbsoluteScriptPathWithThreeSwitchesIsTheScriptForm) {
    Parsed p = parse({u"a.mdb", u"b.mdb", u"/tmp/s.sql", u"/utf8", u"/utf16", u"/e"});
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.arguments.mode(), RunMode::WriteScript);
    EXPECT_EQ(p.arguments.scriptPath(), u"/tmp/s.sql");
    EXPECT_TRUE(p.arguments.utf8() && p.arguments.utf16() && p.arguments.console());
    EXPECT_TRUE(p.arguments.firstTitle().empty());
}

TEST(CommandLineArguments, PathsAreTakenVerbatim) {
    Parsed p = parse({u"/TITLE1", u"C:\\x y\\\u00e9.mdb", u"/E"});
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.arguments.mode(), RunMode::WriteScript);
    EXPECT_EQ(p.arguments.firstDatabase(), u"/TITLE1");
    EXPECT_EQ(p.arguments.secondDatabase(), u"C:\\x y\\\u00e9.mdb");
    EXPECT_EQ(p.arguments.scriptPath(), u"/E");
    EXPECT_FALSE(p.arguments.console());
}

TEST(CommandLineArguments, PipelineSwitchesTakeTheirPlaceAmongTheOthers) {
    Parsed p = parse({u"a.mdb", u"b.mdb", u"-", u"/E", u"/r", u"/title1", u"/X", u"/R",
                      u"report.txt", u"/utf16"});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.arguments.mode(), RunMode::WriteScript);
    EXPECT_EQ(p.arguments.scriptPath(), u"-");
    EXPECT_EQ(p.arguments.reportPath(), u"report.txt"); // the last one wins
    EXPECT_TRUE(p.arguments.exitStatus());
    EXPECT_TRUE(p.arguments.console());
    EXPECT_TRUE(p.arguments.utf16());

    Parsed plain = parse({u"a.mdb", u"b.mdb", u"sync.sql", u"/e"});
    EXPECT_TRUE(plain.arguments.reportPath().empty());
    EXPECT_FALSE(plain.arguments.exitStatus());
    // Seven words whose fourth is no title option stay the script form.
    Parsed seven = parse({u"a.mdb", u"b.mdb", u"sync.sql", u"/r", u"-", u"/x"});
    EXPECT_EQ(seven.arguments.mode(), RunMode::WriteScript);
    EXPECT_EQ(seven.arguments.reportPath(), u"-");
}

TEST(CommandLineArguments, AReportSwitchWithoutItsFileShowsUsage) {
    expectUsage(parse({u"a.mdb", u"b.mdb", u"sync.sql", u"/x", u"/r"}), RunMode::ShowUsage);
}
