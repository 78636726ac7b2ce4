#include "config/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace tinyhorde {

namespace {

// The exponent range fmt writes without an exponent.
constexpr int kLowestPlainExponent = -4;
constexpr int kFirstExponentForm = 16;

}  // namespace

std::string ShortestNumberText(double value) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";

  // The shortest round-trip digits, as d.ddde+XX.
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const std::size_t e = scientific.find('e');
  const int exponent = std::atoi(std::string(scientific.substr(e + 1)).c_str());
  if (exponent < kLowestPlainExponent || exponent >= kFirstExponentForm)
    return std::string(scientific);

  std::string_view mantissa = scientific.substr(0, e);
  std::string text;
  if (!mantissa.empty() && mantissa.front() == '-') {
    text = "-";
    mantissa.remove_prefix(1);
  }
  std::string digits;
  for (const char c : mantissa)
    if (c != '.') digits += c;

  // The first digit stands at 10^exponent.
  if (exponent < 0) {
    text += "0.";
    text.append(static_cast<std::size_t>(-exponent - 1), '0');
    text += digits;
  } else if (static_cast<std::size_t>(exponent) + 1 >= digits.size()) {
    text += digits;
    text.append(static_cast<std::size_t>(exponent) + 1 - digits.size(), '0');
  } else {
    text += digits.substr(0, static_cast<std::size_t>(exponent) + 1);
    text += '.';
    text += digits.substr(static_cast<std::size_t>(exponent) + 1);
  }
  return text;
}

}  // namespace tinyhorde
