// A command that fails at any of its steps leaves the database exactly as it was: every call
// the engine makes to the stored database during one command is made to fail in turn, and
// the file must come out of each failed run byte for byte unchanged.

#include "ExecutorFixture.h"
#include "TestComponents.h"

#include "foundation/engine/Backends.h"
#include "foundation/engine/DaoEngine.h"

#include <fstream>
#include <iterator>

using namespace executortest;

namespace {

// Counts the calls that reach the stored database and fails the chosen one.
struct StepFault {
    int failAt = 0;
    int calls = 0;
    bool hit = false;

    void step() {
        if (++calls == failAt) {
            hit = true;
            throw engine::EngineError(engine::status::unspecified, u"Injected failure.");
        }
    }
};

class FaultySession : public engine::Session {
public:
    FaultySession(std::shared_ptr<engine::Session> real, StepFault& fault)
        : real_(std::move(real)), fault_(fault) {}

    std::shared_ptr<const engine::catalog::Catalog> catalog() override {
        fault_.step();
        return real_->catalog();
    }
    std::shared_ptr<engine::ado::Recordset> execute(const std::u16string& sql,
                                                    const std::vector<engine::Variant>& parameters,
                                                    std::int64_t* recordsAffected) override {
        fault_.step();
        return real_->execute(sql, parameters, recordsAffected);
    }
    void alterColumn(const std::u16string& table, const std::u16string& column,
                     const engine::catalog::Column& definition) override {
        fault_.step();
        real_->alterColumn(table, column, definition);
    }
    void appendColumn(const std::u16string& table,
                      const engine::catalog::Column& definition) override {
        fault_.step();
        real_->appendColumn(table, definition);
    }
    void dropColumn(const std::u16string& table, const std::u16string& column) override {
        fault_.step();
        real_->dropColumn(table, column);
    }
    void appendTable(const engine::catalog::Table& table) override {
        fault_.step();
        real_->appendTable(table);
    }
    void alterTable(const std::u16string& table,
                    const engine::catalog::Table& definition) override {
        fault_.step();
        real_->alterTable(table, definition);
    }
    void appendRelation(const engine::catalog::Relation& relation) override {
        fault_.step();
        real_->appendRelation(relation);
    }
    void dropRelation(const std::u16string& name) override {
        fault_.step();
        real_->dropRelation(name);
    }
    void appendQuery(const std::u16string& name, const std::u16string& text) override {
        fault_.step();
        real_->appendQuery(name, text);
    }
    void beginTransaction() override {
        fault_.step();
        real_->beginTransaction();
    }
    void commitTransaction() override {
        fault_.step();
        real_->commitTransaction();
    }
    void rollbackTransaction() override { real_->rollbackTransaction(); }
    void close() override { real_->close(); }

private:
    std::shared_ptr<engine::Session> real_;
    StepFault& fault_;
};

// DAO of the real engine over sessions that fail at the planned step.
class StepFaultComponents : public DelegatingComponents {
public:
    explicit StepFaultComponents(StepFault& fault) : fault_(fault) {}
    std::shared_ptr<engine::dao::DBEngine> createDBEngine(std::u16string_view) override {
        return engine::makeDBEngine([this](const engine::OpenParameters& parameters) {
            return std::make_shared<FaultySession>(engine::openDatabase(parameters), fault_);
        });
    }

private:
    StepFault& fault_;
};

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct DaoCommand {
    const char* name;
    const char16_t* script;
};

class AtomicDaoCommandTest : public ExecutorTest, public ::testing::WithParamInterface<DaoCommand> {
protected:
    void SetUp() override {
        ExecutorTest::SetUp();
        runOk(u"CREATE TABLE [Products] ([Id] LONG NOT NULL, [Name] TEXT(50), [Price] CURRENCY, "
              u"[Weight] DOUBLE, CONSTRAINT [PK_Products] PRIMARY KEY ([Id]));\r\n"
              u"CREATE TABLE [Items] ([Id] LONG, [ProductId] LONG);\r\n"
              u"INSERT INTO [Products] ([Id], [Name], [Price]) VALUES (1, 'Tea', 10);\r\n"
              u"INSERT INTO [Products] ([Id], [Name], [Price]) VALUES (2, 'Pot', 30);\r\n"
              u"INSERT INTO [Items] ([Id], [ProductId]) VALUES (1, 2);\r\n"
              u"ALTER TABLE [Products] ADD COLUMN [Gross] CURRENCY;\r\n"
              u"ALTER TABLE [Products] EXPRESSION [Gross] SET \"[Price]*1.2\";\r\n"
              u"ALTER TABLE [Products] FORMAT [Price] SET \"Currency\";\r\n"
              u"ALTER TABLE [Products] DECIMAL PLACES [Price] SET 2;\r\n");
    }

    RunResult runFaulty(StepFault& fault) {
        StepFaultComponents components(fault);
        std::u16string script = GetParam().script; // the stream reads it in place
        Libs::Text::StringStream stream(script);
        SQLExecutor::ScriptExecutor executor(description, stream, false, true, components);
        settings::FakeProgress progress;
        RunResult result;
        result.report = executor.run(progress);
        result.hasErrors = executor.hasErrors();
        return result;
    }
};

TEST_P(AtomicDaoCommandTest, FailingAtAnyStepChangesNothing) {
    std::filesystem::path file = folder / "target.mdb";
    const std::string before = fileBytes(file);
    int failedRuns = 0;
    for (int step = 1; step < 100; ++step) {
        SCOPED_TRACE("failing step " + std::to_string(step));
        std::ofstream(file, std::ios::binary | std::ios::trunc) << before; // a run may succeed
        StepFault fault;
        fault.failAt = step;
        RunResult result = runFaulty(fault);
        if (!fault.hit) {
            EXPECT_FALSE(result.hasErrors) << u8(result.report);
            EXPECT_FALSE(fileBytes(file) == before) << "the command did nothing";
            break;
        }
        // A failed first try of a property is followed by making it anew: such a run may
        // still succeed. A run that fails must have changed nothing.
        if (!result.hasErrors)
            continue;
        ++failedRuns;
        ASSERT_TRUE(fileBytes(file) == before) << u8(result.report);
    }
    EXPECT_GE(failedRuns, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, AtomicDaoCommandTest,
    ::testing::Values(
        DaoCommand{"DefaultValue", u"ALTER TABLE [Products] DEFAULT [Name] SET \"none\";"},
        DaoCommand{"NewDecimalPlaces", u"ALTER TABLE [Products] DECIMAL PLACES [Weight] SET 3;"},
        DaoCommand{"ChangedDecimalPlaces", u"ALTER TABLE [Products] DECIMAL PLACES [Price] SET 4;"},
        DaoCommand{"NewFormat", u"ALTER TABLE [Products] FORMAT [Weight] SET \"Fixed\";"},
        DaoCommand{"ChangedFormat", u"ALTER TABLE [Products] FORMAT [Price] SET \"Fixed\";"},
        DaoCommand{"RemovedFormat", u"ALTER TABLE [Products] FORMAT [Price] SET \"\";"},
        DaoCommand{"Attachment", u"ALTER TABLE [Products] ADD COLUMN [Manuals] ATTACHMENT;"},
        DaoCommand{"CalculatedColumn",
                   u"ALTER TABLE [Products] EXPRESSION [Gross] SET \"[Price]*1.25\";"},
        DaoCommand{"RelationWithoutIndex",
                   u"ALTER TABLE [Items] ADD CONSTRAINT [FK_Loose] FOREIGN KEY NO INDEX "
                   u"([ProductId]) REFERENCES [Products] ([Id]) ON DELETE CASCADE;"}),
    [](const ::testing::TestParamInfo<DaoCommand>& info) { return info.param.name; });

} // namespace

// Failures the engine itself reports, one per kind of command: the file stays as it was.
TEST_F(AtomicDaoCommandTest, RefusedCommandsChangeNothing) {
    std::filesystem::path file = folder / "target.mdb";
    const std::string before = fileBytes(file);
    for (const char16_t* command :
         {u"ALTER TABLE [Products] EXPRESSION [Nope] SET \"[Price]\";",
          u"ALTER TABLE [Products] FORMAT [Nope] SET \"Fixed\";",
          u"ALTER TABLE [Products] ALLOW ZERO LENGTH [Nope];",
          u"LINK TABLE [Products] TO [Remote] SRC \"/nowhere.mdb\";",
          u"CREATE VIEW [Products] AS SELECT [Id] FROM [Products];",
          u"ALTER TABLE [Items] ADD CONSTRAINT [FK_Bad] FOREIGN KEY NO INDEX ([Nope]) "
          u"REFERENCES [Products] ([Id]);"}) {
        SCOPED_TRACE(u8(command));
        RunResult result = run(command);
        EXPECT_TRUE(result.hasErrors) << u8(result.report);
        ASSERT_TRUE(fileBytes(file) == before) << u8(result.report);
    }
}
