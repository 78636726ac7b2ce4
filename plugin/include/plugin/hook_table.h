// The hooks the plugin installs, in installation order.
#pragma once

#include <string>
#include <vector>

#include "host/game_names.h"

namespace tinyhorde {

struct HookRow {
  host::GameName name;  // the game function, from the list of game names
  void* detour;
  void** slot;
  bool storage;  // a restore path that must be in place before any creature may be shrunk
};

const std::vector<HookRow>& HookTable();

struct HookInstallResult {
  std::vector<std::string> refused;  // names the host refused
  // Rows on a name the SDK shows on no live line (host/game_names.h marks them): not asked for,
  // because the host would stop the server if the game lacked it, or refused by the host.
  std::vector<std::string> unverified_not_asked;
  std::vector<std::string> unverified_refused;
};

// Installs the hooks in table order: every row, except that a marked row is asked for only while
// the host survives a name the game lacks (host::HostSurvivesUnknownFunctions).
HookInstallResult InstallHooks();
// Removes, in table order, the hooks the last InstallHooks installed, and only those: removing a
// hook by a name the game lacks would stop the host.
void RemoveHooks();

}  // namespace tinyhorde
