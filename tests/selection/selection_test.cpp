// Which creatures the plugin acts on and with which scale (IsTargetCreature, LookupCreatureScale),
// and which creatures count as tamed (IsTamedCreature).
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "config/load_config.h"
#include "config/plugin_settings.h"
#include "scaling/scaling_fixture.h"
#include "selection/creature_classification.h"
#include "selection/tamed_state.h"

namespace scalingtest {
namespace {

using tinyhorde::IsTamedCreature;
using tinyhorde::IsTargetCreature;
using tinyhorde::LookupCreatureScale;

constexpr double kUntouched = -7.0;

class Selection : public ScalingFixture {
 protected:
  // Looks the object up with both outputs preset, so that an untouched output shows.
  bool Lookup(const void* object, double& scale, double& camera) {
    scale = camera = kUntouched;
    const auto before = LiveBlocks();
    const bool found = LookupCreatureScale(object, scale, camera);
    EXPECT_EQ(LiveBlocks(), before) << "LookupCreatureScale left FMemory blocks behind";
    return found;
  }
  bool Target(const void* object) {
    const auto before = LiveBlocks();
    const bool target = IsTargetCreature(object);
    EXPECT_EQ(LiveBlocks(), before) << "IsTargetCreature left FMemory blocks behind";
    return target;
  }
};

TEST_F(Selection, NullObjectIsNeitherTargetNorLookedUp) {
  double scale, camera;
  EXPECT_FALSE(Target(nullptr));
  EXPECT_FALSE(Lookup(nullptr, scale, camera));
  EXPECT_EQ(scale, kUntouched);
  EXPECT_EQ(camera, kUntouched);
}

TEST_F(Selection, ObjectWithoutAClassIsNeitherTargetNorLookedUp) {
  auto* dino = Dino(MakeTamed("Dreadnoughtus_Character_BP_C"));
  auto& base = dino->PrimalCharacter.Character.Pawn.Actor.Object.Base;
  sim::UClass* const cls = base.ClassPrivate;
  base.ClassPrivate = nullptr;
  double scale, camera;
  EXPECT_FALSE(Target(dino));
  EXPECT_FALSE(Lookup(dino, scale, camera));
  EXPECT_EQ(scale, kUntouched);
  EXPECT_EQ(camera, kUntouched);
  base.ClassPrivate = cls;
}

TEST_F(Selection, NonMatchingCreatureLeavesBothOutputsUntouched) {
  const int rex = Make("Rex_Character_BP_C");
  double scale, camera;
  EXPECT_FALSE(Target(Dino(rex)));
  EXPECT_FALSE(Lookup(Dino(rex), scale, camera));
  EXPECT_EQ(scale, kUntouched);
  EXPECT_EQ(camera, kUntouched);
}

// A matching name on a class that does not derive from the creature class: the scale look-up
// answers (it tests no hierarchy) but the object is not a target.
TEST_F(Selection, NonCreatureClassWithAMatchingNameGetsAScaleButIsNoTarget) {
  auto& cls = Server().Classes().ActorBlueprint("Dreadnought_Statue_C");
  auto* statue = Server().Objects().Create<sim::AActor>(&cls.cls, Server().Names().Add("Statue_1"));
  double scale, camera;
  EXPECT_TRUE(Lookup(statue, scale, camera));
  EXPECT_EQ(scale, 0.25);
  EXPECT_EQ(camera, 0.25);
  EXPECT_FALSE(Target(statue));
  Server().Objects().Destroy(reinterpret_cast<sim::UObject*>(statue));
}

TEST_F(Selection, KeyMatchesTheClassNameWhateverItsCase) {
  const int loud = Make("DREADNOUGHTUS_CHARACTER_BP_C");
  double scale, camera;
  EXPECT_TRUE(Target(Dino(loud)));
  EXPECT_TRUE(Lookup(Dino(loud), scale, camera));
  EXPECT_EQ(scale, 0.25);
  EXPECT_EQ(camera, 0.25);
}

TEST_F(Selection, KeyWrittenInCapitalsStillMatches) {
  WithSettings([](tinyhorde::Settings& s) {
    s.CreatureScales = {{"PteraNodon", 0.6}};
    s.TargetBlueprints.clear();
  });
  const int ptera = Make("Ptera_Nodon_Mix_C");
  const int other = Make("Pteranodon_Character_BP_C");
  EXPECT_FALSE(Target(Dino(ptera)));
  EXPECT_TRUE(Target(Dino(other)));
}

// A blueprint entry alone selects the creature; it then gets the two default scales, each in
// its own output.
TEST_F(Selection, BlueprintEntryGivesTheTwoDefaultScales) {
  WithSettings([](tinyhorde::Settings& s) {
    s.CreatureScales.clear();
    s.TargetBlueprints = {"Dreadnoughtus_Character_BP"};
    s.DefaultScale = 0.6;
    s.DefaultCameraArmScale = 0.4;
  });
  const int lowered = Make("dreadnoughtus_character_bp_c");
  double scale, camera;
  EXPECT_TRUE(Target(Dino(lowered)));
  EXPECT_TRUE(Lookup(Dino(lowered), scale, camera));
  EXPECT_EQ(scale, 0.6);
  EXPECT_EQ(camera, 0.4);
}

TEST_F(Selection, KeyBeatsABlueprintEntryForTheSameCreature) {
  WithSettings([](tinyhorde::Settings& s) {
    s.CreatureScales = {{"dreadnought", 0.3}};
    s.TargetBlueprints = {"Dreadnoughtus_Character_BP"};
    s.DefaultScale = 0.6;
    s.DefaultCameraArmScale = 0.4;
  });
  double scale, camera;
  EXPECT_TRUE(Lookup(Dino(Make("Dreadnoughtus_Character_BP_C")), scale, camera));
  EXPECT_EQ(scale, 0.3);
  EXPECT_EQ(camera, 0.3);
}

// Overlapping keys with different scales: the longest key that matches wins, and between keys of
// the same length the smaller one by bytes, whatever order they were added in.
struct KeyOrderCase {
  const char* name;
  std::vector<std::pair<std::string, double>> keys;  // in insertion order
  const char* species;
  double expected;
};

void PrintTo(const KeyOrderCase& c, std::ostream* os) {
  *os << c.name;
}

class KeyOrder : public Selection, public ::testing::WithParamInterface<KeyOrderCase> {};

TEST_P(KeyOrder, MostSpecificKeyWins) {
  const auto& c = GetParam();
  WithSettings([&](tinyhorde::Settings& s) {
    s.CreatureScales.clear();
    for (const auto& [key, value] : c.keys) s.CreatureScales[key] = value;
    s.TargetBlueprints.clear();
  });
  double scale, camera;
  ASSERT_TRUE(Lookup(Dino(Make(c.species)), scale, camera));
  EXPECT_EQ(scale, c.expected);
  EXPECT_EQ(camera, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    KeyTables, KeyOrder,
    ::testing::Values(
        KeyOrderCase{
            "LongerKeyAddedLast", {{"rex", 0.3}, {"rexy", 0.6}}, "Rexy_Character_BP_C", 0.6},
        KeyOrderCase{
            "LongerKeyAddedFirst", {{"rexy", 0.6}, {"rex", 0.3}}, "Rexy_Character_BP_C", 0.6},
        KeyOrderCase{
            "OnlyTheShortKeyMatches", {{"rex", 0.3}, {"rexy", 0.6}}, "Rex_Character_BP_C", 0.3},
        KeyOrderCase{
            "GigantBeatsGiga", {{"giga", 0.3}, {"gigant", 0.6}}, "Gigant_Character_BP_C", 0.6},
        KeyOrderCase{"GigaAloneForGiganotosaurus",
                     {{"giga", 0.3}, {"gigant", 0.6}},
                     "Giganotosaurus_Character_BP_C",
                     0.3},
        KeyOrderCase{"SameLengthSmallerBytesWins",
                     {{"bcde", 0.7}, {"abcd", 0.2}},
                     "Abcde_Character_BP_C",
                     0.2}),
    [](const auto& info) { return std::string(info.param.name); });

// ExcludedBlueprints: a class whose lowered name holds an entry is neither a target nor looked up,
// whatever key or blueprint entry its name also holds. Each case first classifies the creature
// under the defaults, so that a kept verdict that outlived the change would show.
struct ExclusionCase {
  const char* name;
  std::function<void(tinyhorde::Settings&)> change;
  const char* species;
  double expected;  // the scale afterwards, or kUntouched for no target
};

void PrintTo(const ExclusionCase& c, std::ostream* os) {
  *os << c.name;
}

class Exclusion : public Selection, public ::testing::WithParamInterface<ExclusionCase> {};

TEST_P(Exclusion, AnExcludedClassIsNeitherTargetNorLookedUp) {
  const auto& c = GetParam();
  auto* dino = Dino(MakeTamed(c.species));
  double scale, camera;
  Lookup(dino, scale, camera);
  WithSettings(c.change);
  EXPECT_EQ(Target(dino), c.expected != kUntouched);
  EXPECT_EQ(Lookup(dino, scale, camera), c.expected != kUntouched);
  EXPECT_EQ(scale, c.expected);
  EXPECT_EQ(camera, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, Exclusion,
    ::testing::Values(
        ExclusionCase{"DefaultsExcludeTheGigantoraptor", [](tinyhorde::Settings&) {},
                      "Gigantoraptor_Character_BP_Aberrant_C", kUntouched},
        ExclusionCase{"ADefaultExclusionLeavesTheGiganotosaurus", [](tinyhorde::Settings&) {},
                      "Gigant_Character_BP_C", 0.75},
        ExclusionCase{"ADefaultKeyMatchesTheDesertTitanWhateverItsCase",
                      [](tinyhorde::Settings&) {}, "deSERTtitan_Character_BP_C", 0.14},
        ExclusionCase{"AnEmptyTargetEntryMatchesEveryCreature",
                      [](tinyhorde::Settings& s) { s.TargetBlueprints = {""}; },
                      "Raptor_Character_BP_C", 0.5},
        ExclusionCase{"ExclusionBeatsAKeyWhateverTheirCase",
                      [](tinyhorde::Settings& s) { s.ExcludedBlueprints = {"dreadNOUGHTUS_char"}; },
                      "DREADNOUGHTUS_Character_BP_C", kUntouched},
        ExclusionCase{"ExclusionBeatsABlueprintEntry",
                      [](tinyhorde::Settings& s) {
                        s.TargetBlueprints = {"Yutyrannus_Character_BP"};
                        s.ExcludedBlueprints = {"Yuty"};
                      },
                      "Yutyrannus_Character_BP_C", kUntouched},
        ExclusionCase{"ExclusionAnywhereInTheName",
                      [](tinyhorde::Settings& s) { s.ExcludedBlueprints = {"_bp_c"}; },
                      "Titanosaur_Character_BP_C", kUntouched},
        ExclusionCase{"AnEmptyEntryExcludesNothing",
                      [](tinyhorde::Settings& s) {
                        s.ExcludedBlueprints = {"", "Raptor"};
                      },
                      "Dreadnoughtus_Character_BP_C", 0.25},
        ExclusionCase{"AnEntryLongerThanTheNameExcludesNothing",
                      [](tinyhorde::Settings& s) {
                        s.ExcludedBlueprints = {"Titanosaur_Character_BP_C_Extra"};
                      },
                      "Titanosaur_Character_BP_C", 0.28},
        ExclusionCase{"AnEmptyListExcludesNothing",
                      [](tinyhorde::Settings& s) { s.ExcludedBlueprints.clear(); },
                      "RhynioDrone_Character_BP_C", 0.7}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Tamed state ---------------------------------------------------------------------------

struct TamedCase {
  const char* name;
  void (*prepare)(sim::APrimalDinoCharacter&);
  bool tamed;
};

void PrintTo(const TamedCase& c, std::ostream* os) {
  *os << c.name;
}

// A string of n characters plus its terminator, on the game's heap (the game releases it).
sim::FString GameText(int characters) {
  sim::FString text;
  text.Data = new char16_t[static_cast<std::size_t>(characters) + 1]();
  for (int i = 0; i < characters; ++i) text.Data[i] = u'a';
  text.ArrayNum = text.ArrayMax = characters + 1;
  return text;
}

void Teams(sim::APrimalDinoCharacter& d, std::int32_t team, std::int32_t untamed) {
  d.PrimalCharacter.Character.Pawn.Actor.TargetingTeam = team;
  d.UntamedTargetingTeam = untamed;
}

class TamedSign : public Selection, public ::testing::WithParamInterface<TamedCase> {};

TEST_P(TamedSign, EachSignAloneDecides) {
  const auto& c = GetParam();
  const int id = Make("Dreadnoughtus_Character_BP_C");
  c.prepare(*Dino(id));
  EXPECT_EQ(IsTamedCreature(Host(id)), c.tamed);
}

INSTANTIATE_TEST_SUITE_P(
    TamedSigns, TamedSign,
    ::testing::Values(
        TamedCase{"FreshWild", [](sim::APrimalDinoCharacter&) {}, false},
        // The game keeps a tamed set-up state the host has no name for: it is no sign.
        TamedCase{"SetupStateAloneIsNoSign",
                  [](sim::APrimalDinoCharacter& d) {
                    sim::SetBit(d.DinoFlags, sim::kBitDidSetupTamed, true);
                  },
                  false},
        TamedCase{"TeamAtThreshold", [](sim::APrimalDinoCharacter& d) { Teams(d, 50000, 50000); },
                  true},
        TamedCase{"TeamJustBelowThreshold",
                  [](sim::APrimalDinoCharacter& d) { Teams(d, 49999, 49999); }, false},
        TamedCase{"OwnerId", [](sim::APrimalDinoCharacter& d) { d.OwningPlayerID = 1; }, true},
        TamedCase{"NegativeOwnerId", [](sim::APrimalDinoCharacter& d) { d.OwningPlayerID = -4; },
                  false},
        TamedCase{"TamerName", [](sim::APrimalDinoCharacter& d) { d.TamerString = GameText(1); },
                  true},
        TamedCase{"TamerTerminatorOnly",
                  [](sim::APrimalDinoCharacter& d) { d.TamerString = GameText(0); }, false},
        TamedCase{"TamedName", [](sim::APrimalDinoCharacter& d) { d.TamedName = GameText(1); },
                  true},
        TamedCase{"TamedNameTerminatorOnly",
                  [](sim::APrimalDinoCharacter& d) { d.TamedName = GameText(0); }, false},
        TamedCase{"TeamDiffersFromUntamed",
                  [](sim::APrimalDinoCharacter& d) { Teams(d, 3000, 2000); }, true},
        TamedCase{"TeamEqualsUntamed", [](sim::APrimalDinoCharacter& d) { Teams(d, 2000, 2000); },
                  false},
        TamedCase{"NoTeam", [](sim::APrimalDinoCharacter& d) { Teams(d, 0, 2000); }, false},
        TamedCase{"NoUntamedTeam", [](sim::APrimalDinoCharacter& d) { Teams(d, 3000, 0); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Verdicts are kept per class; every way the settings change is seen by the very next
// classification, with no name work while nothing changes.
TEST_F(Selection, EverySettingsChangeIsSeenByTheNextClassification) {
  auto* dread = Dino(MakeTamed("Dreadnoughtus_Character_BP_C"));
  auto* yuty = Dino(MakeTamed("Yutyrannus_Character_BP_C"));
  const std::string config = "ShooterGame/Binaries/Win64/ArkApi/Plugins/Tinyhorde/config.json";
  struct Change {
    const char* what;
    std::function<void()> apply;
    double dread;  // the dreadnoughtus's scale afterwards
    double yuty;   // the yutyrannus's scale afterwards, or kUntouched for no target
  };
  const Change changes[] = {
      {"setscale per creature", [] { tinyhorde::SetCreatureScale("DreadNought", 0.3); }, 0.3,
       kUntouched},
      {"reload adds a blueprint",
       [&] {
         WriteFile(config, R"({"TargetBlueprints": ["yutyrannus_character_bp"]})");
         tinyhorde::LoadConfig();
       },
       0.3, 0.5},
      {"setscale global", [] { tinyhorde::SetGlobalScale(0.7); }, 0.3, 0.7},
      {"reload excludes it",
       [&] {
         WriteFile(config, R"({"ExcludedBlueprints": ["YUTYRANNUS"]})");
         tinyhorde::LoadConfig();
       },
       0.3, kUntouched},
      {"reload drops it",
       [&] {
         WriteFile(config, R"({"TargetBlueprints": [], "CreatureScales": {"dreadnought": 0.2}})");
         tinyhorde::LoadConfig();
       },
       0.2, kUntouched},
  };
  double scale, camera;
  for (const auto& change : changes) {
    ASSERT_TRUE(Lookup(dread, scale, camera));  // a verdict kept from before the change
    change.apply();
    ASSERT_TRUE(Lookup(dread, scale, camera)) << change.what;
    EXPECT_EQ(scale, change.dread) << change.what;
    EXPECT_EQ(Target(yuty), change.yuty != kUntouched) << change.what;
    if (change.yuty != kUntouched) {
      ASSERT_TRUE(Lookup(yuty, scale, camera)) << change.what;
      EXPECT_EQ(scale, change.yuty) << change.what;
    }
    const auto lookups = Server().Lookup().Lookups();
    EXPECT_TRUE(Target(dread));
    // No name is looked up once a verdict is kept.
    EXPECT_EQ(Server().Lookup().Lookups() - lookups, 0u) << change.what;
  }
}

TEST_F(Selection, NullCreatureIsNotTamed) {
  EXPECT_FALSE(IsTamedCreature(nullptr));
}

// A game call that fails makes the whole answer false, even when a sign read after it would
// have said tamed: the untamed team function lost, as a name the host does not know (under
// HooksDoNotThrow; any other host ends the server) or as a function that raises.
class TamedLostFunction : public Selection, public ::testing::WithParamInterface<const char*> {
 protected:
  bool HooksDoNotThrowAtStart() const override { return std::string(GetParam()) == "forget"; }
};

TEST_P(TamedLostFunction, AnswersFalseWithoutThrowing) {
  const int id = Make("Dreadnoughtus_Character_BP_C");
  Teams(*Dino(id), 3000, 2000);
  ASSERT_TRUE(IsTamedCreature(Host(id))) << "the creature must count as tamed before";
  LoseGameFunction(GetParam(), "APrimalDinoCharacter.GetUntamedTargetingTeam()");
  bool tamed = true;
  EXPECT_NO_THROW(tamed = IsTamedCreature(Host(id)));
  EXPECT_FALSE(tamed);
}

INSTANTIATE_TEST_SUITE_P(UntamedTeam, TamedLostFunction, ::testing::Values("forget", "fail"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace scalingtest
