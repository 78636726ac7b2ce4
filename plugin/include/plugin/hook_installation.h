// Installing and removing the plugin's detours (hooks/detour_table.h), in the table's order.
// Game thread, at start-up and shut-down.
#pragma once

#include <string>
#include <vector>

namespace tinyhorde {

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
