// The simulated game's own types, laid out as the game lays them out. The plugin never sees
// these declarations: it reaches the same bytes only through names and offsets.
//
// Each class embeds its parent as its first member, so every object starts with UObjectBase and
// a pointer to any class is also a pointer to each of its ancestors. One-bit flags live in plain
// 32-bit words, at bit positions the field table names.
#pragma once

#include <cstdint>
#include <string>

namespace sim {

struct UClass;
struct UObject;

// A game string. Strings the game keeps inside its objects are allocated on the game's own heap;
// strings handed to a plugin are allocated through the tracked FMemory.
struct FString {
  char16_t* Data = nullptr;
  std::int32_t ArrayNum = 0;  // with the terminating zero
  std::int32_t ArrayMax = 0;
};

// A colour as the game passes it: red, green, blue, alpha.
struct FLinearColor {
  float R = 0, G = 0, B = 0, A = 0;
};

struct FName {
  std::int32_t ComparisonIndex = 0;
  std::int32_t Number = 0;
};

struct FVector {
  double X = 0;
  double Y = 0;
  double Z = 0;
};

template <typename T>
struct TArray {
  T* Data = nullptr;
  std::int32_t ArrayNum = 0;
  std::int32_t ArrayMax = 0;
};

struct FWeakObjectPtr {
  std::int32_t ObjectIndex = 0;
  std::int32_t ObjectSerialNumber = 0;
};

struct UObjectBase {
  const void* VTable = nullptr;
  std::int32_t ObjectFlags = 0;
  std::int32_t InternalIndex = 0;  // slot in the object table
  UClass* ClassPrivate = nullptr;
  FName NamePrivate;
  UObject* OuterPrivate = nullptr;
};

struct UObject {
  UObjectBase Base;
};

// Reflection records.
struct FField {
  const void* VTable = nullptr;
  void* ClassPrivate = nullptr;
  void* Owner = nullptr;
  FField* Next = nullptr;
  FName NamePrivate;
  std::int32_t FlagsPrivate = 0;
};

struct FProperty {
  FField Field;
  std::int32_t ArrayDim = 1;
  std::int32_t ElementSize = 0;
  std::uint64_t PropertyFlags = 0;
  std::uint16_t RepIndex = 0;
  std::uint8_t BlueprintReplicationCondition = 0;
  std::int32_t Offset_Internal = 0;
};

struct UField {
  UObject Object;
  UField* Next = nullptr;
};

struct UStruct {
  UField Field;
  UStruct* SuperStruct = nullptr;
  UField* Children = nullptr;
  FField* ChildProperties = nullptr;
  std::int32_t PropertiesSize = 0;
  std::int32_t MinAlignment = 8;
};

struct UClass {
  UStruct Struct;
  std::uint32_t ClassFlags = 0;
};

struct UWorld {
  UObject Object;
};

// The game mode, through which the world is saved. Nothing the plugin reads lies in it.
struct AShooterGameMode {
  UObject Object;
};

struct USceneComponent {
  UObject Object;
  std::uint32_t ComponentFlags = 0;
  FVector RelativeLocation;
  FVector RelativeScale3D{1, 1, 1};
};

// bActorIsBeingDestroyed is bit 2 of ActorFlags.
struct AActor {
  UObject Object;
  std::uint32_t ActorFlags = 0;
  std::int32_t TargetingTeam = 0;
  USceneComponent* RootComponent = nullptr;
  double LifeSpan = 0;
};

struct AController {
  AActor Actor;
  void* Pawn = nullptr;
};

struct APlayerController {
  AController Controller;
  void* PlayerCharacter = nullptr;  // the AShooterCharacter it controls
};

// bIsAdmin is bit 0 of ControllerFlags.
struct APrimalPlayerController {
  APlayerController PlayerController;
  std::uint32_t ControllerFlags = 0;
};

struct AShooterPlayerController {
  APrimalPlayerController PrimalPlayerController;
  std::int32_t PlayerId = 0;        // the console's id for this player
  std::int64_t LinkedPlayerID = 0;  // the game's player id, owner id of tamed creatures
};

struct APawn {
  AActor Actor;
  AController* Controller = nullptr;
};

struct ACharacter {
  APawn Pawn;
  USceneComponent* Mesh = nullptr;
};

// bIsDead is bit 5 of CharacterFlags.
struct APrimalCharacter {
  ACharacter Character;
  std::uint32_t CharacterFlags = 0;
  float Health = 0;
  float MaxHealth = 0;
  float CameraArmLength = 0;  // what the game's camera functions start from
};

struct APrimalDinoCharacter;
struct UPrimalItem {
  UObject Object;
};

struct AShooterCharacter {
  APrimalCharacter PrimalCharacter;
  APrimalDinoCharacter* RidingDino = nullptr;
  FString PlayerName;
};

// Bit 3 of DinoFlags is the game's own tamed set-up state. The host exposes no name for it (the
// current game lacks one), so the plugin cannot read it; taming, unclaiming and saves keep it.
struct APrimalDinoCharacter {
  APrimalCharacter PrimalCharacter;
  FVector BaseDinoScale{1, 1, 1};
  std::int32_t OwningPlayerID = 0;
  std::uint32_t DinoFlags = 0;
  FString TamerString;
  FString TamedName;
  FVector RiderFPVCameraOffset;
  AShooterCharacter* Rider = nullptr;
  std::int32_t UntamedTargetingTeam = 0;
  std::int32_t InStasis = 0;
};

// An archive's first bytes, in the layouts a game build may give them. With editor-only data the
// flag byte directly follows the virtual-table pointer (byte 8). Without it (a cooked build) a
// pointer to the archive's inline fast-path buffer comes first (byte 8, normally pointing at
// byte 16), then that 24-byte buffer, and the flag byte is byte 40. The saving flag is bit
// value 4 of the flag byte.
enum class ArchiveLayout { Editor, Cooked, CookedMoved };
struct FArchive {
  alignas(8) std::uint8_t Bytes[48] = {};
};
constexpr std::uint8_t kArchiveIsSaving = 4;
constexpr std::size_t kEditorFlagByte = 8;
constexpr std::size_t kCookedFastPathPointer = 8;
constexpr std::size_t kCookedInlineBuffer = 16;
constexpr std::size_t kCookedFlagByte = 40;

struct FDamageEvent {
  const void* VTable = nullptr;
  std::int32_t ClassID = 0;
};

struct FPrimalCameraParams {
  float ArmLengthBias = 0;
};

template <typename T>
struct TSubclassOf {
  UClass* Class = nullptr;
};

// What a console RCON request looks like to the plugin's handlers.
struct RCONPacket {
  std::int32_t Length = 0;
  std::int32_t Id = 0;
  std::int32_t Type = 0;
  FString Body;
};

// The cryopod item record that UVictoryCore.GetCryoDinoData returns by value. It has a
// non-trivial copy, so it is always returned through memory, as the game's record is.
struct FCustomItemData {
  std::int64_t StoredId = 0;  // the storage record the capture wrote
  std::string Tag;
};

// Flag bit positions, shared by the field table and the game's own code.
constexpr std::uint32_t kBitActorIsBeingDestroyed = 2;
constexpr std::uint32_t kBitIsDead = 5;
constexpr std::uint32_t kBitDidSetupTamed = 3;
constexpr std::uint32_t kBitIsAdmin = 0;

inline bool TestBit(std::uint32_t word, std::uint32_t bit) {
  return ((word >> bit) & 1u) != 0;
}
inline void SetBit(std::uint32_t& word, std::uint32_t bit, bool on) {
  word = on ? (word | (1u << bit)) : (word & ~(1u << bit));
}

}  // namespace sim
