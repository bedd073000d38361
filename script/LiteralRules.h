#pragma once

// Which default texts a column definition may carry inline. The engine rejects a DEFAULT
// clause whose text does not parse as a number of the column's kind, so such defaults are
// written as a separate DEFAULT statement instead.

#include <string_view>

// An optional sign, then one or more decimal digits.
bool isIntegerLiteral(std::u16string_view text);

// An optional sign, digits with at most one ".", and an optional exponent that follows a
// significant (non-zero-led) digit: "0.5e3", ".5" and "-1E+2" pass; "5.", "0e1", "1e" fail.
bool isRealLiteral(std::u16string_view text);

// Integer column types need an integer literal, real types a real literal; any text fits
// the other types.
bool defaultFitsType(int type, std::u16string_view text);
