// Re-reading config.json on an administrator's request, and the words the commands answer with.
// Game thread; callers must not hold SettingsMutex.
#pragma once

#include <string>

#include "config/load_config.h"

namespace tinyhorde {

struct ReloadReply {
  bool loaded;       // a file was read and applied
  std::string text;  // the summary, or why nothing changed (no final line feed)
  // After a load with a world up: the RestoredText line when creatures went back to full size,
  // else empty. It follows the reply, in its colour, and is logged at info on every channel.
  std::string restored;
};

// Runs LoadConfig, then, when a file was applied and a world is up, brings the world to the new
// settings (BringWorldToSettings, label naming the command in the debug lines). Loaded:
// "[Tinyhorde] Config reloaded (<n> creature scales configured, OnlyTamed=<true|false>)." with
// the settings as they are after the load. Otherwise the ReloadFailureText of the outcome, and
// no creature is touched.
ReloadReply ReloadConfigForCommand(const char* label);

// "[Tinyhorde] Config not reloaded: <reason>; keeping the current settings.", the reason being
// "config.json not found" for NotFound and the outcome's message for the other failures.
std::string ReloadFailureText(const ConfigLoadOutcome& outcome);

}  // namespace tinyhorde
