// Detours that bring a target creature to its configured scale whenever it enters play or
// changes hands. Each runs the game's own function first, with every argument unchanged, and then
// acts on the creature the function was called on.
#include "base/contained.h"
#include "config/plugin_settings.h"
#include "hooks/detours.h"
#include "scaling/delayed_resize.h"
#include "scaling/rider_camera.h"
#include "scaling/scale_application.h"
#include "scaling/scale_restoration.h"
#include "scaling/shrink_gate.h"
#include "scaling/shrunk_record.h"
#include "selection/creature_classification.h"
#include "selection/tamed_state.h"

namespace tinyhorde::detours {

namespace {

// Passes when only tamed creatures are handled and this one is tamed, or when all are handled.
bool PassesTamedGate(APrimalDinoCharacter* creature) {
  return !OnlyTamedSetting() || IsTamedCreature(creature);
}

}  // namespace

void* BeginPlaySlot = nullptr;
void BeginPlay(APrimalDinoCharacter* self) {
  Original<DinoFn>(BeginPlaySlot)(self);
  Contained("BeginPlay", [&] {
    // A creature begins play once, at full size: offsets or a record kept for an earlier
    // creature at this address are not its own.
    ForgetCreatureCamera(self);
    ForgetShrunk(self);
    const ClassVerdict verdict = ClassifyCreature(self);
    if (!verdict.target || !PassesTamedGate(self)) return;
    ApplyCreatureScale(self, verdict, "BeginPlay-Immediate", ApplyMode::kForce);
    ScheduleDelayedResize(self, "BeginPlay-Delayed-1s", 1);
    ScheduleDelayedResize(self, "BeginPlay-Delayed-3s", 3);
  });
}

void* OnUncryoSlot = nullptr;
void OnUncryo(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  Original<DinoWithControllerFn>(OnUncryoSlot)(self, controller);
  Contained("OnUncryo", [&] {
    const ClassVerdict verdict = ClassifyCreature(self);
    if (!verdict.target) return;
    // No tamed gate here: ApplyCreatureScale applies the OnlyTamed rule itself.
    ApplyCreatureScale(self, verdict, "OnUncryo-Immediate", ApplyMode::kForce);
    ScheduleDelayedResize(self, "OnUncryo-Delayed-1s", 1);
    ScheduleDelayedResize(self, "OnUncryo-Delayed-3s", 3);
  });
}

void* UnstasisSlot = nullptr;
void Unstasis(APrimalDinoCharacter* self) {
  Original<DinoFn>(UnstasisSlot)(self);
  Contained("Unstasis", [&] {
    const ClassVerdict verdict = ClassifyCreature(self);
    if (!verdict.target || !PassesTamedGate(self)) return;
    ApplyCreatureScale(self, verdict, "Unstasis", ApplyMode::kUnlessAtScale);
  });
}

void* TameDinoSlot = nullptr;
void TameDino(APrimalDinoCharacter* self, AShooterPlayerController* controller,
              bool ignoreMaxTameLimit, int overrideTamingTeam, bool preventNameDialog,
              bool skipAddingTamedLevels, bool suppressNotifications) {
  Original<DinoTameFn>(TameDinoSlot)(self, controller, ignoreMaxTameLimit, overrideTamingTeam,
                                     preventNameDialog, skipAddingTamedLevels,
                                     suppressNotifications);
  Contained("TameDino", [&] {
    const ClassVerdict verdict = ClassifyCreature(self);
    if (!verdict.target || !PassesTamedGate(self)) return;
    ApplyCreatureScale(self, verdict, "TameDino-Immediate", ApplyMode::kForce);
    ScheduleDelayedResize(self, "TameDino-Delayed", 1);
  });
}

void* TargetingTeamChangedSlot = nullptr;
void TargetingTeamChanged(APrimalDinoCharacter* self) {
  Original<DinoFn>(TargetingTeamChangedSlot)(self);
  Contained("TargetingTeamChanged", [&] {
    const ClassVerdict verdict = ClassifyCreature(self);
    if (!verdict.target) return;
    // A creature that turned wild goes back to full size whatever OnlyTamed says.
    if (IsTamedCreature(self)) {
      ApplyCreatureScale(self, verdict, "TargetingTeamChanged-Tamed", ApplyMode::kForce);
      ScheduleDelayedResize(self, "TargetingTeamChanged-Delayed", 1);
    } else {
      RestoreCreatureScale(self);
    }
  });
}

void* SetRiderSlot = nullptr;
void SetRider(APrimalDinoCharacter* self, AShooterCharacter* rider) {
  Original<DinoSetRiderFn>(SetRiderSlot)(self, rider);
  Contained("SetRider", [&] {
    const ClassVerdict verdict = ClassifyCreature(self);
    if (!verdict.target || !PassesTamedGate(self) || !ShrinkingAllowed()) return;
    // The rider camera follows even when the application declined (a dead creature, say), but
    // never while shrinking is unsafe.
    if (!ApplyCreatureScale(self, verdict, "SetRider", ApplyMode::kForce))
      ScaleRiderCamera(self, verdict.camera_scale);
  });
}

}  // namespace tinyhorde::detours
