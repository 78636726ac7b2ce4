// Whether a game object is a creature whose size the plugin manages, and which scale it gets.
// Neither looks at the tamed state; callers combine the answer with it. Callers must not hold
// SettingsMutex.
#pragma once

namespace tinyhorde {

// A creature (a class derived from the game's creature class) whose lowered class name contains
// a key of CreatureScales or an entry of TargetBlueprints. Null objects and objects without a
// class are not targets.
bool IsTargetCreature(const void* object);

// The body scale and camera scale of a matching object: the first matching key's value for
// both, else DefaultScale and DefaultCameraArmScale for a TargetBlueprints match. On false
// neither output is written. No class hierarchy test.
bool LookupCreatureScale(const void* object, double& scale, double& cameraScale);

}  // namespace tinyhorde
