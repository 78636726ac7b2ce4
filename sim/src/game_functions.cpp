// The game's own functions, as a plugin reaches them by name, and the game's implementation of
// each hookable function. Hookable functions are always called through their hook entry, also
// when one game function calls another, so that every detour is entered as on a real server.
#include <cstddef>
#include <cstring>
#include <iterator>
#include <string>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "sim/game.h"
#include "sim/game_functions.h"
#include "sim/server.h"

namespace sim {

namespace {

Server& S() {
  return Server::Current();
}
Game& G() {
  return S().GameWorld();
}

UWorld* WorldContext() {
  return G().World();
}

// ---- Functions the plugin calls by name ----------------------------------------------------

void* FMemoryMalloc(std::uint64_t size, std::uint32_t alignment) {
  return S().Memory().Malloc(size, alignment);
}
void* FMemoryRealloc(void* block, std::uint64_t size, std::uint32_t alignment) {
  return S().Memory().Realloc(block, size, alignment);
}
void FMemoryFree(void* block) {
  S().Memory().Free(block);
}

// Overwrites out with the name's text, in a buffer from the tracked allocator.
void FNameToString(const FName* self, FString* out) {
  S().CountNameConversion();
  const std::u16string& text = S().Names().Text(*self);
  if (out->Data != nullptr) S().Memory().Free(out->Data);
  *out = FString{};
  if (text.empty()) return;
  const auto count = static_cast<std::int32_t>(text.size() + 1);
  out->Data = static_cast<char16_t*>(S().Memory().Malloc(sizeof(char16_t) * count, 0));
  std::memcpy(out->Data, text.data(), sizeof(char16_t) * text.size());
  out->Data[text.size()] = 0;
  out->ArrayNum = out->ArrayMax = count;
}

void SetActorRelativeScale3D(AActor* self, FVector scale) {
  if (self->RootComponent != nullptr) self->RootComponent->RelativeScale3D = scale;
}

UClass* DinoGetPrivateStaticClass() {
  return &S().Classes().Native("APrimalDinoCharacter").cls;
}

bool StructIsChildOf(const UStruct* self, const UStruct* other) {
  return ClassTree::IsChildOf(self, other);
}

std::int32_t DinoGetUntamedTargetingTeam(APrimalDinoCharacter* self) {
  return self->UntamedTargetingTeam;
}

void WeakAssign(FWeakObjectPtr* self, UObject* object) {
  *self = S().Objects().WeakOf(object);
}

UObject* WeakGet(const FWeakObjectPtr* self, bool /*even_if_pending_kill*/) {
  return S().Objects().Resolve(*self);
}

UClass* ShooterStaticClass() {
  return &S().Classes().Native("AShooterCharacter").cls;
}

// Answers the creature a player character rides, or null. A player-only function: asked of any
// other object, it reads memory that is not there, so the server ends.
APrimalDinoCharacter* ShooterGetRidingDino(AShooterCharacter* self) {
  static const std::string kPlayerClass = "AShooterCharacter";
  const auto* player = &S().Classes().Native(kPlayerClass).cls.Struct;
  const UClass* cls = self != nullptr
                          ? self->PrimalCharacter.Character.Pawn.Actor.Object.Base.ClassPrivate
                          : nullptr;
  if (cls == nullptr || !ClassTree::IsChildOf(&cls->Struct, player))
    S().End(
        std::string("AShooterCharacter.GetRidingDino() was called on ") +
        (cls != nullptr ? ClassTree::Info(cls).name : std::string("an object without a class")) +
        ", which is no player character");
  return self->RidingDino;
}

// The class comes by the address of a TSubclassOf, as the game takes it. What lies there must be a
// class the game made: anything else (a class passed by value, whose first bytes are no class)
// would make the real game list nothing or crash, so the server ends.
void GetAllActorsOfClass(UObject* /*world_context*/, const TSubclassOf<AActor>* cls,
                         TArray<AActor*>& out) {
  if (cls == nullptr || !S().Classes().IsClass(cls->Class))
    S().End("UGameplayStatics.GetAllActorsOfClass: the class argument is not a class");
  const auto actors = G().ActorsOfClass(cls->Class);
  const auto count = static_cast<std::int32_t>(actors.size());
  out.Data = nullptr;
  out.ArrayNum = out.ArrayMax = 0;
  if (count == 0) return;
  out.Data = static_cast<AActor**>(S().Memory().Malloc(sizeof(AActor*) * count, 0));
  for (std::int32_t i = 0; i < count; ++i) out.Data[i] = actors[static_cast<std::size_t>(i)];
  out.ArrayNum = out.ArrayMax = count;
}

void RconSendMessage(RCONClientConnection* self, int id, int type, FString* message) {
  self->send(id, type, StringText(*message));
}

// The game's narrow string constructor. The host builds its message sender's name with it.
void FStringFromNarrow(FString* self, const char* text) {
  *self = MakeGameString(Utf8ToUtf16(text));
}

// A chat line shown to one player: the console prints it as a "msg" line.
void ClientServerChatDirectMessage(AShooterPlayerController* self, const FString* text,
                                   FLinearColor colour, bool /*bold*/, const FString* /*sender*/) {
  const auto* player = G().PlayerByController(self);
  S().Print(fmt::format("msg {} {} {} {} {} {}", player ? player->id : 0, colour.R, colour.G,
                        colour.B, colour.A, nlohmann::json(Utf16ToUtf8(StringText(*text))).dump()));
}

char16_t LowerUnit(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

int Stricmp(const char16_t* a, const char16_t* b) {
  for (;; ++a, ++b) {
    const char16_t x = LowerUnit(*a), y = LowerUnit(*b);
    if (x != y) return x < y ? -1 : 1;
    if (x == 0) return 0;
  }
}

// ---- The game's own hookable functions -----------------------------------------------------

void DinoBeginPlay(APrimalDinoCharacter* self) {
  G().RecordCall(Hook::BeginPlay, self);
  self->PrimalCharacter.Health = self->PrimalCharacter.MaxHealth;
}

void DinoOnUncryo(APrimalDinoCharacter* self, AShooterPlayerController*) {
  G().RecordCall(Hook::OnUncryo, self);
}

void DinoOnCryo(APrimalDinoCharacter* self, AShooterPlayerController*) {
  G().RecordCall(Hook::OnCryo, self);
}

void DinoMultiOnCryo(APrimalDinoCharacter* self, AShooterPlayerController*) {
  G().RecordCall(Hook::MultiOnCryo, self);
}

FCustomItemData GetCryoDinoData(UObject* /*world_context*/, APrimalDinoCharacter* dino) {
  G().RecordCall(Hook::GetCryoDinoData, dino);
  auto& record = G().NewRecord("cryopod");
  SimArchive archive(&record, true, G().archive_layout);
  G().Enter<Hook::Serialize>(&dino->PrimalCharacter, &archive.base);
  FCustomItemData data;
  data.StoredId = record.id;
  data.Tag = "cryopod";
  return data;
}

void GiveCryoItemAndCaptureDino(AShooterPlayerController* self, APrimalDinoCharacter* dino) {
  G().RecordCall(Hook::GiveCryoItemAndCaptureDino, dino);
  const FCustomItemData data =
      G().Enter<Hook::GetCryoDinoData>(reinterpret_cast<UObject*>(WorldContext()), dino);
  G().last_pod = static_cast<int>(data.StoredId);
  G().Enter<Hook::OnCryo>(dino, self);
  G().Enter<Hook::MultiOnCryo>(dino, self);
  G().Enter<Hook::Destroy>(dino, false, true);
}

void DinoSetRider(APrimalDinoCharacter* self, AShooterCharacter* rider) {
  G().RecordCall(Hook::SetRider, self);
  self->Rider = rider;
  if (rider != nullptr) rider->RidingDino = self;
}

float DinoCameraArmLength(APrimalDinoCharacter* self, FPrimalCameraParams*, float, float) {
  return self->PrimalCharacter.CameraArmLength;
}

// A player riding a creature looks through the creature's camera arm.
float CharacterArmLength(APrimalCharacter* self) {
  auto* dino_class = &S().Classes().Native("APrimalDinoCharacter").cls.Struct;
  const auto* cls = &self->Character.Pawn.Actor.Object.Base.ClassPrivate->Struct;
  if (!ClassTree::IsChildOf(cls, dino_class)) {
    auto* shooter = reinterpret_cast<AShooterCharacter*>(self);
    if (shooter->RidingDino != nullptr) return shooter->RidingDino->PrimalCharacter.CameraArmLength;
  }
  return self->CameraArmLength;
}

float CharacterCameraArmLength(APrimalCharacter* self, FPrimalCameraParams*, float, float) {
  return CharacterArmLength(self);
}

float CharacterCameraArmLengthSimple(APrimalCharacter* self, float, float) {
  return CharacterArmLength(self);
}

bool DinoCanCryo(APrimalDinoCharacter* self, AShooterPlayerController* by) {
  G().RecordCall(Hook::CanCryo, self);
  const auto* player = G().PlayerByController(by);
  if (player == nullptr) return false;
  const bool dead = TestBit(self->PrimalCharacter.CharacterFlags, kBitIsDead);
  const auto team = self->PrimalCharacter.Character.Pawn.Actor.TargetingTeam;
  return !dead && self->Rider == nullptr &&
         team == player->character->PrimalCharacter.Character.Pawn.Actor.TargetingTeam;
}

void DinoUnstasis(APrimalDinoCharacter* self) {
  G().RecordCall(Hook::Unstasis, self);
  self->InStasis = 0;
}

float CharacterTakeDamage(APrimalCharacter* self, float amount, FDamageEvent*, AController*,
                          AActor*) {
  G().RecordCall(Hook::TakeDamage, self);
  self->Health = self->Health > amount ? self->Health - amount : 0;
  return amount;
}

// The creature's override runs its own code first, then the character's function, as a call of
// the base class's function (through its entry: a detour on it runs too).
float DinoTakeDamage(APrimalDinoCharacter* self, float amount, FDamageEvent* event,
                     AController* instigator, AActor* causer) {
  G().RecordCall(Hook::DinoTakeDamage, self);
  return G().Enter<Hook::TakeDamage>(&self->PrimalCharacter, amount, event, instigator, causer);
}

// Writes every character of the world through a saving archive, then the save file.
void GameModeSaveWorld(AShooterGameMode* self, bool, bool, bool) {
  G().RecordCall(Hook::SaveWorld, self);
  G().WriteWorld();
}

// A saving archive writes the character into its record; a loading one reads it back.
void CharacterSerialize(APrimalCharacter* self, FArchive* archive) {
  G().RecordCall(Hook::Serialize, self);
  auto* sim_archive = reinterpret_cast<SimArchive*>(archive);
  if (sim_archive->record == nullptr || G().CreatureIdOf(self) == 0) return;
  if (sim_archive->saving) {
    G().SerializeInto(self, *sim_archive->record);
  } else {
    G().SerializeFrom(self, *sim_archive->record);
  }
}

bool DinoDestroy(APrimalDinoCharacter* self, bool, bool) {
  G().RecordCall(Hook::Destroy, self);
  SetBit(self->PrimalCharacter.Character.Pawn.Actor.ActorFlags, kBitActorIsBeingDestroyed, true);
  G().Enter<Hook::Destroyed>(self);
  G().RemoveCreature(self);
  return true;
}

void DinoDestroyed(APrimalDinoCharacter* self) {
  G().RecordCall(Hook::Destroyed, self);
}

void ServerUploadDino(AShooterPlayerController* self, APrimalDinoCharacter* dino) {
  G().RecordCall(Hook::ServerUploadDino, dino);
  G().Enter<Hook::ServerUploadCharacter>(dino, self);
}

void DinoServerUploadCharacter(APrimalDinoCharacter* self, AShooterPlayerController*) {
  G().RecordCall(Hook::ServerUploadCharacter, self);
  auto& record = G().NewRecord("upload");
  G().last_upload = record.id;
  SimArchive archive(&record, true, G().archive_layout);
  G().Enter<Hook::Serialize>(&self->PrimalCharacter, &archive.base);
  G().Enter<Hook::Destroy>(self, false, true);
}

void ExportDinoData(AShooterPlayerController*, APrimalDinoCharacter* dino) {
  G().RecordCall(Hook::ExportDinoData, dino);
  auto& record = G().NewRecord("export");
  G().last_export = record.id;
  SimArchive archive(&record, true, G().archive_layout);
  G().Enter<Hook::Serialize>(&dino->PrimalCharacter, &archive.base);
}

void CharacterCaptureSnapshot(APrimalCharacter* self, UPrimalItem*) {
  G().RecordCall(Hook::CharacterCaptureSnapshot, self);
  if (G().CreatureIdOf(self) == 0) return;
  auto& record = G().NewRecord("snapshot");
  G().last_snapshot = record.id;
  SimArchive archive(&record, true, G().archive_layout);
  G().Enter<Hook::Serialize>(self, &archive.base);
}

void DinoCaptureSnapshot(APrimalDinoCharacter* self, UPrimalItem* item) {
  G().RecordCall(Hook::DinoCaptureSnapshot, self);
  G().Enter<Hook::CharacterCaptureSnapshot>(&self->PrimalCharacter, item);
}

void DinoTameDino(APrimalDinoCharacter* self, AShooterPlayerController* by, bool, int, bool, bool,
                  bool) {
  G().RecordCall(Hook::TameDino, self);
  const auto* player = G().PlayerByController(by);
  if (player == nullptr) return;
  auto& actor = self->PrimalCharacter.Character.Pawn.Actor;
  actor.TargetingTeam = player->character->PrimalCharacter.Character.Pawn.Actor.TargetingTeam;
  self->OwningPlayerID = static_cast<std::int32_t>(by->LinkedPlayerID);
  ReleaseGameString(self->TamerString);
  self->TamerString = MakeGameString(Utf8ToUtf16(player->name));
  SetBit(self->DinoFlags, kBitDidSetupTamed, true);
  G().Enter<Hook::TargetingTeamChanged>(self);
}

void DinoTargetingTeamChanged(APrimalDinoCharacter* self) {
  G().RecordCall(Hook::TargetingTeamChanged, self);
}

// The game functions a plugin calls by name. Each is registered under its name at a wrapper that
// raises "<name> failed" while a test has it set to fail (Faults), and then runs the function.
template <const host::GameName& Name, auto Body, typename = decltype(Body)>
struct ByName;

template <const host::GameName& Name, auto Body, typename R, typename... Args>
struct ByName<Name, Body, R (*)(Args...)> {
  static R Call(Args... args) {
    S().Faults().RaiseIfFailing(Name.name);
    return Body(args...);
  }
};

template <const host::GameName& Name, auto Body>
void Register(Server& server) {
  server.Lookup().AddFunction(Name, reinterpret_cast<void*>(&ByName<Name, Body>::Call));
  server.Faults().Declare(Name.name);
}

}  // namespace

SimArchive::SimArchive(StoredRecord* target, bool is_saving, ArchiveLayout layout)
    : record(target), saving(is_saving) {
  static_assert(offsetof(SimArchive, base) == 0, "the game hands out the archive as its FArchive");
  const std::uint8_t flags = is_saving ? kArchiveIsSaving : 0;
  std::uint8_t* bytes = base.Bytes;
  if (layout == ArchiveLayout::Editor) {
    bytes[kEditorFlagByte] = flags;
    return;
  }
  // A loader streaming elsewhere points the fast path away from the archive's own buffer.
  alignas(16) static const std::uint8_t kElsewhere[24] = {};
  const void* fast_path = layout == ArchiveLayout::Cooked
                              ? static_cast<const void*>(bytes + kCookedInlineBuffer)
                              : static_cast<const void*>(kElsewhere);
  std::memcpy(bytes + kCookedFastPathPointer, &fast_path, sizeof fast_path);
  bytes[kCookedFlagByte] = flags;
}

void RegisterGameFunctions(Server& server) {
  namespace names = host::game_names;
  Register<names::kMalloc, &FMemoryMalloc>(server);
  Register<names::kRealloc, &FMemoryRealloc>(server);
  Register<names::kFree, &FMemoryFree>(server);
  Register<names::kNameToString, &FNameToString>(server);
  Register<names::kSetActorRelativeScale3D, &SetActorRelativeScale3D>(server);
  Register<names::kCreatureStaticClass, &DinoGetPrivateStaticClass>(server);
  Register<names::kPlayerCharacterStaticClass, &ShooterStaticClass>(server);
  Register<names::kIsChildOf, &StructIsChildOf>(server);
  Register<names::kGetUntamedTargetingTeam, &DinoGetUntamedTargetingTeam>(server);
  Register<names::kWeakAssign, &WeakAssign>(server);
  Register<names::kWeakGet, &WeakGet>(server);
  Register<names::kGetRidingDino, &ShooterGetRidingDino>(server);
  Register<names::kGetAllActorsOfClass, &GetAllActorsOfClass>(server);
  Register<names::kRconSendMessage, &RconSendMessage>(server);
  Register<names::kStricmp, &Stricmp>(server);
  Register<names::kFStringFromNarrow, &FStringFromNarrow>(server);
  Register<names::kClientServerChatDirectMessage, &ClientServerChatDirectMessage>(server);

  // Each original is converted to its row's signature first, so a body whose type differs from
  // its row does not compile.
  void* const originals[] = {
#define SIM_HOOK_ORIGINAL(hook, game_name, signature, original) \
  reinterpret_cast<void*>(static_cast<signature>(&original)),
      SIM_HOOKABLE_FUNCTIONS(SIM_HOOK_ORIGINAL)
#undef SIM_HOOK_ORIGINAL
  };
  static_assert(std::size(originals) == static_cast<std::size_t>(Hook::Count));

  for (int i = 0; i < static_cast<int>(Hook::Count); ++i) {
    const host::GameName& name = HookGameName(static_cast<Hook>(i));
    server.Hooks().Declare(name.name, originals[i]);
    server.Lookup().AddFunction(name, originals[i]);
    // A name the SDK shows on no live line is one the game most likely lacks: unknown until a
    // test gives it to the game (the console's "host know").
    if (name.unverified_because != nullptr) server.Lookup().LackByDefault(name.name);
  }
}

}  // namespace sim
