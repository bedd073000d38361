// Parses a generated script from its file, one statement at a time, and prints the rate and
// the process's peak memory. The script mixes every statement form the runner knows (plain
// DDL over several lines, comment and empty lines, every extended statement, Base64 object
// definitions of 3 KB, parameterised INSERT and UPDATE), written as UTF-8 with its mark.
// Each size is parsed in a child process of its own, so that its peak is its own: the peak
// must stay the same whatever the script's size.
//
//   parse_bench [megabytes...] [--folder dir]      (defaults: 10 100, $TMPDIR or /tmp)

#include "runner/sqlexecutor/SQLParser.h"
#include "runner/stream/FileReader.h"

#include "foundation/text/WideString.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/wait.h>
#include <typeinfo>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// 42 lines of Base64, as the comparer wraps object definitions.
std::string base64Lines(int block) {
    static const char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string lines;
    for (int line = 0; line < 42; ++line) {
        for (int i = 0; i < 72; ++i)
            lines += alphabet[(block * 31 + line * 7 + i * 13) % 64];
        lines += "\r\n";
    }
    return lines;
}

// One block of statements, "{i}" standing for the block's number, "{form}" and "{macro}" for
// Base64 definitions; lines end with "\r\n" as the comparer writes them.
constexpr const char* blockTemplate = R"(-- block {i}
CREATE TABLE [T{i}] (
	[ID] AUTOINCREMENT,
	[Name] TEXT(50) WITH COMPRESSION NOT NULL DEFAULT "Grüße",
	[Price] DECIMAL(18, 2),
	[Qty] LONG,
	CONSTRAINT [PK{i}] PRIMARY KEY ([ID])
);
ALTER TABLE [T{i}] DENY ZERO LENGTH [Name];
ALTER TABLE [T{i}] FORMAT [Name] SET "@";
ALTER TABLE [T{i}] DECIMAL PLACES [Price] SET 2;
ALTER TABLE [T{i}] EXPRESSION [Total] SET "[Price] * [Qty]";
ALTER TABLE [T{i}] DEFAULT [Qty] SET abc;
ALTER TABLE [T{i}]
	ADD COLUMN [Files] ATTACHMENT;
ALTER TABLE [T{i}]
	ALTER COLUMN [Qty] LONG DEFAULT ;
ALTER TABLE [T{i}]
	ADD CONSTRAINT [[Qty].ValidationRule]
	CHECK (>0 And <100);
ALTER TABLE [T{i}] DROP CONSTRAINT [[Qty].ValidationRule];
CREATE UNIQUE INDEX [ByName{i}]
	ON [T{i}] ([Name], [ID])
	WITH DISALLOW NULL;
ALTER TABLE [T{i}]
	ADD CONSTRAINT [FK{i}]
	FOREIGN KEY NO INDEX ([Qty]) REFERENCES
		[Customers] ([ID])
	ON UPDATE CASCADE
	ON DELETE CASCADE;
ALTER TABLE [T{i}]
	ADD CONSTRAINT [FKU{i}]
	FOREIGN KEY ([Qty]) REFERENCES
		[Customers] ([ID])
	ON DELETE SET NULL;
LINK TABLE [L{i}]
	TO [R{i}]
	SRC "/data/other.mdb";
LINK TABLE [O{i}]
	TO [dbo.R{i}]
	ODBC "ODBC;DSN=x";
CREATE VIEW [V{i}] AS SELECT *
FROM [T{i}]
WHERE [Qty] > 1;

CREATE PROCEDURE [P{i}] ([p] Text ( 255 )) AS 
SELECT *
FROM [T{i}] WHERE [Name]=[p];


INSERT INTO [T{i}] ([Name], [Qty], [Price], [Files]) VALUES ("a" & chr(13) & chr(10) & "b", {i}, 1.#QNAN, base64("QUJD"));
UPDATE [T{i}] SET [Name]=chr(65) & """x", [Files]=base64("QUJD") WHERE [ID]={i};
ALTER FORM [F{i}] SET base64("{form}");
ALTER TABLE [T{i}] DATA MACRO SET base64("{macro}");
DROP FORM [F{i}];
DROP TABLE DATA MACRO [T{i}];
DROP INDEX [ByName{i}] ON [T{i}];
DROP TABLE [T{i}];

)";

void replaceAll(std::string& text, std::string_view what, const std::string& by) {
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + by.size()))
        text.replace(at, what.size(), by);
}

std::string block(int n) {
    std::string text = blockTemplate;
    replaceAll(text, "\n", "\r\n");
    replaceAll(text, "{form}", base64Lines(n));
    replaceAll(text, "{macro}", base64Lines(n + 1));
    replaceAll(text, "{i}", std::to_string(n));
    return text;
}

// Writes blocks until the file holds at least the given number of bytes.
bool writeScript(const fs::path& path, std::uintmax_t bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::fputs("\xEF\xBB\xBF", file);
    std::uintmax_t written = 3;
    for (int n = 0; written < bytes; ++n) {
        std::string text = block(n);
        written += std::fwrite(text.data(), 1, text.size(), file);
    }
    return std::fclose(file) == 0;
}

rusage selfUsage() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage;
}

double cpuSeconds(const rusage& usage) {
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The child's work: parse the whole file and print one line of figures.
int parseFile(const fs::path& path, double megabytes) {
    const rusage before = selfUsage();
    FileReader reader(text::fromUtf8(path.string()));
    if (!reader.open()) {
        std::fprintf(stderr, "%s\n", text::toUtf8(reader.errorMessage()).c_str());
        return 1;
    }
    SQLExecutor::SQLParser parser(reader);
    long statements = 0;
    long extended = 0;
    auto start = Clock::now();
    while (auto command = parser.next()) {
        ++statements;
        if (typeid(*command) != typeid(SQLExecutor::SQLCommand))
            ++extended;
    }
    std::chrono::duration<double> took = Clock::now() - start;
    const rusage after = selfUsage();
    const double cpu = cpuSeconds(after) - cpuSeconds(before);
    std::printf("%7.1f MB  %7ld statements (%ld extended)  %5.2f s wall  %5.2f s cpu  "
                "%5.1f MB/s (%5.1f MB/s of cpu)  peak %ld KB (%ld KB before parsing)\n",
                megabytes, statements, extended, took.count(), cpu, megabytes / took.count(),
                megabytes / cpu, after.ru_maxrss, before.ru_maxrss);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    fs::path folder = fs::temp_directory_path();
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--folder" && i + 1 < argc)
            folder = argv[++i];
        else
            sizes.push_back(std::atoi(argument.c_str()));
    }
    if (sizes.empty())
        sizes = {10, 100};

    int status = 0;
    for (int size : sizes) {
        fs::path path = folder / ("kel-parse-bench-" + std::to_string(getpid()) + ".sql");
        if (!writeScript(path, std::uintmax_t(size) * 1000000)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        double megabytes = double(fs::file_size(path)) / 1e6;
        std::fflush(stdout);
        pid_t child = fork();
        if (child == 0) {
            int result = parseFile(path, megabytes);
            std::fflush(stdout);
            _exit(result);
        }
        int childStatus = 0;
        waitpid(child, &childStatus, 0);
        if (!WIFEXITED(childStatus) || WEXITSTATUS(childStatus) != 0)
            status = 1;
        fs::remove(path);
    }
    return status;
}
