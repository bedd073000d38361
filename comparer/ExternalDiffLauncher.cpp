#include "comparer/ExternalDiffLauncher.h"

#include "foundation/platform/PrivateFiles.h"
#include "foundation/platform/Process.h"
#include "foundation/platform/UserDirectories.h"
#include "foundation/text/IOException.h"
#include "foundation/text/TextFileWriter.h"
#include "foundation/text/WideString.h"

#include <cerrno>
#include <unistd.h>

namespace {

constexpr std::u16string_view kPrefix = u"KLVT";
constexpr std::u16string_view kFirstMarker = u"%p1";
constexpr std::u16string_view kSecondMarker = u"%p2";

std::u16string replaceMarkers(std::u16string_view word, std::u16string_view firstPath,
                              std::u16string_view secondPath) {
    std::u16string result;
    std::size_t i = 0;
    while (i < word.size()) {
        std::u16string_view rest = word.substr(i);
        if (rest.starts_with(kFirstMarker)) {
            result += firstPath;
            i += kFirstMarker.size();
        } else if (rest.starts_with(kSecondMarker)) {
            result += secondPath;
            i += kSecondMarker.size();
        } else {
            result.push_back(word[i++]);
        }
    }
    return result;
}

} // namespace

std::vector<std::u16string> externalDiffCommand(std::u16string_view commandTemplate,
                                                std::u16string_view firstPath,
                                                std::u16string_view secondPath) {
    std::vector<std::u16string> words = platform::splitCommandLine(commandTemplate);
    for (auto& word : words)
        word = replaceMarkers(word, firstPath, secondPath);
    return words;
}

ExternalDiffLauncher::ExternalDiffLauncher() : ExternalDiffLauncher(platform::startProcess) {}

ExternalDiffLauncher::ExternalDiffLauncher(Starter starter) : starter_(std::move(starter)) {}

ExternalDiffLauncher::~ExternalDiffLauncher() {
    cleanUp();
}

void ExternalDiffLauncher::run(std::u16string_view commandTemplate, const std::u16string& firstText,
                               const std::u16string& secondText) {
    cleanUp();
    std::u16string firstPath = writeTemporaryFile(firstText);
    std::u16string secondPath = writeTemporaryFile(secondText);
    if (firstPath.empty() || secondPath.empty())
        return;
    starter_(externalDiffCommand(commandTemplate, firstPath, secondPath));
}

void ExternalDiffLauncher::cleanUp() {
    std::erase_if(pending_, [](const std::u16string& path) {
        return ::unlink(text::toUtf8(path).c_str()) == 0 || errno == ENOENT;
    });
}

std::u16string ExternalDiffLauncher::writeTemporaryFile(const std::u16string& text) {
    auto path = platform::createUniqueTempFile(platform::tempDirectory(), kPrefix);
    if (!path)
        return {};
    // Pending from now on, so that a file that could not be written is deleted as well.
    pending_.push_back(*path);
    text::TextFileWriter writer(
        *path, text::TextEncoding::UTF16,
        {.messages = text::FileMessages::WithPath, .opener = platform::openPrivateFile});
    try {
        writer.open();
        writer.write(text);
    } catch (const text::IOException&) {
        return {};
    }
    if (!writer.close())
        return {};
    return *path;
}
