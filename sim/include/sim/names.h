// The game's name table: each distinct text gets one index, for the life of the server.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "sim/game_types.h"

namespace sim {

class NameTable {
 public:
  NameTable();
  FName Add(const std::u16string& text);
  FName Add(const std::string& utf8);
  // The text of a name; an index the table does not hold reads as "None".
  const std::u16string& Text(FName name) const;

 private:
  std::vector<std::u16string> texts_;
  std::unordered_map<std::u16string, int> indices_;
};

}  // namespace sim
