// "hordesize.status": its lines on every channel, with shrinking on and off and with and without
// a world, and what start-up left out of the hooks on names the SDK does not show; it reads and
// never changes anything.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "commands_fixture.h"
#include "config/setting_descriptions.h"
#include "plugin/lifecycle.h"
#include "sim/game.h"

namespace {

using namespace commandtest;

constexpr const char* kDefaults = "Config: built-in defaults (no config.json found).";
// The settings' line: each description the status line shows, in table order, as key=value, of
// the defaults with DebugLog off (as the fixture sets it). How each kind shows its value is
// SettingDescriptions.ShowTheirValueByKind's; install_layout holds the README's text of this line
// to the plugin's.
std::string ValuesLine() {
  tinyhorde::Settings settings;
  settings.DebugLog = false;
  std::string line;
  for (const tinyhorde::SettingDescription& description : tinyhorde::SettingDescriptions()) {
    if (!description.inStatus) continue;
    if (!line.empty()) line += ' ';
    line += std::string(description.key) + "=" + SettingStatusValue(description, settings);
  }
  return line;
}
constexpr const char* kCreatures =
    "Creatures: 3 of a target class in the world: 1 at their scale, 1 at full size, 1 other; 2 "
    "recorded as shrunk.";
constexpr const char* kNoWorld = "Creatures: no world loaded.";
constexpr const char* kOn = "[Tinyhorde] Status: shrinking on.";
constexpr const char* kOff =
    "[Tinyhorde] Status: shrinking off, restoring only (storage hooks missing: "
    "APrimalDinoCharacter.Destroyed()).";
constexpr const char* kScaleFunction = "AActor.SetActorRelativeScale3D(UE::Math::TVector<double>)";
// The hook on a name the game lacks: the host's offsets cache says so and it is not asked for, or a
// host with HooksDoNotThrow (where the scale function can be missing) refuses it.
constexpr const char* kLeftOut =
    "Not hooked, as the game lacks them: APrimalDinoCharacter.OnUncryo(AShooterPlayerController*).";

struct StatusCase {
  const char* name;
  bool shrinking;
  bool world;
  // Shrinking is off because the host lacks this game function, not because a hook was refused.
  const char* lost_function = nullptr;
};

// Tests are named by their case; this shows the name, not the case's bytes, after GetParam().
void PrintTo(const StatusCase& c, std::ostream* os) {
  *os << c.name;
}

class Status : public CommandsTest, public testing::WithParamInterface<StatusCase> {
 protected:
  void SetUp() override {
    CommandsTest::SetUp();
    if (!GetParam().shrinking) {
      tinyhorde::UnloadPlugin();
      if (GetParam().lost_function != nullptr) {
        SetHooksDoNotThrow();
        Run(std::string("host forget ") + GetParam().lost_function);
        // Unchecked names: the plugin asks, and runs restoring only (a cache that says the game
        // lacks the function turns it off instead; tests/plugin/game_update_test.cpp).
        Run("host cache absent");
      } else {
        Server().Hooks().Refuse("APrimalDinoCharacter.Destroyed()");
      }
      tinyhorde::InitializePlugin();
      Edit([](tinyhorde::Settings& s) { s.DebugLog = false; });
    }
    Run("player Ada admin");                         // 1
    Run("player Ben");                               // 2
    Spawn("Dreadnoughtus_Character_BP_C tamed 1");   // 3: at its scale while shrinking is on
    Spawn("Dreadnoughtus_Character_BP_C");           // 4: wild, at full size
    Spawn("Giganotosaurus_Character_BP_C tamed 1");  // 5: shrunk, then set to 0.6 below
    Spawn("Rex_Character_BP_C tamed 1");             // 6: no target
    Spawn("Gigantoraptor_Character_BP_C tamed 1");   // 7: excluded, so no target
    Run("wait 5");                                   // the re-applications after spawning are done
    Game().CreatureObject(5)->PrimalCharacter.Character.Pawn.Actor.RootComponent->RelativeScale3D =
        {0.6, 0.6, 0.6};
    if (!GetParam().world) Run("world down");
    TakeLogLines();
  }

  std::string Expected() const {
    const auto& p = GetParam();
    // Without shrinking the tamed creature stays at full size and nothing is recorded.
    const std::string creatures =
        !p.world ? kNoWorld
        : p.shrinking
            ? kCreatures
            : "Creatures: 3 of a target class in the world: 0 at their scale, 2 at full size, 1 "
              "other; 0 recorded as shrunk.";
    const std::string off =
        p.lost_function == nullptr
            ? kOff
            : std::string(
                  "[Tinyhorde] Status: shrinking off, restoring only (game functions "
                  "missing: ") +
                  p.lost_function + ").";
    return (p.shrinking ? kOn : off) + "\n" + kDefaults + "\n" + ValuesLine() + "\n" + creatures +
           "\n" + kLeftOut;
  }
};

TEST_P(Status, AnswersOnEveryChannelAndChangesNothing) {
  const std::string text = Expected();
  const bool world = GetParam().world;
  const double before = Scale(5);
  EXPECT_EQ(Replies("rcon hordesize.status"), Lines{Rcon(1, text + "\n")});
  EXPECT_EQ(Replies("rcon BIGFIT.STATUS"), Lines{Rcon(2, text + "\n")});
  // Without a world no player is connected: a player's answer is dropped.
  EXPECT_EQ(Replies("console 1 hordesize.status"), world ? Lines{Msg(1, kGreen, text)} : Lines{});
  if (world) {
    EXPECT_EQ(Replies("chat 1 /hordesize STATUS"), Lines{Msg(1, kGreen, text)});
    EXPECT_EQ(Replies("chat 2 /hordesize status"),
              Lines{Msg(2, kRed, "Admin privileges required.")});
  }
  EXPECT_EQ(TakeLogLines(), Lines{});
  // The server console has no player: the log hears the lines one by one.
  EXPECT_EQ(Run("console - bigfit.status").back(), "ok");
  Lines lines;
  for (std::size_t start = 0;;) {
    const auto end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  EXPECT_EQ(TakeLogLines(), lines);
  EXPECT_DOUBLE_EQ(Scale(5), before);
}

const StatusCase kCases[] = {
    {"ShrinkingOnWithAWorld", true, true},
    {"ShrinkingOnWithoutAWorld", true, false},
    {"ShrinkingOffWithAWorld", false, true},
    {"ShrinkingOffWithoutAWorld", false, false},
    {"ScaleFunctionMissingWithAWorld", false, true, kScaleFunction},
};
INSTANTIATE_TEST_SUITE_P(States, Status, testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
