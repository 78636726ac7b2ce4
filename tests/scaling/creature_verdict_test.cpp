// The one verdict per creature per event (JudgeCreature): which creatures the settings pick,
// which qualify now, with which scale, and when the tamed state is asked at all. A walk over a
// world completes one class verdict for each creature in turn, and a creature's own part never
// carries over to the next.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "scaling/creature_verdict.h"
#include "scaling/scaling_fixture.h"
#include "scaling/shrink_gate.h"

namespace scalingtest {
namespace {

using tinyhorde::AskTamed;

struct VerdictCase {
  const char* name;
  const char* species;  // null: no creature at all
  bool tamed;
  bool only_tamed;
  bool shrinking_off;
  AskTamed ask;
  // What the verdict says.
  bool target, selected, qualifies, asked_tamed;
  double scale;
};

void PrintTo(const VerdictCase& c, std::ostream* os) {
  *os << c.name;
}

constexpr const char* kDread = "Dreadnoughtus_Character_BP_C";  // key "dreadnought": 0.25
constexpr auto kOnlyWhen = AskTamed::kWhenOnlyTamed;
constexpr auto kAlways = AskTamed::kAlways;

const VerdictCase kCases[] = {
    {"TamedTarget", kDread, true, true, false, kOnlyWhen, true, true, true, true, 0.25},
    {"OtherKeyScale", "Mosasaur_Character_BP_C", true, true, false, kOnlyWhen, true, true, true,
     true, 0.5},
    {"WildTargetUnderOnlyTamed", kDread, false, true, false, kOnlyWhen, true, false, false, false,
     0.25},
    {"WildTargetWithoutOnlyTamed", kDread, false, false, false, kOnlyWhen, true, true, true, false,
     0.25},
    // Without OnlyTamed the tamed state is not asked unless the caller wants it.
    {"TamedNotAskedWithoutOnlyTamed", kDread, true, false, false, kOnlyWhen, true, true, true,
     false, 0.25},
    {"TamedAskedAlways", kDread, true, false, false, kAlways, true, true, true, true, 0.25},
    {"WildAskedAlways", kDread, false, false, false, kAlways, true, true, true, false, 0.25},
    // Picked by the settings, but nothing qualifies while shrinking is unsafe.
    {"ShrinkingOff", kDread, true, true, true, kOnlyWhen, true, true, false, true, 0.25},
    {"NotATargetClass", "Rex_Character_BP_C", true, true, false, kAlways, false, false, false,
     false, 1.0},
    {"NoCreature", nullptr, false, true, false, kAlways, false, false, false, false, 1.0},
};

// The fixture puts the missing storage hooks back to none after each case.
class Verdict : public ScalingFixture, public testing::WithParamInterface<VerdictCase> {};

TEST_P(Verdict, SaysWhatTheSettingsAndTheCreatureDecide) {
  const VerdictCase& c = GetParam();
  WithSettings([&](tinyhorde::Settings& s) { s.OnlyTamed = c.only_tamed; });
  if (c.shrinking_off) tinyhorde::SetMissingStorageHooks({"AShooterGameMode.SaveWorld"});
  host::APrimalDinoCharacter* creature = nullptr;
  if (c.species != nullptr) creature = Host(c.tamed ? MakeTamed(c.species) : Make(c.species));
  const tinyhorde::CreatureVerdict verdict = tinyhorde::JudgeCreature(creature, c.ask);
  EXPECT_EQ(verdict.Target(), c.target);
  EXPECT_EQ(verdict.Selected(), c.selected);
  EXPECT_EQ(verdict.Qualifies(), c.qualifies);
  EXPECT_EQ(verdict.tamed, c.asked_tamed);
  EXPECT_DOUBLE_EQ(verdict.Scale(), c.scale);
  EXPECT_DOUBLE_EQ(verdict.CameraScale(), c.scale);
}

INSTANTIATE_TEST_SUITE_P(Cases, Verdict, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

class WalkVerdict : public ScalingFixture {};

// One class verdict, completed for a wild creature and then a tamed one of the class and back:
// each gets its own answer.
TEST_F(WalkVerdict, EachCreatureOfAClassGetsItsOwnTamedState) {
  const int wild = Make(kDread);
  const int tamed = MakeTamed(kDread);
  tinyhorde::CreatureVerdict verdict = tinyhorde::JudgeClassOf(Host(wild));
  for (const int id : {wild, tamed, wild}) {
    tinyhorde::JudgeTamedState(Host(id), verdict);
    EXPECT_EQ(verdict.Qualifies(), id == tamed) << "creature " << id;
  }
}

}  // namespace
}  // namespace scalingtest
