// hordesize.reload over the console and RCON, and "/hordesize reload" in the chat: the summary
// after a good file, and the failure text (never a success) when no file could be applied.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

#include "commands_fixture.h"

namespace {

using namespace commandtest;

// What the JSON reader says about text.
std::string ParseError(const std::string& text) {
  try {
    const auto parsed = nlohmann::json::parse(text);
    (void)parsed;
  } catch (const std::exception& error) {
    return error.what();
  }
  throw std::logic_error("valid JSON: " + text);
}

std::string NotReloaded(const std::string& reason) {
  return "[Tinyhorde] Config not reloaded: " + reason + "; keeping the current settings.";
}

class Reload : public CommandsTest {
 protected:
  void SetUp() override {
    CommandsTest::SetUp();
    Run("player Ada admin");  // 1
    Run("player Ben");        // 2
  }
  // Settings that a reload must keep when it fails.
  void ChangeSettings() {
    Edit([](tinyhorde::Settings& s) {
      s.OnlyTamed = false;
      s.CreatureScales["rex"] = 0.6;
    });
  }
  void ExpectSettingsKept() {
    EXPECT_FALSE(Copy().OnlyTamed);
    EXPECT_EQ(Copy().CreatureScales.at("rex"), 0.6);
  }
};

TEST_F(Reload, AGoodFileIsSummedUpInGreenAndLogged) {
  WriteFile(kConfigFile, R"({"OnlyTamed": false, "CreatureScales": {"Rex": 0.6}})");
  const std::string text =
      "[Tinyhorde] Config reloaded (26 creature scales configured, OnlyTamed=false).";
  EXPECT_EQ(Replies("console 1 hordesize.reload"), Lines{Msg(1, kGreen, text)});
  const Lines logs = TakeLogLines();
  ASSERT_EQ(logs.size(), 2u) << "the loader's line, then the command's";
  EXPECT_EQ(logs[1], text);
  EXPECT_EQ(Copy().CreatureScales.at("rex"), 0.6);
}

TEST_F(Reload, TheSummaryReadsTheSettingsAsTheyAreAfterTheLoad) {
  WriteFile(kConfigFile, "{}");
  EXPECT_EQ(Replies("rcon bigfit.reload"),
            Lines{Rcon(1,
                       "[Tinyhorde] Config reloaded (25 creature scales configured, "
                       "OnlyTamed=true).\n")});
  // Values set by a command survive a reload of a file that does not name them.
  Replies("console 1 hordesize.setscale bronto2 0.4");
  EXPECT_EQ(Replies("console - hordesize.reload"), Lines{});
  EXPECT_EQ(TakeLogLines().back(),
            "[Tinyhorde] Config reloaded (26 creature scales configured, OnlyTamed=true).");
}

TEST_F(Reload, NoFileIsAFailureForEveryCaller) {
  ChangeSettings();
  EXPECT_EQ(Replies("console 1 hordesize.reload"), Lines{Msg(1, kRed, kNoConfig)});
  EXPECT_EQ(
      TakeLogLines(),
      (Lines{"[Tinyhorde] config.json not found, using default Rex-scaling values.", kNoConfig}));
  EXPECT_EQ(Replies("rcon hordesize.reload"), Lines{Rcon(1, std::string(kNoConfig) + "\n")});
  EXPECT_EQ(Replies("chat 1 /hordesize reload"), Lines{Msg(1, kRed, kNoConfig)});
  ExpectSettingsKept();
}

TEST_F(Reload, ADirectoryNamedConfigJsonIsAFailure) {
  std::filesystem::create_directories(Root() / kConfigFile);
  ChangeSettings();
  const std::string text =
      NotReloaded(std::string("cannot open ") + kConfigFile + ": is a directory");
  EXPECT_EQ(Replies("console 1 hordesize.reload"), Lines{Msg(1, kRed, text)});
  EXPECT_EQ(TakeLogLines().back(), text);
  EXPECT_EQ(Replies("rcon hordesize.reload"), Lines{Rcon(1, text + "\n")});
  EXPECT_EQ(Replies("chat 1 /hordesize reload"), Lines{Msg(1, kRed, text)});
  ExpectSettingsKept();
}

TEST_F(Reload, BrokenJsonIsAFailureThatNamesTheReadersComplaint) {
  const std::string broken = R"({"OnlyTamed": true, "CreatureScales": {"rex": 0.9})";
  WriteFile(kConfigFile, broken);
  ChangeSettings();
  const std::string text = NotReloaded(ParseError(broken));
  EXPECT_EQ(Replies("console 1 hordesize.reload"), Lines{Msg(1, kRed, text)});
  EXPECT_EQ(TakeLogLines().back(), text);
  EXPECT_EQ(Replies("rcon hordesize.reload"), Lines{Rcon(1, text + "\n")});
  EXPECT_EQ(Replies("chat 1 /hordesize reload"), Lines{Msg(1, kRed, text)});
  ExpectSettingsKept();
}

TEST_F(Reload, OverRconNothingIsLoggedButTheLoadersOwnLines) {
  WriteFile(kConfigFile, "{}");
  Replies("rcon hordesize.reload");
  const Lines logs = TakeLogLines();
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_EQ(logs[0].rfind("[Tinyhorde] Config loaded from ", 0), 0u) << logs[0];
}

TEST_F(Reload, InTheChatAnAdministratorIsToldOfSuccessInGreen) {
  WriteFile(kConfigFile, R"({"OnlyTamed": false})");
  EXPECT_EQ(Replies("chat 1 /hordesize reload"),
            Lines{Msg(1, kGreen, "[Tinyhorde] Config reloaded successfully.")});
  EXPECT_FALSE(Copy().OnlyTamed);
}

TEST_F(Reload, InTheChatAPlayerWhoIsNoAdministratorIsRefusedAndTheFileIsNotRead) {
  WriteFile(kConfigFile, R"({"OnlyTamed": false})");
  EXPECT_EQ(Replies("chat 2 /hordesize reload"), Lines{Msg(2, kRed, "Admin privileges required.")});
  EXPECT_TRUE(Copy().OnlyTamed);
  EXPECT_EQ(TakeLogLines(), Lines{});
}

}  // namespace
