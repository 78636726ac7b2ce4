// A simulated server with the plugin's detours installed, and short ways to drive and read it.
#pragma once

#include <string>
#include <vector>

#include "config/plugin_settings.h"
#include "sim/classes.h"
#include "sim/game_functions.h"
#include "support/sim_fixture.h"

namespace flowtest {

// The unscaled value of a standard species' camera offset, or of RiderFPVCameraOffset.
inline sim::FVector CameraBaseline(const std::string& name) {
  if (name == "RiderFPVCameraOffset") return {0, 0, 50};
  for (const auto& p : sim::ClassTree::StandardCameraProperties())
    if (p.name == name) return p.default_value;
  return {};
}

class FlowFixture : public simtest::SimFixture {
 protected:
  // Runs a console line that must work; answers the id it made, or 0.
  int Do(const std::string& line) {
    const auto printed = Run(line);
    for (const auto& out : printed) {
      EXPECT_NE(out.rfind("error", 0), 0u) << line << ": " << out;
      if (out.rfind("ok ", 0) == 0) {
        const auto last = out.rfind(' ');
        try {
          return std::stoi(out.substr(last + 1));
        } catch (...) {
        }
      }
    }
    return 0;
  }
  sim::APrimalDinoCharacter* Dino(int id) { return Game().CreatureObject(id); }
  sim::FVector Root(int id) { return Game().RootScale(Dino(id)); }
  sim::FVector Base(int id) { return Dino(id)->BaseDinoScale; }
  sim::FVector Mesh(int id) { return Game().MeshScale(Dino(id)); }
  sim::FVector Camera(int id, const std::string& name) {
    for (const auto& [key, value] : Game().CameraOffsets(Dino(id)))
      if (key == name) return value;
    ADD_FAILURE() << "no camera offset " << name;
    return {};
  }
  // The root scale the game's own function saw at entry, the last time it ran for creature id.
  double SeenByGame(sim::Hook hook, int id) {
    double seen = -1;
    for (const auto& call : Game().Calls())
      if (call.hook == hook && call.creature == id) seen = call.root_scale.X;
    return seen;
  }
  void SetOnlyTamed(bool on) {
    {
      std::lock_guard<std::mutex> lock(tinyhorde::SettingsMutex);
      tinyhorde::PluginSettings.OnlyTamed = on;
    }
    tinyhorde::SettingsChanged();
  }
  // Writes a reduced size into a creature directly, as a creature stored small would carry.
  void ForceScale(int id, double s) {
    auto* dino = Dino(id);
    dino->PrimalCharacter.Character.Pawn.Actor.RootComponent->RelativeScale3D = {s, s, s};
    dino->PrimalCharacter.Character.Mesh->RelativeScale3D = {s, s, s};
    dino->BaseDinoScale = {s, s, s};
  }
};

}  // namespace flowtest
