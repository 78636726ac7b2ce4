#include "commands/reload_text.h"

#include <fmt/format.h>

#include "config/plugin_settings.h"

namespace tinyhorde {

std::string ReloadedText() {
  const std::size_t count = CreatureScaleCount();
  const bool only_tamed = ReadOnlyTamed();
  return fmt::format("[Tinyhorde] Config reloaded ({} creature scales configured, OnlyTamed={}).",
                     count, only_tamed ? "true" : "false");
}

std::string NotReloadedText(const ConfigLoadOutcome& outcome) {
  const std::string reason =
      outcome.status == ConfigLoadStatus::NotFound ? "config.json not found" : outcome.message;
  return fmt::format("[Tinyhorde] Config not reloaded: {}; keeping the current settings.", reason);
}

}  // namespace tinyhorde
