#pragma once

// The page type codes in each page's first byte.

#include <cstdint>

namespace engine::jetfile::page {

constexpr std::uint8_t definition = 0x00;
constexpr std::uint8_t data = 0x01;
constexpr std::uint8_t tableDefinition = 0x02;
constexpr std::uint8_t indexNode = 0x03;
constexpr std::uint8_t indexLeaf = 0x04;
constexpr std::uint8_t usageMap = 0x05;

// A data page holding long values names this instead of its table's definition page.
constexpr std::uint32_t longValueOwner = 0x4C41564C; // "LVAL"

} // namespace engine::jetfile::page
