// The game names the plugin uses are resolved once, at start-up: a field or flag the host does not
// know ends the server there; a function the host does not have is logged once and, when
// shrinking or restoring needs it, turns shrinking off.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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
  EXPECT_SERVER_ENDS(tinyhorde::ResolveGameNames(), std::string(GetParam()) + " does not exist");
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
                      "APrimalDinoCharacter.bDidSetupTamed", "APrimalPlayerController.bIsAdmin"),
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

INSTANTIATE_TEST_SUITE_P(
    EveryOne, MissingFunction,
    ::testing::Values(
        FunctionCase{"APrimalDinoCharacter.GetPrivateStaticClass()", true},
        FunctionCase{"UStruct.IsChildOf(UStruct*)", true},
        FunctionCase{"FName.ToString(FString&)", true},
        FunctionCase{"AActor.SetActorRelativeScale3D(UE::Math::TVector<double>)", true},
        FunctionCase{"APrimalDinoCharacter.GetUntamedTargetingTeam()", true},
        FunctionCase{"FWeakObjectPtr.operator=(UObject*)", true},
        FunctionCase{"FWeakObjectPtr.Get()", true},
        FunctionCase{"FMemory.Malloc(unsigned__int64,unsignedint)", true},
        FunctionCase{"FMemory.Realloc(void*,unsigned__int64,unsignedint)", true},
        FunctionCase{"FMemory.Free(void*)", true},
        FunctionCase{"AShooterCharacter.GetPrivateStaticClass()", false},
        FunctionCase{"AShooterCharacter.GetRidingDino()", false},
        FunctionCase{"UGameplayStatics.GetAllActorsOfClass(UObject*,TSubclassOf<AActor>,"
                     "TArray<AActor*,TSizedDefaultAllocator<32>>&)",
                     false},
        FunctionCase{"RCONClientConnection.SendMessage(int,int,FString&)", false},
        FunctionCase{"FGenericPlatformStricmp.Stricmp(wchar_t*,wchar_t*)", false}),
    [](const auto& info) { return TestNameOf(info.param.name); });

// Through the built library: a host without the scale function starts the plugin restore-only,
// and says so; a tamed target then keeps its full size.
TEST_F(GameNames, APluginStartedWithoutTheScaleFunctionShrinksNothing) {
  const std::string scale = "AActor.SetActorRelativeScale3D(UE::Math::TVector<double>)";
  SetHooksDoNotThrow();
  Run("host forget " + scale);
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
