// Rider camera scaling: a creature's camera offset vectors follow its camera scale, always from the
// unscaled values recorded the first time the creature was seen (its baselines), so that repeated
// calls never compound.
//
// The baseline stores are keyed by the creature's address and guarded by CameraStoreMutex, which
// is never held together with SettingsMutex.
#pragma once

#include <cstddef>
#include <mutex>

#include "host/types.h"

namespace tinyhorde {

extern std::mutex CameraStoreMutex;

// Sets each of the class's own camera offsets, and RiderFPVCameraOffset, to cameraScale times its
// baseline. Null creatures and creatures without a class are ignored.
void ScaleRiderCamera(host::APrimalDinoCharacter* creature, double cameraScale);

// Whether the creature's camera offsets are off their baselines (a scale other than 1.0 was last
// applied to them). False for a creature never seen.
bool CameraIsScaled(host::APrimalDinoCharacter* creature);

// Forgets a creature's baselines, so that a creature made later at the same address starts from
// its own offsets. Called once the creature is gone (after its offsets were put back).
void ForgetCreatureCamera(const void* creature);
void ClearCameraStores();
// Creatures with baselines in the store.
std::size_t CameraStoreSize();

}  // namespace tinyhorde
