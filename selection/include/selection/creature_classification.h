// Whether a game object is a creature whose size the plugin manages, and which scale it gets.
// Neither looks at the tamed state; callers combine the answer with it. Callers must not hold
// SettingsMutex.
//
// The answer depends only on the object's class and the settings, so it is worked out once per
// class and kept until the settings change (SettingsGeneration).
#pragma once

namespace tinyhorde {

struct ClassVerdict {
  bool matched = false;       // the lowered class name holds a configured pattern, no exclusion
  bool target = false;        // matched, and a creature class
  double scale = 1.0;         // body scale, when matched
  double camera_scale = 1.0;  // camera scale, when matched
  // The class name as the game spells it; the text lives as long as the library.
  const char* display_name = "";
  // The lowered class name holds a capture keyword (a cryopod, a capture tool or projectile);
  // asked of damage causers, which are no creatures.
  bool capture_causer = false;
};

// The verdict on object's class; a null object or one without a class is no target.
ClassVerdict ClassifyCreature(const void* object);
// Drops every kept verdict.
void ForgetClassVerdicts();

// A creature (a class derived from the game's creature class) whose lowered class name contains
// a key of CreatureScales or an entry of TargetBlueprints, and no entry of ExcludedBlueprints.
// Null objects and objects without a class are not targets.
bool IsTargetCreature(const void* object);

// The body scale and camera scale of a matching object: the first matching key's value for
// both, else DefaultScale and DefaultCameraArmScale for a TargetBlueprints match. An object whose
// class an ExcludedBlueprints entry names matches nothing. On false neither output is written.
// No class hierarchy test.
bool LookupCreatureScale(const void* object, double& scale, double& cameraScale);

}  // namespace tinyhorde
