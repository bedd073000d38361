#include "foundation/engine/api/Variant.h"

#include "foundation/engine/api/CivilDate.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace engine {

namespace {

std::u16string widen(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

// Real numbers as the automation layer prints them: the given significant digits, no
// trailing zeros, and an exponent written "E+20" / "E-05".
std::u16string realText(double v, int digits) {
    if (std::isnan(v) || std::isinf(v))
        return std::isnan(v) ? u"NaN" : (v < 0 ? u"-Inf" : u"Inf");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", digits, v);
    return widen(buf);
}

std::u16string currencyText(std::int64_t scaled) {
    bool negative = scaled < 0;
    std::uint64_t magnitude = negative ? 0 - std::uint64_t(scaled) : std::uint64_t(scaled);
    std::string s = std::to_string(magnitude / 10000);
    std::uint64_t fraction = magnitude % 10000;
    if (fraction != 0) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04u", unsigned(fraction));
        std::string f(buf);
        while (f.back() == '0')
            f.pop_back();
        s += "." + f;
    }
    return widen((negative ? "-" : "") + s);
}

std::optional<std::u16string> dateText(double oleDate) {
    if (!(oleDate > -657435.0 && oleDate < 2958466.0)) // years 100 to 9999
        return std::nullopt;
    // The fraction counts away from day 0 on both sides of it.
    double dayPart = std::trunc(oleDate);
    double fraction = std::fabs(oleDate - dayPart);
    long long seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        dayPart += oleDate < 0 ? -1 : 1;
    }
    std::string out;
    char buf[32];
    if (dayPart != 0) {
        const CivilDate date = civilFromDays(std::int64_t(dayPart) + oleEpochDays);
        std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", date.month, date.day, date.year);
        out = buf;
    }
    if (seconds != 0 || dayPart == 0) {
        std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
        if (!out.empty())
            out += ' ';
        out += buf;
    }
    return widen(out);
}

std::u16string guidText(const Guid& g) {
    char buf[40];
    const auto* b = g.bytes;
    std::snprintf(buf, sizeof buf,
                  "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X}", b[3],
                  b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return widen(buf);
}

template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

} // namespace

VarType Variant::type() const {
    return std::visit(Overloaded{
                          [](std::monostate) { return VarType::Empty; },
                          [](NullValue) { return VarType::Null; },
                          [](bool) { return VarType::Bool; },
                          [](std::uint8_t) { return VarType::Byte; },
                          [](std::int16_t) { return VarType::Int16; },
                          [](std::int32_t) { return VarType::Int32; },
                          [](std::int64_t) { return VarType::Int64; },
                          [](float) { return VarType::Single; },
                          [](double) { return VarType::Double; },
                          [](Currency) { return VarType::Currency; },
                          [](Date) { return VarType::Date; },
                          [](const Decimal&) { return VarType::Decimal; },
                          [](const Guid&) { return VarType::Guid; },
                          [](const std::u16string&) { return VarType::String; },
                          [](const Bytes&) { return VarType::ByteArray; },
                      },
                      value_);
}

std::optional<double> Variant::toDouble() const {
    return std::visit(
        Overloaded{
            [](bool v) -> std::optional<double> { return v ? -1.0 : 0.0; },
            [](std::uint8_t v) -> std::optional<double> { return v; },
            [](std::int16_t v) -> std::optional<double> { return v; },
            [](std::int32_t v) -> std::optional<double> { return v; },
            [](std::int64_t v) -> std::optional<double> { return double(v); },
            [](float v) -> std::optional<double> { return v; },
            [](double v) -> std::optional<double> { return v; },
            [](Currency v) -> std::optional<double> { return double(v.scaled) / 10000.0; },
            [](Date v) -> std::optional<double> { return v.days; },
            [](const Decimal& v) -> std::optional<double> {
                std::string s(v.text.begin(), v.text.end());
                return std::strtod(s.c_str(), nullptr);
            },
            [](const auto&) -> std::optional<double> { return std::nullopt; },
        },
        value_);
}

std::optional<std::int64_t> Variant::toInt() const {
    return std::visit(Overloaded{
                          [](bool v) -> std::optional<std::int64_t> { return v ? -1 : 0; },
                          [](std::uint8_t v) -> std::optional<std::int64_t> { return v; },
                          [](std::int16_t v) -> std::optional<std::int64_t> { return v; },
                          [](std::int32_t v) -> std::optional<std::int64_t> { return v; },
                          [](std::int64_t v) -> std::optional<std::int64_t> { return v; },
                          [](const auto&) -> std::optional<std::int64_t> { return std::nullopt; },
                      },
                      value_);
}

std::optional<std::u16string> Variant::toText() const {
    return std::visit(
        Overloaded{
            [](std::monostate) -> std::optional<std::u16string> { return u""; },
            [](NullValue) -> std::optional<std::u16string> { return std::nullopt; },
            [](bool v) -> std::optional<std::u16string> { return v ? u"-1" : u"0"; },
            [](std::uint8_t v) -> std::optional<std::u16string> {
                return widen(std::to_string(v));
            },
            [](std::int16_t v) -> std::optional<std::u16string> {
                return widen(std::to_string(v));
            },
            [](std::int32_t v) -> std::optional<std::u16string> {
                return widen(std::to_string(v));
            },
            [](std::int64_t v) -> std::optional<std::u16string> {
                return widen(std::to_string(v));
            },
            [](float v) -> std::optional<std::u16string> { return realText(v, 7); },
            [](double v) -> std::optional<std::u16string> { return realText(v, 15); },
            [](Currency v) -> std::optional<std::u16string> { return currencyText(v.scaled); },
            [](Date v) { return dateText(v.days); },
            [](const Decimal& v) -> std::optional<std::u16string> { return v.text; },
            [](const Guid& v) -> std::optional<std::u16string> { return guidText(v); },
            [](const std::u16string& v) -> std::optional<std::u16string> { return v; },
            [](const Bytes&) -> std::optional<std::u16string> { return std::nullopt; },
        },
        value_);
}

} // namespace engine
