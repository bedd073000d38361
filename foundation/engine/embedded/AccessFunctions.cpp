#include "foundation/engine/embedded/AccessFunctions.h"

#include "foundation/engine/embedded/AccessDates.h"
#include "foundation/engine/embedded/StoredValues.h"
#include "foundation/text/WideString.h"

#include <sqlite3.h>

#include <cmath>
#include <span>

namespace engine::embedded {

namespace {

using Arguments = std::span<const SqlValue>;
using Implementation = SqlValue (*)(StatementContext&, Arguments);

EngineError invalidCall() {
    return {status::unspecified, u"Invalid procedure call or argument."};
}

EngineError divisionByZero() {
    return {status::unspecified, u"Division by zero."};
}

bool anyNull(Arguments arguments) {
    for (const SqlValue& argument : arguments)
        if (argument.isNull())
            return true;
    return false;
}

double numberArgument(const SqlValue& value) {
    std::optional<double> number = numberOf(value);
    if (!number) {
        if (value.kind == SqlValue::Kind::Text)
            if (std::optional<double> days = parseDate(value.text))
                return *days;
        throw valueErrors::typeMismatch();
    }
    return *number;
}

std::int64_t integerArgument(const SqlValue& value) {
    double v = std::nearbyint(numberArgument(value));
    if (!(std::fabs(v) < 9.2e18))
        throw valueErrors::overflow();
    return std::int64_t(v);
}

std::u16string textArgument(const SqlValue& value) {
    return textOf(value).value_or(u"");
}

// A count of units (Left, Right, Mid): 0 or more.
std::size_t countArgument(const SqlValue& value) {
    std::int64_t n = integerArgument(value);
    if (n < 0)
        throw invalidCall();
    return std::size_t(n);
}

// Letter case of the Latin, Greek and Cyrillic letters: the C library knows only ASCII
// without a locale, and the engine must not depend on one.
// Latin Extended-A: pairs of a capital and its small letter, the capital first.
bool pairedCapital(char16_t c) {
    if (c == 0x130 || c == 0x131) // dotted and dotless i pair with ASCII letters
        return false;
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return c % 2 == 0;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return c % 2 == 1;
    return false;
}

bool pairedSmall(char16_t c) {
    return c != 0x131 && c != 0x138 && c != 0x149 && pairedCapital(char16_t(c - 1));
}

char16_t lower(char16_t c) {
    if (c < 0x80)
        return text::asciiLower(c);
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9) ||
        (c >= 0x410 && c <= 0x42F))
        return char16_t(c + 0x20);
    if (c >= 0x400 && c <= 0x40F)
        return char16_t(c + 0x50);
    if (pairedCapital(c))
        return char16_t(c + 1);
    return c == 0x178 ? char16_t(0xFF) : c;
}

char16_t upper(char16_t c) {
    if (c < 0x80)
        return text::asciiUpper(c);
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F))
        return char16_t(c - 0x20);
    if (c >= 0x450 && c <= 0x45F)
        return char16_t(c - 0x50);
    if (pairedSmall(c))
        return char16_t(c - 1);
    return c == 0xFF ? char16_t(0x178) : c;
}

SqlValue date(const SqlValue& value, int DateParts::*part) {
    std::optional<DateParts> parts = dateParts(numberArgument(value));
    if (!parts)
        throw invalidCall();
    return SqlValue::ofInteger((*parts).*part);
}

// Like of Access: * any run, ? any one unit, # one digit, [abc], [a-z], [!abc]; letter case
// is ignored.
bool unitMatches(std::u16string_view pattern, std::size_t& p, char16_t c) {
    char16_t head = pattern[p++];
    if (head == u'?')
        return true;
    if (head == u'#')
        return c >= u'0' && c <= u'9';
    if (head != u'[')
        return lower(head) == lower(c);
    std::size_t close = pattern.find(u']', p);
    if (close == std::u16string_view::npos)
        throw EngineError(status::unspecified, u"Invalid pattern string.");
    std::u16string_view set = pattern.substr(p, close - p);
    p = close + 1;
    bool negated = !set.empty() && set.front() == u'!';
    if (negated)
        set.remove_prefix(1);
    bool found = false;
    for (std::size_t i = 0; i < set.size() && !found; ++i) {
        if (i + 2 < set.size() && set[i + 1] == u'-') {
            found = lower(c) >= lower(set[i]) && lower(c) <= lower(set[i + 2]);
            i += 2;
        } else {
            found = lower(set[i]) == lower(c);
        }
    }
    return found != negated;
}

bool like(std::u16string_view s, std::u16string_view pattern) {
    std::size_t i = 0, p = 0;
    std::size_t starP = std::u16string_view::npos, starI = 0;
    while (i < s.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = ++p;
            starI = i;
            continue;
        }
        std::size_t next = p;
        if (p < pattern.size() && unitMatches(pattern, next, s[i])) {
            p = next;
            ++i;
            continue;
        }
        if (starP == std::u16string_view::npos)
            return false;
        p = starP;
        i = ++starI;
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

// The characters 128 to 159 of the ANSI code page (Windows-1252).
char16_t ansiCharacter(std::int64_t code) {
    static const char16_t high[32] = {
        0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    if (code < 0 || code > 255)
        throw invalidCall();
    return code >= 128 && code < 160 ? high[code - 128] : char16_t(code);
}

SqlValue text(std::u16string s) {
    return SqlValue::ofText(std::move(s));
}

std::u16string trimmed(std::u16string_view s, bool left, bool right) {
    std::size_t begin = 0, end = s.size();
    while (left && begin < end && s[begin] == u' ')
        ++begin;
    while (right && end > begin && s[end - 1] == u' ')
        --end;
    return std::u16string(s.substr(begin, end - begin));
}

// Val: the number at the start of a text, blanks ignored; 0 when there is none.
double leadingNumber(std::u16string_view s) {
    std::string digits;
    for (char16_t c : s) {
        if (c == u' ' || c == u'\t')
            continue;
        bool fits = (c >= u'0' && c <= u'9') || (digits.empty() && (c == u'-' || c == u'+')) ||
                    (c == u'.' && digits.find('.') == std::string::npos);
        if (!fits)
            break;
        digits += char(c);
    }
    return std::strtod(digits.c_str(), nullptr);
}

#define KEL_FUNCTION(name)                                                                         \
    SqlValue name([[maybe_unused]] StatementContext& context, [[maybe_unused]] Arguments a)

KEL_FUNCTION(store) {
    std::int64_t n = a[1].integer;
    if (!context.stores || n < 0 || std::size_t(n) >= context.stores->size())
        throw invalidCall();
    return storedValue(a[0], (*context.stores)[std::size_t(n)]);
}

KEL_FUNCTION(concat) {
    if (a[0].isNull() && a[1].isNull())
        return {};
    return text(textArgument(a[0]) + textArgument(a[1]));
}

KEL_FUNCTION(add) {
    if (anyNull(a))
        return {};
    if (a[0].kind == SqlValue::Kind::Text && a[1].kind == SqlValue::Kind::Text)
        return text(a[0].text + a[1].text);
    std::int64_t sum;
    if (a[0].kind == SqlValue::Kind::Integer && a[1].kind == SqlValue::Kind::Integer &&
        !__builtin_add_overflow(a[0].integer, a[1].integer, &sum))
        return SqlValue::ofInteger(sum);
    return SqlValue::ofReal(numberArgument(a[0]) + numberArgument(a[1]));
}

KEL_FUNCTION(divide) {
    if (anyNull(a))
        return {};
    double divisor = numberArgument(a[1]);
    if (divisor == 0)
        throw divisionByZero();
    return SqlValue::ofReal(numberArgument(a[0]) / divisor);
}

KEL_FUNCTION(integerDivide) {
    if (anyNull(a))
        return {};
    std::int64_t divisor = integerArgument(a[1]);
    if (divisor == 0)
        throw divisionByZero();
    return SqlValue::ofInteger(integerArgument(a[0]) / divisor);
}

KEL_FUNCTION(modulo) {
    if (anyNull(a))
        return {};
    std::int64_t divisor = integerArgument(a[1]);
    if (divisor == 0)
        throw divisionByZero();
    return SqlValue::ofInteger(integerArgument(a[0]) % divisor);
}

KEL_FUNCTION(power) {
    if (anyNull(a))
        return {};
    return SqlValue::ofReal(std::pow(numberArgument(a[0]), numberArgument(a[1])));
}

KEL_FUNCTION(likeOperator) {
    if (anyNull(a))
        return {};
    return SqlValue::ofInteger(like(textArgument(a[0]), textArgument(a[1])) ? 1 : 0);
}

KEL_FUNCTION(len) {
    if (a[0].isNull())
        return {};
    return SqlValue::ofInteger(std::int64_t(textArgument(a[0]).size()));
}

KEL_FUNCTION(left) {
    if (a[0].isNull())
        return {};
    std::u16string s = textArgument(a[0]);
    return text(s.substr(0, std::min(s.size(), countArgument(a[1]))));
}

KEL_FUNCTION(right) {
    if (a[0].isNull())
        return {};
    std::u16string s = textArgument(a[0]);
    std::size_t n = std::min(s.size(), countArgument(a[1]));
    return text(s.substr(s.size() - n));
}

KEL_FUNCTION(mid) {
    if (a[0].isNull())
        return {};
    std::u16string s = textArgument(a[0]);
    std::int64_t start = integerArgument(a[1]);
    if (start < 1)
        throw invalidCall();
    if (std::size_t(start) > s.size())
        return text(u"");
    std::size_t n = a.size() > 2 ? countArgument(a[2]) : s.size();
    return text(s.substr(std::size_t(start - 1), n));
}

KEL_FUNCTION(ucase) {
    if (a[0].isNull())
        return {};
    std::u16string s = textArgument(a[0]);
    for (char16_t& c : s)
        c = upper(c);
    return text(s);
}

KEL_FUNCTION(lcase) {
    if (a[0].isNull())
        return {};
    std::u16string s = textArgument(a[0]);
    for (char16_t& c : s)
        c = lower(c);
    return text(s);
}

KEL_FUNCTION(trim) {
    return a[0].isNull() ? SqlValue{} : text(trimmed(textArgument(a[0]), true, true));
}

KEL_FUNCTION(ltrim) {
    return a[0].isNull() ? SqlValue{} : text(trimmed(textArgument(a[0]), true, false));
}

KEL_FUNCTION(rtrim) {
    return a[0].isNull() ? SqlValue{} : text(trimmed(textArgument(a[0]), false, true));
}

KEL_FUNCTION(chr) {
    if (a[0].isNull())
        throw EngineError(status::unspecified, u"Invalid use of Null.");
    return text(std::u16string(1, ansiCharacter(integerArgument(a[0]))));
}

KEL_FUNCTION(chrw) {
    if (a[0].isNull())
        throw EngineError(status::unspecified, u"Invalid use of Null.");
    std::int64_t code = integerArgument(a[0]);
    if (code < -32768 || code > 65535)
        throw invalidCall();
    return text(std::u16string(1, char16_t(code)));
}

KEL_FUNCTION(asc) {
    std::u16string s = textArgument(a[0]);
    if (s.empty())
        throw invalidCall();
    return SqlValue::ofInteger(s[0]);
}

KEL_FUNCTION(space) {
    return text(std::u16string(countArgument(a[0]), u' '));
}

KEL_FUNCTION(instr) {
    std::size_t start = 1;
    if (a.size() == 3) {
        if (a[0].isNull())
            throw EngineError(status::unspecified, u"Invalid use of Null.");
        std::int64_t given = integerArgument(a[0]);
        if (given < 1)
            throw invalidCall();
        start = std::size_t(given);
        a = a.subspan(1);
    }
    if (anyNull(a))
        return {};
    std::u16string s = textArgument(a[0]), find = textArgument(a[1]);
    for (char16_t& c : s)
        c = lower(c);
    for (char16_t& c : find)
        c = lower(c);
    if (start > s.size() + 1)
        return SqlValue::ofInteger(0);
    std::size_t at = s.find(find, start - 1);
    return SqlValue::ofInteger(at == std::u16string::npos ? 0 : std::int64_t(at + 1));
}

KEL_FUNCTION(replace) {
    if (a[0].isNull())
        return {};
    std::u16string s = textArgument(a[0]), find = textArgument(a[1]), with = textArgument(a[2]);
    if (find.empty())
        return text(s);
    std::u16string out;
    for (std::size_t i = 0; i < s.size();) {
        if (s.compare(i, find.size(), find) == 0) {
            out += with;
            i += find.size();
        } else {
            out += s[i++];
        }
    }
    return text(out);
}

KEL_FUNCTION(nowFunction) {
    return SqlValue::ofReal(now());
}

KEL_FUNCTION(dateFunction) {
    return SqlValue::ofReal(today());
}

KEL_FUNCTION(timeFunction) {
    double n = now();
    return SqlValue::ofReal(n - std::trunc(n));
}

KEL_FUNCTION(year) {
    return a[0].isNull() ? SqlValue{} : date(a[0], &DateParts::year);
}
KEL_FUNCTION(month) {
    return a[0].isNull() ? SqlValue{} : date(a[0], &DateParts::month);
}
KEL_FUNCTION(day) {
    return a[0].isNull() ? SqlValue{} : date(a[0], &DateParts::day);
}
KEL_FUNCTION(hour) {
    return a[0].isNull() ? SqlValue{} : date(a[0], &DateParts::hour);
}
KEL_FUNCTION(minute) {
    return a[0].isNull() ? SqlValue{} : date(a[0], &DateParts::minute);
}
KEL_FUNCTION(second) {
    return a[0].isNull() ? SqlValue{} : date(a[0], &DateParts::second);
}

KEL_FUNCTION(weekday) {
    if (a[0].isNull())
        return {};
    // Day 0 (30 December 1899) was a Saturday; Sunday is 1.
    std::int64_t days = std::int64_t(std::floor(numberArgument(a[0])));
    return SqlValue::ofInteger(((days + 6) % 7 + 7) % 7 + 1);
}

KEL_FUNCTION(dateSerial) {
    if (anyNull(a))
        throw EngineError(status::unspecified, u"Invalid use of Null.");
    std::int64_t year = integerArgument(a[0]), month = integerArgument(a[1]);
    year += (month - 1) >= 0 ? (month - 1) / 12 : (month - 12) / 12;
    month = ((month - 1) % 12 + 12) % 12 + 1;
    if (year < 100 || year > 9999)
        throw invalidCall();
    double first = dateOf({int(year), int(month), 1, 0, 0, 0});
    return SqlValue::ofReal(first + double(integerArgument(a[2]) - 1));
}

// The parts of a date argument, and seconds since day 0 counted on one line.
DateParts dateArgument(const SqlValue& value) {
    std::optional<DateParts> parts = dateParts(numberArgument(value));
    if (!parts)
        throw invalidCall();
    return *parts;
}

std::int64_t secondsOf(const DateParts& p) {
    return std::int64_t(dateOf({p.year, p.month, p.day, 0, 0, 0})) * 86400 + p.hour * 3600 +
           p.minute * 60 + p.second;
}

double dateOfSeconds(std::int64_t seconds) {
    std::int64_t days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    std::int64_t rest = seconds - days * 86400;
    DateParts parts = *dateParts(double(days));
    parts.hour = int(rest / 3600), parts.minute = int(rest / 60 % 60),
    parts.second = int(rest % 60);
    return dateOf(parts);
}

// The seconds of one step of an interval that has a fixed length; 0 for months and years.
std::int64_t intervalSeconds(const std::u16string& interval) {
    if (interval == u"d" || interval == u"y" || interval == u"w")
        return 86400;
    if (interval == u"ww")
        return 7 * 86400;
    if (interval == u"h")
        return 3600;
    if (interval == u"n")
        return 60;
    if (interval == u"s")
        return 1;
    return 0;
}

int intervalMonths(const std::u16string& interval) {
    return interval == u"yyyy" ? 12 : interval == u"q" ? 3 : interval == u"m" ? 1 : 0;
}

KEL_FUNCTION(dateAdd) {
    if (a[1].isNull() || a[2].isNull())
        return {};
    std::u16string interval = text::asciiLower(textArgument(a[0]));
    std::int64_t count = integerArgument(a[1]);
    DateParts parts = dateArgument(a[2]);
    if (std::int64_t step = intervalSeconds(interval))
        return SqlValue::ofReal(dateOfSeconds(secondsOf(parts) + count * step));
    int months = intervalMonths(interval);
    if (!months)
        throw invalidCall();
    std::int64_t month = std::int64_t(parts.year) * 12 + (parts.month - 1) + count * months;
    parts.year = int(month >= 0 ? month / 12 : (month - 11) / 12);
    parts.month = int(month - std::int64_t(parts.year) * 12) + 1;
    if (parts.year < 100 || parts.year > 9999)
        throw invalidCall();
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (parts.year % 4 == 0 && parts.year % 100 != 0) || parts.year % 400 == 0;
    parts.day = std::min(parts.day, parts.month == 2 && leap ? 29 : days[parts.month - 1]);
    return SqlValue::ofReal(dateOf(parts));
}

// Counts the interval's boundaries between the two dates, as Access does: DateDiff("yyyy",
// #12/31/2023#, #1/1/2024#) is 1.
KEL_FUNCTION(dateDiff) {
    if (a[1].isNull() || a[2].isNull())
        return {};
    std::u16string interval = text::asciiLower(textArgument(a[0]));
    DateParts from = dateArgument(a[1]), to = dateArgument(a[2]);
    auto floorDiv = [](std::int64_t v, std::int64_t d) {
        return v >= 0 ? v / d : -((-v + d - 1) / d);
    };
    if (int months = intervalMonths(interval))
        return SqlValue::ofInteger(floorDiv(std::int64_t(to.year) * 12 + to.month - 1, months) -
                                   floorDiv(std::int64_t(from.year) * 12 + from.month - 1, months));
    std::int64_t step = intervalSeconds(interval);
    if (!step)
        throw invalidCall();
    std::int64_t a0 = secondsOf(from), b0 = secondsOf(to);
    if (interval == u"ww") { // weeks begin on Sundays; day 1 was one
        a0 -= 86400, b0 -= 86400;
    } else if (interval == u"w") { // whole weeks between the two
        return SqlValue::ofInteger((b0 - a0) / (7 * 86400));
    }
    return SqlValue::ofInteger(floorDiv(b0, step) - floorDiv(a0, step));
}

KEL_FUNCTION(abs) {
    if (a[0].isNull())
        return {};
    if (a[0].kind == SqlValue::Kind::Integer && a[0].integer != INT64_MIN)
        return SqlValue::ofInteger(a[0].integer < 0 ? -a[0].integer : a[0].integer);
    return SqlValue::ofReal(std::fabs(numberArgument(a[0])));
}

KEL_FUNCTION(intFunction) {
    if (a[0].isNull())
        return {};
    return SqlValue::ofReal(std::floor(numberArgument(a[0])));
}

KEL_FUNCTION(fix) {
    if (a[0].isNull())
        return {};
    return SqlValue::ofReal(std::trunc(numberArgument(a[0])));
}

KEL_FUNCTION(sgn) {
    if (a[0].isNull())
        return {};
    double v = numberArgument(a[0]);
    return SqlValue::ofInteger(v > 0 ? 1 : v < 0 ? -1 : 0);
}

KEL_FUNCTION(sqr) {
    if (a[0].isNull())
        return {};
    double v = numberArgument(a[0]);
    if (v < 0)
        throw invalidCall();
    return SqlValue::ofReal(std::sqrt(v));
}

// Round to even, like the engine's Round.
KEL_FUNCTION(round) {
    if (a[0].isNull())
        return {};
    double places = a.size() > 1 ? double(integerArgument(a[1])) : 0;
    if (places < 0)
        throw invalidCall();
    double scale = std::pow(10.0, places);
    return SqlValue::ofReal(std::nearbyint(numberArgument(a[0]) * scale) / scale);
}

KEL_FUNCTION(val) {
    if (a[0].isNull())
        throw EngineError(status::unspecified, u"Invalid use of Null.");
    return SqlValue::ofReal(leadingNumber(textArgument(a[0])));
}

KEL_FUNCTION(cstr) {
    if (a[0].isNull())
        throw EngineError(status::unspecified, u"Invalid use of Null.");
    return text(textArgument(a[0]));
}

KEL_FUNCTION(clng) {
    double v = std::nearbyint(numberArgument(a[0]));
    if (v < -2147483648.0 || v > 2147483647.0)
        throw EngineError(status::unspecified, u"Overflow.");
    return SqlValue::ofInteger(std::int64_t(v));
}

KEL_FUNCTION(cint) {
    double v = std::nearbyint(numberArgument(a[0]));
    if (v < -32768.0 || v > 32767.0)
        throw EngineError(status::unspecified, u"Overflow.");
    return SqlValue::ofInteger(std::int64_t(v));
}

KEL_FUNCTION(cdbl) {
    return SqlValue::ofReal(numberArgument(a[0]));
}

KEL_FUNCTION(cbool) {
    return SqlValue::ofInteger(numberArgument(a[0]) != 0 ? -1 : 0);
}

KEL_FUNCTION(cdate) {
    if (a[0].kind == SqlValue::Kind::Text && !numberOf(a[0])) {
        std::optional<double> days = parseDate(a[0].text);
        if (!days)
            throw valueErrors::typeMismatch();
        return SqlValue::ofReal(*days);
    }
    return SqlValue::ofReal(numberArgument(a[0]));
}

KEL_FUNCTION(isNumeric) {
    return SqlValue::ofInteger(
        !a[0].isNull() && a[0].kind != SqlValue::Kind::Blob && numberOf(a[0]) ? -1 : 0);
}

KEL_FUNCTION(strReverse) {
    if (a[0].isNull())
        throw EngineError(status::unspecified, u"Invalid use of Null.");
    std::u16string s = textArgument(a[0]);
    return text(std::u16string(s.rbegin(), s.rend()));
}

#undef KEL_FUNCTION

struct Definition {
    AccessFunction function;
    Implementation implementation;
    bool deterministic = true;
};

// The operators and the value store have no Access name.
const Definition definitions[] = {
    {{u"", "kel_store", 2, 2}, store, false}, // reads the statement's columns
    {{u"", "kel_concat", 2, 2}, concat},
    {{u"", "kel_add", 2, 2}, add},
    {{u"", "kel_div", 2, 2}, divide},
    {{u"", "kel_intdiv", 2, 2}, integerDivide},
    {{u"", "kel_mod", 2, 2}, modulo},
    {{u"", "kel_pow", 2, 2}, power},
    {{u"", "kel_like", 2, 2}, likeOperator},
    {{u"Len", "kel_len", 1, 1}, len},
    {{u"Left", "kel_left", 2, 2}, left},
    {{u"Right", "kel_right", 2, 2}, right},
    {{u"Mid", "kel_mid", 2, 3}, mid},
    {{u"UCase", "kel_ucase", 1, 1}, ucase},
    {{u"LCase", "kel_lcase", 1, 1}, lcase},
    {{u"Trim", "kel_trim", 1, 1}, trim},
    {{u"LTrim", "kel_ltrim", 1, 1}, ltrim},
    {{u"RTrim", "kel_rtrim", 1, 1}, rtrim},
    {{u"Chr", "kel_chr", 1, 1}, chr},
    {{u"ChrW", "kel_chrw", 1, 1}, chrw},
    {{u"Asc", "kel_asc", 1, 1}, asc},
    {{u"AscW", "kel_asc", 1, 1}, asc},
    {{u"Space", "kel_space", 1, 1}, space},
    {{u"InStr", "kel_instr", 2, 3}, instr},
    {{u"Replace", "kel_replace", 3, 3}, replace},
    {{u"StrReverse", "kel_strreverse", 1, 1}, strReverse},
    {{u"Now", "kel_now", 0, 0}, nowFunction, false},
    {{u"Date", "kel_date", 0, 0}, dateFunction, false},
    {{u"Time", "kel_time", 0, 0}, timeFunction, false},
    {{u"Year", "kel_year", 1, 1}, year},
    {{u"Month", "kel_month", 1, 1}, month},
    {{u"Day", "kel_day", 1, 1}, day},
    {{u"Hour", "kel_hour", 1, 1}, hour},
    {{u"Minute", "kel_minute", 1, 1}, minute},
    {{u"Second", "kel_second", 1, 1}, second},
    {{u"Weekday", "kel_weekday", 1, 1}, weekday},
    {{u"DateSerial", "kel_dateserial", 3, 3}, dateSerial},
    {{u"DateAdd", "kel_dateadd", 3, 3}, dateAdd},
    {{u"DateDiff", "kel_datediff", 3, 3}, dateDiff},
    {{u"Abs", "kel_abs", 1, 1}, abs},
    {{u"Int", "kel_int", 1, 1}, intFunction},
    {{u"Fix", "kel_fix", 1, 1}, fix},
    {{u"Sgn", "kel_sgn", 1, 1}, sgn},
    {{u"Sqr", "kel_sqr", 1, 1}, sqr},
    {{u"Round", "kel_round", 1, 2}, round},
    {{u"Val", "kel_val", 1, 1}, val},
    {{u"CStr", "kel_cstr", 1, 1}, cstr},
    {{u"CLng", "kel_clng", 1, 1}, clng},
    {{u"CInt", "kel_cint", 1, 1}, cint},
    {{u"CDbl", "kel_cdbl", 1, 1}, cdbl},
    {{u"CBool", "kel_cbool", 1, 1}, cbool},
    {{u"CDate", "kel_cdate", 1, 1}, cdate},
    {{u"IsNumeric", "kel_isnumeric", 1, 1}, isNumeric},
};

SqlValue argument(sqlite3_value* value) {
    switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
        return SqlValue::ofInteger(sqlite3_value_int64(value));
    case SQLITE_FLOAT:
        return SqlValue::ofReal(sqlite3_value_double(value));
    case SQLITE_TEXT: {
        const auto* data = static_cast<const char16_t*>(sqlite3_value_text16(value));
        int bytes = sqlite3_value_bytes16(value);
        return SqlValue::ofText(data ? std::u16string(data, std::size_t(bytes) / 2) : u"");
    }
    case SQLITE_BLOB: {
        const auto* data = static_cast<const std::uint8_t*>(sqlite3_value_blob(value));
        int bytes = sqlite3_value_bytes(value);
        return SqlValue::ofBlob(data ? Variant::Bytes(data, data + bytes) : Variant::Bytes());
    }
    default:
        if (const auto* nan =
                static_cast<const double*>(sqlite3_value_pointer(value, nanPointerType)))
            return SqlValue::ofReal(*nan);
        return {};
    }
}

void result(sqlite3_context* context, const SqlValue& value) {
    switch (value.kind) {
    case SqlValue::Kind::Null:
        sqlite3_result_null(context);
        break;
    case SqlValue::Kind::Integer:
        sqlite3_result_int64(context, value.integer);
        break;
    case SqlValue::Kind::Real:
        sqlite3_result_double(context, value.real);
        break;
    case SqlValue::Kind::Text:
        sqlite3_result_text16(context, value.text.data(), int(value.text.size() * 2),
                              SQLITE_TRANSIENT);
        break;
    case SqlValue::Kind::Blob:
        sqlite3_result_blob64(context, value.blob.empty() ? "" : (const void*)value.blob.data(),
                              value.blob.size(), SQLITE_TRANSIENT);
        break;
    }
}

struct Registration {
    StatementContext* context;
    Implementation implementation;
};

void invoke(sqlite3_context* sqlContext, int count, sqlite3_value** values) {
    auto* registration = static_cast<Registration*>(sqlite3_user_data(sqlContext));
    std::vector<SqlValue> arguments;
    arguments.reserve(std::size_t(count));
    for (int i = 0; i < count; ++i)
        arguments.push_back(argument(values[i]));
    try {
        result(sqlContext, registration->implementation(*registration->context, arguments));
    } catch (const EngineError& error) {
        if (!registration->context->error)
            registration->context->error = error;
        sqlite3_result_error(sqlContext, "function failed", -1);
    }
}

} // namespace

const AccessFunction* findAccessFunction(std::u16string_view name) {
    if (!name.empty() && name.back() == u'$') // Left$, Mid$, ... give texts as well
        name.remove_suffix(1);
    for (const Definition& definition : definitions)
        if (!definition.function.name.empty() && text::equalsNoCase(definition.function.name, name))
            return &definition.function;
    return nullptr;
}

void registerAccessFunctions(SqliteDatabase& db, StatementContext& context) {
    for (const Definition& definition : definitions) {
        int flags = SQLITE_UTF8 | (definition.deterministic ? SQLITE_DETERMINISTIC : 0);
        const AccessFunction& f = definition.function;
        for (int arguments = f.minArguments; arguments <= f.maxArguments; ++arguments) {
            auto* registration = new Registration{&context, definition.implementation};
            int rc = sqlite3_create_function_v2(
                db.handle(), f.sqlName, arguments, flags, registration, invoke, nullptr, nullptr,
                [](void* p) { delete static_cast<Registration*>(p); });
            if (rc != SQLITE_OK)
                db.fail(rc);
        }
    }
}

} // namespace engine::embedded
