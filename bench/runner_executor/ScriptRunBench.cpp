// kelrun's command-line run on generated scripts of 10,000 statements against an embedded
// database, beside the same plain statements sent straight to the engine: statements per
// second, and what the runner's reading, parsing and reporting add.
//
//   build/bin/runner_executor_bench

#include "foundation/database/DatabaseConnection.h"
#include "foundation/engine/EngineComponents.h"
#include "foundation/text/WideString.h"
#include "runner/CommandLineRun.h"
#include "runner/executor/MdbCreator.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <stdlib.h>

namespace {

constexpr int kStatements = 10000;

std::string folder() {
    static std::string path = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kel-bench-XXXXXX").string();
        return std::string(mkdtemp(pattern.data()));
    }();
    return path;
}

// What a synchronisation script is made of: tables, then columns, indexes and the column
// properties that go through ADOX and DAO.
std::vector<std::u16string> schemaStatements() {
    std::vector<std::u16string> statements;
    for (int t = 0; statements.size() < kStatements; ++t) {
        std::u16string table = u"[T" + text::toWString(t) + u"]";
        statements.push_back(u"CREATE TABLE " + table +
                             u" (\r\n\t[Id] AUTOINCREMENT,\r\n\t[Name] TEXT(50),\r\n\t"
                             u"CONSTRAINT [PK" +
                             text::toWString(t) + u"] PRIMARY KEY ([Id])\r\n)");
        for (int c = 0; c < 4; ++c) {
            std::u16string column = u"[C" + text::toWString(c) + u"]";
            statements.push_back(u"ALTER TABLE " + table + u"\r\n\tADD COLUMN " + column +
                                 u" TEXT(20)");
            statements.push_back(u"ALTER TABLE " + table + u" ALLOW ZERO LENGTH " + column);
            statements.push_back(u"ALTER TABLE " + table + u" DEFAULT " + column + u" SET \"x\"");
            statements.push_back(u"CREATE INDEX [I" + text::toWString(t) + u"_" +
                                 text::toWString(c) + u"]\r\n\tON " + table + u" (" + column +
                                 u")");
        }
        statements.push_back(u"ALTER TABLE " + table + u" FORMAT [Name] SET \">\"");
        statements.push_back(u"ALTER TABLE " + table + u" DENY ZERO LENGTH [Name]");
        statements.push_back(u"ALTER TABLE " + table + u" ALTER COLUMN [Name] TEXT(80)");
    }
    statements.resize(kStatements);
    return statements;
}

// Rows: one table, then plain INSERTs and INSERTs whose text is built with chr().
std::vector<std::u16string> rowStatements() {
    std::vector<std::u16string> statements{
        u"CREATE TABLE [Rows] ([Id] LONG, [Name] TEXT(50), [Amount] DOUBLE)"};
    for (int i = 1; statements.size() < kStatements; ++i) {
        std::u16string id = text::toWString(i);
        if (i % 2)
            statements.push_back(u"INSERT INTO [Rows] ([Id], [Name], [Amount]) VALUES (" + id +
                                 u", 'row " + id + u"', " + id + u".5)");
        else
            statements.push_back(u"INSERT INTO [Rows] ([Id], [Name], [Amount]) VALUES (" + id +
                                 u", \"row\" & chr(9) & \"" + id + u"\", " + id + u")");
    }
    return statements;
}

std::u16string freshDatabase(const std::string& name) {
    std::u16string path = text::fromUtf8(folder() + "/" + name);
    std::filesystem::remove(text::toUtf8(path));
    database::DatabaseDescription description;
    description.path = path;
    SQLExecutor::MdbCreator creator(description);
    if (!creator.create())
        throw std::runtime_error(text::toUtf8(creator.message()));
    return path;
}

std::u16string writeScript(const std::string& name, const std::vector<std::u16string>& lines) {
    std::string text = "\xEF\xBB\xBF";
    for (const std::u16string& statement : lines)
        text += text::toUtf8(statement) + ";\r\n";
    std::string path = folder() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return text::fromUtf8(path);
}

void runScript(benchmark::State& state, const std::vector<std::u16string>& statements) {
    std::u16string script = writeScript("bench.sql", statements);
    for (auto _ : state) {
        state.PauseTiming();
        std::u16string database = freshDatabase("bench.mdb");
        RunnerCommandLine commandLine({u"kelrun", script, database, u"/ie"});
        commandLine.parse();
        std::u16string message;
        state.ResumeTiming();
        if (!runCommandLine(commandLine, message)) {
            state.SkipWithError(text::toUtf8(message.substr(0, 300)).c_str());
            break;
        }
    }
    state.counters["statements/s"] = benchmark::Counter(
        double(statements.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// The same plain statements through one ADO command each, without the script file, the
// parser or the report.
void runOnEngine(benchmark::State& state, const std::vector<std::u16string>& statements) {
    for (auto _ : state) {
        state.PauseTiming();
        database::DatabaseDescription description;
        description.path = freshDatabase("engine.mdb");
        database::DatabaseConnection connection(description, database::ProviderChoice::ByExtension);
        state.ResumeTiming();
        try {
            for (const std::u16string& statement : statements) {
                auto command = engine::components().createCommand();
                command->setActiveConnection(connection.adoConnection());
                command->setCommandText(statement);
                command->execute(nullptr,
                                 engine::ado::commandTypeText | engine::ado::executeNoRecords);
            }
        } catch (const engine::EngineError& error) {
            state.SkipWithError(text::toUtf8(error.description()).c_str());
            break;
        }
    }
    state.counters["statements/s"] = benchmark::Counter(
        double(statements.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void KelrunSchemaScript(benchmark::State& state) {
    runScript(state, schemaStatements());
}
void KelrunRowScript(benchmark::State& state) {
    runScript(state, rowStatements());
}
void EngineRowStatements(benchmark::State& state) {
    runOnEngine(state, rowStatements());
}

} // namespace

BENCHMARK(KelrunSchemaScript)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(KelrunRowScript)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(EngineRowStatements)->Iterations(3)->Unit(benchmark::kMillisecond);
