// A simulated server for the scaling and selection tests: creatures made without beginning play
// (so nothing shrinks them behind the test's back), short ways to read and set their sizes and
// camera offsets, and plugin calls that also check that every FMemory block the plugin took
// during the call was given back.
#pragma once

#include <cctype>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "config/plugin_settings.h"
#include "scaling/rider_camera.h"
#include "scaling/scale_application.h"
#include "scaling/scale_restoration.h"
#include "scaling/shrink_gate.h"
#include "sim/game_types.h"
#include "support/sim_fixture.h"

namespace scalingtest {

using Lines = std::vector<std::string>;

// A game name as a test parameter's name: its letters and digits.
inline std::string TestNameOf(const std::string& game_name) {
  std::string name;
  for (char ch : game_name)
    if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
  return name;
}

inline sim::FVector Uniform(double s) {
  return sim::FVector{s, s, s};
}

inline bool Same(const sim::FVector& a, const sim::FVector& b) {
  return a.X == b.X && a.Y == b.Y && a.Z == b.Z;
}

inline sim::FVector Times(double k, const sim::FVector& v) {
  return sim::FVector{k * v.X, k * v.Y, k * v.Z};
}

class ScalingFixture : public simtest::SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    tinyhorde::SetMissingStorageHooks({});
  }
  void TearDown() override {
    tinyhorde::SetMissingStorageHooks({});
    SimFixture::TearDown();
  }

  // A creature of the species, not yet in play, at scale 1.0 and wild.
  int Make(const std::string& species) {
    return Game().CreateCreature(Server().Classes().Species(species));
  }
  int MakeWith(const std::string& species, const std::vector<sim::PropertySpec>& properties) {
    return Game().CreateCreature(Server().Classes().SpeciesWith(species, properties));
  }
  // The same, tamed by an owning player alone.
  int MakeTamed(const std::string& species) {
    const int id = Make(species);
    Dino(id)->OwningPlayerID = 1;
    return id;
  }

  sim::APrimalDinoCharacter* Dino(int id) { return Game().CreatureObject(id); }
  static host::APrimalDinoCharacter* Host(sim::APrimalDinoCharacter* dino) {
    return reinterpret_cast<host::APrimalDinoCharacter*>(dino);
  }
  host::APrimalDinoCharacter* Host(int id) { return Host(Dino(id)); }

  sim::FVector Root(int id) { return Game().RootScale(Dino(id)); }
  sim::FVector Base(int id) { return Dino(id)->BaseDinoScale; }
  sim::FVector Mesh(int id) { return Game().MeshScale(Dino(id)); }
  sim::FVector Offset(int id, const std::string& name) {
    for (const auto& [key, value] : Game().CameraOffsets(Dino(id)))
      if (key == name) return value;
    ADD_FAILURE() << "no camera offset " << name;
    return {};
  }
  // Root, mesh and BaseDinoScale all set to s, as a creature that was shrunk before.
  void SetAllScales(int id, double s) {
    auto* dino = Dino(id);
    dino->PrimalCharacter.Character.Pawn.Actor.RootComponent->RelativeScale3D = Uniform(s);
    dino->PrimalCharacter.Character.Mesh->RelativeScale3D = Uniform(s);
    dino->BaseDinoScale = Uniform(s);
  }
  void ExpectAllScales(int id, double s) {
    EXPECT_TRUE(Same(Root(id), Uniform(s))) << "root " << Root(id).X;
    EXPECT_TRUE(Same(Base(id), Uniform(s))) << "BaseDinoScale " << Base(id).X;
    EXPECT_TRUE(Same(Mesh(id), Uniform(s))) << "mesh " << Mesh(id).X;
  }

  // Plugin calls, each checked for FMemory blocks left behind.
  bool Apply(host::APrimalDinoCharacter* creature, const char* label, bool force) {
    const auto before = LiveBlocks();
    const bool applied = tinyhorde::ApplyCreatureScale(
        creature, label,
        force ? tinyhorde::ApplyMode::kForce : tinyhorde::ApplyMode::kUnlessAtScale);
    EXPECT_EQ(LiveBlocks(), before) << "ApplyCreatureScale left FMemory blocks behind";
    return applied;
  }
  bool Apply(int id, const char* label = "Test", bool force = false) {
    return Apply(Host(id), label, force);
  }
  bool Restore(host::APrimalDinoCharacter* creature) {
    const auto before = LiveBlocks();
    const bool restored = tinyhorde::RestoreNormalScale(creature);
    EXPECT_EQ(LiveBlocks(), before) << "RestoreNormalScale left FMemory blocks behind";
    return restored;
  }
  bool Restore(int id) { return Restore(Host(id)); }
  void ScaleCamera(host::APrimalDinoCharacter* creature, double camera_scale) {
    const auto before = LiveBlocks();
    tinyhorde::ScaleRiderCamera(creature, camera_scale);
    EXPECT_EQ(LiveBlocks(), before) << "ScaleRiderCamera left FMemory blocks behind";
  }
  void ScaleCamera(int id, double camera_scale) { ScaleCamera(Host(id), camera_scale); }

  template <typename F>
  void WithSettings(F&& change) {
    {
      std::lock_guard<std::mutex> lock(tinyhorde::SettingsMutex);
      change(tinyhorde::PluginSettings);
    }
    tinyhorde::SettingsChanged();
  }

  // Log lines since the last call that start with prefix.
  Lines TakeLinesStartingWith(const std::string& prefix) {
    Lines kept;
    for (auto& line : TakeLogLines())
      if (line.rfind(prefix, 0) == 0) kept.push_back(std::move(line));
    return kept;
  }

  // Moves the virtual clock; a timer callback that throws fails the test.
  void Advance(double seconds) {
    Server().Clock().Advance(seconds, [](const std::string& error) { ADD_FAILURE() << error; });
  }
};

}  // namespace scalingtest
