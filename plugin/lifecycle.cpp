#include "plugin/lifecycle.h"

#include <atomic>

#include <fmt/format.h>

#include "commands/bulk_resize.h"
#include "config/load_config.h"
#include "host/services.h"
#include "plugin/command_table.h"
#include "plugin/hook_table.h"
#include "plugin/logger.h"
#include "scaling/shrink_gate.h"

namespace tinyhorde {

namespace {

std::atomic<bool> active{false};
bool initialized = false;
std::vector<std::string> refused_hooks;

void RemoveCommandsAndHooks() {
  UnregisterCommands();
  RemoveHooks();
}

std::vector<std::string> RefusedStorageHooks(const std::vector<std::string>& refused) {
  std::vector<std::string> storage;
  for (const auto& row : HookTable())
    for (const auto& name : refused)
      if (row.storage && name == row.name) storage.push_back(name);
  return storage;
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string joined;
  for (const auto& name : names) joined += (joined.empty() ? "" : ", ") + name;
  return joined;
}

}  // namespace

bool PluginIsActive() {
  return active.load();
}

const std::vector<std::string>& RefusedHooks() {
  return refused_hooks;
}

void InitializePlugin() {
  // A second start-up without a shut-down would chain every detour in front of itself.
  if (initialized) RemoveCommandsAndHooks();
  CreateLogger();
  LogInfo("[Tinyhorde] Initializing...");
  LoadConfig();
  refused_hooks = InstallHooks();
  for (const auto& name : refused_hooks)
    LogError(fmt::format("[Tinyhorde] Could not hook {}", name));
  SetMissingStorageHooks(RefusedStorageHooks(refused_hooks));
  RegisterCommands();
  initialized = true;
  active = true;
  if (ShrinkingAllowed()) {
    LogInfo("[Tinyhorde] Plugin initialized successfully.");
  } else {
    LogError(fmt::format("[Tinyhorde] Storage hooks missing, creatures will not be shrunk: {}",
                         JoinNames(MissingStorageHooks())));
  }
  // Loaded into a running server: creatures already in the world get their size now, as they
  // go back to full size at unload.
  if (host::UWorld* world = host::CurrentWorld()) ResizeAllTargets(world, "PluginLoad");
}

void UnloadPlugin() {
  LogInfo("[Tinyhorde] Unloading...");
  // Without the plugin nothing restores creatures before the next save: do it now.
  if (host::UWorld* world = host::CurrentWorld())
    LogInfo(fmt::format("[Tinyhorde] Restored {} creature(s) to normal scale before unloading.",
                        RestoreAllTargets(world)));
  active = false;
  // Pending re-applications must not run plugin code once the library is gone.
  host::CancelTimers();
  RemoveCommandsAndHooks();
  initialized = false;
  LogInfo("[Tinyhorde] Plugin unloaded.");
}

}  // namespace tinyhorde
