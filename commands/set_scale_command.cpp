#include "commands/set_scale_command.h"

#include <charconv>
#include <cstddef>
#include <limits>
#include <string>
#include <system_error>

#include "config/plugin_settings.h"

namespace tinyhorde {

namespace {

bool InScaleRange(double value) {
  return value > 0.01 && value < 10.0;
}

// The white space of the "C" locale; locale-independent on purpose.
bool IsAsciiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c, bool hex) {
  if (c >= '0' && c <= '9') return true;
  return hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithWord(std::string_view text, std::string_view lower_word) {
  if (text.size() < lower_word.size()) return false;
  for (std::size_t i = 0; i < lower_word.size(); ++i)
    if (LowerAscii(text[i]) != lower_word[i]) return false;
  return true;
}

// For a number that from_chars found out of range: whether its magnitude is at least 1 (it
// overflowed) rather than below 1 (it underflowed). number is the matched text without sign
// and without a "0x" prefix; the exponent letter is 'e', or 'p' (a power of two) for hex.
bool Overflowed(std::string_view number, bool hex) {
  const char exponent_letter = hex ? 'p' : 'e';
  std::size_t at = 0;
  long long position = 0;  // the place of the first non-zero digit, in digits (0: units)
  bool found = false;
  long long integer_digits = 0;
  for (; at < number.size() && IsDigit(number[at], hex); ++at, ++integer_digits)
    if (!found && number[at] != '0') {
      found = true;
      position = -integer_digits;  // fixed up once the count of integer digits is known
    }
  if (found) position += integer_digits - 1;
  if (at < number.size() && number[at] == '.') {
    ++at;
    for (long long fraction = 1; at < number.size() && IsDigit(number[at], hex); ++at, ++fraction)
      if (!found && number[at] != '0') {
        found = true;
        position = -fraction;
      }
  }
  long long exponent = 0;
  if (at < number.size() && LowerAscii(number[at]) == exponent_letter) {
    ++at;
    bool negative = false;
    if (at < number.size() && (number[at] == '+' || number[at] == '-'))
      negative = number[at++] == '-';
    for (; at < number.size() && IsDigit(number[at], false); ++at)
      if (exponent < 1'000'000'000) exponent = exponent * 10 + (number[at] - '0');
    if (negative) exponent = -exponent;
  }
  // One hex digit is four powers of two.
  const long long scaled = hex ? position * 4 + exponent : position + exponent;
  return found && scaled >= 0;
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

  if (StartsWithWord(text, "nan")) return sign * std::numeric_limits<double>::quiet_NaN();
  if (StartsWithWord(text, "inf")) return sign * std::numeric_limits<double>::infinity();
  // from_chars would take a second sign; wcstod does not ("+-1" is no number).
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) return 0.0;

  bool hex = false;
  if (text.size() > 2 && text[0] == '0' && LowerAscii(text[1]) == 'x' &&
      (IsDigit(text[2], true) || (text[2] == '.' && text.size() > 3 && IsDigit(text[3], true)))) {
    hex = true;
    text.remove_prefix(2);
  }
  double value = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value,
                                      hex ? std::chars_format::hex : std::chars_format::general);
  if (result.ec == std::errc::invalid_argument) return 0.0;
  if (result.ec == std::errc::result_out_of_range) {
    const std::string_view number(text.data(), static_cast<std::size_t>(result.ptr - text.data()));
    return Overflowed(number, hex) ? sign * std::numeric_limits<double>::infinity() : sign * 0.0;
  }
  return sign * value;
}

bool ApplySetScaleCommand(const host::FString* line) {
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
    return true;
  }
  return false;
}

}  // namespace tinyhorde
