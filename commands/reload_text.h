// What a reload answers: the settings now in force when the file was loaded, otherwise why it
// was not and that the current settings stay.
#pragma once

#include <string>

#include "config/load_config.h"

namespace tinyhorde {

// "[Tinyhorde] Config reloaded (N creature scales configured, OnlyTamed=W)."
std::string ReloadedText();
// "[Tinyhorde] Config not reloaded: <reason>; keeping the current settings."
std::string NotReloadedText(const ConfigLoadOutcome& outcome);

}  // namespace tinyhorde
