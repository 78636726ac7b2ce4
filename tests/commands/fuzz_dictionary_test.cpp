// The fuzz dictionaries' entries made from the plugin's tables (fuzz/support/table_dictionary.h):
// each reads back as a name of the tables in its input's encoding, and libFuzzer's -dict is
// pointed at a file that keeps the hand-written entries and adds these.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "commands/command_table.h"
#include "config/setting_descriptions.h"
#include "support/table_dictionary.h"

namespace {

using fuzzsupport::FuzzInput;
using fuzzsupport::TableDictionaryEntries;

// An entry's bytes: its quotes dropped, each \xNN read as that byte.
std::string Bytes(const std::string& entry) {
  std::string bytes;
  for (std::size_t i = 1; i + 1 < entry.size(); ++i) {
    if (entry[i] == '\\' && entry[i + 1] == 'x') {
      bytes += static_cast<char>(std::stoi(entry.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      bytes += entry[i];
    }
  }
  return bytes;
}

// Little-endian UTF-16 of ASCII back to ASCII; a byte that breaks the pattern fails the test.
std::string FromUtf16(const std::string& bytes) {
  std::string text;
  EXPECT_EQ(bytes.size() % 2, 0u) << bytes;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    EXPECT_EQ(bytes[i + 1], '\0') << bytes;
    text += bytes[i];
  }
  return text;
}

std::vector<std::string> Decoded(FuzzInput input) {
  std::vector<std::string> texts;
  for (const std::string& entry : TableDictionaryEntries(input)) {
    EXPECT_TRUE(entry.size() >= 2 && entry.front() == '"' && entry.back() == '"') << entry;
    texts.push_back(input == FuzzInput::kConfigFile ? Bytes(entry) : FromUtf16(Bytes(entry)));
  }
  return texts;
}

bool Holds(const std::vector<std::string>& texts, const std::string& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(FuzzDictionaries, HoldEveryNameOfTheTablesInTheirInputsEncoding) {
  const std::vector<std::string> console = Decoded(FuzzInput::kConsoleLine);
  const std::vector<std::string> chat = Decoded(FuzzInput::kChatLine);
  const std::vector<std::string> config = Decoded(FuzzInput::kConfigFile);
  for (const tinyhorde::CommandRow& row : tinyhorde::CommandTable()) {
    for (const char* prefix : tinyhorde::kCommandPrefixes)
      EXPECT_TRUE(Holds(console, tinyhorde::CommandName(prefix, row))) << prefix << row.word;
    EXPECT_EQ(Holds(chat, row.word), row.chat != nullptr) << row.word;
  }
  EXPECT_TRUE(Holds(chat, tinyhorde::kChatCommand));
  for (const tinyhorde::SettingDescription& description : tinyhorde::SettingDescriptions())
    for (const char* name : {description.key, description.olderKey})
      if (name != nullptr) {
        EXPECT_TRUE(Holds(config, std::string("\"") + name + "\"")) << name;
      }
  for (const char* bound : {"0.01", "10"}) {
    EXPECT_TRUE(Holds(console, bound)) << bound;
    EXPECT_TRUE(Holds(config, bound)) << bound;
  }
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// With a -dict given, the flag is replaced and its entries come first; without, one is added.
TEST(FuzzDictionaries, TheDictFlagPointsAtTheHandWrittenEntriesAndTheTables) {
  const std::filesystem::path given =
      std::filesystem::temp_directory_path() / ("hand-" + std::to_string(getpid()) + ".dict");
  std::ofstream(given) << "\"true\"";
  const std::string dict_flag = "-dict=" + given.string();
  std::string program = "fuzzer", runs = "-runs=1", corpus = "corpus";
  char* arguments[] = {program.data(), runs.data(), const_cast<char*>(dict_flag.c_str()),
                       corpus.data(), nullptr};
  int argc = 4;
  char** argv = arguments;
  fuzzsupport::AddTableDictionary(&argc, &argv, FuzzInput::kConfigFile, "probe_fuzz");
  ASSERT_EQ(argc, 4);
  EXPECT_EQ(std::string(argv[1]), "-runs=1");
  EXPECT_EQ(std::string(argv[3]), "corpus");
  const std::string flag = argv[2];
  ASSERT_EQ(flag.rfind("-dict=", 0), 0u) << flag;
  const std::filesystem::path made = flag.substr(6);
  EXPECT_NE(made, given);
  const std::string text = ReadFile(made);
  EXPECT_EQ(text.rfind("\"true\"\n", 0), 0u) << text;
  EXPECT_NE(text.find("\"\\x22OnlyTamed\\x22\"\n"), std::string::npos) << text;
  std::filesystem::remove(given);
  std::filesystem::remove(made);
}

}  // namespace
