// Detours that bring a target creature to its configured scale whenever it enters play or
// changes hands. Each runs the game's own function first, with every argument unchanged, and then
// acts on the creature the function was called on.
#include "base/contained.h"
#include "hooks/detours.h"
#include "scaling/creature_verdict.h"
#include "scaling/delayed_resize.h"
#include "scaling/rider_camera.h"
#include "scaling/scale_application.h"
#include "scaling/scale_restoration.h"
#include "scaling/shrunk_record.h"

namespace tinyhorde::detours {

void BeginPlay(APrimalDinoCharacter* self) {
  Original<DinoFn>(DetourSlot<names::kBeginPlay>)(self);
  Contained("BeginPlay", [&] {
    // A creature begins play once, at full size: offsets or a record kept for an earlier
    // creature at this address are not its own.
    ForgetCreatureCamera(self);
    ForgetShrunk(self);
    const CreatureVerdict verdict = JudgeCreature(self);
    if (!verdict.Selected()) return;
    ApplyCreatureScale(self, verdict, "BeginPlay-Immediate", ApplyMode::kForce);
    ScheduleDelayedResize(self, "BeginPlay-Delayed-1s", 1);
    ScheduleDelayedResize(self, "BeginPlay-Delayed-3s", 3);
  });
}

void OnUncryo(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  Original<DinoWithControllerFn>(DetourSlot<names::kOnUncryo>)(self, controller);
  Contained("OnUncryo", [&] {
    const CreatureVerdict verdict = JudgeCreature(self);
    if (!verdict.Target()) return;
    // No tamed gate here: the application applies the OnlyTamed rule itself; the timers run
    // whatever it says.
    ApplyCreatureScale(self, verdict, "OnUncryo-Immediate", ApplyMode::kForce);
    ScheduleDelayedResize(self, "OnUncryo-Delayed-1s", 1);
    ScheduleDelayedResize(self, "OnUncryo-Delayed-3s", 3);
  });
}

void Unstasis(APrimalDinoCharacter* self) {
  Original<DinoFn>(DetourSlot<names::kUnstasis>)(self);
  Contained("Unstasis", [&] {
    const CreatureVerdict verdict = JudgeCreature(self);
    if (!verdict.Selected()) return;
    ApplyCreatureScale(self, verdict, "Unstasis", ApplyMode::kUnlessAtScale);
  });
}

void TameDino(APrimalDinoCharacter* self, AShooterPlayerController* controller,
              bool ignoreMaxTameLimit, int overrideTamingTeam, bool preventNameDialog,
              bool skipAddingTamedLevels, bool suppressNotifications) {
  Original<DinoTameFn>(DetourSlot<names::kTameDino>)(self, controller, ignoreMaxTameLimit,
                                                     overrideTamingTeam, preventNameDialog,
                                                     skipAddingTamedLevels, suppressNotifications);
  Contained("TameDino", [&] {
    const CreatureVerdict verdict = JudgeCreature(self);
    if (!verdict.Selected()) return;
    ApplyCreatureScale(self, verdict, "TameDino-Immediate", ApplyMode::kForce);
    ScheduleDelayedResize(self, "TameDino-Delayed", 1);
  });
}

void TargetingTeamChanged(APrimalDinoCharacter* self) {
  Original<DinoFn>(DetourSlot<names::kTargetingTeamChanged>)(self);
  Contained("TargetingTeamChanged", [&] {
    // Asked whether it is tamed whatever OnlyTamed says: a creature that turned wild goes back
    // to full size.
    const CreatureVerdict verdict = JudgeCreature(self, AskTamed::kAlways);
    if (!verdict.Target()) return;
    if (verdict.tamed) {
      ApplyCreatureScale(self, verdict, "TargetingTeamChanged-Tamed", ApplyMode::kForce);
      ScheduleDelayedResize(self, "TargetingTeamChanged-Delayed", 1);
    } else {
      RestoreNormalScaleAlways(self);
    }
  });
}

void SetRider(APrimalDinoCharacter* self, AShooterCharacter* rider) {
  Original<DinoSetRiderFn>(DetourSlot<names::kSetRider>)(self, rider);
  Contained("SetRider", [&] {
    const CreatureVerdict verdict = JudgeCreature(self);
    if (!verdict.Qualifies()) return;
    // The rider camera follows even when the application declined (a dead creature, say), but
    // never while shrinking is unsafe.
    if (!ApplyCreatureScale(self, verdict, "SetRider", ApplyMode::kForce))
      ScaleRiderCamera(self, verdict.CameraScale());
  });
}

}  // namespace tinyhorde::detours
