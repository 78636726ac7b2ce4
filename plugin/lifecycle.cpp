#include "plugin/lifecycle.h"

#include <atomic>

#include <fmt/format.h>

#include "config/load_config.h"
#include "plugin/command_table.h"
#include "plugin/hook_table.h"
#include "plugin/logger.h"

namespace tinyhorde {

namespace {

std::atomic<bool> active{false};
bool initialized = false;
std::vector<std::string> refused_hooks;

void RemoveCommandsAndHooks() {
  UnregisterCommands();
  RemoveHooks();
}

}  // namespace

bool PluginIsActive() { return active.load(); }

const std::vector<std::string>& RefusedHooks() { return refused_hooks; }

void InitializePlugin() {
  // A second start-up without a shut-down would chain every detour in front of itself.
  if (initialized) RemoveCommandsAndHooks();
  CreateLogger();
  LogInfo("[Tinyhorde] Initializing...");
  LoadConfig();
  refused_hooks = InstallHooks();
  for (const auto& name : refused_hooks) LogError(fmt::format("[Tinyhorde] Could not hook {}", name));
  RegisterCommands();
  initialized = true;
  active = true;
  LogInfo("[Tinyhorde] Plugin initialized successfully.");
}

void UnloadPlugin() {
  active = false;
  LogInfo("[Tinyhorde] Unloading...");
  RemoveCommandsAndHooks();
  initialized = false;
  LogInfo("[Tinyhorde] Plugin unloaded.");
}

}  // namespace tinyhorde
