// The host's command registries. A line runs the first registered command whose name equals the
// line's first word (split on spaces), ignoring case. Each command belongs to the module that
// registered it: removing by name takes the first command of that name from any module, as the
// real host does; unloading a module takes all of its commands.
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
  void Add(const std::u16string& name, const Handler& handler, const std::u16string& module) {
    entries_.push_back(Entry{name, handler, module});
  }
  bool Remove(const std::u16string& name) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if (EqualsIgnoringCase(it->name, name)) {
        entries_.erase(it);
        return true;
      }
    }
    return false;
  }
  // Removes every command of the module; answers how many.
  std::size_t RemoveModule(const std::u16string& module) {
    return std::erase_if(entries_, [&](const Entry& entry) { return entry.module == module; });
  }
  // A copy, so that a handler may unregister commands while it runs.
  bool Find(std::u16string_view line, Handler& out) const {
    const auto word = FirstWord(line);
    for (const auto& entry : entries_) {
      if (EqualsIgnoringCase(entry.name, word)) {
        out = entry.handler;
        return true;
      }
    }
    return false;
  }
  std::size_t Size() const { return entries_.size(); }
  std::vector<std::u16string> Names() const {
    std::vector<std::u16string> names;
    for (const auto& entry : entries_) names.push_back(entry.name);
    return names;
  }
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    std::u16string name;
    Handler handler;
    std::u16string module;
  };
  std::vector<Entry> entries_;
};

struct CommandRegistries {
  CommandList<simhost::ConsoleCommand> console;
  CommandList<simhost::RconCommand> rcon;
  CommandList<simhost::ChatCommand> chat;

  std::size_t RemoveModule(const std::u16string& module) {
    return console.RemoveModule(module) + rcon.RemoveModule(module) + chat.RemoveModule(module);
  }
};

}  // namespace sim
