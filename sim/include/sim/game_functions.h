// Signatures of the game functions as the game calls them, and the game-side objects that only
// the simulated game builds (archives, RCON connections).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "sim/game.h"
#include "sim/game_types.h"

namespace sim {

class Server;

using DinoFn = void (*)(APrimalDinoCharacter*);
using DinoWithControllerFn = void (*)(APrimalDinoCharacter*, AShooterPlayerController*);
using ControllerWithDinoFn = void (*)(AShooterPlayerController*, APrimalDinoCharacter*);
using GetCryoDinoDataFn = FCustomItemData (*)(UObject*, APrimalDinoCharacter*);
using DinoSetRiderFn = void (*)(APrimalDinoCharacter*, AShooterCharacter*);
using DinoCameraFn = float (*)(APrimalDinoCharacter*, FPrimalCameraParams*, float, float);
using CharacterCameraFn = float (*)(APrimalCharacter*, FPrimalCameraParams*, float, float);
using CharacterCameraSimpleFn = float (*)(APrimalCharacter*, float, float);
using DinoCanCryoFn = bool (*)(APrimalDinoCharacter*, AShooterPlayerController*);
using CharacterTakeDamageFn = float (*)(APrimalCharacter*, float, FDamageEvent*, AController*,
                                        AActor*);
using CharacterSerializeFn = void (*)(APrimalCharacter*, FArchive*);
using DinoDestroyFn = bool (*)(APrimalDinoCharacter*, bool, bool);
using CharacterItemFn = void (*)(APrimalCharacter*, UPrimalItem*);
using DinoItemFn = void (*)(APrimalDinoCharacter*, UPrimalItem*);
using DinoTameFn = void (*)(APrimalDinoCharacter*, AShooterPlayerController*, bool, int, bool, bool,
                            bool);

// An archive bound to one storage record: saving writes the character into it, loading reads it.
struct SimArchive {
  FArchive base;
  StoredRecord* record;
  SimArchive(StoredRecord* target, bool saving) : record(target) {
    base.ArFlags = saving ? kArchiveIsSaving : 0;
  }
};

// An RCON client's connection as the game keeps it; SendMessage hands replies to send.
struct RCONClientConnection {
  std::function<void(int id, int type, const std::u16string& text)> send;
};

// Registers every game function under its name and declares the hookable ones.
void RegisterGameFunctions(Server& server);

}  // namespace sim
