// Detours that put a target creature back to scale 1.0 before the game stores, copies, captures
// or destroys it, so that cryopods, uploads, exports, snapshots and saves never hold a reduced
// size. Each hands the game's result back unchanged.
#include <vector>

#include "base/address_set.h"
#include "base/contained.h"
#include "base/game_handles.h"
#include "hooks/detours.h"
#include "hooks/saving_archive.h"
#include "host/game.h"
#include "scaling/creature_verdict.h"
#include "scaling/detail_log_budget.h"
#include "scaling/post_save_resize.h"
#include "scaling/rider_camera.h"
#include "scaling/scale_restoration.h"
#include "scaling/shrunk_record.h"
#include "selection/class_name.h"
#include "selection/creature_classification.h"

namespace tinyhorde::detours {

namespace {

// Capture tools and projectiles, matched in the damage causer's lowered class name (worked out
// once per class with the rest of its verdict).
bool IsCaptureCauser(const AActor* causer) {
  return ClassifyCreature(causer).capture_causer;
}

// A creature shot by a capture tool is put back before the game's damage code runs: capture
// follows. The causer's name is built only for a creature with a causer that is recorded as
// shrunk or a target.
void RestoreBeforeCaptureDamage(APrimalCharacter* self, AActor* causer) {
  if (self == nullptr || causer == nullptr) return;
  if (!IsRecordedShrunk(self) && !IsTargetCreature(self)) return;
  if (IsCaptureCauser(causer)) RestoreNormalScale(reinterpret_cast<APrimalDinoCharacter*>(self));
}

// The creature whose own TakeDamage detour has run in the call now under way: the character's
// function it calls does not look at that creature again.
const void* damage_seen_by_override = nullptr;

// The world save under way: the creatures it put back before writing, and what the characters'
// Serialize saw of its archives. Null outside a world save.
struct WorldSave {
  AddressSet restored;
  std::size_t serialized = 0;              // characters written
  std::size_t saving_seen = 0;             // ... through an archive recognised as saving
  std::size_t restored_while_writing = 0;  // put back by Serialize, not in restored
};
WorldSave* world_save = nullptr;

bool RestoredByWorldSave(const void* creature) {
  return world_save != nullptr && world_save->restored.Contains(creature);
}

// The creature an export or snapshot detour is copying in the call now under way: the detours
// inside it (the character's snapshot, Serialize) leave its re-application to the outermost one.
const void* copy_under_way = nullptr;

// A creature put back for a save is shrunk again a second later, but only while it still
// qualifies under the settings in force (its verdict for this event) and is neither dead nor
// being destroyed.
bool ShrinkAgainAfterSave(APrimalDinoCharacter* creature, const CreatureVerdict& verdict) {
  if (!verdict.Qualifies()) return false;
  if (host::IsFlagSetIn(creature, GameHandleTable().bActorIsBeingDestroyed)) return false;
  return !host::IsFlagSetIn(creature, GameHandleTable().bIsDead);
}

// Queues into the post-save batch, in order, the creatures a world save put back that still
// qualify. A save holds few classes: the verdict of the class met last is kept for the loop, and
// only each creature's tamed state is asked anew.
void QueueShrinkAgain(const std::vector<RecordedCreature>& restored) {
  const host::UClass* last_class = nullptr;
  CreatureVerdict verdict;
  for (const RecordedCreature& entry : restored) {
    const host::UClass* cls = ClassOf(entry.creature);
    if (cls == nullptr || cls != last_class) {
      verdict = JudgeClassOf(entry.creature);
      last_class = cls;
    }
    JudgeTamedState(entry.creature, verdict);
    if (ShrinkAgainAfterSave(entry.creature, verdict)) QueuePostSaveResize(entry.reference);
  }
}

// Runs the game's copy of a creature that stays in the world (an export, a snapshot), then queues
// its re-application into the post-save batch under label, whatever layout the game's archives
// have: Serialize may not see them. The outermost copy of a creature queues it; a player or a
// creature that no longer qualifies is not queued.
template <typename GameCall>
void CopyingCreature(APrimalDinoCharacter* creature, const char* label, GameCall&& game_call) {
  const void* const outer = copy_under_way;
  copy_under_way = creature;
  game_call();
  copy_under_way = outer;
  if (creature == nullptr || outer == creature) return;
  Contained(label, [&] {
    if (ShrinkAgainAfterSave(creature, JudgeCreature(creature)))
      QueueResizeAfterCopy(creature, label);
  });
}

}  // namespace

void OnCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  Contained("OnCryo", [&] { RestoreNormalScale(self); });
  Original<DinoWithControllerFn>(DetourSlot<names::kOnCryo>)(self, controller);
}

void MultiOnCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  Contained("MultiOnCryo", [&] { RestoreNormalScale(self); });
  Original<DinoWithControllerFn>(DetourSlot<names::kMultiOnCryo>)(self, controller);
}

void GiveCryoItemAndCaptureDino(AShooterPlayerController* self, APrimalDinoCharacter* dino) {
  Contained("GiveCryoItemAndCaptureDino", [&] { RestoreNormalScale(dino); });
  Original<ControllerWithDinoFn>(DetourSlot<names::kGiveCryoItemAndCaptureDino>)(self, dino);
}

FCustomItemData* GetCryoDinoData(FCustomItemData* result, UObject* worldContext,
                                 APrimalDinoCharacter* dino) {
  Contained("GetCryoDinoData", [&] { RestoreNormalScale(dino); });
  return Original<GetCryoDinoDataFn>(DetourSlot<names::kGetCryoDinoData>)(result, worldContext,
                                                                          dino);
}

bool CanCryo(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  const bool answer = Original<DinoCanCryoFn>(DetourSlot<names::kCanCryo>)(self, controller);
  if (answer) Contained("CanCryo", [&] { RestoreNormalScale(self); });
  return answer;
}

float TakeDamage(APrimalCharacter* self, float amount, FDamageEvent* event, AController* instigator,
                 AActor* causer) {
  if (self != damage_seen_by_override)
    Contained("TakeDamage", [&] { RestoreBeforeCaptureDamage(self, causer); });
  return Original<CharacterTakeDamageFn>(DetourSlot<names::kTakeDamage>)(self, amount, event,
                                                                         instigator, causer);
}

float DinoTakeDamage(APrimalDinoCharacter* self, float amount, FDamageEvent* event,
                     AController* instigator, AActor* causer) {
  Contained("DinoTakeDamage",
            [&] { RestoreBeforeCaptureDamage(reinterpret_cast<APrimalCharacter*>(self), causer); });
  // Kept for the whole call: the override may call the character's function at any point.
  const void* const outer = damage_seen_by_override;
  damage_seen_by_override = self;
  const float dealt = Original<DinoTakeDamageFn>(DetourSlot<names::kDinoTakeDamage>)(
      self, amount, event, instigator, causer);
  damage_seen_by_override = outer;
  return dealt;
}

void SaveWorld(AShooterGameMode* self, bool forceSynchronous, bool evenIfSaveLoadIsDisabled,
               bool saveAsBackup) {
  // Every creature the plugin shrank is written at full size, whatever the archive shows. They
  // are shrunk again after the save in the order they were put back.
  // Each keeps the weak reference it was recorded with, for the re-application.
  std::vector<RecordedCreature> restored;
  WorldSave save;
  // The game writes the whole world at one instant.
  const DetailLinesInstant instant;
  Contained("SaveWorld", [&] {
    BeginWorldSave();
    std::vector<RecordedCreature> recorded = RecordedShrunkEntries();
    save.restored = AddressSet(recorded.size());
    for (const RecordedCreature& entry : recorded)
      if (RestoreNormalScaleAlways(entry.creature)) {
        restored.push_back(entry);
        save.restored.Insert(entry.creature);
      }
  });
  WorldSave* const outer = world_save;
  world_save = &save;
  Original<SaveWorldFn>(DetourSlot<names::kSaveWorld>)(self, forceSynchronous,
                                                       evenIfSaveLoadIsDisabled, saveAsBackup);
  world_save = outer;
  Contained("SaveWorld", [&] {
    if (save.serialized > 0 && save.saving_seen == 0) ReportUnrecognisedArchives();
    QueueShrinkAgain(restored);
  });
  // Summed up in one line once the creatures it queued were re-applied.
  EndWorldSave(restored.size() + save.restored_while_writing);
}

void Serialize(APrimalCharacter* self, FArchive* archive) {
  // Loading and other archives cost one pointer compare and one bit test; a creature the world
  // save already put back is written as it is.
  const bool saving = archive != nullptr && IsSavingArchive(archive);
  if (world_save != nullptr) {
    ++world_save->serialized;
    if (saving) ++world_save->saving_seen;
  }
  if (self == nullptr || !saving || RestoredByWorldSave(self)) {
    Original<CharacterSerializeFn>(DetourSlot<names::kSerialize>)(self, archive);
    return;
  }
  auto* creature = reinterpret_cast<APrimalDinoCharacter*>(self);
  bool restored = false;
  CreatureVerdict verdict;
  Contained("Serialize", [&] {
    // A creature the plugin shrank is saved at full size whatever the settings say now; a
    // target the settings pick is put back too. A wild creature the plugin never touched is
    // saved as it is.
    verdict = JudgeCreature(creature);
    if (IsRecordedShrunk(creature) || verdict.Selected()) {
      RestoreNormalScaleAlways(creature);
      restored = true;
      if (world_save != nullptr) ++world_save->restored_while_writing;
    }
  });
  Original<CharacterSerializeFn>(DetourSlot<names::kSerialize>)(self, archive);
  // A copy under way queues the creature itself, under its own label, when it is done.
  if (!restored || self == copy_under_way) return;
  Contained("Serialize", [&] {
    if (ShrinkAgainAfterSave(creature, verdict)) QueuePostSaveResize(creature);
  });
}

bool Destroy(APrimalDinoCharacter* self, bool netForce, bool shouldModifyLevel) {
  Contained("Destroy", [&] { RestoreNormalScale(self); });
  return Original<DinoDestroyFn>(DetourSlot<names::kDestroy>)(self, netForce, shouldModifyLevel);
}

void Destroyed(APrimalDinoCharacter* self) {
  Contained("Destroyed", [&] {
    RestoreNormalScale(self);
    // The creature is gone after this: a creature made later at its address starts afresh.
    ForgetCreatureCamera(self);
    ForgetShrunk(self);
  });
  Original<DinoFn>(DetourSlot<names::kDestroyed>)(self);
}

void ServerUploadDino(AShooterPlayerController* self, APrimalDinoCharacter* dino) {
  Contained("ServerUploadDino", [&] { RestoreNormalScale(dino); });
  Original<ControllerWithDinoFn>(DetourSlot<names::kServerUploadDino>)(self, dino);
}

void ServerUploadCharacter(APrimalDinoCharacter* self, AShooterPlayerController* controller) {
  Contained("ServerUploadCharacter", [&] { RestoreNormalScale(self); });
  Original<DinoWithControllerFn>(DetourSlot<names::kServerUploadCharacter>)(self, controller);
}

void ExportDinoData(AShooterPlayerController* self, APrimalDinoCharacter* dino) {
  Contained("ExportDinoData", [&] { RestoreNormalScale(dino); });
  CopyingCreature(dino, "Post-ExportDinoData", [&] {
    Original<ControllerWithDinoFn>(DetourSlot<names::kExportDinoData>)(self, dino);
  });
}

void CharacterCaptureSnapshot(APrimalCharacter* self, UPrimalItem* item) {
  auto* creature = reinterpret_cast<APrimalDinoCharacter*>(self);
  Contained("CharacterCaptureSnapshot", [&] { RestoreNormalScale(creature); });
  CopyingCreature(creature, "Post-CaptureCharacterSnapshot", [&] {
    Original<CharacterItemFn>(DetourSlot<names::kCharacterCaptureSnapshot>)(self, item);
  });
}

void DinoCaptureSnapshot(APrimalDinoCharacter* self, UPrimalItem* item) {
  Contained("DinoCaptureSnapshot", [&] { RestoreNormalScale(self); });
  CopyingCreature(self, "Post-CaptureCharacterSnapshot", [&] {
    Original<DinoItemFn>(DetourSlot<names::kDinoCaptureSnapshot>)(self, item);
  });
}

}  // namespace tinyhorde::detours
