// The game names the plugin uses are resolved once, at start-up: a field or flag the host does not
// know ends the server there; a function the host does not have is logged once and, when
// shrinking or restoring needs it, turns shrinking off.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "host/game_names.h"
#include "plugin/lifecycle.h"
#include "scaling/shrink_gate.h"
#include "support/sim_fixture.h"

namespace {

using Lines = std::vector<std::string>;

std::string TestNameOf(const std::string& game_name) {
  std::string name;
  for (char ch : game_name)
    if (std::isalnum(static_cast<unsigned char>(ch))) name += ch;
  return name;
}

class GameNames : public simtest::SimFixture {};

class UnknownFieldOrFlag : public GameNames, public ::testing::WithParamInterface<const char*> {};

TEST_P(UnknownFieldOrFlag, EndsTheServerWhenThePluginStarts) {
  Server().Lookup().MakeUnknown(GetParam());
  const std::string name = GetParam();
  const bool flag = host::FindGameName(name)->kind == host::GameNameKind::Flag;
  EXPECT_SERVER_ENDS(
      tinyhorde::ResolveGameNames(),
      (flag ? "Failed to get the bitfield address of '" : "Failed to get the offset of '") + name +
          "'.");
}

INSTANTIATE_TEST_SUITE_P(
    EveryOne, UnknownFieldOrFlag,
    ::testing::Values("UObjectBase.ClassPrivate", "UObjectBase.NamePrivate", "AActor.RootComponent",
                      "ACharacter.Mesh", "USceneComponent.RelativeScale3D",
                      "APrimalDinoCharacter.BaseDinoScale",
                      "APrimalDinoCharacter.RiderFPVCameraOffset",
                      "APrimalDinoCharacter.OwningPlayerID", "APrimalDinoCharacter.TamerString",
                      "APrimalDinoCharacter.TamedName", "UPrimalActor.TargetingTeam",
                      "UStruct.ChildProperties", "FField.Next", "FField.NamePrivate",
                      "FProperty.ElementSize", "FProperty.Offset_Internal",
                      "APrimalCharacter.bIsDead", "AActor.bActorIsBeingDestroyed",
                      "APrimalPlayerController.bIsAdmin"),
    [](const auto& info) { return TestNameOf(info.param); });

struct FunctionCase {
  const char* name;
  bool shrinking_needs_it;
};

void PrintTo(const FunctionCase& c, std::ostream* os) {
  *os << c.name;
}

class MissingFunction : public GameNames, public ::testing::WithParamInterface<FunctionCase> {};

TEST_P(MissingFunction, IsLoggedOnceAndTurnsShrinkingOffWhenNeeded) {
  const FunctionCase& c = GetParam();
  SetHooksDoNotThrow();
  Run(std::string("host forget ") + c.name);
  TakeLogLines();
  tinyhorde::ResolveGameNames();
  Lines plugin_lines = TakeLogLines();
  std::erase_if(plugin_lines,
                [](const std::string& line) { return line.rfind("[Tinyhorde]", 0) != 0; });
  EXPECT_EQ(plugin_lines, Lines{std::string("[Tinyhorde] Game function ") + c.name + " not found"});
  EXPECT_EQ(tinyhorde::ShrinkingAllowed(), !c.shrinking_needs_it);
  EXPECT_EQ(tinyhorde::ShrinkingOffReason(),
            c.shrinking_needs_it ? std::string("game functions missing: ") + c.name : "");
  // Both reasons at once are both named.
  tinyhorde::SetMissingStorageHooks({"APrimalDinoCharacter.Destroyed()"});
  EXPECT_EQ(tinyhorde::ShrinkingOffReason(),
            std::string("storage hooks missing: APrimalDinoCharacter.Destroyed()") +
                (c.shrinking_needs_it ? std::string("; game functions missing: ") + c.name : ""));
  tinyhorde::SetMissingStorageHooks({});
}

// Every function on the list of game names; those without which a creature could be shrunk and
// not put back, or not be recognised, turn shrinking off.
std::vector<FunctionCase> EveryListedFunction() {
  namespace names = host::game_names;
  const std::set<std::string_view> shrinking_needs = {names::kCreatureStaticClass.name,
                                                      names::kIsChildOf.name,
                                                      names::kNameToString.name,
                                                      names::kSetActorRelativeScale3D.name,
                                                      names::kGetUntamedTargetingTeam.name,
                                                      names::kWeakAssign.name,
                                                      names::kWeakGet.name,
                                                      names::kMalloc.name,
                                                      names::kRealloc.name,
                                                      names::kFree.name};
  // The host looks these up inside its own messaging; the plugin never resolves them.
  const std::set<std::string_view> host_looks_up = {names::kFStringFromNarrow.name,
                                                    names::kClientServerChatDirectMessage.name};
  std::vector<FunctionCase> cases;
  for (const host::GameName* entry : host::kGameNames)
    if (entry->kind == host::GameNameKind::Function && host_looks_up.count(entry->name) == 0)
      cases.push_back({entry->name, shrinking_needs.count(entry->name) != 0});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryOne, MissingFunction, ::testing::ValuesIn(EveryListedFunction()),
                         [](const auto& info) { return TestNameOf(info.param.name); });

// Each entry names the features that need it, and every feature is needed by some name. A name
// a restore writes through turns Tinyhorde off; two names serve more than one feature.
TEST(GameNameFeatures, EachEntryNamesTheFeaturesThatNeedIt) {
  namespace names = host::game_names;
  namespace f = host::feature;
  host::Features served = 0;
  for (const host::GameName* entry : host::kGameNames) {
    EXPECT_NE(entry->features, 0u) << entry->name;
    EXPECT_EQ(entry->features & ~f::kAll, 0u) << entry->name;
    served |= entry->features;
  }
  EXPECT_EQ(served, f::kAll) << "a feature no name serves";
  const std::pair<const host::GameName*, host::Features> named[] = {
      // Putting a creature back writes these: without one Tinyhorde is off.
      {&names::kSetActorRelativeScale3D, f::kRestoring},
      {&names::kBaseDinoScale, f::kRestoring},
      {&names::kRootComponent, f::kRestoring},
      {&names::kMesh, f::kRestoring},
      {&names::kRelativeScale3D, f::kRestoring},
      // Recognising a creature and the camera both read its class.
      {&names::kClassPrivate, f::kShrinking | f::kCamera},
      {&names::kTargetingTeam,
       f::kTamedSignTeam | f::kTamedSignUntamedTeam | f::kTeamChangeTrigger},
  };
  for (const auto& [entry, features] : named) EXPECT_EQ(entry->features, features) << entry->name;
}

// The game and the plugin keep to the list of game names: the simulated game knows no other name,
// each as its kind, and a whole life of the plugin asks for none that is not on it.
TEST_F(GameNames, TheGameAndThePluginUseOnlyListedNames) {
  for (const std::string& name : Server().Lookup().KnownNames())
    EXPECT_NE(host::FindGameName(name), nullptr) << name;
  // A name the SDK shows on no live line is one the game lacks, until a test gives it; it can
  // only be a hook.
  for (const host::GameName* entry : host::kGameNames) {
    if (entry->unverified_because == nullptr) continue;
    EXPECT_FALSE(Server().Lookup().Knows(entry->name)) << entry->name;
    EXPECT_EQ(entry->kind, host::GameNameKind::Hook) << entry->name;
  }
  for (int hook = 0; hook < static_cast<int>(sim::Hook::Count); ++hook) {
    const host::GameName& entry = sim::HookGameName(static_cast<sim::Hook>(hook));
    EXPECT_EQ(entry.kind, host::GameNameKind::Hook) << entry.name;
    EXPECT_NE(Server().Hooks().Find(entry.name), nullptr) << entry.name;
  }
  const host::GameName unlisted{"AShooterCharacter.GetPrivateStaticClass()",
                                host::GameNameKind::Function};
  EXPECT_THROW(Server().Lookup().AddFunction(unlisted, nullptr), std::logic_error);
  const host::GameName hook_as_field{host::game_names::kBeginPlay.name, host::GameNameKind::Field};
  EXPECT_THROW(Server().Lookup().AddField(hook_as_field, 0), std::logic_error);

  LoadPlugin();
  for (const char* step : {"player Ada admin", "spawn Dreadnoughtus_Character_BP_C tamed 1",
                           "wait 5", "ride 2 1", "camera 1", "console 1 hordesize.resizeall",
                           "chat 1 /hordesize status", "rcon hordesize.status", "save", "cryo 2 1"})
    Run(step);
  UnloadPlugin();
  EXPECT_EQ(Server().Lookup().UnlistedAsked(), std::vector<std::string>{});
}

// The class listing takes the address of a TSubclassOf. A class handed over by value is read as
// the address of one, which holds no class: the server ends, as the real game would list nothing
// or crash.
TEST_F(GameNames, TheClassListingTakesTheClassByAddress) {
  using ListFunction = void (*)(sim::UObject*, const void*, sim::TArray<sim::AActor*>*);
  const auto list = reinterpret_cast<ListFunction>(
      Server().Lookup().FunctionAddress(host::game_names::kGetAllActorsOfClass.name));
  sim::UClass* creature_class = &Server().Classes().Native("APrimalDinoCharacter").cls;
  auto* world = reinterpret_cast<sim::UObject*>(Game().World());
  Run("spawn Dreadnoughtus_Character_BP_C");
  const sim::TSubclassOf<sim::AActor> by_address{creature_class};
  sim::TArray<sim::AActor*> actors;
  list(world, &by_address, &actors);
  EXPECT_EQ(actors.ArrayNum, 1);
  Server().Memory().Free(actors.Data);
  EXPECT_SERVER_ENDS(list(world, creature_class, &actors),
                     "UGameplayStatics.GetAllActorsOfClass: the class argument is not a class");
}

// Through the built library: a host without the scale function starts the plugin restore-only,
// and says so; a tamed target then keeps its full size.
TEST_F(GameNames, APluginStartedWithoutTheScaleFunctionShrinksNothing) {
  const std::string scale = host::game_names::kSetActorRelativeScale3D.name;
  SetHooksDoNotThrow();
  Run("host forget " + scale);
  // Without the offsets cache the plugin cannot tell that the game lacks it, and asks.
  Run("host cache absent");
  LoadPlugin();
  const Lines lines = TakeLogLines();
  for (const std::string& wanted :
       {"[Tinyhorde] Game function " + scale + " not found",
        "[Tinyhorde] Game functions missing, creatures will not be shrunk: " + scale})
    EXPECT_EQ(std::count(lines.begin(), lines.end(), wanted), 1) << wanted;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "[Tinyhorde] Plugin initialized successfully."),
            0);
  Run("player Ada");
  Run("spawn Dreadnoughtus_Character_BP_C tamed 1");
  Run("wait 5");
  EXPECT_DOUBLE_EQ(Game().RootScale(Game().CreatureObject(2)).X, 1.0);
}

}  // namespace
