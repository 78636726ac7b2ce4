#include "detour_cases.h"

namespace bench {

namespace {

using sim::Hook;

// Made on each call, so that the table is whole whenever it is first asked for, static start-up
// included.
std::vector<Subject> Creatures() {
  return {Subject::kTarget, Subject::kOtherCreature};
}
std::vector<Subject> Characters() {
  return {Subject::kTarget, Subject::kOtherCreature, Subject::kPlayer};
}
std::vector<Subject> CameraCharacters() {
  return {Subject::kTarget, Subject::kOtherCreature, Subject::kPlayer, Subject::kRidingPlayer};
}

// Entering play and changing hands.
void AddSpawnCases(std::vector<DetourCase>& cases) {
  const std::vector<Subject> kCreatures = Creatures();
  cases.insert(
      cases.end(),
      {
          {"BeginPlay", Hook::BeginPlay, kCreatures,
           [](DetourWorld& w, const CallSubject& s) { w.Entry<Hook::BeginPlay>()(s.dino); },
           Preparation::kAsBuilt},
          {"OnUncryo", Hook::OnUncryo, kCreatures,
           [](DetourWorld& w, const CallSubject& s) {
             w.Entry<Hook::OnUncryo>()(s.dino, s.controller);
           }},
          {"Unstasis", Hook::Unstasis, kCreatures,
           [](DetourWorld& w, const CallSubject& s) { w.Entry<Hook::Unstasis>()(s.dino); }},
          {"TameDino", Hook::TameDino, kCreatures,
           [](DetourWorld& w, const CallSubject& s) {
             w.Entry<Hook::TameDino>()(s.dino, s.controller, false, 0, false, false, false);
           }},
          {"TargetingTeamChanged", Hook::TargetingTeamChanged, kCreatures,
           [](DetourWorld& w, const CallSubject& s) {
             w.Entry<Hook::TargetingTeamChanged>()(s.dino);
           }},
          {"SetRider", Hook::SetRider, kCreatures,
           [](DetourWorld& w, const CallSubject& s) {
             w.Entry<Hook::SetRider>()(s.dino, w.mounting_rider);
           }},
      });
}

// Capture and damage, and the world save.
void AddCaptureCases(std::vector<DetourCase>& cases) {
  const std::vector<Subject> kCreatures = Creatures();
  const std::vector<Subject> kCharacters = Characters();
  cases.insert(cases.end(),
               {
                   {"OnCryo", Hook::OnCryo, kCreatures,
                    [](DetourWorld& w, const CallSubject& s) {
                      w.Entry<Hook::OnCryo>()(s.dino, s.controller);
                    }},
                   {"MultiOnCryo", Hook::MultiOnCryo, kCreatures,
                    [](DetourWorld& w, const CallSubject& s) {
                      w.Entry<Hook::MultiOnCryo>()(s.dino, s.controller);
                    }},
                   {"GiveCryoItemAndCaptureDino", Hook::GiveCryoItemAndCaptureDino, kCreatures,
                    [](DetourWorld& w, const CallSubject& s) {
                      w.Entry<Hook::GiveCryoItemAndCaptureDino>()(s.controller, s.dino);
                    }},
                   {"GetCryoDinoData", Hook::GetCryoDinoData, kCreatures,
                    [](DetourWorld& w, const CallSubject& s) {
                      w.Entry<Hook::GetCryoDinoData>()(w.world_context, s.dino);
                    }},
                   {"CanCryo", Hook::CanCryo, kCreatures,
                    [](DetourWorld& w, const CallSubject& s) {
                      w.Entry<Hook::CanCryo>()(s.dino, s.controller);
                    }},
                   {"TakeDamage", Hook::TakeDamage, kCharacters,
                    [](DetourWorld& w, const CallSubject& s) {
                      w.Entry<Hook::TakeDamage>()(s.character, 10.f, &w.damage_event, nullptr,
                                                  w.ordinary_causer);
                    }},
                   {"TakeDamage(capture causer)",
                    Hook::TakeDamage,
                    {Subject::kTarget},
                    [](DetourWorld& w, const CallSubject& s) {
                      w.Entry<Hook::TakeDamage>()(s.character, 10.f, &w.damage_event, nullptr,
                                                  w.capture_causer);
                    }},
                   {"DinoTakeDamage", Hook::DinoTakeDamage, kCreatures,
                    [](DetourWorld& w, const CallSubject& s) {
                      w.Entry<Hook::DinoTakeDamage>()(s.dino, 10.f, &w.damage_event, nullptr,
                                                      w.ordinary_causer);
                    }},
                   {"DinoTakeDamage(capture causer)",
                    Hook::DinoTakeDamage,
                    {Subject::kTarget},
                    [](DetourWorld& w, const CallSubject& s) {
                      w.Entry<Hook::DinoTakeDamage>()(s.dino, 10.f, &w.damage_event, nullptr,
                                                      w.capture_causer);
                    }},
                   {"SaveWorld",
                    Hook::SaveWorld,
                    {Subject::kTarget},
                    [](DetourWorld& w, const CallSubject&) {
                      w.Entry<Hook::SaveWorld>()(nullptr, false, false, false);
                    }},
               });
}

// Storage, copies and destruction.
void AddStorageCases(std::vector<DetourCase>& cases) {
  const std::vector<Subject> kCreatures = Creatures();
  const std::vector<Subject> kCharacters = Characters();
  cases.insert(
      cases.end(),
      {
          {"Serialize(saving)", Hook::Serialize, kCharacters,
           [](DetourWorld& w, const CallSubject& s) {
             w.Entry<Hook::Serialize>()(s.character, &w.saving.base);
           }},
          {"Serialize(loading)", Hook::Serialize, kCharacters,
           [](DetourWorld& w, const CallSubject& s) {
             w.Entry<Hook::Serialize>()(s.character, &w.loading.base);
           }},
          {"Destroy", Hook::Destroy, kCreatures,
           [](DetourWorld& w, const CallSubject& s) {
             w.Entry<Hook::Destroy>()(s.dino, false, true);
           }},
          {"Destroyed", Hook::Destroyed, kCreatures,
           [](DetourWorld& w, const CallSubject& s) { w.Entry<Hook::Destroyed>()(s.dino); }},
          {"ServerUploadDino", Hook::ServerUploadDino, kCreatures,
           [](DetourWorld& w, const CallSubject& s) {
             w.Entry<Hook::ServerUploadDino>()(s.controller, s.dino);
           }},
          {"ServerUploadCharacter", Hook::ServerUploadCharacter, kCreatures,
           [](DetourWorld& w, const CallSubject& s) {
             w.Entry<Hook::ServerUploadCharacter>()(s.dino, s.controller);
           }},
          {"ExportDinoData", Hook::ExportDinoData, kCreatures,
           [](DetourWorld& w, const CallSubject& s) {
             w.Entry<Hook::ExportDinoData>()(s.controller, s.dino);
           }},
          {"CharacterCaptureSnapshot", Hook::CharacterCaptureSnapshot, kCharacters,
           [](DetourWorld& w, const CallSubject& s) {
             w.Entry<Hook::CharacterCaptureSnapshot>()(s.character, nullptr);
           }},
          {"DinoCaptureSnapshot", Hook::DinoCaptureSnapshot, kCreatures,
           [](DetourWorld& w, const CallSubject& s) {
             w.Entry<Hook::DinoCaptureSnapshot>()(s.dino, nullptr);
           }},
      });
}

// Camera arm length.
void AddCameraCases(std::vector<DetourCase>& cases) {
  const std::vector<Subject> kCreatures = Creatures();
  const std::vector<Subject> kCameraCharacters = CameraCharacters();
  cases.insert(cases.end(),
               {
                   {"DinoCameraArmLength", Hook::DinoCameraArmLength, kCreatures,
                    [](DetourWorld& w, const CallSubject& s) {
                      w.Entry<Hook::DinoCameraArmLength>()(s.dino, &w.camera_params, 0, 0);
                    }},
                   {"CharacterCameraArmLength", Hook::CharacterCameraArmLength, kCameraCharacters,
                    [](DetourWorld& w, const CallSubject& s) {
                      w.Entry<Hook::CharacterCameraArmLength>()(s.character, &w.camera_params, 0,
                                                                0);
                    }},
                   {"CharacterCameraArmLengthSimple", Hook::CharacterCameraArmLengthSimple,
                    kCameraCharacters,
                    [](DetourWorld& w, const CallSubject& s) {
                      w.Entry<Hook::CharacterCameraArmLengthSimple>()(s.character, 0, 0);
                    }},
               });
}

std::vector<DetourCase> AllCases() {
  std::vector<DetourCase> cases;
  AddSpawnCases(cases);
  AddCaptureCases(cases);
  AddStorageCases(cases);
  AddCameraCases(cases);
  return cases;
}

}  // namespace

const std::vector<DetourCase>& DetourCases() {
  static const std::vector<DetourCase> cases = AllCases();
  return cases;
}

}  // namespace bench
