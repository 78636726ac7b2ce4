// A simulated server with the plugin's code started in-process, and helpers to read what the
// administration commands answer: the msg and rcon lines exactly as the server prints them.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "config/plugin_settings.h"
#include "support/sim_fixture.h"

namespace commandtest {

using Lines = std::vector<std::string>;

// The colours as the server prints them.
inline constexpr const char* kGreen = "0 1 0 1";
inline constexpr const char* kRed = "1 0 0 1";
inline constexpr const char* kBlue = "0.2 0.8 1 1";

inline constexpr const char* kUsage =
    "Usage: hordesize.setscale <float> OR hordesize.setscale <creature> <float>";
inline constexpr const char* kNoConfig =
    "[Tinyhorde] Config not reloaded: config.json not found; keeping the current settings.";
inline constexpr const char* kConfigFile =
    "ShooterGame/Binaries/Win64/ArkApi/Plugins/Tinyhorde/config.json";

// The game drops a player's chat line that comes less than a second of game time after their last
// accepted one. The tests' Replies let a second pass before each chat line, so that every one
// reaches the command.
inline bool IsChatLine(const std::string& line) {
  return line.rfind("chat ", 0) == 0;
}

inline std::string Resized(int count) {
  return fmt::format("[Tinyhorde] Resized {} tamed super-large creature(s) to Rex scale.", count);
}
inline std::string Msg(int player, const char* colour, const std::string& text) {
  return fmt::format("msg {} {} {}", player, colour, nlohmann::json(text).dump());
}
inline std::string Rcon(int id, const std::string& text) {
  return fmt::format("rcon {} {}", id, nlohmann::json(text).dump());
}

class CommandsTest : public simtest::SimFixture {
 protected:
  // Starts the plugin with DebugLog off, so that the log holds the commands' own lines only,
  // and forgets the start-up lines.
  void SetUp() override {
    SimFixture::SetUp();
    StartInProcess();
    Edit([](tinyhorde::Settings& s) { s.DebugLog = false; });
    TakeLogLines();
  }
  // Nothing the plugin allocated may be left once a test is done with it.
  void TearDown() override {
    EXPECT_EQ(LiveBlocks(), 0u);
    SimFixture::TearDown();
  }

  template <typename Change>
  void Edit(Change change) {
    {
      std::lock_guard<std::mutex> lock(tinyhorde::SettingsMutex);
      change(tinyhorde::PluginSettings);
    }
    tinyhorde::SettingsChanged();
  }
  tinyhorde::Settings Copy() {
    std::lock_guard<std::mutex> lock(tinyhorde::SettingsMutex);
    return tinyhorde::PluginSettings;
  }

  // The msg and rcon lines of one console line.
  Lines Replies(const std::string& line) {
    if (IsChatLine(line)) Run("wait 1");
    Lines replies;
    for (auto& printed : Run(line))
      if (printed.rfind("msg ", 0) == 0 || printed.rfind("rcon ", 0) == 0)
        replies.push_back(printed);
      else if (printed.rfind("error", 0) == 0)
        ADD_FAILURE() << line << ": " << printed;
    return replies;
  }

  double Scale(int creature) { return Game().RootScale(Game().CreatureObject(creature)).X; }
  void Spawn(const std::string& line) {
    ASSERT_EQ(Run("spawn " + line).back().rfind("ok creature", 0), 0u) << line;
  }
};

}  // namespace commandtest
