#include "foundation/engine/embedded/StoredValues.h"

#include "foundation/engine/embedded/AccessDates.h"
#include "foundation/text/WideString.h"

#include <sqlite3.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace engine::embedded {

namespace valueErrors {

EngineError typeMismatch() {
    return {status::unspecified, u"Data type mismatch in criteria expression."};
}

EngineError overflow() {
    return {status::unspecified, u"Numeric field overflow."};
}

EngineError tooLong() {
    return {status::unspecified, u"The field is too small to accept the amount of data you "
                                 u"attempted to add. Try inserting or pasting less data."};
}

EngineError required(std::u16string_view table, std::u16string_view column) {
    return {status::unspecified,
            u"Field '" + std::u16string(table) + u"." + std::u16string(column) +
                u"' cannot contain a Null value because the Required property for this field "
                u"is set to True. Enter a value in this field."};
}

EngineError indexNull() {
    return {status::unspecified, u"Index or primary key cannot contain a Null value."};
}

EngineError zeroLength(std::u16string_view table, std::u16string_view column) {
    return {status::unspecified, u"Field '" + std::u16string(table) + u"." +
                                     std::u16string(column) + u"' cannot be a zero-length string."};
}

} // namespace valueErrors

namespace {

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

std::optional<double> parseNumber(std::u16string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty() || text.size() > 64)
        return std::nullopt;
    std::string narrow;
    for (char16_t c : text) {
        if (!((c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'+' || c == u'e' ||
              c == u'E'))
            return std::nullopt;
        narrow += char(c);
    }
    char* end = nullptr;
    double v = std::strtod(narrow.c_str(), &end);
    if (end != narrow.c_str() + narrow.size())
        return std::nullopt;
    return v;
}

std::optional<bool> truthWord(std::u16string_view text) {
    for (auto word : {u"True", u"Yes", u"On"})
        if (text::equalsNoCase(text, word))
            return true;
    for (auto word : {u"False", u"No", u"Off"})
        if (text::equalsNoCase(text, word))
            return false;
    return std::nullopt;
}

Variant::Bytes bitsOf(double v) {
    Variant::Bytes bytes(8);
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    for (int i = 0; i < 8; ++i)
        bytes[std::size_t(i)] = std::uint8_t(bits >> (8 * i));
    return bytes;
}

double doubleOf(const Variant::Bytes& bytes) {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= std::uint64_t(bytes[std::size_t(i)]) << (8 * i);
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

Variant::Bytes utf16Bytes(std::u16string_view text) {
    Variant::Bytes bytes;
    for (char16_t c : text) {
        bytes.push_back(std::uint8_t(c));
        bytes.push_back(std::uint8_t(c >> 8));
    }
    return bytes;
}

// "{00000000-0000-0000-0000-000000000000}" with or without braces, in the byte order of a GUID
// structure (the first three groups little-endian).
std::optional<Variant::Bytes> guidBytes(std::u16string_view text) {
    if (text.size() == 38 && text.front() == u'{' && text.back() == u'}')
        text = text.substr(1, 36);
    if (text.size() != 36)
        return std::nullopt;
    std::string hex;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != u'-')
                return std::nullopt;
            continue;
        }
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
            return std::nullopt;
        hex += char(c);
    }
    Variant::Bytes bytes(16);
    for (std::size_t i = 0; i < 16; ++i)
        bytes[i] = std::uint8_t(std::strtoul(hex.substr(i * 2, 2).c_str(), nullptr, 16));
    std::swap(bytes[0], bytes[3]);
    std::swap(bytes[1], bytes[2]);
    std::swap(bytes[4], bytes[5]);
    std::swap(bytes[6], bytes[7]);
    return bytes;
}

// A number rounded to an integer the way Access converts, halves to even.
std::int64_t roundedInteger(double v, std::int64_t low, std::int64_t high) {
    if (std::isnan(v))
        throw valueErrors::overflow();
    double r = std::nearbyint(v);
    if (r < double(low) || r > double(high))
        throw valueErrors::overflow();
    return std::int64_t(r);
}

double requireNumber(const SqlValue& value) {
    if (value.kind == SqlValue::Kind::Blob)
        throw valueErrors::typeMismatch();
    std::optional<double> number = numberOf(value);
    if (!number)
        throw valueErrors::typeMismatch();
    return *number;
}

SqlValue storedText(const SqlValue& value, const StoredColumn& target) {
    std::u16string text = *textOf(value);
    const catalog::Column& column = target.column;
    if (text.empty() && !column.allowZeroLength)
        throw valueErrors::zeroLength(target.table, column.name);
    bool bounded = column.type != type::longVarWChar && column.size > 0;
    if (bounded && text.size() > std::size_t(column.size))
        throw valueErrors::tooLong();
    if (column.type == type::wChar && bounded)
        text.resize(std::size_t(column.size), u' '); // fixed-length text is padded
    return SqlValue::ofText(std::move(text));
}

SqlValue storedBytes(const SqlValue& value, const StoredColumn& target) {
    Variant::Bytes bytes;
    if (value.kind == SqlValue::Kind::Blob)
        bytes = value.blob;
    else if (value.kind == SqlValue::Kind::Text)
        bytes = utf16Bytes(value.text);
    else
        throw valueErrors::typeMismatch();
    if (target.column.type == type::varBinary && target.column.size > 0 &&
        bytes.size() > std::size_t(target.column.size))
        throw valueErrors::tooLong();
    return SqlValue::ofBlob(std::move(bytes));
}

// SQLite turns a NaN into null and may store -0 as the integer 0.
bool keptAsBits(double v) {
    return std::isnan(v) || (v == 0 && std::signbit(v));
}

SqlValue storedReal(const SqlValue& value, const StoredColumn& target) {
    double v = requireNumber(value);
    switch (target.column.type) {
    case type::single:
        if (keptAsBits(v))
            return SqlValue::ofBlob(bitsOf(v));
        if (std::isfinite(v) && std::fabs(v) > FLT_MAX)
            throw valueErrors::overflow();
        return SqlValue::ofReal(double(float(v)));
    case type::doubleType:
        return keptAsBits(v) ? SqlValue::ofBlob(bitsOf(v)) : SqlValue::ofReal(v);
    case type::currency:
        if (!std::isfinite(v) || std::fabs(v) >= 922337203685477.0)
            throw valueErrors::overflow();
        return SqlValue::ofReal(std::nearbyint(v * 10000.0) / 10000.0);
    case type::decimal: {
        const catalog::Column& c = target.column;
        if (!std::isfinite(v) || std::fabs(v) >= std::pow(10.0, c.precision - c.scale))
            throw valueErrors::overflow();
        double scale = std::pow(10.0, c.scale);
        return SqlValue::ofReal(std::nearbyint(v * scale) / scale);
    }
    default: // date
        if (!std::isfinite(v) || !dateParts(v))
            throw valueErrors::overflow();
        return SqlValue::ofReal(v);
    }
}

} // namespace

std::optional<double> numberOf(const SqlValue& value) {
    switch (value.kind) {
    case SqlValue::Kind::Integer:
        return double(value.integer);
    case SqlValue::Kind::Real:
        return value.real;
    case SqlValue::Kind::Text:
        return parseNumber(value.text);
    default:
        return std::nullopt;
    }
}

std::optional<std::u16string> textOf(const SqlValue& value) {
    switch (value.kind) {
    case SqlValue::Kind::Null:
        return std::nullopt;
    case SqlValue::Kind::Integer:
        return text::toWString(value.integer);
    case SqlValue::Kind::Real:
        return Variant(value.real).toText();
    case SqlValue::Kind::Text:
        return value.text;
    case SqlValue::Kind::Blob: {
        std::u16string text;
        for (std::size_t i = 0; i + 1 < value.blob.size(); i += 2)
            text += char16_t(value.blob[i] | value.blob[i + 1] << 8);
        return text;
    }
    }
    return std::nullopt;
}

SqlValue storedValue(const SqlValue& value, const StoredColumn& target) {
    const catalog::Column& column = target.column;
    if (value.isNull()) {
        if (column.type == type::boolean)
            return SqlValue::ofInteger(0); // Yes/No holds no null: it is No
        if (!column.nullable)
            throw valueErrors::required(target.table, column.name);
        if (target.indexedNotNull)
            throw valueErrors::indexNull();
        return value;
    }
    switch (column.type) {
    case type::boolean: {
        if (value.kind == SqlValue::Kind::Text)
            if (std::optional<bool> truth = truthWord(value.text))
                return SqlValue::ofInteger(*truth ? -1 : 0);
        double v = requireNumber(value);
        return SqlValue::ofInteger(v != 0 ? -1 : 0);
    }
    case type::tinyInt:
        return SqlValue::ofInteger(roundedInteger(requireNumber(value), 0, 255));
    case type::smallInt:
        return SqlValue::ofInteger(roundedInteger(requireNumber(value), -32768, 32767));
    case type::integer:
        return SqlValue::ofInteger(
            roundedInteger(requireNumber(value), -2147483648LL, 2147483647LL));
    case type::single:
    case type::doubleType:
    case type::currency:
    case type::decimal:
        return storedReal(value, target);
    case type::date:
        if (value.kind == SqlValue::Kind::Text && !parseNumber(value.text)) {
            std::optional<double> days = parseDate(value.text);
            if (!days)
                throw valueErrors::typeMismatch();
            return SqlValue::ofReal(*days);
        }
        return storedReal(value, target);
    case type::wChar:
    case type::varWChar:
    case type::longVarWChar:
        if (value.kind == SqlValue::Kind::Blob)
            throw valueErrors::typeMismatch();
        return storedText(value, target);
    case type::varBinary:
    case type::longVarBinary:
        return storedBytes(value, target);
    case type::dateTimeExtended: // kept as the text it was given, as Access keeps it
        if (value.kind == SqlValue::Kind::Blob)
            throw valueErrors::typeMismatch();
        return SqlValue::ofText(*textOf(value));
    case type::guid:
        if (value.kind == SqlValue::Kind::Blob && value.blob.size() == 16)
            return value;
        if (value.kind == SqlValue::Kind::Text)
            if (std::optional<Variant::Bytes> bytes = guidBytes(value.text))
                return SqlValue::ofBlob(*bytes);
        throw valueErrors::typeMismatch();
    default:
        throw valueErrors::typeMismatch();
    }
}

void bindValue(SqliteStatement& statement, int index, const Variant& value) {
    switch (value.type()) {
    case VarType::Empty:
    case VarType::Null:
        statement.bindNull(index);
        return;
    case VarType::String:
        statement.bind(index, std::u16string_view(value.asString()));
        return;
    case VarType::ByteArray: {
        const Variant::Bytes& bytes = value.asBytes();
        statement.bindBlob(index, bytes.data(), bytes.size());
        return;
    }
    case VarType::Guid: {
        std::u16string text = *value.toText();
        Variant::Bytes bytes = *guidBytes(text);
        statement.bindBlob(index, bytes.data(), bytes.size());
        return;
    }
    case VarType::Decimal:
        statement.bind(index, std::u16string_view(*value.toText()));
        return;
    case VarType::Bool:
    case VarType::Byte:
    case VarType::Int16:
    case VarType::Int32:
    case VarType::Int64:
        statement.bind(index, *value.toInt());
        return;
    default: {
        double v = *value.toDouble();
        if (std::isnan(v))
            statement.bindPointer(index, new double(v), nanPointerType,
                                  [](void* p) { delete static_cast<double*>(p); });
        else
            statement.bindReal(index, v);
        return;
    }
    }
}

namespace {

Variant plainValue(const SqliteStatement& row, int index) {
    switch (row.storageClass(index)) {
    case SQLITE_INTEGER: {
        std::int64_t v = row.integer(index);
        if (v >= INT32_MIN && v <= INT32_MAX)
            return Variant(std::int32_t(v));
        return Variant(double(v));
    }
    case SQLITE_FLOAT:
        return Variant(row.real(index));
    case SQLITE_TEXT:
        return Variant(row.text(index));
    case SQLITE_BLOB:
        return Variant(row.blob(index));
    default:
        return Variant::null();
    }
}

Decimal decimalText(double v, int scale) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", scale, v);
    std::string s = buffer;
    return Decimal{std::u16string(s.begin(), s.end())};
}

} // namespace

Variant readValue(const SqliteStatement& row, int index, const catalog::Column* column) {
    int storage = row.storageClass(index);
    if (storage == SQLITE_NULL)
        return Variant::null();
    if (!column)
        return plainValue(row, index);
    bool number = storage == SQLITE_INTEGER || storage == SQLITE_FLOAT;
    switch (column->type) {
    case type::boolean:
        return number ? Variant(row.integer(index) != 0) : plainValue(row, index);
    case type::tinyInt:
        return number ? Variant(std::uint8_t(row.integer(index))) : plainValue(row, index);
    case type::smallInt:
        return number ? Variant(std::int16_t(row.integer(index))) : plainValue(row, index);
    case type::integer:
        return number ? Variant(std::int32_t(row.integer(index))) : plainValue(row, index);
    case type::single:
    case type::doubleType: {
        double v = number ? row.real(index) : 0;
        if (storage == SQLITE_BLOB) {
            Variant::Bytes bytes = row.blob(index);
            if (bytes.size() != 8)
                return Variant(bytes);
            v = doubleOf(bytes);
        } else if (!number) {
            return plainValue(row, index);
        }
        return column->type == type::single ? Variant(float(v)) : Variant(v);
    }
    case type::currency:
        return number ? Variant(Currency{std::llround(row.real(index) * 10000.0)})
                      : plainValue(row, index);
    case type::decimal:
        return number ? Variant(decimalText(row.real(index), column->scale))
                      : plainValue(row, index);
    case type::date:
        return number ? Variant(Date{row.real(index)}) : plainValue(row, index);
    case type::guid: {
        if (storage != SQLITE_BLOB)
            return plainValue(row, index);
        Variant::Bytes bytes = row.blob(index);
        if (bytes.size() != 16)
            return Variant(bytes);
        Guid guid;
        std::memcpy(guid.bytes, bytes.data(), 16);
        return Variant(guid);
    }
    default:
        return plainValue(row, index);
    }
}

} // namespace engine::embedded
