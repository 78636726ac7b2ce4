#include "base/game_names_check.h"

#include <fmt/format.h>

#include "base/logger.h"
#include "host/services.h"

namespace tinyhorde {

namespace {

std::vector<std::string> absent_names;
// Every absent name, marked hooks included.
std::vector<std::string> absent_any;

std::string Joined(const std::vector<std::string>& names) {
  std::string joined;
  for (const auto& name : names) joined += (joined.empty() ? "" : ", ") + name;
  return joined;
}

}  // namespace

void CheckGameNamesAtStart() {
  absent_names.clear();
  absent_any.clear();
  const host::GameNamesCheck check = host::CheckGameNames();
  std::size_t present = 0;
  bool unknown = false;
  for (std::size_t i = 0; i < std::size(host::kGameNames) && i < check.presence.size(); ++i) {
    const host::GameName& name = *host::kGameNames[i];
    switch (check.presence[i]) {
      case host::NamePresence::Present:
        ++present;
        break;
      case host::NamePresence::Absent:
        absent_any.emplace_back(name.name);
        if (name.unverified_because == nullptr) absent_names.emplace_back(name.name);
        break;
      case host::NamePresence::Unknown:
        // A marked hook the cache cannot vouch for keeps its own rule; every other name makes
        // the whole check unknown.
        if (name.unverified_because == nullptr) unknown = true;
        break;
    }
  }
  if (check.presence.size() != std::size(host::kGameNames)) unknown = true;
  if (!absent_names.empty()) {
    LogWarning(fmt::format(
        "[Tinyhorde] Off: the game lacks {}. No creature is resized or restored; the server "
        "runs on. A Tinyhorde for this game version is needed.",
        Joined(absent_names)));
  } else if (unknown) {
    LogWarning(fmt::format(
        "[Tinyhorde] Game names not checked ({}): a name the game lacks would stop the server.",
        check.unknown_reason.empty() ? "no answer from the cache" : check.unknown_reason));
  } else {
    LogInfo(fmt::format(
        "[Tinyhorde] Game names checked against the host's offsets cache: all {} present ({}, "
        "{:.0f} ms).",
        present, check.generation, check.milliseconds));
  }
}

bool IsAbsentGameName(const host::GameName& name) {
  for (const auto& absent : absent_any)
    if (absent == name.name) return true;
  return false;
}

const std::vector<std::string>& AbsentGameNames() {
  return absent_names;
}

bool TinyhordeOff() {
  return !absent_names.empty();
}

std::string OffReply() {
  return "[Tinyhorde] Off: the game lacks " + Joined(absent_names) + ".";
}

void ForgetGameNamesCheckForTests() {
  absent_names.clear();
  absent_any.clear();
}

}  // namespace tinyhorde
