// The world of the per-detour benchmarks: the game's functions behind the hooks replaced by
// stand-ins (game_stand_ins.h), and batches of each kind of subject a detour is called on.
//
// Subjects: target creatures (tamed, at their scale), creatures of another species (tamed, left
// alone by the plugin), players on foot, and players riding a target. The plugin is started
// after everything is made, as when it is loaded into a running server, and shrinks the targets.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "bench_server.h"
#include "sim/game_functions.h"

namespace bench {

enum class Subject { kTarget, kOtherCreature, kPlayer, kRidingPlayer };
const char* SubjectName(Subject subject);

// How targets are put back before each batch: at their scale (after a detour restored them), or
// at full size with their class's camera offsets, as the game builds a creature before it
// begins play.
enum class Preparation { kAtScale, kAsBuilt };

// One subject of a call. Creatures also carry their owner's controller; players their own.
struct CallSubject {
  sim::APrimalDinoCharacter* dino = nullptr;  // null for players
  sim::APrimalCharacter* character = nullptr;
  sim::AShooterPlayerController* controller = nullptr;
};

class DetourWorld {
 public:
  static constexpr int kBatch = 64;

  DetourWorld();

  // False when starting the plugin left a target at full size: there is no "at its scale" then.
  bool TargetsShrunk() const;
  const std::vector<CallSubject>& Of(Subject subject) const;
  // Drops pending timers and, for targets, brings every one into the state preparation names.
  // Answers false when a target could not be brought back to its scale.
  bool Prepare(Subject subject, Preparation preparation);

  template <sim::Hook H>
  sim::HookSignature<H> Entry() {
    return server_.Game().EntryOf<H>();
  }

  sim::Server& Server() { return server_.Server(); }

  // Call arguments shared by every call.
  sim::AShooterCharacter* mounting_rider = nullptr;  // a player character that mounts targets
  sim::AActor* ordinary_causer = nullptr;            // a sword
  sim::AActor* capture_causer = nullptr;             // a cryopod projectile
  sim::SimArchive saving{nullptr, true};
  sim::SimArchive loading{nullptr, false};
  sim::FPrimalCameraParams camera_params;
  sim::FDamageEvent damage_event;
  sim::UObject* world_context = nullptr;

 private:
  struct BuiltState {
    std::vector<std::pair<std::size_t, sim::FVector>> camera;  // offset in the creature, value
    sim::FVector rider_camera;
  };
  sim::AActor* MakeCauser(const char* cls);
  BuiltState BuiltStateOf(sim::APrimalDinoCharacter* dino) const;
  bool TargetsAtScale() const;

  BenchServer server_;
  std::vector<CallSubject> targets_, others_, players_, riders_;
  std::vector<BuiltState> built_;  // per target
  std::vector<double> at_scale_;   // per target: its root scale once shrunk
};

}  // namespace bench
