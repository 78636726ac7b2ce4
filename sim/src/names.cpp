#include "sim/names.h"

#include "sim/memory.h"

namespace sim {

NameTable::NameTable() {
  Add(u"None");
}

FName NameTable::Add(const std::u16string& text) {
  auto [it, added] = indices_.try_emplace(text, static_cast<int>(texts_.size()));
  if (added) texts_.push_back(text);
  return FName{it->second, 0};
}

FName NameTable::Add(const std::string& utf8) {
  return Add(Utf8ToUtf16(utf8));
}

const std::u16string& NameTable::Text(FName name) const {
  if (name.ComparisonIndex < 0 || static_cast<std::size_t>(name.ComparisonIndex) >= texts_.size())
    return texts_[0];
  return texts_[static_cast<std::size_t>(name.ComparisonIndex)];
}

}  // namespace sim
