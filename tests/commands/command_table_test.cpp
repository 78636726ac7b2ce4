// The command table against every place that is made from it or must follow it: the host's
// registries after start-up (each row under every prefix, on the console and over RCON), the chat
// words, and the fuzz dictionaries, which must hold every name so that the fuzzers reach every
// handler. A row added to commands/command_table.cpp fails here until each place has it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "commands/command_table.h"
#include "commands_fixture.h"

namespace {

using namespace commandtest;
using tinyhorde::CommandName;
using tinyhorde::CommandPrefixes;
using tinyhorde::CommandRow;
using tinyhorde::CommandTable;

std::string ReadSourceFile(const std::string& relative) {
  std::ifstream in(std::string(TINYHORDE_SOURCE_DIR) + "/" + relative);
  EXPECT_TRUE(in.is_open()) << relative;
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// text as a libFuzzer dictionary entry of little-endian UTF-16: "h\x00o\x00...".
std::string Utf16DictionaryEntry(const std::string& text) {
  std::string entry = "\"";
  for (const char c : text) entry += std::string(1, c) + "\\x00";
  return entry + "\"";
}

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
    // The install-layout check reads the words from the source as lower-case letters.
    EXPECT_TRUE(!word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
      return c >= 'a' && c <= 'z';
    })) << word;
    EXPECT_NE(row.console, nullptr) << word;
    EXPECT_NE(row.rcon, nullptr) << word;
    EXPECT_EQ(std::count(words.begin(), words.end(), word), 0) << word;
    words.push_back(word);
  }
  EXPECT_EQ(words,
            (std::vector<std::string>{"resizeall", "setscale", "reload", "status", "version"}));
}

class CommandTableRegistration : public CommandsTest {};

TEST_F(CommandTableRegistration, EveryRowIsRegisteredUnderItsPrefixesAndNothingElse) {
  const std::vector<std::string> expected = EveryName();
  // Every row under both prefixes, but version, which never had an older name.
  EXPECT_EQ(expected.size(), 9u);
  EXPECT_EQ(std::count(expected.begin(), expected.end(), "bigfit.version"), 0);
  EXPECT_EQ(Narrow(Server().Commands().console.Names()), expected);
  EXPECT_EQ(Narrow(Server().Commands().rcon.Names()), expected);
  EXPECT_EQ(Narrow(Server().Commands().chat.Names()), std::vector<std::string>{"/hordesize"});
}

TEST_F(CommandTableRegistration, EveryChatWordButVersionIsForAdministratorsOnly) {
  Run("player Ada admin");  // 1
  Run("player Ben");        // 2
  int admin_words = 0;
  for (const CommandRow& row : CommandTable()) {
    if (row.chat == nullptr) continue;
    const std::string word = row.word;
    const bool for_everyone = word == "version";
    if (!for_everyone) ++admin_words;
    for (const int player : {1, 2}) {
      const Lines answer = Replies("chat " + std::to_string(player) + " /hordesize " + word);
      if (player == 2 && !for_everyone) {
        EXPECT_EQ(answer, Lines{Msg(2, kRed, "Admin privileges required.")}) << word;
        continue;
      }
      ASSERT_FALSE(answer.empty()) << word;
      EXPECT_EQ(answer[0].find("Admin privileges required."), std::string::npos) << word;
      EXPECT_EQ(answer[0].find("[Tinyhorde] Active."), std::string::npos) << word;
    }
  }
  EXPECT_EQ(admin_words, 3);
}

TEST(CommandTableFuzzDictionaries, HoldEveryCommandName) {
  const std::string setscale = ReadSourceFile("fuzz/dict/setscale_line_fuzz.dict");
  for (const std::string& name : EveryName())
    EXPECT_NE(setscale.find(Utf16DictionaryEntry(name)), std::string::npos)
        << "fuzz/dict/setscale_line_fuzz.dict lacks " << name;
}

TEST(CommandTableFuzzDictionaries, HoldTheChatCommandAndEveryChatWord) {
  const std::string chat = ReadSourceFile("fuzz/dict/chat_line_fuzz.dict");
  EXPECT_NE(chat.find(Utf16DictionaryEntry(tinyhorde::kChatCommand)), std::string::npos)
      << "fuzz/dict/chat_line_fuzz.dict lacks " << tinyhorde::kChatCommand;
  for (const CommandRow& row : CommandTable()) {
    if (row.chat == nullptr) continue;
    EXPECT_NE(chat.find(Utf16DictionaryEntry(row.word)), std::string::npos)
        << "fuzz/dict/chat_line_fuzz.dict lacks " << row.word;
  }
}

}  // namespace
