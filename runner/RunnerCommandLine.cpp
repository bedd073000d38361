#include "runner/RunnerCommandLine.h"

#include "foundation/text/WideString.h"

#include <array>

namespace {

struct SwitchOption {
    const char16_t* name;
    bool RunnerCommandLine::*field;
    bool value;
};

struct ValueOption {
    const char16_t* name;
    std::u16string RunnerCommandLine::*field;
};

} // namespace

RunnerCommandLine::RunnerCommandLine(std::vector<std::u16string> words)
    : words_(std::move(words)) {}

const std::u16string& RunnerCommandLine::usageText() {
    static const std::u16string text =
        u"Usage: Kelrun <sql file> <mdb file> [key1] [key2] [...]\r\n/c - create the empty mdb "
        u"file\r\n/o - delete the old mdb file\r\n/e - show the error message in the "
        u"console\r\n/ef - put the error in the kelrun.log file\r\n/p - database "
        u"password\r\n/un - user name\r\n/up - user password\r\n/s - system database\r\n/ie - "
        u"ignore errors";
    return text;
}

bool RunnerCommandLine::parse() {
    if (words_.size() < 3)
        return fail();
    scriptPath_ = words_[1];
    databasePath_ = words_[2];
    for (next_ = 3; next_ < words_.size();) {
        const std::u16string& word = words_[next_++];
        if (!takeOption(word))
            return fail();
    }
    return true;
}

bool RunnerCommandLine::takeOption(const std::u16string& word) {
    static const std::array<SwitchOption, 5> switches{{
        {u"/c", &RunnerCommandLine::create_, true},
        {u"/o", &RunnerCommandLine::deleteOld_, true},
        {u"/e", &RunnerCommandLine::console_, true},
        {u"/ef", &RunnerCommandLine::logFile_, true},
        {u"/ie", &RunnerCommandLine::stopOnError_, false},
    }};
    static const std::array<ValueOption, 4> values{{
        {u"/p", &RunnerCommandLine::databasePassword_},
        {u"/un", &RunnerCommandLine::userName_},
        {u"/up", &RunnerCommandLine::userPassword_},
        {u"/s", &RunnerCommandLine::systemDatabase_},
    }};
    for (const SwitchOption& option : switches) {
        if (text::equalsNoCase(word, option.name)) {
            this->*option.field = option.value;
            return true;
        }
    }
    for (const ValueOption& option : values) {
        if (!text::equalsNoCase(word, option.name))
            continue;
        if (next_ >= words_.size())
            return false;
        this->*option.field = words_[next_++];
        return true;
    }
    return false;
}

bool RunnerCommandLine::fail() {
    message_ = usageText();
    return false;
}
