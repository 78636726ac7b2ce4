// The simulated game: its world, players and creatures, what it stores, and its flows, each
// calling the hookable functions in the order the real game does.
//
// Ids are small integers from one counter for everything the game makes on request (players,
// creatures, storage records). All of it runs on the game thread.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/game_names.h"
#include "sim/classes.h"
#include "sim/game_types.h"
#include "sim/hookable_functions.h"
#include "sim/hooks.h"

namespace sim {

class Server;

// The hook's entry on the list of game names, and its name.
const host::GameName& HookGameName(Hook hook);
const char* HookName(Hook hook);

// A creature as the game stored it: class, scales and camera offsets as they were when it was
// serialized, and what the game needs to build it again.
struct StoredRecord {
  int id = 0;
  std::string kind;  // cryopod, upload, export, snapshot, save
  std::string cls;
  FVector root_scale;
  FVector base_dino_scale;
  FVector mesh_scale;
  std::vector<std::pair<std::string, FVector>> camera;  // class offsets, then RiderFPVCameraOffset
  std::int32_t team = 0;
  std::int32_t untamed_team = 0;
  std::int32_t owner = 0;
  bool did_setup_tamed = false;
  bool dead = false;
  std::u16string tamer;
  std::u16string tamed_name;
  bool used = false;  // a pod released, an upload downloaded
};

// A call of the game's own function behind a hook: what it saw of the creature on entry.
struct GameCall {
  Hook hook;
  int creature;  // 0 when the object is not a creature the game knows
  FVector root_scale;
};

class Game {
 public:
  explicit Game(Server& server);
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  struct Player {
    int id;
    std::string name;
    AShooterPlayerController* controller;
    AShooterCharacter* character;
  };

  // World.
  UWorld* World() const { return world_up_ ? world_ : nullptr; }
  void SetWorldUp(bool up) { world_up_ = up; }

  // The game's chat spam gate: a player's chat line that comes less than a second of game time
  // after their last accepted one is dropped before any command sees it. Answers whether the
  // line at time now is accepted; only an accepted line moves the player's time.
  bool AcceptChatLine(int player, double now);

  // Making things.
  int AddPlayer(const std::string& name, bool admin);
  // Creates a creature of the species and lets it begin play.
  int Spawn(const std::string& cls, std::optional<int> tamer, std::optional<int> team);
  // Creates a creature of a species class without letting it begin play.
  int CreateCreature(ClassInfo& cls);

  // Flows. Each throws std::runtime_error for a request the game refuses.
  void Tame(int creature, int player);
  void ChangeTeam(int creature, std::int32_t team);
  void Ride(int creature, int player);
  void Dismount(int creature);
  float Camera(int character, bool simple);
  void EnterStasis(int creature);
  void Wake(int creature);
  float Damage(int creature, const std::string& causer_class, float amount);
  void Kill(int creature);
  void DestroyCreature(int creature);
  int Cryo(int creature, int player);
  int Uncryo(int pod, int player);
  int Upload(int creature, int player);
  int Download(int upload, int player);
  int Export(int creature, int player);
  int Snapshot(int creature);
  // A world save goes through the game mode's SaveWorld, whose own function is WriteWorld.
  void Save();
  void WriteWorld();
  void Load();

  // Looking things up. Each is a map or hash look-up, so a flow that looks up every creature
  // costs no more per creature in a big world than in a small one.
  APrimalDinoCharacter* CreatureObject(int id) const;
  const Player& PlayerById(int id) const;
  const Player* PlayerByController(const void* controller) const;
  int CreatureIdOf(const void* object) const;
  bool IsPlayerId(int id) const { return players_.count(id) != 0; }
  bool IsCreatureId(int id) const { return creatures_.count(id) != 0; }
  const std::map<int, APrimalDinoCharacter*>& Creatures() const { return creatures_; }
  const std::map<int, Player>& Players() const { return players_; }
  const std::deque<StoredRecord>& Stored() const { return stored_; }
  const StoredRecord* StoredById(int id) const;
  const std::vector<GameCall>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

  // Camera offsets of a creature: its class's properties, then RiderFPVCameraOffset.
  std::vector<std::pair<std::string, FVector>> CameraOffsets(
      const APrimalDinoCharacter* dino) const;
  FVector MeshScale(const APrimalDinoCharacter* dino) const;
  FVector RootScale(const void* actor) const;

  // The newest record of each kind a flow made, for the flow to answer with.
  int last_pod = 0;
  int last_upload = 0;
  int last_export = 0;
  int last_snapshot = 0;

  // Whether RecordCall keeps a list (benchmarks turn it off).
  bool record_calls = true;

  // The layout of the archives the game makes from now on.
  // A dedicated server is a build without editor-only data: the cooked layout.
  ArchiveLayout archive_layout = ArchiveLayout::Cooked;

  // For tests: how many null entries GetAllActorsOfClass puts before each creature.
  int null_actor_entries = 0;

  // Called by the game's own functions (game_functions.cpp).
  void RecordCall(Hook hook, const void* object);
  StoredRecord& NewRecord(const std::string& kind);
  void SerializeInto(APrimalCharacter* character, StoredRecord& record);
  void SerializeFrom(APrimalCharacter* character, const StoredRecord& record);
  void RemoveCreature(APrimalDinoCharacter* dino);
  std::vector<AActor*> ActorsOfClass(const UClass* cls) const;
  const HookTable::Point& Entry(Hook hook) const { return *entries_[static_cast<int>(hook)]; }
  // What a call of the hookable function runs first (the newest detour, or the game's own
  // function), typed by its row. Tests and benchmarks call through it to reach a detour alone.
  template <Hook H>
  HookSignature<H> EntryOf() const {
    return HookTable::Entry<HookSignature<H>>(Entry(H));
  }
  // Calls a hookable function through its entry, as the game does everywhere, also when one
  // game function calls another. An exception that comes out of the entry left a detour (plugin
  // code) into the game, and ends the server.
  template <Hook H, typename... Args>
  auto Enter(Args... args) {
    try {
      return EntryOf<H>()(args...);
    } catch (...) {
      EscapedFrom(H);
    }
  }
  Server& server() { return server_; }
  int NextId() { return next_id_++; }

 private:
  USceneComponent* NewComponent();
  int SerializeThroughGame(APrimalCharacter* character, StoredRecord* record, bool saving);
  // The stored record with that id if it is of that kind, else null.
  StoredRecord* StoredOfKind(int id, std::string_view kind);
  int BuildFromRecord(const StoredRecord& record);
  void RegisterNames();
  [[noreturn]] void EscapedFrom(Hook hook);

  Server& server_;
  UWorld* world_ = nullptr;
  AShooterGameMode game_mode_{};
  bool world_up_ = true;
  int next_id_ = 1;
  std::map<int, Player> players_;
  std::map<int, APrimalDinoCharacter*> creatures_;
  // Indexes kept beside the containers above, changed wherever they change: a creature's id by
  // its object, a player by their controller, a stored record by its id (records are only ever
  // appended to the deque, so the pointers stay good).
  std::unordered_map<const void*, int> creature_ids_;
  std::unordered_map<const void*, const Player*> players_by_controller_;
  std::deque<StoredRecord> stored_;
  std::unordered_map<int, StoredRecord*> stored_by_id_;
  std::vector<GameCall> calls_;
  std::map<const void*, double> last_chat_;  // by player controller: the last accepted line's time
  const HookTable::Point* entries_[static_cast<int>(Hook::Count)] = {};
};

}  // namespace sim
