// Inserts the same rows twice and prints the rates: through the engine, one parameterised
// INSERT command at a time as the script runner sends them (a text, a double and a byte array
// as parameters), and with the sqlite3 shell, one literal INSERT statement at a time into a plain
// SQLite table of the same columns. Each statement is its own transaction on both sides.
//
//   engine_dml_bench [rows] [folder]      (defaults: 10000, $TMPDIR or /tmp)

#include "foundation/engine/EngineComponents.h"
#include "foundation/engine/api/EngineError.h"
#include "foundation/text/WideString.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

std::string name(int i) {
    return "row " + std::to_string(i) + " of the benchmark";
}

double value(int i) {
    return i * 0.25;
}

engine::Variant::Bytes bytes(int i) {
    return {std::uint8_t(i), std::uint8_t(i >> 8), 0xFF, 0x00, 0x7F};
}

std::string hex(const engine::Variant::Bytes& data) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (std::uint8_t b : data) {
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double engineRun(const fs::path& file, int rows) {
    using namespace engine;
    std::u16string connectionString =
        u"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" + text::fromUtf8(file.string()) + u";";
    auto db = components().createCatalog()->create(connectionString);
    auto execute = [&](const std::u16string& sql, const std::vector<Variant>& parameters) {
        auto command = components().createCommand();
        command->setActiveConnection(db);
        command->setCommandType(ado::commandTypeText);
        command->setCommandText(sql);
        for (const Variant& v : parameters) {
            int type = v.isString() ? 8 : v.isByteArray() ? 205 : 5;
            int size = v.isString()      ? int(v.asString().size())
                       : v.isByteArray() ? int(v.asBytes().size())
                                         : 8;
            command->parameters()->append(
                command->createParameter(u"t", type, ado::parameterInput, size, v));
        }
        command->execute(nullptr, ado::commandTypeText | ado::executeNoRecords);
    };
    execute(u"CREATE TABLE [T] ([Id] LONG, [Name] TEXT(50), [Value] DOUBLE, [Data] LONGBINARY)",
            {});
    Clock::time_point start = Clock::now();
    for (int i = 0; i < rows; ++i)
        execute(u"INSERT INTO [T] ([Id], [Name], [Value], [Data]) VALUES (" + text::toWString(i) +
                    u", ?, ?, ?)",
                {Variant(text::fromUtf8(name(i))), Variant(value(i)), Variant(bytes(i))});
    double elapsed = seconds(Clock::now() - start);
    db->close();
    return elapsed;
}

double shellRun(const fs::path& file, const fs::path& script, int rows) {
    std::string setup = "sqlite3 '" + file.string() +
                        "' 'CREATE TABLE \"T\" (\"Id\" INTEGER, \"Name\" TEXT COLLATE NOCASE, "
                        "\"Value\" REAL, \"Data\" BLOB)'";
    if (std::system(setup.c_str()) != 0)
        return -1;
    {
        std::ofstream out(script);
        char number[32];
        for (int i = 0; i < rows; ++i) {
            std::snprintf(number, sizeof number, "%.17g", value(i));
            out << "INSERT INTO \"T\" (\"Id\", \"Name\", \"Value\", \"Data\") VALUES (" << i
                << ", '" << name(i) << "', " << number << ", X'" << hex(bytes(i)) << "');\n";
        }
    }
    std::string command = "sqlite3 '" + file.string() + "' < '" + script.string() + "'";
    Clock::time_point start = Clock::now();
    if (std::system(command.c_str()) != 0)
        return -1;
    return seconds(Clock::now() - start);
}

} // namespace

int main(int argc, char** argv) {
    int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
    const char* tmp = std::getenv("TMPDIR");
    fs::path folder = argc > 2 ? fs::path(argv[2]) : fs::path(tmp ? tmp : "/tmp");
    fs::path engineFile = folder / "kel-dml-bench-engine.accdb";
    fs::path shellFile = folder / "kel-dml-bench-shell.db";
    fs::path shellScript = folder / "kel-dml-bench-shell.sql";
    for (const fs::path& p : {engineFile, shellFile, shellScript})
        fs::remove(p);

    double engineTime;
    try {
        engineTime = engineRun(engineFile, rows);
    } catch (const engine::EngineError& e) {
        std::fprintf(stderr, "engine: %s\n", text::toUtf8(e.description()).c_str());
        return 1;
    }
    double shellTime = shellRun(shellFile, shellScript, rows);
    if (shellTime < 0) {
        std::fprintf(stderr, "the sqlite3 shell failed\n");
        return 1;
    }

    std::printf("rows: %d, each one INSERT in its own transaction\n", rows);
    std::printf("engine, parameterised ADO commands: %8.2f s  %10.0f rows/s\n", engineTime,
                rows / engineTime);
    std::printf("sqlite3 shell, literal statements:  %8.2f s  %10.0f rows/s\n", shellTime,
                rows / shellTime);
    std::printf("ratio engine time / shell time:     %8.2f\n", engineTime / shellTime);
    for (const fs::path& p : {engineFile, shellFile, shellScript})
        fs::remove(p);
    return 0;
}
