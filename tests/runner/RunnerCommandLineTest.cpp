#include "runner/RunnerCommandLine.h"

#include <gtest/gtest.h>

namespace {

RunnerCommandLine parsed(std::vector<std::u16string> words, bool expectOk = true) {
    words.insert(words.begin(), u"kelrun");
    RunnerCommandLine commandLine(std::move(words));
    EXPECT_EQ(commandLine.parse(), expectOk);
    return commandLine;
}

void expectUsage(std::vector<std::u16string> words) {
    RunnerCommandLine commandLine = parsed(std::move(words), false);
    EXPECT_EQ(commandLine.message(), RunnerCommandLine::usageText());
}

} // namespace

TEST(RunnerCommandLine, UsageTextIsExact) {
    EXPECT_EQ(RunnerCommandLine::usageText(),
              u"Usage: Kelrun <sql file> <mdb file> [key1] [key2] [...]\r\n"
              u"/c - create the empty mdb file\r\n/o - delete the old mdb file\r\n"
              u"/e - show the error message in the console\r\n"
              u"/ef - put the error in the kelrun.log file\r\n/p - database password\r\n"
              u"/un - user name\r\n/up - user password\r\n/s - system database\r\n"
              u"/ie - ignore errors");
}

TEST(RunnerCommandLine, TwoFilesWithDefaults) {
    RunnerCommandLine c = parsed({u"/tmp/s.sql", u"/tmp/db.mdb"});
    EXPECT_EQ(c.scriptPath(), u"/tmp/s.sql");
    EXPECT_EQ(c.databasePath(), u"/tmp/db.mdb");
    EXPECT_FALSE(c.create() || c.deleteOld() || c.console() || c.logFile());
    EXPECT_TRUE(c.stopOnError());
    EXPECT_TRUE(c.systemDatabase().empty() && c.databasePassword().empty());
    EXPECT_TRUE(c.userName().empty() && c.userPassword().empty());
    EXPECT_TRUE(c.message().empty());
}

TEST(RunnerCommandLine, MissingFileWordShowsUsage) {
    expectUsage({});
    expectUsage({u"s.sql"});
    expectUsage({u"/?"});
}

TEST(RunnerCommandLine, EveryOptionInAnyCaseAndOrder) {
    RunnerCommandLine c =
        parsed({u"s.sql", u"db.mdb", u"/IE", u"/P", u"secret", u"/Ef", u"/c", u"/un", u"admin",
                u"/UP", u"pw", u"/s", u"sys.mdw", u"/O", u"/E"});
    EXPECT_TRUE(c.create() && c.deleteOld() && c.console() && c.logFile());
    EXPECT_FALSE(c.stopOnError());
    EXPECT_EQ(c.databasePassword(), u"secret");
    EXPECT_EQ(c.userName(), u"admin");
    EXPECT_EQ(c.userPassword(), u"pw");
    EXPECT_EQ(c.systemDatabase(), u"sys.mdw");
}

TEST(RunnerCommandLine, RepeatedOptionsKeepTheLastValue) {
    RunnerCommandLine c = parsed({u"s.sql", u"db.mdb", u"/p", u"one", u"/e", u"/p", u"two", u"/e"});
    EXPECT_EQ(c.databasePassword(), u"two");
    EXPECT_TRUE(c.console());
}

TEST(RunnerCommandLine, ValueMayLookLikeAnOption) {
    // The word after a value option is its value, whatever it says.
    RunnerCommandLine c = parsed({u"s.sql", u"db.mdb", u"/un", u"/c", u"/up", u""});
    EXPECT_EQ(c.userName(), u"/c");
    EXPECT_TRUE(c.userPassword().empty());
    EXPECT_FALSE(c.create());
}

TEST(RunnerCommandLine, UnknownOptionOrMissingValueShowsUsage) {
    expectUsage({u"s.sql", u"db.mdb", u"/x"});
    expectUsage({u"s.sql", u"db.mdb", u"third.sql"});
    expectUsage({u"s.sql", u"db.mdb", u"/ef", u"/p"});
    expectUsage({u"s.sql", u"db.mdb", u"/S"});
    // Options are whole words: no prefixes, no glued values.
    expectUsage({u"s.sql", u"db.mdb", u"/psecret"});
    expectUsage({u"s.sql", u"db.mdb", u"/i"});
}
