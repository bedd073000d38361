#pragma once

// The collation codes of the General sort orders (Jet 4's, called "General legacy" since
// ACE, and ACE's own), one entry per UTF-16 unit from U+0000 to U+FFFF, surrogates aside
// (their codes are computed). Packed as a sequence of records, one kind byte first:
//   0 n16          n units ignored by the order
//   1 n16          n simple units, each with the previous simple unit's code plus one
//   2 len code     a simple unit: its inline code
//   3 len code len extra    an international unit: inline code and extra code
//   4 len code     an unprintable unit: its code among the unprintable codes
//   5 mod          a unit that adds mod to the last extra code
//   6 len code len extra flag   an international unit with a "position" flag (1 or 2)
// scripts/pack-text-sort-codes.py generates TextSortTables.cpp.

#include <cstdint>
#include <span>

namespace engine::jetfile::sorttables {

std::span<const std::uint8_t> packedJet4General();
std::span<const std::uint8_t> packedAceGeneral();

} // namespace engine::jetfile::sorttables
