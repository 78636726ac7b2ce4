#include "detour_world.h"

#include <cmath>
#include <string>

#include "game_stand_ins.h"

namespace bench {

namespace {

CallSubject CreatureSubject(sim::Game& game, int id, int owner) {
  auto* dino = game.CreatureObject(id);
  return {dino, &dino->PrimalCharacter, game.PlayerById(owner).controller};
}

CallSubject PlayerSubject(const sim::Game::Player& player) {
  return {nullptr, &player.character->PrimalCharacter, player.controller};
}

sim::USceneComponent* Root(sim::APrimalDinoCharacter* dino) {
  return dino->PrimalCharacter.Character.Pawn.Actor.RootComponent;
}

}  // namespace

const char* SubjectName(Subject subject) {
  switch (subject) {
    case Subject::kTarget:
      return "target";
    case Subject::kOtherCreature:
      return "non-target";
    case Subject::kPlayer:
      return "player";
    case Subject::kRidingPlayer:
      return "player riding a target";
  }
  return "?";
}

DetourWorld::DetourWorld() {
  InstallGameStandIns(server_.Server());
  auto& game = server_.Game();
  const int owner = game.AddPlayer("Owner", false);
  mounting_rider = game.PlayerById(owner).character;
  for (int i = 0; i < kBatch; ++i) {
    targets_.push_back(
        CreatureSubject(game, game.Spawn(kTargetSpecies, owner, std::nullopt), owner));
    built_.push_back(BuiltStateOf(targets_.back().dino));
    others_.push_back(CreatureSubject(game, game.Spawn(kOtherSpecies, owner, std::nullopt), owner));
    players_.push_back(
        PlayerSubject(game.PlayerById(game.AddPlayer("Player" + std::to_string(i), false))));
    const auto& rider = game.PlayerById(game.AddPlayer("Rider" + std::to_string(i), false));
    rider.character->RidingDino = targets_.back().dino;
    targets_.back().dino->Rider = rider.character;
    riders_.push_back(PlayerSubject(rider));
  }
  ordinary_causer = MakeCauser("PrimalItem_WeaponSword_C");
  capture_causer = MakeCauser("PrimalItemAmmo_CryopodProjectile_C");
  world_context = reinterpret_cast<sim::UObject*>(game.World());
  // Loaded into the running server, the plugin shrinks the targets there.
  server_.StartPlugin();
  server_.DropTimers();
  for (const auto& target : targets_) at_scale_.push_back(Root(target.dino)->RelativeScale3D.X);
}

sim::AActor* DetourWorld::MakeCauser(const char* cls) {
  auto& server = server_.Server();
  return server.Objects().Create<sim::AActor>(&server.Classes().ActorBlueprint(cls).cls,
                                              server.Names().Add(std::string(cls)));
}

DetourWorld::BuiltState DetourWorld::BuiltStateOf(sim::APrimalDinoCharacter* dino) const {
  BuiltState state;
  const auto& info =
      sim::ClassTree::Info(dino->PrimalCharacter.Character.Pawn.Actor.Object.Base.ClassPrivate);
  for (std::size_t i = 0; i < info.properties.size(); ++i) {
    if (info.specs[i].element_size != 24) continue;
    const auto offset = static_cast<std::size_t>(info.properties[i]->Offset_Internal);
    state.camera.emplace_back(
        offset, *reinterpret_cast<const sim::FVector*>(reinterpret_cast<char*>(dino) + offset));
  }
  state.rider_camera = dino->RiderFPVCameraOffset;
  return state;
}

const std::vector<CallSubject>& DetourWorld::Of(Subject subject) const {
  switch (subject) {
    case Subject::kTarget:
      return targets_;
    case Subject::kOtherCreature:
      return others_;
    case Subject::kPlayer:
      return players_;
    case Subject::kRidingPlayer:
      return riders_;
  }
  return targets_;
}

bool DetourWorld::TargetsShrunk() const {
  for (double scale : at_scale_)
    if (std::fabs(scale - 1.0) < 1e-9) return false;
  return true;
}

bool DetourWorld::TargetsAtScale() const {
  for (std::size_t i = 0; i < targets_.size(); ++i)
    if (std::fabs(Root(targets_[i].dino)->RelativeScale3D.X - at_scale_[i]) > 1e-9) return false;
  return true;
}

bool DetourWorld::Prepare(Subject subject, Preparation preparation) {
  server_.DropTimers();
  if (subject != Subject::kTarget) return true;
  if (preparation == Preparation::kAsBuilt) {
    const sim::FVector full{1, 1, 1};
    for (std::size_t i = 0; i < targets_.size(); ++i) {
      auto* dino = targets_[i].dino;
      Root(dino)->RelativeScale3D = full;
      dino->PrimalCharacter.Character.Mesh->RelativeScale3D = full;
      dino->BaseDinoScale = full;
      for (const auto& [offset, value] : built_[i].camera)
        *reinterpret_cast<sim::FVector*>(reinterpret_cast<char*>(dino) + offset) = value;
      dino->RiderFPVCameraOffset = built_[i].rider_camera;
    }
    return true;
  }
  // A target put back to full size is shrunk again as the game wakes it from stasis.
  const auto wake = Entry<sim::Hook::Unstasis>();
  for (std::size_t i = 0; i < targets_.size(); ++i)
    if (std::fabs(Root(targets_[i].dino)->RelativeScale3D.X - at_scale_[i]) > 1e-9)
      wake(targets_[i].dino);
  server_.DropTimers();
  return TargetsAtScale();
}

}  // namespace bench
