#include "commands/set_scale_command.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "commands/tokens.h"
#include "config/plugin_settings.h"

namespace tinyhorde {

namespace {

bool InRange(double value) {
  return value > 0.01 && value < 10.0;
}

bool StartsWithIgnoringCase(const std::string& text, std::size_t at, const char* word) {
  for (std::size_t i = 0; word[i] != 0; ++i)
    if (at + i >= text.size() || std::tolower(static_cast<unsigned char>(text[at + i])) != word[i])
      return false;
  return true;
}

}  // namespace

double ReadLeadingNumber(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  const double sign = negative ? -1.0 : 1.0;
  if (StartsWithIgnoringCase(text, at, "nan")) return std::numeric_limits<double>::quiet_NaN();
  if (StartsWithIgnoringCase(text, at, "inf"))
    return sign * std::numeric_limits<double>::infinity();
  // from_chars never looks at the locale; it takes no sign of its own here.
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) return 0.0;
  double value = 0.0;
  const auto result = std::from_chars(text.data() + at, text.data() + text.size(), value,
                                      std::chars_format::general);
  if (result.ec == std::errc::invalid_argument) return 0.0;
  if (result.ec == std::errc::result_out_of_range) {
    // Too large reads as infinity, too small as zero, as strtod answers.
    const std::string_view number(text.data() + at,
                                  static_cast<std::size_t>(result.ptr - text.data()) - at);
    const auto exponent = number.find_first_of("eE");
    const bool tiny =
        exponent != number.npos && exponent + 1 < number.size() && number[exponent + 1] == '-';
    return tiny ? sign * 0.0 : sign * std::numeric_limits<double>::infinity();
  }
  return sign * value;
}

bool ApplySetScaleCommand(const host::FString* line) {
  if (line == nullptr) return false;
  const auto tokens = SplitOnSpaces(*line);
  if (tokens.Num() == 2) {
    const double value = ReadLeadingNumber(host::ToUtf8(tokens[1]));
    if (!InRange(value)) return false;
    SetGlobalScale(value);
    return true;
  }
  if (tokens.Num() >= 3) {
    const std::string name = host::ToUtf8(tokens[1]);
    const double value = ReadLeadingNumber(host::ToUtf8(tokens[2]));
    if (!InRange(value)) return false;
    SetCreatureScale(name, value);
    return true;
  }
  return false;
}

}  // namespace tinyhorde
