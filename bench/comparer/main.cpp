// Times one whole script-mode run of the kelvor program, `kelvor A B out.sql /e`, on two
// embedded databases of N tables of 20 columns, each with a primary key, a unique index, a
// plain index and a relationship to the table before it. The second database differs in a
// tenth of its tables (a column's type, a column added and one dropped, an index's columns,
// a relationship's rules, in turn) and has N/100 tables of its own while the first has N/100
// that the second lacks.
//
//   script_mode_bench [tables] [folder]      (defaults: 2000, $TMPDIR or /tmp)

#include "foundation/engine/EngineComponents.h"
#include "foundation/text/WideString.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

enum class Change { None, ColumnType, Columns, Index, Relationship };

// Which change table i of the second database carries.
Change changeOf(int i) {
    if (i % 10 != 3)
        return Change::None;
    switch ((i / 10) % 4) {
    case 0:
        return Change::ColumnType;
    case 1:
        return Change::Columns;
    case 2:
        return Change::Index;
    default:
        return Change::Relationship;
    }
}

std::string number(int n) {
    return std::to_string(n);
}

// One table with its keys; `parent` is the table its relationship points at, if any.
std::string createTable(const std::string& name, const std::string& parent, Change change) {
    std::string sql = "CREATE TABLE [" + name + "] ([Id] COUNTER CONSTRAINT [PK_" + name +
                      "] PRIMARY KEY, [Code] TEXT(20), [Parent] LONG";
    for (int column = 4; column <= 20; ++column) {
        if (column == 20 && change == Change::Columns)
            break;
        bool text = column % 2 == 0 || (column == 5 && change == Change::ColumnType);
        sql += ", [C" + number(column) + (text ? "] TEXT(50)" : "] DOUBLE");
    }
    if (change == Change::Columns)
        sql += ", [Extra] LONG";
    if (!parent.empty())
        sql += ", CONSTRAINT [FK_" + name + "] FOREIGN KEY ([Parent]) REFERENCES [" + parent +
               "] ([Id]) ON DELETE CASCADE" +
               (change == Change::Relationship ? " ON UPDATE CASCADE" : "");
    return sql + ")";
}

class Builder {
public:
    explicit Builder(const fs::path& path)
        : connection_(engine::components().createCatalog()->create(
              u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + text::fromUtf8(path.string()) +
              u";")) {}
    ~Builder() { connection_->close(); }

    void execute(const std::string& sql) {
        auto command = engine::components().createCommand();
        command->setActiveConnection(connection_);
        command->setCommandText(text::fromUtf8(sql));
        command->execute(nullptr, engine::ado::commandTypeText | engine::ado::executeNoRecords);
    }

    void table(const std::string& name, const std::string& parent, Change change) {
        execute(createTable(name, parent, change));
        execute("CREATE UNIQUE INDEX [UQ_Code] ON [" + name + "] ([Code])");
        execute("CREATE INDEX [ByC5] ON [" + name + "] ([C5], " +
                (change == Change::Index ? "[C7])" : "[C6])"));
    }

private:
    std::shared_ptr<engine::ado::Connection> connection_;
};

void build(const fs::path& path, int tables, bool second) {
    auto start = Clock::now();
    Builder builder(path);
    for (int i = 0; i < tables; ++i)
        builder.table("T" + number(i), i > 0 ? "T" + number(i - 1) : "",
                      second ? changeOf(i) : Change::None);
    for (int i = 0; i < tables / 100; ++i)
        builder.table((second ? "New" : "Old") + number(i), "T0", Change::None);
    std::chrono::duration<double> took = Clock::now() - start;
    std::printf("built %s: %d tables in %.1f s, %.1f MB\n", path.c_str(), tables + tables / 100,
                took.count(), double(fs::file_size(path)) / 1e6);
}

double seconds(const timeval& t) {
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

fs::path besideThisProgram(const char* name) {
    return fs::read_symlink("/proc/self/exe").parent_path() / name;
}

} // namespace

int main(int argc, char** argv) {
    int tables = argc > 1 ? std::atoi(argv[1]) : 2000;
    fs::path folder = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path();
    std::string pattern = (folder / "kel-script-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    fs::path dir = pattern;
    fs::path first = dir / "A.accdb";
    fs::path second = dir / "B.accdb";
    fs::path script = dir / "out.sql";
    build(first, tables, false);
    build(second, tables, true);

    std::string kelvor = besideThisProgram("kelvor").string();
    std::vector<std::string> words{kelvor, first.string(), second.string(), script.string(), "/e"};
    std::vector<char*> arguments;
    for (std::string& word : words)
        arguments.push_back(word.data());
    arguments.push_back(nullptr);
    std::printf("running: kelvor %s %s %s /e\n", first.c_str(), second.c_str(), script.c_str());
    std::fflush(stdout);

    auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, kelvor.c_str(), nullptr, nullptr, arguments.data(), environ) != 0) {
        std::perror("posix_spawn");
        return 1;
    }
    int status = 0;
    waitpid(child, &status, 0);
    std::chrono::duration<double> took = Clock::now() - start;
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);

    std::ifstream in(script, std::ios::binary);
    long statements = 0;
    for (std::string line; std::getline(in, line);)
        statements += line.size() >= 2 && line.compare(line.size() - 2, 2, ";\r") == 0;
    std::printf("\nkelvor exit code %d: %.2f s wall, %.2f s cpu, peak %ld KB; script %.2f MB, "
                "%ld statements\n",
                WIFEXITED(status) ? WEXITSTATUS(status) : -1, took.count(),
                seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss,
                fs::exists(script) ? double(fs::file_size(script)) / 1e6 : 0.0, statements);
    fs::remove_all(dir);
    return 0;
}
