#include "commands/reload_reply.h"

#include <fmt/format.h>

#include "base/logger.h"
#include "commands/bulk_resize.h"
#include "config/plugin_settings.h"
#include "host/services.h"

namespace tinyhorde {

namespace {

// The world brought to the settings just loaded; the restored line, or empty.
std::string SettleWorld(const char* label) {
  const SettleResult result = BringWorldToSettings(host::CurrentWorld(), label);
  // A listing failure has been logged by the walk; the reload itself stands.
  if (result.failed > 0)
    LogError(fmt::format("[Tinyhorde] {} creature(s) could not be brought to the new settings.",
                         result.failed));
  return result.restored > 0 ? RestoredText(result.restored) : "";
}

}  // namespace

std::string ReloadFailureText(const ConfigLoadOutcome& outcome) {
  const std::string reason =
      outcome.status == ConfigLoadStatus::NotFound ? "config.json not found" : outcome.message;
  return fmt::format("[Tinyhorde] Config not reloaded: {}; keeping the current settings.", reason);
}

ReloadReply ReloadConfigForCommand(const char* label) {
  const ConfigLoadOutcome outcome = LoadConfig();
  if (outcome.status != ConfigLoadStatus::Loaded) return {false, ReloadFailureText(outcome), {}};
  std::string restored = SettleWorld(label);
  // Two locked reads, one after the other: SettingsMutex is never held across calls.
  const std::size_t scales = CreatureScaleCount();
  const bool only_tamed = OnlyTamedSetting();
  return {true,
          fmt::format("[Tinyhorde] Config reloaded ({} creature scales configured, "
                      "OnlyTamed={}).",
                      scales, only_tamed ? "true" : "false"),
          std::move(restored)};
}

}  // namespace tinyhorde
