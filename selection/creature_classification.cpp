#include "selection/creature_classification.h"

#include <mutex>
#include <string>

#include "config/plugin_settings.h"
#include "host/game.h"
#include "selection/class_name.h"

namespace tinyhorde {

namespace {

// The game's creature class, resolved on first use and kept (null or not) from then on.
host::UClass* CreatureBaseClass() {
  static host::UClass* const base =
      host::CallGame<host::UClass*>("APrimalDinoCharacter.GetPrivateStaticClass()");
  return base;
}

bool Contains(const std::string& loweredName, const std::string& pattern) {
  return loweredName.find(LowerBytes(pattern)) != std::string::npos;
}

}  // namespace

bool IsTargetCreature(const void* object) {
  if (object == nullptr) return false;
  host::UClass* cls = ClassOf(object);
  if (cls == nullptr) return false;
  if (host::UClass* base = CreatureBaseClass(); base != nullptr) {
    const bool derived = host::CallGame<bool, const host::UStruct*, const host::UStruct*>(
        "UStruct.IsChildOf(UStruct*)", reinterpret_cast<const host::UStruct*>(cls),
        reinterpret_cast<const host::UStruct*>(base));
    if (!derived) return false;
  }
  const std::string name = GetCreatureClassName(object).value_or(std::string());
  std::lock_guard<std::mutex> lock(SettingsMutex);
  for (const auto& [key, scale] : PluginSettings.CreatureScales)
    if (Contains(name, key)) return true;
  for (const auto& entry : PluginSettings.TargetBlueprints)
    if (Contains(name, entry)) return true;
  return false;
}

bool LookupCreatureScale(const void* object, double& scale, double& cameraScale) {
  if (object == nullptr || ClassOf(object) == nullptr) return false;
  const std::string name = GetCreatureClassName(object).value_or(std::string());
  std::lock_guard<std::mutex> lock(SettingsMutex);
  for (const auto& [key, value] : PluginSettings.CreatureScales) {
    if (Contains(name, key)) {
      scale = cameraScale = value;
      return true;
    }
  }
  for (const auto& entry : PluginSettings.TargetBlueprints) {
    if (Contains(name, entry)) {
      scale = PluginSettings.DefaultScale;
      cameraScale = PluginSettings.DefaultCameraArmScale;
      return true;
    }
  }
  return false;
}

}  // namespace tinyhorde
