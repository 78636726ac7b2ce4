#include "support/utf16_input.h"

namespace fuzzsupport {

std::u16string Utf16Units(const std::uint8_t* data, std::size_t size) {
  std::u16string units;
  units.reserve(size / 2);
  for (std::size_t i = 0; i + 1 < size; i += 2)
    units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  return units;
}

}  // namespace fuzzsupport
