// Commands for the Access application, and the hand-over of the database between the engine
// and Access: Access starts once for consecutive Access commands, after the engine connection
// is closed, and is shut down before the next engine command.

#include "ExecutorFixture.h"
#include "TestComponents.h"

#include <fstream>

using namespace executortest;

namespace {

// What the application was asked to do, one line per call.
class RecordingAccess : public engine::access::Application,
                        public engine::access::DoCmd,
                        public std::enable_shared_from_this<RecordingAccess> {
public:
    explicit RecordingAccess(std::vector<std::string>& calls) : calls_(calls) {}

    std::shared_ptr<engine::dao::Database> currentDb() override { return nullptr; }
    void saveAsText(int, const std::u16string&, const std::u16string&) override {}
    void loadFromText(int type, const std::u16string& name, const std::u16string& file) override {
        std::ifstream in(u8(file), std::ios::binary);
        calls_.push_back("load " + std::to_string(type) + " " + u8(name) + " " +
                         std::string(std::istreambuf_iterator<char>(in), {}));
    }
    std::shared_ptr<engine::access::DoCmd> doCmd() override { return shared_from_this(); }
    void deleteObject(int type, const std::u16string& name) override {
        if (name == u"Missing")
            throw engine::EngineError(0x800a0a7b, u"The object 'Missing' isn't open.");
        calls_.push_back("delete " + std::to_string(type) + " " + u8(name));
    }
    void closeCurrentDatabase() override { calls_.push_back("close"); }
    void quit(int option) override { calls_.push_back("quit " + std::to_string(option)); }

private:
    std::vector<std::string>& calls_;
};

class AccessComponents : public DelegatingComponents {
public:
    std::shared_ptr<engine::access::Application>
    startAccess(const engine::OpenParameters& database) override {
        calls.push_back("start " + u8(database.path.substr(database.path.rfind(u'/') + 1)));
        return std::make_shared<RecordingAccess>(calls);
    }
    std::vector<std::string> calls;
};

} // namespace

class AccessTest : public ExecutorTest {
protected:
    RunResult runWith(engine::Components& components, const std::u16string& script,
                      bool stopOnError = true) {
        connection.reset();
        Libs::Text::StringStream stream(script);
        SQLExecutor::ScriptExecutor executor(description, stream, false, stopOnError, components);
        settings::FakeProgress progress;
        RunResult result;
        result.report = executor.run(progress);
        result.hasErrors = executor.hasErrors();
        return result;
    }
};

TEST_F(AccessTest, AccessStartsOnceForConsecutiveCommandsAndStopsForTheEngine) {
    AccessComponents components;
    RunResult result = runWith(components, u"CREATE TABLE [A] ([Id] LONG);\n"
                                           u"ALTER FORM [Main] SET base64(\"QUJD\");\n"
                                           u"DROP REPORT [Old];\n"
                                           u"CREATE TABLE [B] ([Id] LONG);\n"
                                           u"ALTER TABLE [A] DATA MACRO SET base64(\"PHg+\");\n"
                                           u"DROP TABLE DATA MACRO [B];\n");
    EXPECT_EQ(u8(result.report), "Command(s) completed successfully: 6\r\n");
    // Access keeps what it imported: it quits with 1.
    EXPECT_EQ(components.calls,
              (std::vector<std::string>{"start target.mdb", "load 2 Main ABC", "delete 3 Old",
                                        "close", "quit 1", "start target.mdb", "load 12 A <x>",
                                        std::string("load 12 B ") + '\0', "close", "quit 1"}));
    // The engine connection was closed for Access and opened again after it.
    EXPECT_EQ(components.connectionsCreated, 2);
    EXPECT_NO_THROW(column(u"B", u"Id"));
}

TEST_F(AccessTest, FailedAccessCallIsReportedAndAccessStaysUp) {
    AccessComponents components;
    RunResult result =
        runWith(components, u"DROP MACRO [Missing];\nDROP MODULE [Helpers];\n", false);
    EXPECT_EQ(u8(result.report), "1\tDROP MACRO [Missing]\r\n\r\nError: The object 'Missing' "
                                 "isn't open.\r\n\r\nCommand(s) completed successfully: 1\r\n"
                                 "Error(s): 1\r\n");
    EXPECT_EQ(components.calls, (std::vector<std::string>{"start target.mdb", "delete 5 Helpers",
                                                          "close", "quit 1"}));
}

// Only an embedded database has Access objects here; on any other database Access does not
// start, as on a machine without it, and every Access command tries again.
TEST_F(AccessTest, AccessThatCannotStartFailsEachAccessCommand) {
    std::filesystem::path copy = folder / "nwind.mdb";
    std::filesystem::copy_file(KEL_ACCESS_DATA_DIR "/nwind.mdb", copy);
    description.path = u16(copy);
    RunResult result = run(u"DROP FORM [Orders];\nDROP FORM [Customers];\n", false);
    EXPECT_EQ(u8(result.report), "1\tDROP FORM [Orders]\r\nCan't find path to MSAccess\r\n\r\n"
                                 "2\tDROP FORM [Customers]\r\nCan't find path to MSAccess\r\n\r\n"
                                 "Error(s): 2\r\n");
    EXPECT_TRUE(result.hasErrors);
}
