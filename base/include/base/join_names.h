// Names joined for a log line or a reply: "A, B, C".
#pragma once

#include <string>
#include <vector>

namespace tinyhorde {

inline std::string JoinNames(const std::vector<std::string>& names) {
  std::string joined;
  for (const auto& name : names) joined += (joined.empty() ? "" : ", ") + name;
  return joined;
}

}  // namespace tinyhorde
