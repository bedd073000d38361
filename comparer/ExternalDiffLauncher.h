#pragma once

// Shows two texts in the user's diff program: writes each to a temporary file and starts the
// program on the two files. The program is not waited for, so the files stay until the next
// run or the launcher's end, and a file that cannot be deleted then is tried again later.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class ExternalDiffLauncher {
public:
    // Starts a program from its words; true when it started.
    using Starter = std::function<bool(const std::vector<std::u16string>& words)>;

    // Starts programs with platform::startProcess.
    ExternalDiffLauncher();
    explicit ExternalDiffLauncher(Starter starter);
    // Cleans up.
    ~ExternalDiffLauncher();
    ExternalDiffLauncher(const ExternalDiffLauncher&) = delete;
    ExternalDiffLauncher& operator=(const ExternalDiffLauncher&) = delete;

    // Cleans up, writes each text as UTF-16 with its byte-order mark to a new file
    // "KLV<4 hex digits>.TMP" of the temporary directory and, when both files were written,
    // starts the command with "%p1" and "%p2" replaced by their paths. Nothing is reported.
    void run(std::u16string_view commandTemplate, const std::u16string& firstText,
             const std::u16string& secondText);

    // Deletes the files of earlier runs; those that cannot be deleted stay pending.
    void cleanUp();

    const std::vector<std::u16string>& pendingFiles() const { return pending_; }

private:
    // The path of the new file; empty when it could not be created or written.
    std::u16string writeTemporaryFile(const std::u16string& text);

    Starter starter_;
    std::vector<std::u16string> pending_;
};

// The words of the command: the template is split into words first (quotes group words),
// then every "%p1" in a word becomes the first path and every "%p2" the second (exact,
// case-sensitive matches), so a path with spaces stays one word and a path is never read
// again for markers.
std::vector<std::u16string> externalDiffCommand(std::u16string_view commandTemplate,
                                                std::u16string_view firstPath,
                                                std::u16string_view secondPath);
