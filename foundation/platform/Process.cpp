#include "foundation/platform/Process.h"

#include "foundation/text/WideString.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace platform {

std::vector<std::u16string> splitCommandLine(std::u16string_view commandLine) {
    std::vector<std::u16string> words;
    std::u16string word;
    bool inWord = false;
    char16_t quote = 0;
    for (char16_t c : commandLine) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                word.push_back(c);
        } else if (c == u' ' || c == u'\t') {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            inWord = true;
            if (c == u'"' || c == u'\'')
                quote = c;
            else
                word.push_back(c);
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

namespace {

// Undoes what a caller may have changed for itself: the child starts with no blocked
// signals and the default action for each.
class SpawnAttributes {
public:
    SpawnAttributes() {
        posix_spawnattr_init(&attributes_);
        sigset_t none;
        sigemptyset(&none);
        sigset_t all;
        sigfillset(&all);
        posix_spawnattr_setsigmask(&attributes_, &none);
        posix_spawnattr_setsigdefault(&attributes_, &all);
        posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                                   POSIX_SPAWN_SETSID);
    }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;

    const posix_spawnattr_t* get() const { return &attributes_; }

private:
    posix_spawnattr_t attributes_;
};

// Only the three standard streams are handed on.
class SpawnFileActions {
public:
    SpawnFileActions() {
        posix_spawn_file_actions_init(&actions_);
        posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
    }
    ~SpawnFileActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnFileActions(const SpawnFileActions&) = delete;
    SpawnFileActions& operator=(const SpawnFileActions&) = delete;

    const posix_spawn_file_actions_t* get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

} // namespace

bool startProcess(const std::vector<std::u16string>& words) {
    if (words.empty() || words[0].empty())
        return false;
    std::vector<std::string> arguments;
    arguments.reserve(words.size());
    for (const auto& word : words)
        arguments.push_back(text::toUtf8(word));
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    SpawnAttributes attributes;
    SpawnFileActions actions;
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], actions.get(), attributes.get(), argv.data(), environ) != 0)
        return false;
    // A child that nobody waits for stays a zombie until the program ends.
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

std::optional<std::filesystem::path> programDirectory() {
    std::error_code ec;
    std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || !executable.has_parent_path())
        return std::nullopt;
    return executable.parent_path();
}

} // namespace platform
