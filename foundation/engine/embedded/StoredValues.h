#pragma once

// Values on their way into and out of the data tables. Each column type has one stored form:
// integers for Yes/No (-1/0), Byte, Integer and Long; reals for Single, Double, Currency,
// Decimal and Date (OLE days); texts for the text types; blobs for Binary, OLE Object and
// Replication ID. A NaN, which SQLite would turn into null, is kept as a blob of its 8 bytes in
// a Single or Double column, so that every bit pattern comes back.

#include "foundation/engine/api/CatalogModel.h"
#include "foundation/engine/api/Variant.h"
#include "foundation/engine/embedded/DmlTranslator.h"
#include "foundation/engine/embedded/Sqlite.h"

#include <cstdint>
#include <optional>
#include <string>

namespace engine::embedded {

// One SQL value as SQL functions see it.
struct SqlValue {
    enum class Kind { Null, Integer, Real, Text, Blob };
    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    double real = 0;
    std::u16string text;
    Variant::Bytes blob;

    bool isNull() const { return kind == Kind::Null; }
    static SqlValue ofInteger(std::int64_t v) { return {Kind::Integer, v, 0, {}, {}}; }
    static SqlValue ofReal(double v) { return {Kind::Real, 0, v, {}, {}}; }
    static SqlValue ofText(std::u16string v) { return {Kind::Text, 0, 0, std::move(v), {}}; }
    static SqlValue ofBlob(Variant::Bytes v) { return {Kind::Blob, 0, 0, {}, std::move(v)}; }
};

// The number a value stands for: numbers as they are, texts that read as numbers; nullopt for
// anything else.
std::optional<double> numberOf(const SqlValue& value);
// The text of a value as Access shows it (numbers without trailing zeros); nullopt for null.
std::optional<std::u16string> textOf(const SqlValue& value);

// The value the column stores for `value`. Throws EngineError with the engine's wording when
// the column cannot take it: a null in a required column, a zero-length text where none is
// allowed, a text too long, a number out of range, a value of another type.
SqlValue storedValue(const SqlValue& value, const StoredColumn& target);

// Binds a parameter. A NaN double is bound as a pointer that kel_store recognises.
void bindValue(SqliteStatement& statement, int index, const Variant& value);
// The pointer type name of a NaN parameter, and its value.
constexpr const char* nanPointerType = "kel.nan";

// The value of a result column; `column` is its catalog column when it reads one unchanged.
Variant readValue(const SqliteStatement& row, int index, const catalog::Column* column);

namespace valueErrors {
EngineError typeMismatch();
EngineError overflow();
EngineError tooLong();
EngineError required(std::u16string_view table, std::u16string_view column);
EngineError indexNull();
EngineError zeroLength(std::u16string_view table, std::u16string_view column);
} // namespace valueErrors

} // namespace engine::embedded
