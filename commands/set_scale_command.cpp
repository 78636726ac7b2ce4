#include "commands/set_scale_command.h"

#include <charconv>
#include <cstddef>
#include <limits>
#include <string>
#include <system_error>

#include "config/plugin_settings.h"

namespace tinyhorde {

namespace {

// The white space of the "C" locale; locale-independent on purpose.
bool IsAsciiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// For a number that from_chars found out of range: whether its magnitude is at least 1 (it
// overflowed) rather than below 1 (it underflowed). number is the matched text without sign.
bool Overflowed(std::string_view number) {
  std::size_t at = 0;
  long long position = 0;  // the place of the first non-zero digit, in digits (0: units)
  bool found = false;
  long long integer_digits = 0;
  for (; at < number.size() && IsDigit(number[at]); ++at, ++integer_digits)
    if (!found && number[at] != '0') {
      found = true;
      position = -integer_digits;  // fixed up once the count of integer digits is known
    }
  if (found) position += integer_digits - 1;
  if (at < number.size() && number[at] == '.') {
    ++at;
    for (long long fraction = 1; at < number.size() && IsDigit(number[at]); ++at, ++fraction)
      if (!found && number[at] != '0') {
        found = true;
        position = -fraction;
      }
  }
  long long exponent = 0;
  if (at < number.size() && (number[at] == 'e' || number[at] == 'E')) {
    ++at;
    bool negative = false;
    if (at < number.size() && (number[at] == '+' || number[at] == '-'))
      negative = number[at++] == '-';
    for (; at < number.size() && IsDigit(number[at]); ++at)
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (number[at] - '0');
    if (negative) exponent = -exponent;
  }
  return found && position + exponent >= 0;
}

std::string ExcludedNameText(const std::string& key, const std::string& entry) {
  return "[Tinyhorde] ExcludedBlueprints excludes " + key + " (by its entry " + entry +
         "), so no creature of that name is resized.";
}

}  // namespace

host::TArray<host::FString> SplitOnSpaces(const host::FString& line) {
  static const host::TCHAR kSpace[] = {' ', 0};
  host::TArray<host::FString> tokens;
  line.ParseIntoArray(tokens, kSpace, true);
  return tokens;
}

double ReadLeadingNumber(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size() && IsAsciiSpace(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  const double sign = negative ? -1.0 : 1.0;
  text.remove_prefix(at);

  // A decimal number starts with a digit, or a point and a digit. This also keeps from_chars
  // from reading "inf", "nan" or a second sign.
  const bool starts_number =
      !text.empty() &&
      (IsDigit(text[0]) || (text[0] == '.' && text.size() > 1 && IsDigit(text[1])));
  if (!starts_number) return 0.0;
  double value = 0.0;
  const auto result =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (result.ec == std::errc::invalid_argument) return 0.0;
  if (result.ec == std::errc::result_out_of_range) {
    const std::string_view number(text.data(), static_cast<std::size_t>(result.ptr - text.data()));
    return Overflowed(number) ? sign * std::numeric_limits<double>::infinity() : sign * 0.0;
  }
  return sign * value;
}

bool ApplySetScaleCommand(const host::FString* line, std::string* note) {
  if (note != nullptr) note->clear();
  if (line == nullptr) return false;
  const host::TArray<host::FString> tokens = SplitOnSpaces(*line);
  if (tokens.Num() == 2) {
    const double value = ReadLeadingNumber(host::ToUtf8(tokens[1]));
    if (!InScaleRange(value)) return false;
    SetGlobalScale(value);
    return true;
  }
  if (tokens.Num() >= 3) {
    const std::string name = host::ToUtf8(tokens[1]);
    const double value = ReadLeadingNumber(host::ToUtf8(tokens[2]));
    if (!InScaleRange(value)) return false;
    SetCreatureScale(name, value);
    if (note != nullptr) {
      const std::string entry = ExcludingEntry(name);
      if (!entry.empty()) *note = ExcludedNameText(LowerBytes(name), entry);
    }
    return true;
  }
  return false;
}

}  // namespace tinyhorde
