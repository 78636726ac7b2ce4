// Re-reading config.json on an administrator's request, and the words the commands answer with.
// Game thread; callers must not hold SettingsMutex.
#pragma once

#include <string>

#include "config/load_config.h"

namespace tinyhorde {

struct ReloadReply {
  bool loaded;       // a file was read and applied
  std::string text;  // the summary, or why nothing changed (no final line feed)
};

// Runs LoadConfig. Loaded: "[Tinyhorde] Config reloaded (<n> creature scales configured,
// OnlyTamed=<true|false>)." with the settings as they are after the load. Otherwise the
// ReloadFailureText of the outcome.
ReloadReply ReloadConfigForCommand();

// "[Tinyhorde] Config not reloaded: <reason>; keeping the current settings.", the reason being
// "config.json not found" for NotFound and the outcome's message for the other failures.
std::string ReloadFailureText(const ConfigLoadOutcome& outcome);

}  // namespace tinyhorde
