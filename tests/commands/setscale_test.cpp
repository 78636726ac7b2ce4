// hordesize.setscale over the console and RCON: which lines are accepted, what is stored, and
// what each caller is answered.
#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <iterator>
#include <string>

#include "commands/set_scale_command.h"
#include "commands_fixture.h"
#include "sim/memory.h"

namespace {

using namespace commandtest;

class SetScale : public CommandsTest {
 protected:
  void SetUp() override {
    CommandsTest::SetUp();
    Run("player Ada admin");  // 1
  }
  // Runs "console 1 hordesize.setscale <arguments>"; answers whether it was accepted, judged by
  // the reply, and checks that a refusal changed nothing and logged nothing.
  bool Accepted(const std::string& arguments) {
    const auto before = Copy();
    const Lines replies = Replies("console 1 hordesize.setscale" + arguments);
    const Lines logs = TakeLogLines();
    if (replies == Lines{Msg(1, kRed, kUsage)}) {
      EXPECT_EQ(logs, Lines{}) << arguments;
      const auto after = Copy();
      EXPECT_EQ(after.DefaultScale, before.DefaultScale) << arguments;
      EXPECT_EQ(after.DefaultCameraArmScale, before.DefaultCameraArmScale) << arguments;
      EXPECT_EQ(after.CreatureScales, before.CreatureScales) << arguments;
      EXPECT_TRUE(after == before) << arguments << ": a refusal changes no setting";
      return false;
    }
    EXPECT_EQ(replies, Lines{Msg(1, kGreen, Resized(0))}) << arguments;
    EXPECT_EQ(logs, Lines{Resized(0)}) << arguments;
    return true;
  }
};

TEST_F(SetScale, TheGlobalFormStoresTheNumberInBothDefaultScales) {
  EXPECT_TRUE(Accepted(" 0.5x"));
  EXPECT_EQ(Copy().DefaultScale, 0.5);
  EXPECT_EQ(Copy().DefaultCameraArmScale, 0.5);
  EXPECT_TRUE(Accepted(" 9.99"));
  EXPECT_EQ(Copy().DefaultScale, 9.99);
  EXPECT_TRUE(Accepted(" 1e-1"));
  EXPECT_EQ(Copy().DefaultScale, 0.1);
  EXPECT_EQ(Copy().DefaultCameraArmScale, 0.1);
  EXPECT_TRUE(Accepted(" 0.0101"));
  EXPECT_EQ(Copy().DefaultScale, 0.0101);
}

TEST_F(SetScale, NumbersOutsideTheOpenRangeOrNoNumberAreRefused) {
  // Only decimals are read: "0x1p-1" (one half in hexadecimal) reads as 0.
  for (const char* arguments :
       {" abc", " 10", " 0.01", " nan", " 0", " -1", " inf", " -0.5", " 10.0001", " 1e1", " 0,5",
        " 0x1p-1", " 0X.8", " Infinity", " rex 0x1p-1", " rex nan"})
    EXPECT_FALSE(Accepted(arguments)) << arguments;
}

TEST_F(SetScale, WordsAreSeparatedBySpacesOnlyAndRunsOfThemCountAsOne) {
  EXPECT_TRUE(Accepted("     0.2   "));
  EXPECT_EQ(Copy().DefaultScale, 0.2);
  // Within a word the number reader skips a tab itself.
  EXPECT_TRUE(Accepted(" \t0.3"));
  EXPECT_EQ(Copy().DefaultScale, 0.3);
  // A tab does not separate: "hordesize.setscale\t0.4" is one word, so no number is given.
  const host::FString tabbed("hordesize.setscale\t0.4");
  EXPECT_FALSE(tinyhorde::ApplySetScaleCommand(&tabbed));
  const host::FString tabbed_creature("hordesize.setscale rex\t0.4");
  EXPECT_FALSE(tinyhorde::ApplySetScaleCommand(&tabbed_creature)) << "\"rex\t0.4\" reads as 0";
  EXPECT_EQ(Copy().DefaultScale, 0.3);
  EXPECT_EQ(Copy().CreatureScales.count("rex"), 0u);
}

// The game hands a line over as text that ends at its first zero: nothing after one counts.
TEST_F(SetScale, ALineEndsAtItsFirstZero) {
  using namespace std::string_literals;
  struct Case {
    std::u16string line;
    double default_scale;  // after the line
  };
  const Case cases[] = {
      {u"hordesize.setscale \0 0.5"s, 0.5},     // no number before the zero: refused
      {u"hordesize.setscale rex\0 0.4"s, 0.5},  // "rex" alone reads as 0: refused
      {u"hordesize.setscale 0.3\0 9"s, 0.3},    // the global form, not a creature named 0.3
  };
  const auto entries = Copy().CreatureScales.size();
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE("case " + std::to_string(i));
    simhost::ConsoleCommand handler;
    ASSERT_TRUE(Server().Commands().console.Find(cases[i].line, handler));
    sim::FString typed = sim::MakeGameString(cases[i].line);
    handler(nullptr, &typed, false);
    sim::ReleaseGameString(typed);
    EXPECT_EQ(Copy().DefaultScale, cases[i].default_scale);
    EXPECT_EQ(Copy().CreatureScales.size(), entries);
  }
}

TEST_F(SetScale, NoArgumentIsRefused) {
  EXPECT_FALSE(Accepted(""));
  EXPECT_FALSE(Accepted("    "));
}

TEST_F(SetScale, TheCreatureFormOverwritesOrAddsALoweredKey) {
  const auto count = Copy().CreatureScales.size();
  EXPECT_TRUE(Accepted(" Dreadnought 0.3"));
  EXPECT_EQ(Copy().CreatureScales.at("dreadnought"), 0.3);
  EXPECT_EQ(Copy().CreatureScales.size(), count);
  EXPECT_EQ(Copy().DefaultScale, 0.5) << "the global scale is not touched";
  EXPECT_TRUE(Accepted(" rex 0.5"));
  EXPECT_EQ(Copy().CreatureScales.at("rex"), 0.5);
  EXPECT_EQ(Copy().CreatureScales.size(), count + 1);
}

TEST_F(SetScale, WordsAfterTheCreatureNumberAreIgnored) {
  EXPECT_TRUE(Accepted(" dread 0.5 extra words"));
  EXPECT_EQ(Copy().CreatureScales.at("dread"), 0.5);
}

TEST_F(SetScale, AnOutOfRangeCreatureScaleAddsNoEntry) {
  EXPECT_FALSE(Accepted(" dread 12"));
  EXPECT_EQ(Copy().CreatureScales.count("dread"), 0u);
  EXPECT_FALSE(Accepted(" dread abc"));
  EXPECT_EQ(Copy().CreatureScales.count("dread"), 0u);
}

TEST_F(SetScale, AnAcceptedScaleResizesTheCreaturesAtOnce) {
  Spawn("Dreadnoughtus_Character_BP_C tamed 1");  // 2
  ASSERT_DOUBLE_EQ(Scale(2), 0.25);
  TakeLogLines();
  EXPECT_EQ(Replies("console 1 hordesize.setscale dreadnought 0.4"),
            Lines{Msg(1, kGreen, Resized(1))});
  EXPECT_EQ(TakeLogLines(), Lines{Resized(1)});
  EXPECT_DOUBLE_EQ(Scale(2), 0.4);
}

TEST_F(SetScale, ANewKeyMakesMatchingCreaturesTargetsAtOnce) {
  Spawn("Rex_Character_BP_C tamed 1");  // 2
  ASSERT_DOUBLE_EQ(Scale(2), 1.0);
  EXPECT_EQ(Replies("console 1 hordesize.setscale Rex 0.6"), Lines{Msg(1, kGreen, Resized(1))});
  EXPECT_DOUBLE_EQ(Scale(2), 0.6);
}

TEST_F(SetScale, TheOldNameAnswersWithTheSameUsageText) {
  EXPECT_EQ(Replies("console 1 bigfit.setscale 25"), Lines{Msg(1, kRed, kUsage)});
  EXPECT_EQ(Replies("rcon bigfit.setscale"), Lines{Rcon(1, std::string(kUsage) + "\n")});
  EXPECT_EQ(Replies("console 1 BigFit.SetScale 0.7"), Lines{Msg(1, kGreen, Resized(0))});
  EXPECT_EQ(Copy().DefaultScale, 0.7);
}

TEST_F(SetScale, ARefusalWithoutACallerSaysNothingAtAll) {
  EXPECT_EQ(Run("console - hordesize.setscale 25"), Lines{"ok"});
  EXPECT_EQ(TakeLogLines(), Lines{});
}

TEST_F(SetScale, AnAcceptanceWithoutACallerIsOnlyLogged) {
  EXPECT_EQ(Replies("console - hordesize.setscale 0.6"), Lines{});
  EXPECT_EQ(TakeLogLines(), Lines{Resized(0)});
  EXPECT_EQ(Copy().DefaultScale, 0.6);
}

TEST_F(SetScale, ANullLineIsRefused) {
  EXPECT_FALSE(tinyhorde::ApplySetScaleCommand(nullptr));
}

TEST_F(SetScale, OverRconEachRequestGetsOneReplyUnderItsId) {
  Spawn("Dreadnoughtus_Character_BP_C tamed 1");  // 2
  TakeLogLines();
  EXPECT_EQ(Replies("rcon hordesize.setscale 25"), Lines{Rcon(1, std::string(kUsage) + "\n")});
  EXPECT_EQ(Replies("rcon hordesize.setscale Dreadnought 0.3"), Lines{Rcon(2, Resized(1) + "\n")});
  EXPECT_DOUBLE_EQ(Scale(2), 0.3);
  EXPECT_EQ(Replies("rcon hordesize.setscale    0.45   "), Lines{Rcon(3, Resized(1) + "\n")});
  EXPECT_EQ(Copy().DefaultScale, 0.45);
  EXPECT_EQ(Replies("rcon hordesize.setscale"), Lines{Rcon(4, std::string(kUsage) + "\n")});
  EXPECT_EQ(TakeLogLines(), Lines{}) << "RCON commands write no log line of their own";
}

// A setscale whose name ExcludedBlueprints excludes stores its entry, resizes as always, and adds
// one line that says why no creature of that name changes: logged and sent on the console, sent
// over RCON. Ada's Gigantoraptor (2) stays at full size; her dreadnoughtus (3) is counted. An
// empty entry heads the list: it excludes nothing, so no note names it.
using Expected = std::function<Lines(const std::string& note)>;

struct ExcludedNameCase {
  const char* name;
  const char* line;
  const char* key;    // the entry stored
  bool world_down;    // the line runs while no world is up
  const char* entry;  // the excluding entry the note names, or null for no note
  Expected replies;
  Expected log;
};

void PrintTo(const ExcludedNameCase& c, std::ostream* os) {
  *os << c.name;
}

class ExcludedName : public SetScale, public ::testing::WithParamInterface<ExcludedNameCase> {};

TEST_P(ExcludedName, TheEntryIsStoredAndTheReplySaysWhyNothingChanged) {
  const auto& c = GetParam();
  Edit([](tinyhorde::Settings& s) {
    s.ExcludedBlueprints.insert(s.ExcludedBlueprints.begin(), "");
  });
  Spawn("Gigantoraptor_Character_BP_C tamed 1");  // 2
  Spawn("Dreadnoughtus_Character_BP_C tamed 1");  // 3
  TakeLogLines();
  if (c.world_down) Run("world down");
  const std::string note = c.entry == nullptr
                               ? ""
                               : std::string("[Tinyhorde] ExcludedBlueprints excludes ") + c.key +
                                     " (by its entry " + c.entry +
                                     "), so no creature of that name is resized.";
  EXPECT_EQ(Replies(c.line), c.replies(note));
  EXPECT_EQ(TakeLogLines(), c.log(note));
  EXPECT_EQ(Copy().CreatureScales.at(c.key), 0.5);
  if (c.world_down) Run("world up");
  EXPECT_DOUBLE_EQ(Scale(2), 1.0);
  EXPECT_DOUBLE_EQ(Scale(3), 0.25);
}

INSTANTIATE_TEST_SUITE_P(
    Channels, ExcludedName,
    ::testing::Values(
        ExcludedNameCase{"Console", "console 1 hordesize.setscale gigantoraptor 0.5",
                         "gigantoraptor", false, "Gigantoraptor",
                         [](const std::string& note) {
                           return Lines{Msg(1, kGreen, Resized(1)), Msg(1, kGreen, note)};
                         },
                         [](const std::string& note) {
                           return Lines{Resized(1), note};
                         }},
        ExcludedNameCase{"ServerConsoleAnyCase", "console - bigfit.setscale GIGANTORAPTOR_char 0.5",
                         "gigantoraptor_char", false, "Gigantoraptor",
                         [](const std::string&) { return Lines{}; },
                         [](const std::string& note) {
                           return Lines{Resized(1), note};
                         }},
        ExcludedNameCase{
            "Rcon", "rcon hordesize.setscale Gigantoraptor 0.5", "gigantoraptor", false,
            "Gigantoraptor",
            [](const std::string& note) { return Lines{Rcon(1, Resized(1) + "\n" + note + "\n")}; },
            [](const std::string&) { return Lines{}; }},
        ExcludedNameCase{"RconWithoutAWorld", "rcon hordesize.setscale gigantoraptor 0.5",
                         "gigantoraptor", true, "Gigantoraptor",
                         [](const std::string& note) {
                           return Lines{Rcon(1, std::string("World not loaded.\n") + note + "\n")};
                         },
                         [](const std::string&) { return Lines{}; }},
        ExcludedNameCase{"ServerConsoleWithoutAWorld",
                         "console - hordesize.setscale rhyniodrone_character 0.5",
                         "rhyniodrone_character", true, "RhynioDrone",
                         [](const std::string&) { return Lines{}; },
                         [](const std::string& note) { return Lines{note}; }},
        // "gigant" holds no excluding entry: it still reaches the Giganotosaurus.
        ExcludedNameCase{"APartOfAnExcludedNameGetsNoNote",
                         "console 1 hordesize.setscale gigant 0.5", "gigant", false, nullptr,
                         [](const std::string&) { return Lines{Msg(1, kGreen, Resized(1))}; },
                         [](const std::string&) { return Lines{Resized(1)}; }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
