#include "plugin/hook_installation.h"

#include "base/game_names_check.h"
#include "hooks/detour_table.h"
#include "host/services.h"

namespace tinyhorde {

namespace {

// Which rows of the detour table are installed now; game thread.
std::vector<bool> installed;

}  // namespace

HookInstallResult InstallHooks() {
  HookInstallResult result;
  const auto table = DetourTable();
  installed.assign(table.size(), false);
  const bool ask_unverified = host::HostSurvivesUnknownFunctions();
  for (std::size_t i = 0; i < table.size(); ++i) {
    const DetourRow& row = table[i];
    const bool unverified = row.name.unverified_because != nullptr;
    // A marked hook the offsets cache says the game lacks is not asked for at all.
    if (unverified && IsAbsentGameName(row.name)) {
      result.unverified_refused.emplace_back(row.name.name);
      continue;
    }
    if (unverified && !ask_unverified) {
      result.unverified_not_asked.emplace_back(row.name.name);
      continue;
    }
    // A hook on a name the game lacks is not asked for (the start-up line named it), nor one
    // that serves only a trigger or the camera that another absent name turned off.
    if (IsAbsentGameName(row.name) || (!row.guards_storage && !FeatureOn(row.name.features)))
      continue;
    installed[i] = host::InstallHook(row.name, row.detour, row.slot);
    if (!installed[i])
      (unverified ? result.unverified_refused : result.refused).emplace_back(row.name.name);
  }
  return result;
}

void RemoveHooks() {
  const auto table = DetourTable();
  for (std::size_t i = 0; i < table.size() && i < installed.size(); ++i)
    if (installed[i]) host::RemoveHook(table[i].name, table[i].detour);
  installed.clear();
}

}  // namespace tinyhorde
