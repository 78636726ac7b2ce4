// The fixture of the config tests that load files: a fresh simulated server (cwd = its root),
// with a helper that loads and checks that SettingsMutex was released.
#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "config/load_config.h"
#include "config_test_helpers.h"
#include "support/sim_fixture.h"

namespace configtest {

// The first place below the working directory, where most tests put their file.
inline constexpr const char* kFirstRelativePlace = "ArkApi/Plugins/Tinyhorde/config.json";

class ConfigFixture : public simtest::SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    // In-process the first candidate lies beside the test executable; a file there would win
    // every load of these tests.
    ASSERT_FALSE(std::filesystem::exists(tinyhorde::ConfigCandidates().front()))
        << tinyhorde::ConfigCandidates().front();
  }

  tinyhorde::ConfigLoadOutcome Load() {
    const tinyhorde::ConfigLoadOutcome outcome = tinyhorde::LoadConfig();
    EXPECT_TRUE(SettingsLockIsFree());
    return outcome;
  }

  // Writes text as the config file in the first place below the working directory and loads it.
  tinyhorde::ConfigLoadOutcome LoadText(const std::string& text) {
    WriteFile(kFirstRelativePlace, text);
    return Load();
  }
};

// The info line of a successful load from the first place below the working directory.
inline std::string LoadedLine(bool onlyTamed, std::size_t count, int delay,
                              const std::string& path = kFirstRelativePlace) {
  return "[Tinyhorde] Config loaded from " + path +
         ". OnlyTamed: " + (onlyTamed ? "true" : "false") +
         ", CreatureScales count: " + std::to_string(count) + ", Delay: " + std::to_string(delay) +
         "s";
}

}  // namespace configtest
