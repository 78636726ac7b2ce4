// The list of game names held against the host's offsets cache, and the guard that keeps every
// name the cache says the game lacks from reaching the host. Both bindings build it; each
// supplies the cache's folder and the opening of its files (host_settings.h).
#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "host/services.h"
#include "host_settings.h"
#include "offsets_cache.h"

namespace host {

namespace {

// The names the last check found absent; empty before the first. Game thread.
std::vector<const char*> absent_names;

NamePresence Presence(offsets_cache::Presence presence) {
  switch (presence) {
    case offsets_cache::Presence::Present:
      return NamePresence::Present;
    case offsets_cache::Presence::Absent:
      return NamePresence::Absent;
    case offsets_cache::Presence::Unknown:
      break;
  }
  return NamePresence::Unknown;
}

}  // namespace

GameNamesCheck CheckGameNames() noexcept {
  absent_names.clear();
  GameNamesCheck check;
  const auto started = std::chrono::steady_clock::now();
  try {
    std::vector<offsets_cache::Query> queries;
    for (const GameName* name : kGameNames)
      queries.push_back({name->name, name->kind == GameNameKind::Flag});
    const offsets_cache::Result result = offsets_cache::ReadOffsetsCache(
        binding::OffsetsCacheFolder(), queries, binding::OffsetsCacheOpener());
    check.unknown_reason = result.unknown_reason;
    check.generation = result.generation;
    for (std::size_t i = 0; i < std::size(kGameNames); ++i) {
      const NamePresence presence =
          i < result.presence.size() ? Presence(result.presence[i]) : NamePresence::Unknown;
      check.presence.push_back(presence);
      if (presence == NamePresence::Absent) absent_names.push_back(kGameNames[i]->name);
    }
    if (result.presence.size() != std::size(kGameNames) && check.unknown_reason.empty())
      check.unknown_reason = "the cache reader gave no answer";
  } catch (...) {
    absent_names.clear();
    check.presence.assign(std::size(kGameNames), NamePresence::Unknown);
    check.unknown_reason = "the cache could not be read";
  }
  check.milliseconds =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  return check;
}

std::string binding::OffsetsCacheFolder() {
  return OffsetsCacheFolderOf(PluginModuleFile(), GetCurrentDir());
}

std::string binding::OffsetsCacheFolderOf(const std::string& module_path,
                                          const std::string& current_dir) {
  // Generic paths: the host opens a path of forward slashes as well as one of backslashes.
  const std::filesystem::path module = std::filesystem::path(module_path).lexically_normal();
  const std::filesystem::path plugins = module.parent_path().parent_path();
  if (!module.filename().empty() && !module.parent_path().filename().empty() &&
      plugins.filename() == "Plugins")
    return (plugins.parent_path() / "Cache").generic_string();
  return current_dir + "/ArkApi/Cache";
}

bool binding::AbsentFromCache(const GameName& name) {
  for (const char* absent : absent_names)
    if (std::strcmp(absent, name.name) == 0) return true;
  return false;
}

}  // namespace host
