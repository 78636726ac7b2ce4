// The commands as the host serves them from the real plugin library: every name answers, and
// nothing the plugin allocated is left once it is unloaded.
#include <gtest/gtest.h>

#include <string>

#include "commands_fixture.h"

namespace {

using namespace commandtest;

class FromTheLibrary : public simtest::SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    WriteFile(kConfigFile, R"({"DebugLog": false})");
    LoadPlugin();
    Run("player Ada admin");                            // 1
    Run("player Ben");                                  // 2
    Run("spawn Dreadnoughtus_Character_BP_C tamed 1");  // 3
    Run("spawn Titanosaur_Character_BP_C");             // 4, wild
    Run("spawn Rex_Character_BP_C tamed 1");            // 5
    TakeLogLines();
  }
  Lines Replies(const std::string& line) {
    if (IsChatLine(line)) Run("wait 1");
    Lines replies;
    for (auto& printed : Run(line))
      if (printed.rfind("msg ", 0) == 0 || printed.rfind("rcon ", 0) == 0)
        replies.push_back(printed);
      else if (printed.rfind("error", 0) == 0)
        ADD_FAILURE() << line << ": " << printed;
    EXPECT_EQ(LiveBlocks(), 0u) << line;
    return replies;
  }
};

TEST_F(FromTheLibrary, EveryNameAnswersAsItsHordesizeTwin) {
  const std::string summary =
      "[Tinyhorde] Config reloaded (25 creature scales configured, OnlyTamed=true).";
  for (const std::string prefix : {"hordesize.", "bigfit."}) {
    EXPECT_EQ(Replies("console 1 " + prefix + "resizeall"), Lines{Msg(1, kGreen, Resized(1))});
    EXPECT_EQ(Replies("console 1 " + prefix + "setscale 25"), Lines{Msg(1, kRed, kUsage)});
    EXPECT_EQ(Replies("console 1 " + prefix + "setscale 0.4"), Lines{Msg(1, kGreen, Resized(1))});
    EXPECT_EQ(Replies("console 1 " + prefix + "reload"), Lines{Msg(1, kGreen, summary)});
  }
  int id = 1;
  for (const std::string prefix : {"hordesize.", "bigfit."}) {
    EXPECT_EQ(Replies("rcon " + prefix + "resizeall"), Lines{Rcon(id++, Resized(1) + "\n")});
    EXPECT_EQ(Replies("rcon " + prefix + "setscale 25"),
              Lines{Rcon(id++, std::string(kUsage) + "\n")});
    EXPECT_EQ(Replies("rcon " + prefix + "setscale dreadnought 0.3"),
              Lines{Rcon(id++, Resized(1) + "\n")});
    EXPECT_EQ(Replies("rcon " + prefix + "reload"), Lines{Rcon(id++, summary + "\n")});
  }
  EXPECT_EQ(Replies("chat 2 /hordesize reload"), Lines{Msg(2, kRed, "Admin privileges required.")});
  EXPECT_EQ(Replies("chat 1 /hordesize reload"),
            Lines{Msg(1, kGreen, "[Tinyhorde] Config reloaded successfully.")});
  EXPECT_EQ(Replies("chat 1 /hordesize resizeall"), Lines{Msg(1, kGreen, Resized(1))});
}

TEST_F(FromTheLibrary, ScalesSetByCommandsReachTheCreaturesAndUnloadPutsThemBack) {
  Replies("rcon hordesize.setscale dreadnought 0.3");
  EXPECT_EQ(Run("expect creature.3.root_scale 0.3"), Lines{"ok"});
  EXPECT_EQ(Run("expect creature.4.root_scale 1"), Lines{"ok"});
  WriteFile(kConfigFile, R"({"DebugLog": false, "OnlyTamed": false})");
  Replies("console 1 hordesize.reload");
  EXPECT_EQ(Replies("console 1 hordesize.resizeall"), Lines{Msg(1, kGreen, Resized(2))});
  EXPECT_EQ(Run("expect creature.4.root_scale 0.28"), Lines{"ok"});
  EXPECT_EQ(Run("expect creature.5.root_scale 1"), Lines{"ok"});
  UnloadPlugin();
  EXPECT_EQ(Run("expect creature.3.root_scale 1"), Lines{"ok"});
  EXPECT_EQ(Run("expect creature.4.root_scale 1"), Lines{"ok"});
  EXPECT_EQ(LiveBlocks(), 0u);
  EXPECT_EQ(Server().Memory().BadFrees(), 0u);
}

TEST_F(FromTheLibrary, AfterUnloadTheCommandsAreGone) {
  UnloadPlugin();
  EXPECT_EQ(Run("rcon hordesize.resizeall"),
            (Lines{Rcon(1, "Server received, But no response!! \n"), "ok"}));
  EXPECT_EQ(LiveBlocks(), 0u);
}

}  // namespace
