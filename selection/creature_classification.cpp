#include "selection/creature_classification.h"

#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "base/game_handles.h"
#include "base/spin_lock.h"
#include "config/plugin_settings.h"
#include "host/game.h"
#include "selection/class_name.h"

namespace tinyhorde {

namespace {

// What the settings of one generation say, with every pattern lowered once.
struct Patterns {
  std::vector<std::pair<std::string, double>> scales;  // longest key first
  std::vector<std::string> blueprints;
  std::vector<std::string> exclusions;  // non-empty only
  double default_scale = 0.5;
  double default_camera_scale = 0.5;
};

Patterns LoweredPatterns() {
  Patterns patterns;
  std::lock_guard<std::mutex> lock(SettingsMutex);
  for (const auto& [key, value] : PluginSettings.CreatureScales)
    patterns.scales.emplace_back(LowerBytes(key), value);
  for (const auto& entry : PluginSettings.TargetBlueprints)
    patterns.blueprints.push_back(LowerBytes(entry));
  for (const auto& entry : PluginSettings.ExcludedBlueprints)
    if (!entry.empty()) patterns.exclusions.push_back(LowerBytes(entry));
  patterns.default_scale = PluginSettings.DefaultScale;
  patterns.default_camera_scale = PluginSettings.DefaultCameraArmScale;
  return patterns;
}

// The verdicts of one settings generation, per class. Guarded by its own mutex, never held
// together with SettingsMutex nor across a call into the game.
struct VerdictCache {
  SpinLock mutex;
  std::uint64_t generation = ~std::uint64_t{0};
  Patterns patterns;
  std::unordered_map<const host::UClass*, ClassVerdict> verdicts;
};

VerdictCache& Cache() {
  static VerdictCache cache;
  return cache;
}

// Class names, kept for the life of the library so that verdicts can point into them (there are
// only as many as the game has creature classes).
const char* Interned(const std::string& name) {
  static std::mutex mutex;
  static std::unordered_set<std::string> names;
  std::lock_guard<std::mutex> lock(mutex);
  return names.insert(name).first->c_str();
}

ClassVerdict Judge(host::UClass* cls, const Patterns& patterns) {
  ClassVerdict verdict;
  // Without the game's creature class nothing can be shown to be a creature.
  bool derived = false;
  if (host::UClass* base = CreatureClassObject(); base != nullptr) {
    derived = GameHandleTable().IsChildOf(reinterpret_cast<const host::UStruct*>(cls),
                                          reinterpret_cast<const host::UStruct*>(base));
  }
  const std::string spelled = ClassNameOf(cls);
  verdict.display_name = Interned(spelled);
  const std::string name = LowerBytes(spelled);
  for (const char* keyword : {"cryo", "ball", "gun", "pelayori", "trap", "capture"})
    if (name.find(keyword) != std::string::npos) verdict.capture_causer = true;
  // An excluded class gets no scale at all, whatever else its name holds.
  for (const auto& entry : patterns.exclusions)
    if (name.find(entry) != std::string::npos) return verdict;
  for (const auto& [key, value] : patterns.scales) {
    if (name.find(key) != std::string::npos) {
      verdict.matched = true;
      verdict.scale = verdict.camera_scale = value;
      break;
    }
  }
  if (!verdict.matched) {
    for (const auto& entry : patterns.blueprints) {
      if (name.find(entry) != std::string::npos) {
        verdict.matched = true;
        verdict.scale = patterns.default_scale;
        verdict.camera_scale = patterns.default_camera_scale;
        break;
      }
    }
  }
  verdict.target = derived && verdict.matched;
  return verdict;
}

}  // namespace

ClassVerdict ClassifyCreature(const void* object) {
  if (object == nullptr) return {};
  host::UClass* cls = ClassOf(object);
  if (cls == nullptr) return {};
  auto& cache = Cache();
  const std::uint64_t generation = SettingsGeneration();
  Patterns patterns;
  bool have_patterns = false;
  {
    std::lock_guard<SpinLock> lock(cache.mutex);
    if (cache.generation == generation) {
      if (const auto it = cache.verdicts.find(cls); it != cache.verdicts.end()) return it->second;
      patterns = cache.patterns;
      have_patterns = true;
    }
  }
  if (!have_patterns) patterns = LoweredPatterns();
  ClassVerdict verdict = Judge(cls, patterns);
  std::lock_guard<SpinLock> lock(cache.mutex);
  // Kept only while the settings it was worked out from are still in force.
  if (SettingsGeneration() == generation) {
    if (cache.generation != generation) {
      cache.verdicts.clear();
      cache.generation = generation;
      cache.patterns = std::move(patterns);
    }
    cache.verdicts.emplace(cls, verdict);
  }
  return verdict;
}

bool IsTargetCreature(const void* object) {
  return ClassifyCreature(object).target;
}

bool LookupCreatureScale(const void* object, double& scale, double& cameraScale) {
  const ClassVerdict verdict = ClassifyCreature(object);
  if (!verdict.matched) return false;
  scale = verdict.scale;
  cameraScale = verdict.camera_scale;
  return true;
}

void ForgetClassVerdicts() {
  auto& cache = Cache();
  std::lock_guard<SpinLock> lock(cache.mutex);
  cache.verdicts.clear();
  cache.generation = ~std::uint64_t{0};
}

}  // namespace tinyhorde
