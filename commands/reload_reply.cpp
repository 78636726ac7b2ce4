#include "commands/reload_reply.h"

#include <fmt/format.h>

#include "config/plugin_settings.h"

namespace tinyhorde {

std::string ReloadFailureText(const ConfigLoadOutcome& outcome) {
  const std::string reason =
      outcome.status == ConfigLoadStatus::NotFound ? "config.json not found" : outcome.message;
  return fmt::format("[Tinyhorde] Config not reloaded: {}; keeping the current settings.", reason);
}

ReloadReply ReloadConfigForCommand() {
  const ConfigLoadOutcome outcome = LoadConfig();
  if (outcome.status != ConfigLoadStatus::Loaded) return {false, ReloadFailureText(outcome)};
  // Two locked reads, one after the other: SettingsMutex is never held across calls.
  const std::size_t scales = CreatureScaleCount();
  const bool only_tamed = ReadOnlyTamed();
  return {true, fmt::format("[Tinyhorde] Config reloaded ({} creature scales configured, "
                            "OnlyTamed={}).",
                            scales, only_tamed ? "true" : "false")};
}

}  // namespace tinyhorde
