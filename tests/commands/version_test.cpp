// "hordesize.version": the same version everywhere it is shown. The reply on the console, over
// RCON and in the chat (for every player), with and without a world, under its one name only; and
// the version it shows is the CMake project version and the Version of the PluginInfo.json the
// build puts beside the plugin library.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "commands/version_command.h"
#include "commands_fixture.h"

namespace {

using namespace commandtest;

const std::string kVersionReply =
    std::string("[Tinyhorde] Tinyhorde ") + TINYHORDE_PROJECT_VERSION + ".";

class Version : public CommandsTest, public testing::WithParamInterface<bool> {};

TEST_P(Version, AnswersEveryChannelAndEveryPlayerAndChangesNothing) {
  const bool world = GetParam();
  Run("player Ada admin");  // 1
  Run("player Ben");        // 2
  Spawn("Dreadnoughtus_Character_BP_C tamed 1");
  Run("wait 5");
  const tinyhorde::Settings before = Copy();
  const double scale = Scale(3);
  if (!world) Run("world down");
  TakeLogLines();

  EXPECT_EQ(Replies("rcon hordesize.version"), Lines{Rcon(1, kVersionReply + "\n")});
  EXPECT_EQ(Replies("rcon HordeSize.VERSION"), Lines{Rcon(2, kVersionReply + "\n")});
  // Without a world no player is connected: a player's answer is dropped.
  const auto to = [&](int player) {
    return world ? Lines{Msg(player, kGreen, kVersionReply)} : Lines{};
  };
  EXPECT_EQ(Replies("console 1 hordesize.version"), to(1));
  EXPECT_EQ(Replies("console 2 hordesize.version"), to(2));
  if (world) {
    // In the chat, not only administrators: any case, any spaces, words after it ignored.
    EXPECT_EQ(Replies("chat 1 /hordesize version"), to(1));
    EXPECT_EQ(Replies("chat 2 /hordesize   VERSION please"), to(2));
  }
  EXPECT_EQ(TakeLogLines(), Lines{});
  // The server console has no player: the log shows the reply.
  EXPECT_EQ(Run("console - hordesize.version").back(), "ok");
  EXPECT_EQ(TakeLogLines(), Lines{kVersionReply});

  EXPECT_TRUE(Copy() == before);
  if (!world) Run("world up");
  EXPECT_DOUBLE_EQ(Scale(3), scale);
}

INSTANTIATE_TEST_SUITE_P(World, Version, testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Up" : "Down"; });

TEST_F(Version, HasNoOlderName) {
  EXPECT_EQ(Replies("rcon bigfit.version"),
            Lines{Rcon(1, "Server received, But no response!! \n")});
  EXPECT_EQ(TakeLogLines(), Lines{});
}

TEST(VersionText, IsTheProjectVersionAndPluginInfoJsonsVersion) {
  EXPECT_EQ(tinyhorde::VersionText(), kVersionReply);
  std::ifstream in(TINYHORDE_BUILT_PLUGIN_INFO);
  ASSERT_TRUE(in.is_open()) << TINYHORDE_BUILT_PLUGIN_INFO;
  const auto info = nlohmann::json::parse(in);
  // The host reads Version and MinApiVersion as numbers; Version shows as the project version.
  ASSERT_TRUE(info.at("Version").is_number()) << info.dump();
  ASSERT_TRUE(info.at("MinApiVersion").is_number()) << info.dump();
  EXPECT_EQ(info.at("Version").dump(), TINYHORDE_PROJECT_VERSION);
}

}  // namespace
