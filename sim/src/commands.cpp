#include "sim/commands.h"

namespace sim {

namespace {
char16_t Lower(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}
}  // namespace

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

std::u16string FirstWord(std::u16string_view line) {
  const auto start = line.find_first_not_of(u' ');
  if (start == std::u16string_view::npos) return {};
  const auto end = line.find(u' ', start);
  return std::u16string(line.substr(start, end == std::u16string_view::npos ? end : end - start));
}

}  // namespace sim
