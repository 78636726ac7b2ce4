#include "scaling/rider_camera.h"

#include <array>
#include <string>
#include <unordered_map>

#include <fmt/format.h>

#include "config/plugin_settings.h"
#include "host/game.h"
#include "plugin/logger.h"
#include "scaling/shrunk_record.h"
#include "selection/class_name.h"

namespace tinyhorde {

std::mutex CameraStoreMutex;

namespace {

using host::FVector;

const std::array<std::string, 4>& CameraOffsetNames() {
  static const std::array<std::string, 4> names = {
      "TPVDefaultCameraOffset", "TPVAimingCameraOffset", "FPVDefaultCameraOffset",
      "FPVAimingCameraOffset"};
  return names;
}

std::unordered_map<const void*, std::unordered_map<std::string, FVector>> CameraOffsetBaselines;
std::unordered_map<const void*, FVector> RiderOffsetBaselines;

bool IsCameraOffsetName(const std::string& name) {
  for (const auto& known : CameraOffsetNames())
    if (name == known) return true;
  return false;
}

FVector Times(double k, const FVector& v) {
  return FVector{k * v.X, k * v.Y, k * v.Z};
}

}  // namespace

void ScaleRiderCamera(host::APrimalDinoCharacter* creature, double cameraScale) {
  if (creature == nullptr) return;
  host::UClass* cls = ClassOf(creature);
  if (cls == nullptr) return;
  const bool debug = ReadDebugLog();
  if (cameraScale != 1.0) RecordShrunk(creature);

  std::lock_guard<std::mutex> lock(CameraStoreMutex);
  auto& baselines = CameraOffsetBaselines[creature];
  for (auto* property = host::Field<host::FField*>(cls, "UStruct.ChildProperties");
       property != nullptr; property = host::Field<host::FField*>(property, "FField.Next")) {
    const std::string name = NameText(&host::Field<host::FName>(property, "FField.NamePrivate"));
    if (!IsCameraOffsetName(name)) continue;
    const auto offset = host::Field<host::int32>(property, "FProperty.Offset_Internal");
    const auto size = host::Field<host::int32>(property, "FProperty.ElementSize");
    if (size != 24) continue;
    auto* value = reinterpret_cast<FVector*>(reinterpret_cast<char*>(creature) + offset);
    const auto [baseline, added] = baselines.try_emplace(name, *value);
    if (added && debug && HasLogger())
      LogInfo(fmt::format("[Tinyhorde] Stored orig {} = ({:.1f}, {:.1f}, {:.1f})", name, value->X,
                          value->Y, value->Z));
    *value = Times(cameraScale, baseline->second);
    if (debug && HasLogger())
      LogInfo(fmt::format("[Tinyhorde] Scaled {} -> ({:.1f}, {:.1f}, {:.1f}) [scale={:.2f}]", name,
                          value->X, value->Y, value->Z, cameraScale));
  }
  try {
    auto& rider = host::Field<FVector>(creature, "APrimalDinoCharacter.RiderFPVCameraOffset");
    const auto [baseline, added] = RiderOffsetBaselines.try_emplace(creature, rider);
    rider = Times(cameraScale, baseline->second);
  } catch (...) {
  }
}

bool CameraIsScaled(host::APrimalDinoCharacter* creature) {
  std::lock_guard<std::mutex> lock(CameraStoreMutex);
  auto it = RiderOffsetBaselines.find(creature);
  if (it == RiderOffsetBaselines.end()) return false;
  try {
    const auto& now = host::Field<FVector>(creature, "APrimalDinoCharacter.RiderFPVCameraOffset");
    return now.X != it->second.X || now.Y != it->second.Y || now.Z != it->second.Z;
  } catch (...) {
    return false;
  }
}

void ForgetCreatureCamera(const void* creature) {
  std::lock_guard<std::mutex> lock(CameraStoreMutex);
  CameraOffsetBaselines.erase(creature);
  RiderOffsetBaselines.erase(creature);
}

void ClearCameraStores() {
  std::lock_guard<std::mutex> lock(CameraStoreMutex);
  CameraOffsetBaselines.clear();
  RiderOffsetBaselines.clear();
}

std::size_t CameraStoreSize() {
  std::lock_guard<std::mutex> lock(CameraStoreMutex);
  return CameraOffsetBaselines.size();
}

}  // namespace tinyhorde
