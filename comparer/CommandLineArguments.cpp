#include "comparer/CommandLineArguments.h"

#include "foundation/text/WideString.h"

namespace {

constexpr std::size_t firstOptionWord = 3;
// The program, two databases and two title options with their values.
constexpr std::size_t titleFormWords = 7;

} // namespace

CommandLineArguments::CommandLineArguments(std::vector<std::u16string> words)
    : words_(std::move(words)) {}

const std::u16string& CommandLineArguments::usageText() {
    static const std::u16string text =
        u"Usage:\r\n\r\nKelvor <database1> <database2> [/title1 \"title1\"] [/title2 "
        u"\"title2\"] \r\n\r\nor\r\n\r\nKelvor <database1> <database2> <sql file> [/utf8] "
        u"[/utf16] [/e]\r\n/utf8 - write sql as utf8 file\r\n/utf16 - write sql as utf16 "
        u"file\r\n/e  - show an error message in the console";
    return text;
}

bool CommandLineArguments::parse() {
    if (words_.size() <= 1)
        return true;
    if (words_.size() < firstOptionWord) {
        loadUsage();
        return false;
    }
    firstDatabase_ = words_[1];
    secondDatabase_ = words_[2];
    if (words_.size() == firstOptionWord) {
        mode_ = RunMode::OpenDatabases;
        return true;
    }
    if (isTitleForm())
        return parseTitles();
    return parseScriptSwitches();
}

// Absolute script paths begin with "/" as well, so only a title option itself selects the
// title form.
bool CommandLineArguments::isTitleForm() const {
    if (words_.size() != titleFormWords)
        return false;
    const std::u16string& word = words_[firstOptionWord];
    return text::equalsNoCase(word, u"/title1") || text::equalsNoCase(word, u"/title2");
}

bool CommandLineArguments::parseTitles() {
    for (std::size_t next = firstOptionWord; next < words_.size(); next += 2) {
        const std::u16string& option = words_[next];
        std::u16string* target = nullptr;
        if (text::equalsNoCase(option, u"/title1"))
            target = &firstTitle_;
        else if (text::equalsNoCase(option, u"/title2"))
            target = &secondTitle_;
        if (!target || next + 1 >= words_.size())
            return usageExit();
        *target = words_[next + 1];
    }
    mode_ = RunMode::OpenDatabases;
    return true;
}

bool CommandLineArguments::parseScriptSwitches() {
    scriptPath_ = words_[firstOptionWord];
    for (std::size_t next = firstOptionWord + 1; next < words_.size(); ++next) {
        const std::u16string& word = words_[next];
        if (text::equalsNoCase(word, u"/utf8"))
            utf8_ = true;
        else if (text::equalsNoCase(word, u"/utf16"))
            utf16_ = true;
        else if (text::equalsNoCase(word, u"/e"))
            console_ = true;
        else if (text::equalsNoCase(word, u"/x"))
            exitStatus_ = true;
        else if (text::equalsNoCase(word, u"/r") && next + 1 < words_.size())
            reportPath_ = words_[++next];
        else
            return usageExit();
    }
    mode_ = RunMode::WriteScript;
    return true;
}

void CommandLineArguments::loadUsage() {
    usage_ = usageText();
    error_ = true;
}

bool CommandLineArguments::usageExit() {
    loadUsage();
    mode_ = RunMode::ShowUsage;
    return false;
}
