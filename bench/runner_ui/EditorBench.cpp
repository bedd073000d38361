// Kelrun's editor window on large scripts, on Qt's offscreen platform unless a display is
// chosen:
//   1. opening a 10 MB script: from the Open script command until the window has shown the
//      text with its colours and takes input again;
//   2. a script of 10,000 statements run from the editor (Run, verbose report) against the
//      same file run by Execute script, each on a new embedded database.
//
//   build/bin/runner_ui_bench

#include "foundation/platform/qt/CEditRion.h"
#include "runner/ui/CMainFrame.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTextBlock>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <stdlib.h>

namespace {

class BenchPrompts : public runner::ui::FramePrompts {
public:
    void message(QWidget*, Icon, const QString& title, const QString& text) override {
        std::fprintf(stderr, "box %s: %s\n", qPrintable(title), qPrintable(text));
    }
    runner::ui::ChosenFile openFile(QWidget*, const QString&, const QStringList&) override {
        return {file, 0};
    }
    runner::ui::ChosenFile saveFile(QWidget*, const QString&, const QStringList&) override {
        return {file, 0};
    }
    bool executeScript(QWidget*, database::DatabaseDescription&,
                       std::u16string& scriptPath) override {
        scriptPath = script;
        return true;
    }
    std::u16string file;
    std::u16string script;
};

std::filesystem::path folder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelrun-bench-XXXXXX").string();
    return mkdtemp(pattern.data());
}

// Statements of the kinds the comparer writes, a table definition every 50 lines, and an
// Access form in Base64 now and then, until the file holds 10 MB.
void writeLargeScript(const std::filesystem::path& path) {
    std::ofstream out(path, std::ios::binary);
    std::size_t written = 0;
    for (int i = 0; written < 10u * 1024 * 1024; ++i) {
        std::string text;
        if (i % 50 == 0)
            text = "CREATE TABLE [Table" + std::to_string(i) +
                   "] (\r\n\t[Id] AUTOINCREMENT,\r\n\t[Name] TEXT(50) NOT NULL,\r\n"
                   "\tCONSTRAINT [PK_" +
                   std::to_string(i) + "] PRIMARY KEY ([Id])\r\n);\r\n";
        else if (i % 500 == 7)
            text = "ALTER FORM [Form" + std::to_string(i) + "] SET base64(\"" +
                   std::string(76, 'Q') + "\r\n" + std::string(76, 'U') + "\");\r\n";
        else
            text = "INSERT INTO [Table] ([Id], [Name]) VALUES (" + std::to_string(i) + ", 'name " +
                   std::to_string(i) + "');\r\n";
        out << text;
        written += text.size();
    }
}

void writeStatements(const std::filesystem::path& path, int count) {
    std::ofstream out(path, std::ios::binary);
    out << "CREATE TABLE [Items] ([Id] LONG, [Name] TEXT(50));\r\n";
    for (int i = 1; i < count; ++i)
        out << "INSERT INTO [Items] ([Id], [Name]) VALUES (" << i << ", 'item " << i << "');\r\n";
}

void drainEvents() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

double openLargeScript(runner::ui::CMainFrame& frame, BenchPrompts& prompts,
                       const std::filesystem::path& path) {
    prompts.file = path.u16string();
    QElapsedTimer timer;
    timer.start();
    frame.openScript();
    drainEvents();
    return double(timer.nsecsElapsed()) / 1e6;
}

double scrollToEnd(runner::ui::CMainFrame& frame) {
    QElapsedTimer timer;
    timer.start();
    QScrollBar* bar = frame.editor()->verticalScrollBar();
    bar->setValue(bar->maximum());
    drainEvents();
    return double(timer.nsecsElapsed()) / 1e6;
}

// A new database for each run, made by Create MDB.
void newDatabase(runner::ui::CMainFrame& frame, BenchPrompts& prompts,
                 const std::filesystem::path& path) {
    prompts.file = path.u16string();
    frame.createDatabase();
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    std::filesystem::path dir = folder();

    auto owned = std::make_unique<BenchPrompts>();
    BenchPrompts& prompts = *owned;
    runner::ui::CMainFrame frame(std::move(owned));
    frame.show();
    drainEvents();

    std::filesystem::path large = dir / "large.sql";
    writeLargeScript(large);
    double open = openLargeScript(frame, prompts, large);
    double end = scrollToEnd(frame);
    std::printf("open a %.1f MB script (%d lines): %.0f ms until shown and editable; "
                "scroll to its end: %.0f ms\n",
                double(std::filesystem::file_size(large)) / (1024 * 1024),
                frame.editor()->document()->blockCount(), open, end);

    const int statements = 10000;
    std::filesystem::path script = dir / "statements.sql";
    writeStatements(script, statements);
    prompts.file = script.u16string();
    frame.openScript();

    newDatabase(frame, prompts, dir / "run.mdb");
    QElapsedTimer timer;
    timer.start();
    frame.run();
    double run = double(timer.nsecsElapsed()) / 1e6;

    newDatabase(frame, prompts, dir / "execute.mdb");
    prompts.script = script.u16string();
    timer.restart();
    frame.executeScript();
    double execute = double(timer.nsecsElapsed()) / 1e6;
    std::printf("%d statements: Run from the editor %.0f ms (%.0f statements/s), "
                "Execute script %.0f ms (%.0f statements/s)\n",
                statements, run, statements / run * 1000, execute, statements / execute * 1000);
    std::printf("last report line: %s\n",
                qPrintable(frame.output()->document()->lastBlock().previous().text()));
    std::filesystem::remove_all(dir);
    return 0;
}
