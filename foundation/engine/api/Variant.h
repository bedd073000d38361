#pragma once

// A typed value as the database engine hands it over: it keeps its type and converts to
// text the way the engine's automation layer does with the invariant locale.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace engine {

// Type codes of the values (the automation layer's VARTYPE numbers).
enum class VarType : std::uint16_t {
    Empty = 0,
    Null = 1,
    Int16 = 2,
    Int32 = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Bool = 11,
    Decimal = 14,
    Byte = 17,
    Int64 = 20,
    Guid = 72,
    ByteArray = 0x2011,
};

// Currency: the value times 10000.
struct Currency {
    std::int64_t scaled = 0;
    bool operator==(const Currency&) const = default;
};

// OLE automation date: days since 30 December 1899, the fraction is the time of day.
struct Date {
    double days = 0;
    bool operator==(const Date&) const = default;
};

// Exact decimal number, kept as its canonical text ("-12.50").
struct Decimal {
    std::u16string text;
    bool operator==(const Decimal&) const = default;
};

struct Guid {
    std::uint8_t bytes[16] = {};
    bool operator==(const Guid&) const = default;
};

struct NullValue {
    bool operator==(const NullValue&) const = default;
};

class Variant {
public:
    using Bytes = std::vector<std::uint8_t>;

    Variant() = default;
    static Variant null() {
        Variant v;
        v.value_ = NullValue{};
        return v;
    }
    Variant(bool v) : value_(v) {}
    Variant(std::uint8_t v) : value_(v) {}
    Variant(std::int16_t v) : value_(v) {}
    Variant(std::int32_t v) : value_(v) {}
    Variant(std::int64_t v) : value_(v) {}
    Variant(float v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(Currency v) : value_(v) {}
    Variant(Date v) : value_(v) {}
    Variant(Decimal v) : value_(std::move(v)) {}
    Variant(Guid v) : value_(v) {}
    Variant(std::u16string v) : value_(std::move(v)) {}
    Variant(const char16_t* v) : value_(std::u16string(v)) {}
    Variant(Bytes v) : value_(std::move(v)) {}

    VarType type() const;
    bool isEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    bool isNull() const { return std::holds_alternative<NullValue>(value_); }
    bool isString() const { return std::holds_alternative<std::u16string>(value_); }
    bool isByteArray() const { return std::holds_alternative<Bytes>(value_); }

    // Typed access; throws std::bad_variant_access when the type differs.
    bool asBool() const { return std::get<bool>(value_); }
    const std::u16string& asString() const { return std::get<std::u16string>(value_); }
    const Bytes& asBytes() const { return std::get<Bytes>(value_); }
    Date asDate() const { return std::get<Date>(value_); }

    // Numeric value of any number, bool (-1/0), date or currency; nullopt otherwise.
    std::optional<double> toDouble() const;
    // Integral value of an integer, byte or bool; nullopt otherwise.
    std::optional<std::int64_t> toInt() const;

    // Text with the invariant locale; nullopt where the conversion fails (null, arrays).
    // Empty gives "", bool "-1"/"0", a date "MM/dd/yyyy HH:mm:ss" without the zero part.
    std::optional<std::u16string> toText() const;

    bool operator==(const Variant&) const = default;

private:
    using Storage = std::variant<std::monostate, NullValue, bool, std::uint8_t, std::int16_t,
                                 std::int32_t, std::int64_t, float, double, Currency, Date,
                                 Decimal, Guid, std::u16string, Bytes>;
    Storage value_;
};

} // namespace engine
