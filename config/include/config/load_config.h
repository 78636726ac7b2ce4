// Loading the plugin's config.json into PluginSettings.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tinyhorde {

enum class ConfigLoadStatus {
  Loaded,      // a file was read and its values applied
  NotFound,    // no candidate exists; the settings are unchanged
  CannotOpen,  // a candidate could not be probed, or the chosen one opened; settings unchanged
  Failed,      // the chosen file is not valid JSON, or another error; settings unchanged
};

struct ConfigLoadOutcome {
  ConfigLoadStatus status;
  std::string path;  // the chosen candidate, when one was chosen
  std::string
      message;  // for CannotOpen and Failed: the text that the error line carries in place of {}
};

// The candidates in probing order (exposed for tests): config.json beside the plugin's own
// library file (left out when the host gives no folder for it, so that the server's own
// config.json in the working directory is never taken for ours), then the plugin folders below
// the working directory.
std::vector<std::filesystem::path> ConfigCandidates();

// Finds the first existing candidate, parses it and merges its values into PluginSettings, all
// under SettingsMutex, and logs the result. Either every value of the file is applied or none.
// Catches every exception. Must not be called with SettingsMutex held.
ConfigLoadOutcome LoadConfig();

// The file whose values were last applied; empty while only the built-in defaults were.
std::string LastLoadedConfigPath();
// For tests only: as at the library's load, no file read yet.
void ForgetLoadedConfigPathForTests();

}  // namespace tinyhorde
