// Finding the plugin's handler for a fuzzed line the way the host does: by the line's first
// word, ignoring case, in the host's registry.
#pragma once

#include <string>
#include <string_view>

#include "sim/commands.h"
#include "support/fuzz_server.h"

namespace fuzzsupport {

// The handler the host would run for line. A line that names no registered command is given
// fallback and a space in front, so that every input reaches a handler of the plugin; fallback
// must be a registered name.
template <typename Handler>
Handler FindHandler(const sim::CommandList<Handler>& registry, std::u16string& line,
                    std::u16string_view fallback) {
  Handler handler;
  if (registry.Find(line, handler)) return handler;
  line = std::u16string(fallback) + u" " + line;
  if (!registry.Find(line, handler)) Fail("the plugin has registered no such command");
  return handler;
}

}  // namespace fuzzsupport
