// Rider camera scaling: a creature's camera offset vectors follow its camera scale, always from the
// unscaled values recorded the first time the creature was seen (its baselines), so that repeated
// calls never compound.
//
// Where a class keeps its offsets is found once per class. A creature's baselines are a fixed
// record keyed by its address, forgotten when it begins play and when it is destroyed. Both
// stores are guarded by CameraStoreMutex, which is never held together with SettingsMutex and
// never while a log line is written: the debug lines are gathered under it and written after.
#pragma once

#include <cstddef>
#include <mutex>

#include "base/spin_lock.h"

#include "host/types.h"
#include "scaling/detail_log_budget.h"

namespace tinyhorde {

extern SpinLock CameraStoreMutex;

// Sets each of the class's own camera offsets, and RiderFPVCameraOffset, to cameraScale times its
// baseline, recording the creature as shrunk first when cameraScale is not 1.0. Null creatures and
// creatures without a class are ignored. At 1.0 a creature without baselines is left as it is
// (its offsets are their own baselines) and none are kept for it. The creature's detail lines
// are its own: it takes them from the budget.
void ScaleRiderCamera(host::APrimalDinoCharacter* creature, double cameraScale);
// The same for a creature the caller has already recorded as shrunk, as part of an application
// whose detail lines the caller took (lines): written, counted as held back, or neither.
void ScaleRiderCameraAlreadyRecorded(host::APrimalDinoCharacter* creature, double cameraScale,
                                     DetailLines lines);

// The same as ScaleRiderCameraAlreadyRecorded(creature, 1.0, lines), for a restore.
void RestoreRiderCamera(host::APrimalDinoCharacter* creature, DetailLines lines);

// Whether camera scaling is on: off where the game lacks a name it needs. While off, no offset is
// scaled or restored (none was ever changed) and every creature counts as held at its scale.
bool CameraScalingOn();

// Whether the creature's offsets were last set to cameraScale times their baselines (false for a
// creature without baselines; true while camera scaling is off, with no line to log). With
// lines, also how many detail lines setting them again would log.
bool CameraHeldAt(const void* creature, double cameraScale, std::size_t* lines = nullptr);

// Forgets a creature's baselines, so that a creature made later at the same address starts from
// its own offsets. Called once the creature is gone (after its offsets were put back).
void ForgetCreatureCamera(const void* creature);
// For tests only: drops every creature's baselines and every class's layout (a test starts
// afresh), and counts the creatures with baselines in the store.
void ClearCameraStoresForTests();
std::size_t CameraStoreSizeForTests();

}  // namespace tinyhorde
