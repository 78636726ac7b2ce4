#include "sim/game.h"

#include <cstddef>
#include <stdexcept>

#include "sim/game_functions.h"
#include "sim/save_file.h"
#include "sim/server.h"

namespace sim {

namespace {

const host::GameName* const kHookNames[] = {
#define SIM_HOOK_NAME(hook, game_name, signature, original) &host::game_names::game_name,
    SIM_HOOKABLE_FUNCTIONS(SIM_HOOK_NAME)
#undef SIM_HOOK_NAME
};
static_assert(sizeof(kHookNames) / sizeof(kHookNames[0]) == static_cast<int>(Hook::Count));

constexpr std::int32_t kWildTeam = 2000;
constexpr std::int32_t kFirstPlayerTeam = 60000;

// Offsets inside any object of the class, since each class embeds its parent first.
#define SIM_FIELD(names, label, type, member) names.AddField(label, offsetof(type, member))

AActor& ActorOf(void* object) {
  return *static_cast<AActor*>(object);
}

}  // namespace

const host::GameName& HookGameName(Hook hook) {
  return *kHookNames[static_cast<int>(hook)];
}

const char* HookName(Hook hook) {
  return HookGameName(hook).name;
}

Game::Game(Server& server) : server_(server) {
  RegisterNames();
  RegisterGameFunctions(server);
  for (int i = 0; i < static_cast<int>(Hook::Count); ++i)
    entries_[i] = server.Hooks().Find(kHookNames[i]->name);
  world_ = server.Objects().Create<UWorld>(&server.Classes().Native("UWorld").cls,
                                           server.Names().Add(std::string("TheIsland_WP")));
}

Game::~Game() {
  for (auto& [id, dino] : creatures_) {
    ReleaseGameString(dino->TamerString);
    ReleaseGameString(dino->TamedName);
  }
  for (auto& [id, player] : players_) ReleaseGameString(player.character->PlayerName);
}

void Game::EscapedFrom(Hook hook) {
  server_.EndForEscapedException(HookName(hook));
}

bool Game::AcceptChatLine(int player, double now) {
  const void* controller = PlayerById(player).controller;
  const auto last = last_chat_.find(controller);
  if (last != last_chat_.end() && now - last->second < 1.0) return false;
  last_chat_[controller] = now;
  return true;
}

void Game::RegisterNames() {
  auto& names = server_.Lookup();
  SIM_FIELD(names, host::game_names::kClassPrivate, UObjectBase, ClassPrivate);
  SIM_FIELD(names, host::game_names::kObjectNamePrivate, UObjectBase, NamePrivate);
  SIM_FIELD(names, host::game_names::kRootComponent, AActor, RootComponent);
  SIM_FIELD(names, host::game_names::kMesh, ACharacter, Mesh);
  SIM_FIELD(names, host::game_names::kRelativeScale3D, USceneComponent, RelativeScale3D);
  SIM_FIELD(names, host::game_names::kBaseDinoScale, APrimalDinoCharacter, BaseDinoScale);
  SIM_FIELD(names, host::game_names::kTargetingTeam, AActor, TargetingTeam);
  SIM_FIELD(names, host::game_names::kOwningPlayerID, APrimalDinoCharacter, OwningPlayerID);
  SIM_FIELD(names, host::game_names::kTamerString, APrimalDinoCharacter, TamerString);
  SIM_FIELD(names, host::game_names::kTamedName, APrimalDinoCharacter, TamedName);
  SIM_FIELD(names, host::game_names::kRiderFPVCameraOffset, APrimalDinoCharacter,
            RiderFPVCameraOffset);
  SIM_FIELD(names, host::game_names::kChildProperties, UStruct, ChildProperties);
  SIM_FIELD(names, host::game_names::kPropertyNext, FField, Next);
  SIM_FIELD(names, host::game_names::kPropertyNamePrivate, FField, NamePrivate);
  SIM_FIELD(names, host::game_names::kPropertyOffsetInternal, FProperty, Offset_Internal);
  SIM_FIELD(names, host::game_names::kPropertyElementSize, FProperty, ElementSize);
  names.AddFlag(host::game_names::kIsDead, offsetof(APrimalCharacter, CharacterFlags), kBitIsDead);
  names.AddFlag(host::game_names::kActorIsBeingDestroyed, offsetof(AActor, ActorFlags),
                kBitActorIsBeingDestroyed);
  names.AddFlag(host::game_names::kIsAdmin, offsetof(APrimalPlayerController, ControllerFlags),
                kBitIsAdmin);
}

USceneComponent* Game::NewComponent() {
  return server_.Objects().Create<USceneComponent>(
      &server_.Classes().Native("USceneComponent").cls,
      server_.Names().Add(std::string("SceneComponent")));
}

int Game::AddPlayer(const std::string& name, bool admin) {
  const int id = NextId();
  auto& classes = server_.Classes();
  auto* controller = server_.Objects().Create<AShooterPlayerController>(
      &classes.Native("AShooterPlayerController").cls, server_.Names().Add(name + "_PC"));
  auto* character = server_.Objects().Create<AShooterCharacter>(
      &classes.Native("AShooterCharacter").cls, server_.Names().Add(name));
  auto& actor = character->PrimalCharacter.Character.Pawn.Actor;
  actor.RootComponent = NewComponent();
  character->PrimalCharacter.Character.Mesh = NewComponent();
  actor.TargetingTeam = kFirstPlayerTeam + id;
  character->PrimalCharacter.CameraArmLength = 300;
  character->PrimalCharacter.MaxHealth = character->PrimalCharacter.Health = 200;
  character->PlayerName = MakeGameString(Utf8ToUtf16(name));
  controller->PlayerId = id;
  controller->LinkedPlayerID = 100000 + id;
  SetBit(controller->PrimalPlayerController.ControllerFlags, kBitIsAdmin, admin);
  controller->PrimalPlayerController.PlayerController.PlayerCharacter = character;
  const Player& player = players_[id] = Player{id, name, controller, character};
  players_by_controller_[controller] = &player;
  return id;
}

int Game::CreateCreature(ClassInfo& cls) {
  const int id = NextId();
  auto* dino = server_.Objects().Create<APrimalDinoCharacter>(
      &cls.cls, server_.Names().Add(cls.name + "_" + std::to_string(id)), cls.object_size);
  auto& actor = dino->PrimalCharacter.Character.Pawn.Actor;
  actor.RootComponent = NewComponent();
  dino->PrimalCharacter.Character.Mesh = NewComponent();
  actor.TargetingTeam = kWildTeam;
  dino->UntamedTargetingTeam = kWildTeam;
  dino->PrimalCharacter.CameraArmLength = 800;
  dino->PrimalCharacter.MaxHealth = 10000;
  dino->RiderFPVCameraOffset = FVector{0, 0, 50};
  for (std::size_t i = 0; i < cls.properties.size(); ++i) {
    if (cls.specs[i].element_size != 24) continue;
    auto* at = reinterpret_cast<char*>(dino) + cls.properties[i]->Offset_Internal;
    *reinterpret_cast<FVector*>(at) = cls.specs[i].default_value;
  }
  creatures_[id] = dino;
  creature_ids_[dino] = id;
  return id;
}

int Game::Spawn(const std::string& cls, std::optional<int> tamer, std::optional<int> team) {
  if (server_.Classes().Find(cls) &&
      !ClassTree::IsChildOf(&server_.Classes().Native(cls).cls.Struct,
                            &server_.Classes().Native("APrimalDinoCharacter").cls.Struct))
    throw std::runtime_error("not a creature class: " + cls);
  if (tamer) PlayerById(*tamer);
  const int id = CreateCreature(server_.Classes().Species(cls));
  auto* dino = creatures_.at(id);
  auto& actor = dino->PrimalCharacter.Character.Pawn.Actor;
  if (tamer) {
    const Player& player = PlayerById(*tamer);
    actor.TargetingTeam = player.character->PrimalCharacter.Character.Pawn.Actor.TargetingTeam;
    dino->OwningPlayerID = static_cast<std::int32_t>(player.controller->LinkedPlayerID);
    dino->TamerString = MakeGameString(Utf8ToUtf16(player.name));
    SetBit(dino->DinoFlags, kBitDidSetupTamed, true);
  }
  if (team) actor.TargetingTeam = *team;
  Enter<Hook::BeginPlay>(dino);
  return id;
}

APrimalDinoCharacter* Game::CreatureObject(int id) const {
  auto it = creatures_.find(id);
  if (it == creatures_.end()) throw std::runtime_error("no creature " + std::to_string(id));
  return it->second;
}

const Game::Player& Game::PlayerById(int id) const {
  auto it = players_.find(id);
  if (it == players_.end()) throw std::runtime_error("no player " + std::to_string(id));
  return it->second;
}

const Game::Player* Game::PlayerByController(const void* controller) const {
  const auto it = players_by_controller_.find(controller);
  return it == players_by_controller_.end() ? nullptr : it->second;
}

int Game::CreatureIdOf(const void* object) const {
  const auto it = creature_ids_.find(object);
  return it == creature_ids_.end() ? 0 : it->second;
}

const StoredRecord* Game::StoredById(int id) const {
  const auto it = stored_by_id_.find(id);
  return it == stored_by_id_.end() ? nullptr : it->second;
}

StoredRecord* Game::StoredOfKind(int id, std::string_view kind) {
  const auto it = stored_by_id_.find(id);
  return it == stored_by_id_.end() || it->second->kind != kind ? nullptr : it->second;
}

FVector Game::RootScale(const void* actor) const {
  const auto* root = static_cast<const AActor*>(actor)->RootComponent;
  return root ? root->RelativeScale3D : FVector{};
}

FVector Game::MeshScale(const APrimalDinoCharacter* dino) const {
  const auto* mesh = dino->PrimalCharacter.Character.Mesh;
  return mesh ? mesh->RelativeScale3D : FVector{};
}

std::vector<std::pair<std::string, FVector>> Game::CameraOffsets(
    const APrimalDinoCharacter* dino) const {
  std::vector<std::pair<std::string, FVector>> offsets;
  const auto& info =
      ClassTree::Info(dino->PrimalCharacter.Character.Pawn.Actor.Object.Base.ClassPrivate);
  for (std::size_t i = 0; i < info.properties.size(); ++i) {
    if (info.specs[i].element_size != 24) continue;
    const auto* at = reinterpret_cast<const char*>(dino) + info.properties[i]->Offset_Internal;
    offsets.emplace_back(info.specs[i].name, *reinterpret_cast<const FVector*>(at));
  }
  offsets.emplace_back("RiderFPVCameraOffset", dino->RiderFPVCameraOffset);
  return offsets;
}

void Game::RecordCall(Hook hook, const void* object) {
  if (!record_calls) return;
  const int id = CreatureIdOf(object);
  calls_.push_back(GameCall{hook, id, id ? RootScale(object) : FVector{}});
}

StoredRecord& Game::NewRecord(const std::string& kind) {
  StoredRecord& record = stored_.emplace_back();
  record.id = NextId();
  record.kind = kind;
  stored_by_id_[record.id] = &record;
  return record;
}

void Game::SerializeInto(APrimalCharacter* character, StoredRecord& record) {
  auto* dino = reinterpret_cast<APrimalDinoCharacter*>(character);
  auto& actor = character->Character.Pawn.Actor;
  record.cls = ClassTree::Info(actor.Object.Base.ClassPrivate).name;
  record.root_scale = RootScale(dino);
  record.base_dino_scale = dino->BaseDinoScale;
  record.mesh_scale = MeshScale(dino);
  record.camera = CameraOffsets(dino);
  record.team = actor.TargetingTeam;
  record.untamed_team = dino->UntamedTargetingTeam;
  record.owner = dino->OwningPlayerID;
  record.did_setup_tamed = TestBit(dino->DinoFlags, kBitDidSetupTamed);
  record.dead = TestBit(character->CharacterFlags, kBitIsDead);
  record.tamer = StringText(dino->TamerString);
  record.tamed_name = StringText(dino->TamedName);
}

void Game::SerializeFrom(APrimalCharacter* character, const StoredRecord& record) {
  auto* dino = reinterpret_cast<APrimalDinoCharacter*>(character);
  auto& actor = character->Character.Pawn.Actor;
  if (actor.RootComponent) actor.RootComponent->RelativeScale3D = record.root_scale;
  if (character->Character.Mesh) character->Character.Mesh->RelativeScale3D = record.mesh_scale;
  dino->BaseDinoScale = record.base_dino_scale;
  const auto& info = ClassTree::Info(actor.Object.Base.ClassPrivate);
  for (const auto& [name, value] : record.camera) {
    if (name == "RiderFPVCameraOffset") {
      dino->RiderFPVCameraOffset = value;
      continue;
    }
    for (std::size_t i = 0; i < info.properties.size(); ++i)
      if (info.specs[i].name == name && info.specs[i].element_size == 24)
        *reinterpret_cast<FVector*>(reinterpret_cast<char*>(dino) +
                                    info.properties[i]->Offset_Internal) = value;
  }
  actor.TargetingTeam = record.team;
  dino->UntamedTargetingTeam = record.untamed_team;
  dino->OwningPlayerID = record.owner;
  SetBit(dino->DinoFlags, kBitDidSetupTamed, record.did_setup_tamed);
  SetBit(character->CharacterFlags, kBitIsDead, record.dead);
  ReleaseGameString(dino->TamerString);
  ReleaseGameString(dino->TamedName);
  dino->TamerString = MakeGameString(record.tamer);
  dino->TamedName = MakeGameString(record.tamed_name);
}

int Game::SerializeThroughGame(APrimalCharacter* character, StoredRecord* record, bool saving) {
  SimArchive archive(record, saving, archive_layout);
  Enter<Hook::Serialize>(character, &archive.base);
  return record ? record->id : 0;
}

int Game::BuildFromRecord(const StoredRecord& record) {
  const int id = CreateCreature(server_.Classes().Species(record.cls));
  auto* dino = creatures_.at(id);
  StoredRecord copy = record;
  SerializeThroughGame(&dino->PrimalCharacter, &copy, false);
  Enter<Hook::BeginPlay>(dino);
  return id;
}

void Game::RemoveCreature(APrimalDinoCharacter* dino) {
  const int id = CreatureIdOf(dino);
  if (id == 0) return;
  for (auto& [pid, player] : players_)
    if (player.character->RidingDino == dino) player.character->RidingDino = nullptr;
  ReleaseGameString(dino->TamerString);
  ReleaseGameString(dino->TamedName);
  auto& actor = dino->PrimalCharacter.Character.Pawn.Actor;
  server_.Objects().Destroy(reinterpret_cast<UObject*>(actor.RootComponent));
  server_.Objects().Destroy(reinterpret_cast<UObject*>(dino->PrimalCharacter.Character.Mesh));
  server_.Objects().Destroy(reinterpret_cast<UObject*>(dino));
  creatures_.erase(id);
  creature_ids_.erase(dino);
}

std::vector<AActor*> Game::ActorsOfClass(const UClass* cls) const {
  std::vector<AActor*> actors;
  auto add = [&](void* object) {
    const auto* object_class = ActorOf(object).Object.Base.ClassPrivate;
    if (cls != nullptr && !ClassTree::IsChildOf(&object_class->Struct, &cls->Struct)) return;
    for (int i = 0; i < null_actor_entries; ++i) actors.push_back(nullptr);
    actors.push_back(&ActorOf(object));
  };
  for (const auto& [id, dino] : creatures_) add(dino);
  for (const auto& [id, player] : players_) add(player.character);
  return actors;
}

// ---- Flows ---------------------------------------------------------------------------------

void Game::Tame(int creature, int player) {
  auto* dino = CreatureObject(creature);
  Enter<Hook::TameDino>(dino, PlayerById(player).controller, false, 0, false, false, false);
}

void Game::ChangeTeam(int creature, std::int32_t team) {
  auto* dino = CreatureObject(creature);
  dino->PrimalCharacter.Character.Pawn.Actor.TargetingTeam = team;
  if (team < 50000) {
    dino->OwningPlayerID = 0;
    ReleaseGameString(dino->TamerString);
    ReleaseGameString(dino->TamedName);
    SetBit(dino->DinoFlags, kBitDidSetupTamed, false);
  }
  Enter<Hook::TargetingTeamChanged>(dino);
}

void Game::Ride(int creature, int player) {
  auto* dino = CreatureObject(creature);
  const Player& rider = PlayerById(player);
  if (rider.character->RidingDino != nullptr) throw std::runtime_error("player is riding already");
  if (dino->Rider != nullptr) throw std::runtime_error("creature has a rider already");
  Enter<Hook::SetRider>(dino, rider.character);
}

void Game::Dismount(int creature) {
  auto* dino = CreatureObject(creature);
  if (dino->Rider != nullptr) dino->Rider->RidingDino = nullptr;
  dino->Rider = nullptr;
}

float Game::Camera(int character, bool simple) {
  FPrimalCameraParams params;
  APrimalCharacter* subject = nullptr;
  if (IsPlayerId(character)) {
    subject = &PlayerById(character).character->PrimalCharacter;
  } else {
    auto* dino = CreatureObject(character);
    if (!simple) return Enter<Hook::DinoCameraArmLength>(dino, &params, 0, 0);
    subject = &dino->PrimalCharacter;
  }
  if (simple) return Enter<Hook::CharacterCameraArmLengthSimple>(subject, 0, 0);
  return Enter<Hook::CharacterCameraArmLength>(subject, &params, 0, 0);
}

void Game::EnterStasis(int creature) {
  CreatureObject(creature)->InStasis = 1;
}

void Game::Wake(int creature) {
  auto* dino = CreatureObject(creature);
  Enter<Hook::Unstasis>(dino);
}

// A creature takes damage through its own override, a player through the character's function.
float Game::Damage(int creature, const std::string& causer_class, float amount) {
  const bool player = IsPlayerId(creature);
  APrimalDinoCharacter* dino = player ? nullptr : CreatureObject(creature);
  auto& cls = server_.Classes().ActorBlueprint(causer_class);
  auto* causer = server_.Objects().Create<AActor>(&cls.cls, server_.Names().Add(causer_class));
  FDamageEvent event;
  const float dealt =
      player ? Enter<Hook::TakeDamage>(&PlayerById(creature).character->PrimalCharacter, amount,
                                       &event, nullptr, causer)
             : Enter<Hook::DinoTakeDamage>(dino, amount, &event, nullptr, causer);
  server_.Objects().Destroy(reinterpret_cast<UObject*>(causer));
  return dealt;
}

void Game::Kill(int creature) {
  auto* dino = CreatureObject(creature);
  SetBit(dino->PrimalCharacter.CharacterFlags, kBitIsDead, true);
  dino->PrimalCharacter.Health = 0;
  Dismount(creature);
}

void Game::DestroyCreature(int creature) {
  Enter<Hook::Destroy>(CreatureObject(creature), false, true);
}

int Game::Cryo(int creature, int player) {
  auto* dino = CreatureObject(creature);
  auto* controller = PlayerById(player).controller;
  if (!Enter<Hook::CanCryo>(dino, controller))
    throw std::runtime_error("the game refuses to cryopod creature " + std::to_string(creature));
  last_pod = 0;
  Enter<Hook::GiveCryoItemAndCaptureDino>(controller, dino);
  return last_pod;
}

int Game::Uncryo(int pod, int player) {
  auto* controller = PlayerById(player).controller;
  auto* record = StoredOfKind(pod, "cryopod");
  if (record == nullptr) throw std::runtime_error("no pod " + std::to_string(pod));
  if (record->used) throw std::runtime_error("pod " + std::to_string(pod) + " is empty");
  record->used = true;
  const int id = BuildFromRecord(*record);
  Enter<Hook::OnUncryo>(creatures_.at(id), controller);
  return id;
}

int Game::Upload(int creature, int player) {
  auto* dino = CreatureObject(creature);
  last_upload = 0;
  Enter<Hook::ServerUploadDino>(PlayerById(player).controller, dino);
  return last_upload;
}

int Game::Download(int upload, int player) {
  PlayerById(player);
  auto* record = StoredOfKind(upload, "upload");
  if (record == nullptr) throw std::runtime_error("no upload " + std::to_string(upload));
  if (record->used)
    throw std::runtime_error("upload " + std::to_string(upload) + " was downloaded");
  record->used = true;
  return BuildFromRecord(*record);
}

int Game::Export(int creature, int player) {
  last_export = 0;
  Enter<Hook::ExportDinoData>(PlayerById(player).controller, CreatureObject(creature));
  return last_export;
}

int Game::Snapshot(int creature) {
  last_snapshot = 0;
  Enter<Hook::DinoCaptureSnapshot>(CreatureObject(creature), nullptr);
  return last_snapshot;
}

void Game::Save() {
  Enter<Hook::SaveWorld>(&game_mode_, false, false, false);
}

void Game::WriteWorld() {
  std::vector<const StoredRecord*> saved;
  for (const auto& [pid, player] : players_)
    SerializeThroughGame(&player.character->PrimalCharacter, nullptr, true);
  const auto ids = [&] {
    std::vector<int> list;
    for (const auto& [id, dino] : creatures_) list.push_back(id);
    return list;
  }();
  saved.reserve(ids.size());
  for (int id : ids) {
    auto& record = NewRecord("save");
    SerializeThroughGame(&creatures_.at(id)->PrimalCharacter, &record, true);
    saved.push_back(&record);
  }
  WriteSaveFile(server_.SaveFile(), saved);
}

// The world is torn down as a real one is: each creature is destroyed through the game's Destroy
// (which calls Destroyed), then the saved ones are built again, maybe in the freed memory.
void Game::Load() {
  const auto records = ReadSaveFile(server_.SaveFile());
  const auto ids = [&] {
    std::vector<int> list;
    for (const auto& [id, dino] : creatures_) list.push_back(id);
    return list;
  }();
  for (int id : ids)
    if (IsCreatureId(id)) DestroyCreature(id);
  for (const auto& record : records) BuildFromRecord(record);
}

}  // namespace sim
