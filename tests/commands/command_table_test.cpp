// The command table against every place that is made from it or must follow it: the host's
// registries after start-up (each row under every prefix, on the console and over RCON), the chat
// words and who may type them. Every expectation is taken from the table: a row added to
// commands/command_table.cpp needs no edit here, and fails here, naming itself, until each place
// that must follow it has it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "commands/command_table.h"
#include "commands_fixture.h"

namespace {

using namespace commandtest;
using tinyhorde::ChatAccess;
using tinyhorde::CommandName;
using tinyhorde::CommandPrefixes;
using tinyhorde::CommandRow;
using tinyhorde::CommandTable;

std::vector<std::string> Narrow(const std::vector<std::u16string>& names) {
  std::vector<std::string> narrow;
  for (const std::u16string& name : names) narrow.emplace_back(name.begin(), name.end());
  return narrow;
}

std::vector<std::string> EveryName() {
  std::vector<std::string> names;
  for (const CommandRow& row : CommandTable())
    for (const char* prefix : CommandPrefixes(row)) names.push_back(CommandName(prefix, row));
  return names;
}

TEST(CommandTableRows, AreWholeAndDistinct) {
  std::vector<std::string> words;
  for (const CommandRow& row : CommandTable()) {
    const std::string word = row.word;
    // The names are typed on a console: lower-case ASCII letters only.
    EXPECT_TRUE(!word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
      return c >= 'a' && c <= 'z';
    })) << word;
    EXPECT_NE(row.console, nullptr) << word;
    EXPECT_NE(row.rcon, nullptr) << word;
    // An access without a chat word would promise what nobody can type.
    EXPECT_TRUE(row.chat != nullptr || row.access == ChatAccess::kAdministrators) << word;
    EXPECT_EQ(std::count(words.begin(), words.end(), word), 0) << word;
    words.push_back(word);
  }
  EXPECT_FALSE(words.empty());
}

class CommandTableRegistration : public CommandsTest {};

TEST_F(CommandTableRegistration, EveryRowIsRegisteredUnderItsPrefixesAndNothingElse) {
  const std::vector<std::string> expected = EveryName();
  EXPECT_EQ(Narrow(Server().Commands().console.Names()), expected);
  EXPECT_EQ(Narrow(Server().Commands().rcon.Names()), expected);
  EXPECT_EQ(Narrow(Server().Commands().chat.Names()), std::vector<std::string>{"/hordesize"});
}

// Each chat word answers an administrator, and a player who is none as its row's access says:
// with its own answer, or with the refusal. Neither sees the banner.
TEST_F(CommandTableRegistration, EveryChatWordAnswersWhomItsAccessAllows) {
  Run("player Ada admin");  // 1
  Run("player Ben");        // 2
  for (const CommandRow& row : CommandTable()) {
    if (row.chat == nullptr) continue;
    const std::string word = row.word;
    for (const int player : {1, 2}) {
      const bool allowed = player == 1 || row.access == ChatAccess::kEveryone;
      const Lines answer = Replies("chat " + std::to_string(player) + " /hordesize " + word);
      if (!allowed) {
        EXPECT_EQ(answer, Lines{Msg(player, kRed, "Admin privileges required.")}) << word;
        continue;
      }
      ASSERT_FALSE(answer.empty()) << word << " answers player " << player << " nothing";
      EXPECT_EQ(answer[0].find("Admin privileges required."), std::string::npos) << word;
      EXPECT_EQ(answer[0].find("[Tinyhorde] Active."), std::string::npos) << word;
    }
  }
}

}  // namespace
