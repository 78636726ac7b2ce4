// The plugin's settings: one record, its defaults and the few locked steps that the commands and
// the scaling code use on it.
//
// Thread: PluginSettings is shared by the game thread and whoever reloads it, so every read or
// write goes through SettingsMutex. The mutex is not recursive; nobody holds it across a call
// into the game, the host or another operation that takes it (LoadConfig is the one exception,
// holding it for its whole run).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace tinyhorde {

// Keys of CreatureScales are tried longest first, then by bytes, so that a longer key
// always beats a shorter one it contains and the answer never depends on a hash map's order.
struct LongestKeyFirst {
  bool operator()(const std::string& a, const std::string& b) const;
};
using CreatureScaleTable = std::map<std::string, double, LongestKeyFirst>;

// Settings{} is the defaults. Each field is a config.json key of the same name, described (its
// older name, its rules, its place in the status line) in config/setting_descriptions.h. The
// record holds no range check; whoever writes a scale into it from outside (LoadConfig, the
// setscale command) checks it with InScaleRange first.
struct Settings {
  bool OnlyTamed = true;
  double DefaultScale = 0.5;
  double DefaultCameraArmScale = 0.5;
  // Lower-case name fragments and the scale given to a creature whose name contains one. The
  // game's own class names are not always the creatures' common names: the Mosasaurus is
  // Mosa_Character_BP, the Megachelon GiantTurtle_Character_BP, the titans
  // <Forest|Ice|Desert>Kaiju_Character_BP; both spellings are kept, for modded creatures and
  // files that name them.
  CreatureScaleTable CreatureScales = {
      {"dreadnought", 0.25}, {"dreadnaught", 0.25},
      {"titanosaur", 0.28},  {"sauropod", 0.4},
      {"bronto", 0.4},       {"diplodocus", 0.45},
      {"gigant", 0.75},      {"giga", 0.75},
      {"carcha", 0.75},      {"paracer", 0.72},
      {"oasisaur", 0.25},    {"shasta", 0.25},
      {"megachelon", 0.5},   {"giantturtle", 0.5},
      {"mosasaur", 0.5},     {"mosa_character", 0.5},
      {"foresttitan", 0.16}, {"forestkaiju_character", 0.16},
      {"icetitan", 0.16},    {"icekaiju_character", 0.16},
      {"deserttitan", 0.14}, {"desertkaiju_character", 0.14},
      {"spacewhale", 0.25},  {"astrocetus", 0.25},
      {"rhynio", 0.7},
  };
  // Blueprint name fragments of the creatures the plugin acts on, case as written.
  std::vector<std::string> TargetBlueprints = {
      "Dreadnoughtus_Character_BP", "Titanosaur_Character_BP",  "Sauropod_Character_BP",
      "Diplodocus_Character_BP",    "Gigant_Character_BP",      "Carcha_Character_BP",
      "Paracer_Character_BP",       "Oasisaur_Character_BP",    "Shastasaurus_Character_BP",
      "Megachelon_Character_BP",    "Mosasaur_Character_BP",    "ForestTitan_Character_BP",
      "IceTitan_Character_BP",      "DesertTitan_Character_BP", "SpaceWhale_Character_BP",
      "Rhynio_Character_BP",        "GiantTurtle_Character_BP", "Mosa_Character_BP",
      "ForestKaiju_Character_BP",   "IceKaiju_Character_BP",    "DesertKaiju_Character_BP",
  };
  // Class name fragments, case as written, of creatures that are never targets, whatever else
  // their name holds: the smaller creatures whose names contain a target's fragment. An empty
  // fragment is never loaded (it would exclude every creature) and never matches.
  std::vector<std::string> ExcludedBlueprints = {
      "Gigantoraptor",
      "RhynioDrone",
      "OasisaurTaming",
  };
  std::int32_t ApplyDelaySeconds = 1;
  bool DebugLog = true;

  // Field by field; scales compare as doubles do (a NaN equals nothing).
  bool operator==(const Settings&) const = default;
};

extern Settings PluginSettings;   // the one record; guarded by SettingsMutex
extern std::mutex SettingsMutex;  // see the top of this file

// ASCII 'A'-'Z' to 'a'-'z', every other byte unchanged (what tolower does in the C locale,
// whatever the process locale).
std::string LowerBytes(std::string text);

// A number that every write of the settings advances, so that what was worked out from them
// (the verdicts kept per creature class) is dropped when they change. Whoever writes
// PluginSettings directly calls SettingsChanged() after releasing SettingsMutex; the operations
// below do it themselves.
std::uint64_t SettingsGeneration();
void SettingsChanged();

// The bounds of every scale, from the file or by a command, both excluded. Every text that states
// the range (the loader's warning, the README, the install check, the fuzz rules) reads these.
inline constexpr double kMinScale = 0.01;
inline constexpr double kMaxScale = 10.0;

// Whether a scale may be set: strictly between kMinScale and kMaxScale (a NaN is not).
constexpr bool InScaleRange(double value) {
  return value > kMinScale && value < kMaxScale;
}

// Sets DefaultScale and DefaultCameraArmScale in one locked step.
void SetGlobalScale(double value);
// Lowers name, then inserts or overwrites its entry in one locked step.
void SetCreatureScale(const std::string& name, double value);
// A locked read.
std::size_t CreatureScaleCount();
// The first non-empty entry of ExcludedBlueprints, as written, that occurs in name (both lowered),
// so that every class whose name holds name is excluded too; empty when there is none. A locked
// read.
std::string ExcludingEntry(const std::string& name);
// OnlyTamed and DebugLog as of the last SettingsChanged(); they take no lock.
bool OnlyTamedSetting();
bool DebugLogSetting();

}  // namespace tinyhorde
