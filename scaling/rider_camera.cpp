#include "scaling/rider_camera.h"

#include <array>
#include <string>
#include <unordered_map>

#include <fmt/format.h>

#include "base/game_handles.h"
#include "base/game_names_check.h"
#include "base/logger.h"
#include "host/game.h"
#include "scaling/shrunk_record.h"
#include "selection/class_name.h"

namespace tinyhorde {

SpinLock CameraStoreMutex;

namespace {

using host::FVector;

constexpr std::size_t kOffsetNames = 4;
constexpr std::array<const char*, kOffsetNames> kCameraOffsetNames = {
    "TPVDefaultCameraOffset", "TPVAimingCameraOffset", "FPVDefaultCameraOffset",
    "FPVAimingCameraOffset"};

// Where a class keeps its camera offsets: for each of its own properties that bears one of the
// kCameraOffsetNames and has the vector's size, the name's slot and the property's offset, in the
// class's order. Found once per class; classes live as long as the game.
constexpr std::size_t kMaxLayoutEntries = 8;
struct CameraLayout {
  std::size_t count = 0;
  struct Entry {
    std::size_t slot;
    host::int32 offset;
  };
  std::array<Entry, kMaxLayoutEntries> entries{};
};

// A creature's offsets as first seen, by name slot, and its RiderFPVCameraOffset.
struct Baselines {
  std::array<FVector, kOffsetNames> offsets{};
  std::array<bool, kOffsetNames> have{};
  FVector rider{};
  bool have_rider = false;
  double applied = 1.0;  // the camera scale last applied
  // The layout of the class the offsets were last set for, so that setting them again needs no
  // second look-up; an entry of layouts, which is only ever cleared together with baselines.
  const host::UClass* cls = nullptr;
  const CameraLayout* layout = nullptr;
  // Every offset of that layout, and the rider's, has its baseline.
  bool complete = false;
};

// Both guarded by CameraStoreMutex.
std::unordered_map<const host::UClass*, CameraLayout> layouts;
std::unordered_map<const void*, Baselines> baselines;

int SlotOf(const std::string& name) {
  for (std::size_t i = 0; i < kOffsetNames; ++i)
    if (name == kCameraOffsetNames[i]) return static_cast<int>(i);
  return -1;
}

// Walks the class's property list; a game call per property, so done once per class.
CameraLayout FindLayout(host::UClass* cls) {
  const GameHandles& game = GameHandleTable();
  CameraLayout layout;
  for (auto* property = host::FieldAt<host::FField*>(cls, game.ChildProperties);
       property != nullptr; property = host::FieldAt<host::FField*>(property, game.PropertyNext)) {
    const int slot =
        SlotOf(NameText(&host::FieldAt<host::FName>(property, game.PropertyNamePrivate)));
    if (slot < 0) continue;
    if (host::FieldAt<host::int32>(property, game.PropertyElementSize) != 24) continue;
    if (layout.count == layout.entries.size()) break;
    layout.entries[layout.count++] = {
        static_cast<std::size_t>(slot),
        host::FieldAt<host::int32>(property, game.PropertyOffsetInternal)};
  }
  return layout;
}

// The class's layout, found with lock released (it calls the game) the first time. lock holds
// CameraStoreMutex on entry and on return; the answer is valid for as long as it stays held.
const CameraLayout& LayoutOf(host::UClass* cls, std::unique_lock<SpinLock>& lock) {
  if (const auto it = layouts.find(cls); it != layouts.end()) return it->second;
  lock.unlock();
  const CameraLayout layout = FindLayout(cls);
  lock.lock();
  return layouts.emplace(cls, layout).first->second;
}

FVector Times(double k, const FVector& v) {
  return FVector{k * v.X, k * v.Y, k * v.Z};
}

}  // namespace

void ScaleRiderCamera(host::APrimalDinoCharacter* creature, double cameraScale) {
  if (creature == nullptr || !CameraScalingOn() || ClassOf(creature) == nullptr) return;
  if (cameraScale != 1.0) RecordShrunk(creature);
  ScaleRiderCameraAlreadyRecorded(creature, cameraScale, TakeDetailLines());
}

namespace {

// Sets the creature's offsets to cameraScale times their baselines, taking each baseline the
// first time it is met. ScaleOffsetsLogged below does the same and gathers the debug lines; with
// held, this adds to it the number of lines that would have gathered.
void ScaleOffsets(host::APrimalDinoCharacter* creature, const CameraLayout& layout, Baselines& kept,
                  FVector* rider, double cameraScale, std::size_t* held) {
  char* object = reinterpret_cast<char*>(creature);
  std::size_t stored = 0;
  for (std::size_t i = 0; i < layout.count; ++i) {
    const auto [slot, offset] = layout.entries[i];
    auto* value = reinterpret_cast<FVector*>(object + offset);
    if (!kept.have[slot]) {
      kept.offsets[slot] = *value;
      kept.have[slot] = true;
      ++stored;
    }
    *value = Times(cameraScale, kept.offsets[slot]);
  }
  if (held != nullptr) *held += stored + layout.count;
  if (!kept.have_rider) {
    kept.rider = *rider;
    kept.have_rider = true;
  }
  *rider = Times(cameraScale, kept.rider);
  kept.complete = true;
}

// The debug lines of one scaling, gathered while CameraStoreMutex is held and written once it is
// released: a log sink may block, or take locks of its own, and the lock is held only for its
// short look-ups and writes.
struct CameraLogLines {
  struct Line {
    bool stored;  // a baseline taken, else an offset scaled
    std::size_t slot;
    FVector value;
  };
  std::array<Line, 2 * kMaxLayoutEntries> lines{};
  std::size_t count = 0;
  void Add(bool stored, std::size_t slot, const FVector& value) {
    if (count < lines.size()) lines[count++] = {stored, slot, value};
  }
};

// ScaleOffsets, gathering each step's debug line in log.
[[gnu::noinline]] void ScaleOffsetsLogged(host::APrimalDinoCharacter* creature,
                                          const CameraLayout& layout, Baselines& kept,
                                          FVector* rider, double cameraScale, CameraLogLines& log) {
  for (std::size_t i = 0; i < layout.count; ++i) {
    const auto [slot, offset] = layout.entries[i];
    auto* value = reinterpret_cast<FVector*>(reinterpret_cast<char*>(creature) + offset);
    if (!kept.have[slot]) {
      kept.offsets[slot] = *value;
      kept.have[slot] = true;
      log.Add(true, slot, *value);
    }
    *value = Times(cameraScale, kept.offsets[slot]);
    log.Add(false, slot, *value);
  }
  if (!kept.have_rider) {
    kept.rider = *rider;
    kept.have_rider = true;
  }
  *rider = Times(cameraScale, kept.rider);
  kept.complete = true;
}

// Writes the gathered lines; the caller holds no lock.
[[gnu::noinline]] void WriteCameraLog(const CameraLogLines& log, double cameraScale) {
  for (std::size_t i = 0; i < log.count; ++i) {
    const auto& [stored, slot, value] = log.lines[i];
    const char* name = kCameraOffsetNames[slot];
    if (stored)
      LogInfo(fmt::format("[Tinyhorde] Stored orig {} = ({:.1f}, {:.1f}, {:.1f})", name, value.X,
                          value.Y, value.Z));
    else
      LogInfo(fmt::format("[Tinyhorde] Scaled {} -> ({:.1f}, {:.1f}, {:.1f}) [scale={:.2f}]", name,
                          value.X, value.Y, value.Z, cameraScale));
  }
}

// The locked part of ScaleRiderCameraAlreadyRecorded; with log, it gathers the lines to write,
// with held, it counts them.
void ScaleUnderLock(host::APrimalDinoCharacter* creature, host::UClass* cls, FVector* rider,
                    double cameraScale, CameraLogLines* log, std::size_t* held) {
  std::unique_lock<SpinLock> lock(CameraStoreMutex);
  auto found = baselines.find(creature);
  // Scaling by 1.0 from baselines never taken leaves every offset as it is.
  if (found == baselines.end() && cameraScale == 1.0) return;
  if (found == baselines.end() || found->second.cls != cls) {
    // LayoutOf may release the lock the first time a class is met: found is taken afresh.
    const CameraLayout& layout = LayoutOf(cls, lock);
    found = baselines.find(creature);
    if (found == baselines.end()) {
      if (cameraScale == 1.0) return;
      found = baselines.emplace(creature, Baselines{}).first;
    }
    found->second.cls = cls;
    found->second.layout = &layout;
    found->second.complete = false;
  }
  auto& kept = found->second;
  const CameraLayout& layout = *kept.layout;
  kept.applied = cameraScale;
  if (log != nullptr)
    ScaleOffsetsLogged(creature, layout, kept, rider, cameraScale, *log);
  else
    ScaleOffsets(creature, layout, kept, rider, cameraScale, held);
}

}  // namespace

void ScaleRiderCameraAlreadyRecorded(host::APrimalDinoCharacter* creature, double cameraScale,
                                     DetailLines lines) {
  if (creature == nullptr || !CameraScalingOn()) return;
  host::UClass* cls = ClassOf(creature);
  if (cls == nullptr) return;
  FVector* rider = &host::FieldAt<FVector>(creature, GameHandleTable().RiderFPVCameraOffset);

  if (lines != DetailLines::kWrite) {
    std::size_t held = 0;
    ScaleUnderLock(creature, cls, rider, cameraScale, nullptr,
                   lines == DetailLines::kHoldBack ? &held : nullptr);
    if (held != 0) CountHeldBackLines(held);
    return;
  }
  CameraLogLines log;
  ScaleUnderLock(creature, cls, rider, cameraScale, &log, nullptr);
  WriteCameraLog(log, cameraScale);
}

namespace {

// A restore's short way: each offset straight back to its baseline, what scaling by 1.0 writes.
// Answers false, touching nothing, when the creature's baselines are not complete for its class;
// a creature without baselines is done (its offsets are their own baselines). lines is set to
// the lines scaling by 1.0 would have logged.
bool RestoreFromBaselines(host::APrimalDinoCharacter* creature, const host::UClass* cls,
                          std::size_t& lines) {
  const std::lock_guard<SpinLock> lock(CameraStoreMutex);
  const auto found = baselines.find(creature);
  lines = 0;
  if (found == baselines.end()) return true;
  Baselines& kept = found->second;
  if (!kept.complete || kept.cls != cls) return false;
  char* object = reinterpret_cast<char*>(creature);
  const CameraLayout& layout = *kept.layout;
  for (std::size_t i = 0; i < layout.count; ++i)
    *reinterpret_cast<FVector*>(object + layout.entries[i].offset) =
        kept.offsets[layout.entries[i].slot];
  host::FieldAt<FVector>(creature, GameHandleTable().RiderFPVCameraOffset) = kept.rider;
  kept.applied = 1.0;
  lines = layout.count;  // one "Scaled" line an offset
  return true;
}

}  // namespace

void RestoreRiderCamera(host::APrimalDinoCharacter* creature, DetailLines lines) {
  // Without camera scaling no offset was ever changed.
  if (creature == nullptr || !CameraScalingOn()) return;
  // ClassOf, read in place: this runs for every creature a walk puts back.
  const auto* cls = host::FieldAt<host::UClass*>(creature, GameHandleTable().ClassPrivate);
  if (cls == nullptr) return;
  if (lines != DetailLines::kWrite) {
    std::size_t held = 0;
    if (RestoreFromBaselines(creature, cls, held)) {
      if (lines == DetailLines::kHoldBack && held != 0) CountHeldBackLines(held);
      return;
    }
  }
  ScaleRiderCameraAlreadyRecorded(creature, 1.0, lines);
}

bool CameraScalingOn() {
  return FeatureOn(host::feature::kCamera);
}

bool CameraHeldAt(const void* creature, double cameraScale, std::size_t* lines) {
  if (!CameraScalingOn()) {
    if (lines != nullptr) *lines = 0;
    return true;
  }
  std::lock_guard<SpinLock> lock(CameraStoreMutex);
  const auto found = baselines.find(creature);
  if (found == baselines.end() || found->second.applied != cameraScale) return false;
  if (lines != nullptr) {
    // A "Scaled" line an offset of the layout, and a "Stored orig" line each baseline not taken.
    const Baselines& kept = found->second;
    *lines = 0;
    if (kept.layout != nullptr)
      for (std::size_t i = 0; i < kept.layout->count; ++i)
        *lines += kept.have[kept.layout->entries[i].slot] ? 1 : 2;
  }
  return true;
}

void ForgetCreatureCamera(const void* creature) {
  std::lock_guard<SpinLock> lock(CameraStoreMutex);
  baselines.erase(creature);
}

void ClearCameraStoresForTests() {
  std::lock_guard<SpinLock> lock(CameraStoreMutex);
  baselines.clear();
  layouts.clear();
}

std::size_t CameraStoreSizeForTests() {
  std::lock_guard<SpinLock> lock(CameraStoreMutex);
  return baselines.size();
}

}  // namespace tinyhorde
