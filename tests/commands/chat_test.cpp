// "/hordesize" in the chat: the banner for any other text, the chat words of the command table
// recognised as the second word in any case, each for whom its row's access allows, and nothing
// at all without a player.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/chat_command.h"
#include "commands/command_table.h"
#include "commands/console_commands.h"
#include "commands/rcon_commands.h"
#include "commands/reply.h"
#include "commands_fixture.h"
#include "plugin/lifecycle.h"

namespace {

using namespace commandtest;

constexpr const char* kBanner =
    "[Tinyhorde] Active. Tamed super-large creatures are scaled to Rex size. Cryopod & SCS "
    "compatible.";

class Chat : public CommandsTest {
 protected:
  void SetUp() override {
    CommandsTest::SetUp();
    Run("player Ada admin");                        // 1
    Run("player Ben");                              // 2
    Spawn("Dreadnoughtus_Character_BP_C tamed 1");  // 3
    Run("wait 3");  // its delayed re-applications are done before the chat's seconds pass
    TakeLogLines();
  }
};

TEST_F(Chat, AnythingButASubcommandShowsTheBannerToAnyone) {
  for (const char* text :
       {"/hordesize", "/hordesize help", "/hordesize setscale 0.5", "/hordesize reloadnow",
        "/hordesize resize", "/HordeSize", "/hordesize    "}) {
    EXPECT_EQ(Replies(std::string("chat 1 ") + text), Lines{Msg(1, kBlue, kBanner)}) << text;
    EXPECT_EQ(Replies(std::string("chat 2 ") + text), Lines{Msg(2, kBlue, kBanner)}) << text;
  }
  EXPECT_EQ(Copy().DefaultScale, 0.5);
  EXPECT_EQ(TakeLogLines(), Lines{});
}

TEST_F(Chat, TheSubcommandIsRecognisedInAnyCaseAndAfterSeveralSpaces) {
  const Lines no_config{Msg(1, kRed, kNoConfig)};
  EXPECT_EQ(Replies("chat 1 /hordesize RELOAD"), no_config);
  EXPECT_EQ(Replies("chat 1 /hordesize     reload"), no_config);
  EXPECT_EQ(Replies("chat 1 /hordesize reload now"), no_config) << "later words are ignored";
  TakeLogLines();
  EXPECT_EQ(Replies("chat 1 /hordesize ReSizeAll"), Lines{Msg(1, kGreen, Resized(1))});
  EXPECT_EQ(TakeLogLines(), Lines{Resized(1)}) << "the console command answers and logs";
}

TEST_F(Chat, APlayerWhoIsNoAdministratorMayNotResize) {
  Edit([](tinyhorde::Settings& s) { s.CreatureScales["dreadnought"] = 0.4; });
  EXPECT_EQ(Replies("chat 2 /hordesize resizeall"),
            Lines{Msg(2, kRed, "Admin privileges required.")});
  EXPECT_DOUBLE_EQ(Scale(3), 0.25);
  EXPECT_EQ(Replies("chat 1 /hordesize resizeall"), Lines{Msg(1, kGreen, Resized(1))});
  EXPECT_DOUBLE_EQ(Scale(3), 0.4);
}

// The admin flag is resolved with every other name at start-up: a host that does not know it
// ends the server there, not at the first administrator's command. Once resolved, the flag
// costs no look-up, and the banner needs no administrator.
TEST_F(Chat, TheAdminFlagIsResolvedAtStartUp) {
  EXPECT_EQ(Replies("chat 2 /hordesize help"), Lines{Msg(2, kBlue, kBanner)});
  EXPECT_EQ(TakeLogLines(), Lines{});
  const auto lookups = Server().Lookup().Lookups();
  EXPECT_EQ(Replies("chat 2 /hordesize resizeall"),
            Lines{Msg(2, kRed, "Admin privileges required.")});
  EXPECT_EQ(Server().Lookup().Lookups(), lookups);
  Run("host forget APrimalPlayerController.bIsAdmin");
  EXPECT_SERVER_ENDS(tinyhorde::ResolveGameNames(),
                     "Failed to get the bitfield address of 'APrimalPlayerController.bIsAdmin'.");
}

TEST_F(Chat, NoPlayerOrNoMessageOrATab) {
  TakeOutput();
  host::FString message("/hordesize reload");
  tinyhorde::OnChatCommand(nullptr, &message, 0, 0);
  EXPECT_EQ(TakeOutput(), Lines{});
  EXPECT_EQ(TakeLogLines(), Lines{});
  // A player with no message text at all sees the banner.
  auto* ada = reinterpret_cast<host::AShooterPlayerController*>(Game().PlayerById(1).controller);
  tinyhorde::OnChatCommand(ada, nullptr, 0, 0);
  EXPECT_EQ(TakeOutput(), Lines{Msg(1, kBlue, kBanner)});
  // A tab separates no words: "/hordesize\treload" is one word.
  host::FString tabbed("/hordesize\treload");
  tinyhorde::OnChatCommand(ada, &tabbed, 0, 0);
  EXPECT_EQ(TakeOutput(), Lines{Msg(1, kBlue, kBanner)});
  EXPECT_EQ(TakeLogLines(), Lines{});
}

// The access of a row is all that decides who may type its word: the same handler behind a row
// for everyone and one for administrators. No row of the table is for everyone yet.
void AnswerGreen(host::AShooterPlayerController* player) {
  tinyhorde::ReplyToPlayer(player, tinyhorde::kSuccessColour, "answered");
}

TEST_F(Chat, ARowsAccessDecidesWhoMayTypeItsWord) {
  using tinyhorde::ChatAccess;
  const tinyhorde::CommandRow rows[] = {
      {"open", &tinyhorde::OnConsoleResizeAll, &tinyhorde::OnRconResizeAll, &AnswerGreen,
       ChatAccess::kEveryone, false},
      {"closed", &tinyhorde::OnConsoleResizeAll, &tinyhorde::OnRconResizeAll, &AnswerGreen,
       ChatAccess::kAdministrators, false},
      {"silent", &tinyhorde::OnConsoleResizeAll, &tinyhorde::OnRconResizeAll, nullptr,
       ChatAccess::kEveryone, false},
  };
  auto* ada = reinterpret_cast<host::AShooterPlayerController*>(Game().PlayerById(1).controller);
  auto* ben = reinterpret_cast<host::AShooterPlayerController*>(Game().PlayerById(2).controller);
  struct Case {
    host::AShooterPlayerController* player;
    int id;
    const char* text;
    Lines answer;
  };
  const std::vector<Case> cases = {
      {ada, 1, "/hordesize open", Lines{Msg(1, kGreen, "answered")}},
      {ben, 2, "/hordesize OPEN", Lines{Msg(2, kGreen, "answered")}},
      {ada, 1, "/hordesize closed", Lines{Msg(1, kGreen, "answered")}},
      {ben, 2, "/hordesize closed", Lines{Msg(2, kRed, "Admin privileges required.")}},
      // A row without a chat word is no word of the chat, whatever its access.
      {ben, 2, "/hordesize silent", Lines{Msg(2, kBlue, kBanner)}},
      {ben, 2, "/hordesize status", Lines{Msg(2, kBlue, kBanner)}},
  };
  TakeOutput();
  for (const Case& c : cases) {
    const host::FString message(c.text);
    tinyhorde::RunChatCommand(rows, c.player, &message);
    EXPECT_EQ(TakeOutput(), c.answer) << c.id << " " << c.text;
  }
  EXPECT_EQ(TakeLogLines(), Lines{});
}

}  // namespace
