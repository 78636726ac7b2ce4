#include "support/table_dictionary.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include <fmt/format.h>

#include "commands/command_table.h"
#include "config/number_text.h"
#include "config/plugin_settings.h"
#include "config/setting_descriptions.h"

namespace fuzzsupport {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kDictFlag = "-dict=";

// A byte as a dictionary shows it: letters, digits and a few marks as they are, the rest \xNN.
std::string Escaped(unsigned char byte) {
  const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                     (byte >= '0' && byte <= '9') || byte == '.' || byte == '/' || byte == '_' ||
                     byte == '-' || byte == '+' || byte == ' ';
  return plain ? std::string(1, static_cast<char>(byte)) : fmt::format("\\x{:02X}", byte);
}

// text (ASCII) as little-endian UTF-16.
std::string Utf16Entry(std::string_view text) {
  std::string entry = "\"";
  for (const char c : text) entry += Escaped(static_cast<unsigned char>(c)) + "\\x00";
  return entry + "\"";
}

std::string Utf8Entry(std::string_view text) {
  std::string entry = "\"";
  for (const char c : text) entry += Escaped(static_cast<unsigned char>(c));
  return entry + "\"";
}

std::vector<std::string> BoundTexts() {
  return {tinyhorde::ShortestNumberText(tinyhorde::kMinScale),
          tinyhorde::ShortestNumberText(tinyhorde::kMaxScale)};
}

}  // namespace

std::vector<std::string> TableDictionaryEntries(FuzzInput input) {
  std::vector<std::string> entries;
  switch (input) {
    case FuzzInput::kConsoleLine:
      for (const tinyhorde::CommandRow& row : tinyhorde::CommandTable())
        for (const char* prefix : tinyhorde::kCommandPrefixes)
          entries.push_back(Utf16Entry(tinyhorde::CommandName(prefix, row)));
      for (const std::string& bound : BoundTexts()) entries.push_back(Utf16Entry(bound));
      break;
    case FuzzInput::kChatLine:
      entries.push_back(Utf16Entry(tinyhorde::kChatCommand));
      for (const tinyhorde::CommandRow& row : tinyhorde::CommandTable())
        if (row.chat != nullptr) entries.push_back(Utf16Entry(row.word));
      break;
    case FuzzInput::kConfigFile:
      for (const tinyhorde::SettingDescription& description : tinyhorde::SettingDescriptions())
        for (const char* name : {description.key, description.olderKey})
          if (name != nullptr) entries.push_back(Utf8Entry(std::string("\"") + name + "\""));
      for (const std::string& bound : BoundTexts()) entries.push_back(Utf8Entry(bound));
      break;
  }
  return entries;
}

void AddTableDictionary(int* argc, char*** argv, FuzzInput input, const char* target) {
  static std::vector<std::string> arguments;
  static std::vector<char*> pointers;
  std::string text;
  int dict_at = -1;
  for (int i = 0; i < *argc; ++i) {
    arguments.emplace_back((*argv)[i]);
    if (arguments.back().rfind(kDictFlag, 0) == 0) dict_at = i;
  }
  if (dict_at >= 0) {
    const std::string given = arguments[dict_at].substr(kDictFlag.size());
    std::ifstream in(given, std::ios::binary);
    std::stringstream read;
    read << in.rdbuf();
    if (!in) throw std::runtime_error("cannot read the dictionary " + given);
    text = read.str();
    if (!text.empty() && text.back() != '\n') text += '\n';
  }
  text += "# From the plugin's tables.\n";
  for (const std::string& entry : TableDictionaryEntries(input)) text += entry + "\n";
  const fs::path made =
      fs::temp_directory_path() / (std::string(target) + "-" + std::to_string(getpid()) + ".dict");
  std::ofstream out(made, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out) throw std::runtime_error("cannot write the dictionary " + made.string());
  const std::string flag = std::string(kDictFlag) + made.string();
  if (dict_at >= 0)
    arguments[dict_at] = flag;
  else
    arguments.push_back(flag);
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  *argc = static_cast<int>(arguments.size());
  *argv = pointers.data();
}

}  // namespace fuzzsupport
