// Whatever the settings say by the time the game stores a creature, and whether or not a world
// is up at unload, nothing the plugin shrank is ever stored small or left small. Each scenario
// runs the real plugin library through the simulated host's console and ends with an unload.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "hooks/flow_fixture.h"
#include "sim/classes.h"

namespace {

constexpr const char* kConfig = "ShooterGame/Binaries/Win64/ArkApi/Plugins/Tinyhorde/config.json";

struct Scenario {
  const char* name;
  std::vector<std::string> lines;
};

// Tests are named by their case; this shows the name, not the case's bytes, after GetParam().
void PrintTo(const Scenario& c, std::ostream* os) {
  *os << c.name;
}

std::string WriteConfig(const std::string& json) {
  return std::string("write ") + kConfig + " " + json;
}

// A Yutyrannus, a target only through TargetBlueprints, shrunk (its rider camera too); a reload
// then drops the blueprint, and the game stores it. Only a tamed one can be captured or sent.
std::vector<std::string> BlueprintDroppedThen(const std::string& store, bool tamed) {
  return {WriteConfig(R"({"OnlyTamed": false, "TargetBlueprints": ["Yutyrannus_Character_BP"]})"),
          "plugin load",
          "player Ada",
          std::string("spawn Yutyrannus_Character_BP_C") + (tamed ? " tamed 1" : ""),
          "ride 2 1",
          "dismount 2",
          WriteConfig(R"({"TargetBlueprints": []})"),
          "rcon hordesize.reload",
          store};
}

const Scenario kScenarios[] = {
    {"BlueprintDroppedThenSave", BlueprintDroppedThen("save", false)},
    {"BlueprintDroppedThenSnapshot", BlueprintDroppedThen("snapshot 2", false)},
    {"BlueprintDroppedThenCryo", BlueprintDroppedThen("cryo 2 1", true)},
    {"BlueprintDroppedThenUpload", BlueprintDroppedThen("upload 2 1", true)},
    {"BlueprintDroppedThenExport", BlueprintDroppedThen("export 2 1", true)},
    {"OnlyTamedSwitchedOnThenSave",
     {WriteConfig(R"({"OnlyTamed": false})"), "plugin load", "spawn Dreadnoughtus_Character_BP_C",
      WriteConfig(R"({"OnlyTamed": true})"), "rcon hordesize.reload", "save"}},
    {"SetScaleKeyLostAcrossUnloadWithoutAWorld",
     {"plugin load", "player Ada", "spawn Rex_Character_BP_C tamed 1",
      "rcon hordesize.setscale rex 0.5", "world down", "plugin unload", "world up", "plugin load",
      "save"}},
    {"UnloadWithoutAWorldThenReloadAndSave",
     {"plugin load", "spawn Dreadnoughtus_Character_BP_C team 50000", "world down", "plugin unload",
      "plugin load", "world up", "save"}},
    {"RiddenThenUnloadWithoutAWorldThenReloadAndRide",
     {"plugin load", "player Ada", "spawn Dreadnoughtus_Character_BP_C tamed 1", "ride 2 1",
      "world down", "plugin unload", "world up", "plugin load", "dismount 2", "ride 2 1", "save",
      "dismount 2", "cryo 2 1"}},
    {"WorldLoadedOverShrunkCreatures",
     {"plugin load", "player Ada", "spawn Dreadnoughtus_Character_BP_C tamed 1",
      "spawn Giganotosaurus_Character_BP_C tamed 1", "save", "wait 2", "load", "wait 4", "save"}},
};

class Integrity : public flowtest::FlowFixture, public testing::WithParamInterface<Scenario> {
 protected:
  static bool Near(double a, double b) { return std::fabs(a - b) < 1e-9; }
  static bool IsOne(const sim::FVector& v) { return Near(v.X, 1) && Near(v.Y, 1) && Near(v.Z, 1); }
  static bool Same(const sim::FVector& a, const sim::FVector& b) {
    return Near(a.X, b.X) && Near(a.Y, b.Y) && Near(a.Z, b.Z);
  }

  void ExpectEveryRecordAtFullSize() {
    ASSERT_FALSE(Game().Stored().empty()) << "the scenario stored nothing";
    for (const auto& record : Game().Stored()) {
      for (const auto& v : {record.root_scale, record.base_dino_scale, record.mesh_scale})
        EXPECT_TRUE(IsOne(v)) << record.kind << " record " << record.id << " holds " << v.X;
      for (const auto& [name, value] : record.camera)
        EXPECT_TRUE(Same(value, flowtest::CameraBaseline(name)))
            << record.kind << " record " << record.id << " camera " << name << " = " << value.X;
    }
  }

  void ExpectEveryCreatureAtFullSize() {
    for (const auto& [id, dino] : Game().Creatures()) {
      EXPECT_TRUE(IsOne(Root(id)) && IsOne(Base(id)) && IsOne(Mesh(id)))
          << "creature " << id << " left at " << Root(id).X;
      for (const auto& [name, value] : Game().CameraOffsets(dino))
        EXPECT_TRUE(Same(value, flowtest::CameraBaseline(name)))
            << "creature " << id << " camera " << name << " = " << value.X;
    }
  }
};

TEST_P(Integrity, NothingShrunkIsStoredOrLeftSmall) {
  for (const auto& line : GetParam().lines) Do(line);
  ExpectEveryRecordAtFullSize();
  if (Server().Plugin().Loaded()) {
    TakeLogLines();
    Do("plugin unload");
    for (const auto& line : TakeLogLines())
      EXPECT_EQ(line.find("Could not restore"), std::string::npos) << line;
  }
  ExpectEveryCreatureAtFullSize();
  EXPECT_EQ(LiveBlocks(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Sequences, Integrity, testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
