// Reading a fuzz input as a UTF-16 line, the game's text form. Every code unit is allowed:
// unpaired surrogates, zeros and non-characters included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzsupport {

// The input's bytes as little-endian code units; an odd last byte is dropped.
std::u16string Utf16Units(const std::uint8_t* data, std::size_t size);

}  // namespace fuzzsupport
