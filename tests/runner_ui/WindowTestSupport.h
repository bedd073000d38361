#pragma once

// What the window tests share: the one application of the test program, a private folder,
// and prompts that answer in place of a user and remember the boxes shown.

#include "runner/ui/FramePrompts.h"

#include "tests/foundation/platform_qt/TestApplication.h"

#include <QApplication>
#include <QString>

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include <stdlib.h>

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kelrun-ui-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::u16string file(const std::string& name) const { return (path_ / name).u16string(); }
    std::u16string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
        return file(name);
    }

private:
    std::filesystem::path path_;
};

inline std::string bytesOf(const std::u16string& path) {
    std::ifstream in{std::filesystem::path(path), std::ios::binary};
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The runner's settings live in the test's own configuration folder (set by kel_test).
inline void forgetStoredSettings() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    ASSERT_NE(config, nullptr);
    std::filesystem::remove(std::filesystem::path(config) / "kelvor" / "registry.reg");
}

struct ShownMessage {
    runner::ui::FramePrompts::Icon icon;
    QString title;
    QString text;
};

class TestPrompts : public runner::ui::FramePrompts {
public:
    void message(QWidget*, Icon icon, const QString& title, const QString& text) override {
        messages.push_back({icon, title, text});
    }
    runner::ui::ChosenFile openFile(QWidget*, const QString&, const QStringList&) override {
        return next();
    }
    runner::ui::ChosenFile saveFile(QWidget*, const QString&, const QStringList&) override {
        return next();
    }
    bool openDatabase(QWidget*, database::DatabaseDescription& description) override {
        description.path = databasePath;
        return true;
    }
    bool executeScript(QWidget*, database::DatabaseDescription& description,
                       std::u16string& path) override {
        description.path = databasePath;
        path = scriptPath;
        return true;
    }
    void about(QWidget*) override {}

    // The answers of the file dialogs, in order; cancelled when none is left.
    std::deque<runner::ui::ChosenFile> files;
    std::u16string databasePath;
    std::u16string scriptPath;
    std::vector<ShownMessage> messages;

private:
    runner::ui::ChosenFile next() {
        if (files.empty())
            return {};
        runner::ui::ChosenFile file = files.front();
        files.pop_front();
        return file;
    }
};
