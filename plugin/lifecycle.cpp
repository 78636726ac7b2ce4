#include "plugin/lifecycle.h"

#include <algorithm>
#include <atomic>
#include <unordered_set>
#include <utility>

#include <fmt/format.h>

#include "base/contained.h"
#include "base/game_handles.h"
#include "base/game_names_check.h"
#include "base/join_names.h"
#include "base/logger.h"
#include "base/plugin_active.h"
#include "base/unverified_hooks.h"
#include "config/load_config.h"
#include "hooks/detour_table.h"
#include "hooks/saving_archive.h"
#include "host/services.h"
#include "plugin/command_table.h"
#include "plugin/hook_installation.h"
#include "scaling/detail_log_budget.h"
#include "scaling/post_save_resize.h"
#include "scaling/scale_restoration.h"
#include "scaling/shrink_gate.h"
#include "scaling/shrunk_record.h"
#include "scaling/world_walk.h"

namespace tinyhorde {

namespace {

bool initialized = false;
std::vector<std::string> refused_hooks;
// Commands are registered once per load of the library. The plugin never removes them by name:
// the host's removal by name takes the first command of that name from any plugin. The host
// takes this plugin's commands out itself when it unloads the library.
bool commands_registered = false;

std::vector<std::string> RefusedStorageHooks(const std::vector<std::string>& refused) {
  std::vector<std::string> storage;
  for (const auto& row : DetourTable())
    for (const auto& name : refused)
      if (row.guards_storage && name == row.name.name) storage.push_back(name);
  return storage;
}

// Off: the game lacks a name the plugin needs. Nothing is hooked and no creature is touched; the
// commands are there to say so (their names need the game's allocator, which may be what it
// lacks: then there are none).
void StartOff() {
  refused_hooks.clear();
  SetMissingStorageHooks({});
  SetUnverifiedHooksLeftOut({}, {});
  if (!commands_registered)
    commands_registered = Contained("Plugin_Init", [] { RegisterCommands(); });
  SetPluginActive(false);
}

}  // namespace

void ResolveGameNames() {
  std::vector<std::string> missing = ResolveGameHandles();
  // The names the game lacks were named once already, on the line that turned Tinyhorde off.
  std::erase_if(missing, [](const std::string& name) {
    const host::GameName* entry = host::FindGameName(name);
    return entry != nullptr && IsAbsentGameName(*entry);
  });
  for (const auto& name : missing)
    LogError(fmt::format("[Tinyhorde] Game function {} not found", name));
  SetMissingGameFunctions(FunctionsShrinkingNeeds(missing));
}

const std::vector<std::string>& RefusedHooks() {
  return refused_hooks;
}

void InitializePlugin() {
  if (initialized) {
    // A second start-up without a shut-down: put back what the first one shrank while its
    // hooks still guard storage, then take them out, or every detour would chain in front of
    // itself.
    Contained("Plugin_Init", [] { RestoreRecordedCreatures(); });
    RemoveHooks();
  }
  CreateLogger();
  // Once per start-up, as the host read it when the server started; it decides which hooks may
  // be asked for.
  host::ReadHostSettings();
  ForgetReportedFailures();
  ForgetPostSaveResizes();
  ForgetArchiveLayout();
  StartDetailLineBudget();
  LogInfo("[Tinyhorde] Initializing...");
  // Before the first look-up: the names the game lacks are never asked for.
  CheckGameNamesAtStart();
  ResolveGameNames();
  LoadConfig();
  // From here on there is something a second start-up must undo, even if this one fails.
  initialized = true;
  // A name the game lacks costs only what needs it: shrinking, where a path to storage needs it.
  SetLackedGameNames(AbsentNamesShrinkingNeeds());
  if (TinyhordeOff()) {
    StartOff();
    return;
  }
  HookInstallResult hooks = InstallHooks();
  refused_hooks = std::move(hooks.refused);
  for (const auto& name : refused_hooks)
    LogError(fmt::format("[Tinyhorde] Could not hook {}", name));
  SetMissingStorageHooks(RefusedStorageHooks(refused_hooks));
  SetUnverifiedHooksLeftOut(std::move(hooks.unverified_not_asked),
                            std::move(hooks.unverified_refused));
  if (const std::string left_out = UnverifiedHooksText(); !left_out.empty())
    LogInfo("[Tinyhorde] " + left_out);
  if (!commands_registered) RegisterCommands();
  commands_registered = true;
  SetPluginActive(true);
  if (ShrinkingAllowed()) LogInfo("[Tinyhorde] Plugin initialized successfully.");
  if (!MissingStorageHooks().empty())
    LogError(fmt::format("[Tinyhorde] Storage hooks missing, creatures will not be shrunk: {}",
                         JoinNames(MissingStorageHooks())));
  if (!MissingGameFunctions().empty())
    LogError(fmt::format("[Tinyhorde] Game functions missing, creatures will not be shrunk: {}",
                         JoinNames(MissingGameFunctions())));
  // Loaded into a running server: creatures already in the world get their size now, as they
  // go back to full size at unload.
  if (host::UWorld* world = host::CurrentWorld()) {
    const SettleResult result = BringWorldToSettings(world, "PluginLoad");
    if (result.restored > 0) LogInfo(RestoredText(result.restored));
    if (const std::string summary = LoadSummaryText(result); !summary.empty()) LogInfo(summary);
  }
}

void UnloadPlugin() {
  LogInfo("[Tinyhorde] Unloading...");
  // Nothing restores creatures once the library is gone: every creature the plugin shrank goes
  // back now, with or without a world, and so does every target of a world that is up. While off
  // the plugin shrank nothing and touches nothing.
  if (!TinyhordeOff()) Contained("Plugin_Unload", [] { RestoreForUnload(); });
  SetPluginActive(false);
  // Pending re-applications must not run plugin code once the library is gone.
  host::CancelTimers();
  ForgetPostSaveResizes();
  RemoveHooks();
  // The host removes the commands with the library.
  commands_registered = false;
  initialized = false;
  // What DebugLog held back since its last count line, before the plugin's last line.
  Contained("Plugin_Unload", [] { WriteHeldBackCount(); });
  LogInfo("[Tinyhorde] Plugin unloaded.");
}

}  // namespace tinyhorde
