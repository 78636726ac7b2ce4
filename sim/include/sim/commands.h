// The host's command registries. A line runs the first registered command whose name equals the
// line's first word (split on spaces), ignoring case.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/host_api.h"

namespace sim {

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);
std::u16string FirstWord(std::u16string_view line);

template <typename Handler>
class CommandList {
 public:
  void Add(const std::u16string& name, const Handler& handler) {
    entries_.emplace_back(name, handler);
  }
  bool Remove(const std::u16string& name) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if (EqualsIgnoringCase(it->first, name)) {
        entries_.erase(it);
        return true;
      }
    }
    return false;
  }
  // A copy, so that a handler may unregister commands while it runs.
  bool Find(std::u16string_view line, Handler& out) const {
    const auto word = FirstWord(line);
    for (const auto& [name, handler] : entries_) {
      if (EqualsIgnoringCase(name, word)) {
        out = handler;
        return true;
      }
    }
    return false;
  }
  std::size_t Size() const { return entries_.size(); }
  std::vector<std::u16string> Names() const {
    std::vector<std::u16string> names;
    for (const auto& entry : entries_) names.push_back(entry.first);
    return names;
  }
  void Clear() { entries_.clear(); }

 private:
  std::vector<std::pair<std::u16string, Handler>> entries_;
};

struct CommandRegistries {
  CommandList<simhost::ConsoleCommand> console;
  CommandList<simhost::RconCommand> rcon;
  CommandList<simhost::ChatCommand> chat;
};

}  // namespace sim
