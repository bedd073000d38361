#pragma once

// Base64 as the script carries object definitions: standard alphabet with "=" padding, a
// line break after every 72 characters and after the last line, each break written "\r\n".

#include <cstdint>
#include <span>
#include <string>

std::u16string base64Text(std::span<const std::uint8_t> bytes);
