// Where LoadConfig looks for config.json, in which order, and what stops the search.
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "config/load_config.h"
#include "config_fixture.h"

namespace {

namespace fs = std::filesystem;
using configtest::ConfigFixture;
using configtest::CurrentSettings;
using configtest::ExpectSameSettings;
using configtest::kFirstRelativePlace;
using configtest::LoadedLine;
using configtest::NonDefaultSettings;
using configtest::StoreSettings;
using tinyhorde::ConfigCandidates;
using tinyhorde::ConfigLoadStatus;
using tinyhorde::Settings;

const std::vector<std::string> kRelativePlaces = {
    "ArkApi/Plugins/Tinyhorde/config.json",
    "AsaApi/Plugins/Tinyhorde/config.json",
    "ShooterGame/Binaries/Win64/ArkApi/Plugins/Tinyhorde/config.json",
    "ShooterGame/Binaries/Win64/AsaApi/Plugins/Tinyhorde/config.json",
    "ArkApi/Plugins/Giantfit/config.json",
    "AsaApi/Plugins/Giantfit/config.json",
};

const std::string kNotFoundLine =
    "[Tinyhorde] config.json not found, using default Rex-scaling values.";

std::string DelayConfig(int delay) {
  return "{\"ApplyDelaySeconds\": " + std::to_string(delay) + "}";
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Clears CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH from the calling thread's effective set, so
// that permission bits hold for this thread even when the tests run as root. Capabilities
// belong to a thread, so the rest of the process keeps them.
bool DropPermissionOverride() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
  if (syscall(SYS_capget, &header, data) != 0) return false;
  data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
  return syscall(SYS_capset, &header, data) == 0;
}

// Runs LoadConfig on a thread that permission bits apply to. Answers false, without loading,
// when that thread still gets no EACCES from probe (from open when openProbe, else from stat).
bool LoadWithoutOverride(const fs::path& probe, bool openProbe,
                         tinyhorde::ConfigLoadOutcome& outcome) {
  bool provoked = false;
  std::thread worker([&] {
    if (!DropPermissionOverride()) return;
    struct stat info {};
    errno = 0;
    const int result = openProbe ? ::open(probe.c_str(), O_RDONLY) : ::stat(probe.c_str(), &info);
    if (result >= 0 && openProbe) ::close(result);
    provoked = result < 0 && errno == EACCES;
    if (provoked) outcome = tinyhorde::LoadConfig();
  });
  worker.join();
  return provoked;
}

TEST_F(ConfigFixture, CandidatesArePluginFolderThenWorkingDirectoryPlaces) {
  const std::vector<fs::path> candidates = ConfigCandidates();
  ASSERT_EQ(candidates.size(), 7u);
  // In-process the plugin's library file is the test executable.
  EXPECT_EQ(candidates[0].filename(), "config.json");
  EXPECT_TRUE(fs::equivalent(candidates[0].parent_path(),
                             fs::read_symlink("/proc/self/exe").parent_path()));
  for (std::size_t i = 0; i < kRelativePlaces.size(); ++i) {
    EXPECT_EQ(candidates[i + 1], fs::path(kRelativePlaces[i])) << i;
  }
}

TEST_F(ConfigFixture, NoFileAnywhereWarnsAndKeepsTheSettings) {
  // The host's own config.json in the server's folder is not one of ours.
  WriteFile(fs::relative(Win64Dir() / "config.json", Root()), DelayConfig(9));
  StoreSettings(NonDefaultSettings());

  const auto outcome = Load();
  EXPECT_EQ(outcome.status, ConfigLoadStatus::NotFound);
  EXPECT_EQ(outcome.path, "");
  EXPECT_EQ(outcome.message, "");
  EXPECT_EQ(TakeLogLines(), std::vector<std::string>{kNotFoundLine});
  ExpectSameSettings(NonDefaultSettings(), CurrentSettings());
}

TEST_F(ConfigFixture, NoFileAnywhereKeepsTheDefaults) {
  EXPECT_EQ(Load().status, ConfigLoadStatus::NotFound);
  ExpectSameSettings(Settings{}, CurrentSettings());
}

// Files are added from the last place to the first; each new one, being earlier, must win.
TEST_F(ConfigFixture, EarlierPlaceWins) {
  for (std::size_t i = kRelativePlaces.size(); i-- > 0;) {
    const int delay = 10 + static_cast<int>(i);
    WriteFile(kRelativePlaces[i], DelayConfig(delay));
    const auto outcome = Load();
    EXPECT_EQ(outcome.status, ConfigLoadStatus::Loaded) << kRelativePlaces[i];
    EXPECT_EQ(outcome.path, kRelativePlaces[i]);
    EXPECT_EQ(CurrentSettings().ApplyDelaySeconds, delay);
    EXPECT_EQ(TakeLogLines(),
              std::vector<std::string>{LoadedLine(true, 25, delay, kRelativePlaces[i])});
  }
}

TEST_F(ConfigFixture, DirectoryNamedConfigJsonStopsTheSearch) {
  fs::create_directories(Root() / kFirstRelativePlace);
  WriteFile(kRelativePlaces[1], DelayConfig(8));
  StoreSettings(NonDefaultSettings());

  const auto outcome = Load();
  EXPECT_EQ(outcome.status, ConfigLoadStatus::CannotOpen);
  EXPECT_EQ(outcome.path, kFirstRelativePlace);
  EXPECT_EQ(outcome.message, "cannot open ArkApi/Plugins/Tinyhorde/config.json: is a directory");
  EXPECT_EQ(TakeLogLines(),
            std::vector<std::string>{"[Tinyhorde] Exception loading config: " + outcome.message});
  ExpectSameSettings(NonDefaultSettings(), CurrentSettings());
}

// A file where a folder of the path should be: the path cannot exist (ENOTDIR), so the place
// is merely absent.
TEST_F(ConfigFixture, FileInPlaceOfAFolderCountsAsAbsent) {
  WriteFile("ArkApi", "not a folder");
  WriteFile(kRelativePlaces[1], DelayConfig(8));
  const auto outcome = Load();
  EXPECT_EQ(outcome.status, ConfigLoadStatus::Loaded);
  EXPECT_EQ(outcome.path, kRelativePlaces[1]);
  EXPECT_EQ(CurrentSettings().ApplyDelaySeconds, 8);
}

TEST_F(ConfigFixture, DanglingLinkCountsAsAbsent) {
  fs::create_directories(Root() / "ArkApi/Plugins/Tinyhorde");
  fs::create_symlink(Root() / "nowhere.json", Root() / kFirstRelativePlace);
  WriteFile(kRelativePlaces[1], DelayConfig(8));
  const auto outcome = Load();
  EXPECT_EQ(outcome.status, ConfigLoadStatus::Loaded);
  EXPECT_EQ(outcome.path, kRelativePlaces[1]);
}

// A folder that cannot be searched is a failure, not an absence: the search stops there.
TEST_F(ConfigFixture, UnsearchableFolderStopsTheSearch) {
  WriteFile(kFirstRelativePlace, DelayConfig(7));
  WriteFile(kRelativePlaces[1], DelayConfig(8));
  StoreSettings(NonDefaultSettings());
  const fs::path folder = Root() / "ArkApi/Plugins/Tinyhorde";
  fs::permissions(folder, fs::perms::none);

  tinyhorde::ConfigLoadOutcome outcome{};
  const bool provoked = LoadWithoutOverride(folder / "config.json", false, outcome);
  fs::permissions(folder, fs::perms::owner_all);
  if (!provoked) GTEST_SKIP() << "cannot make a folder unsearchable for this process";

  EXPECT_EQ(outcome.status, ConfigLoadStatus::CannotOpen);
  EXPECT_EQ(outcome.path, kFirstRelativePlace);
  EXPECT_EQ(outcome.message,
            "cannot access ArkApi/Plugins/Tinyhorde/config.json: Permission denied");
  EXPECT_EQ(TakeLogLines(),
            std::vector<std::string>{"[Tinyhorde] Exception loading config: " + outcome.message});
  ExpectSameSettings(NonDefaultSettings(), CurrentSettings());
  EXPECT_TRUE(configtest::SettingsLockIsFree());
}

TEST_F(ConfigFixture, UnreadableFileCannotBeOpened) {
  WriteFile(kFirstRelativePlace, DelayConfig(7));
  WriteFile(kRelativePlaces[1], DelayConfig(8));
  StoreSettings(NonDefaultSettings());
  const fs::path file = Root() / kFirstRelativePlace;
  fs::permissions(file, fs::perms::none);

  tinyhorde::ConfigLoadOutcome outcome{};
  const bool provoked = LoadWithoutOverride(file, true, outcome);
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
  if (!provoked) GTEST_SKIP() << "cannot make a file unreadable for this process";

  EXPECT_EQ(outcome.status, ConfigLoadStatus::CannotOpen);
  EXPECT_EQ(outcome.path, kFirstRelativePlace);
  EXPECT_EQ(outcome.message, "cannot open ArkApi/Plugins/Tinyhorde/config.json: Permission denied");
  EXPECT_EQ(TakeLogLines(),
            std::vector<std::string>{"[Tinyhorde] Exception loading config: " + outcome.message});
  ExpectSameSettings(NonDefaultSettings(), CurrentSettings());
}

// Loaded as a plugin, the first candidate is beside the installed library; it beats the places
// below the working directory, and the host's config.json is never read.
TEST_F(ConfigFixture, PluginFolderComesFirst) {
  const fs::path ours = PluginDir() / "config.json";
  WriteFile(fs::relative(ours, Root()), DelayConfig(7));
  WriteFile(kFirstRelativePlace, DelayConfig(8));
  WriteFile(fs::relative(Win64Dir() / "config.json", Root()), DelayConfig(9));

  LoadPlugin();
  const std::vector<std::string> lines = TakeLogLines();
  UnloadPlugin();
  EXPECT_TRUE(Contains(lines, LoadedLine(true, 25, 7, ours.string())))
      << ::testing::PrintToString(lines);
}

TEST_F(ConfigFixture, PluginNeverReadsTheHostConfig) {
  WriteFile(fs::relative(Win64Dir() / "config.json", Root()), DelayConfig(9));

  LoadPlugin();
  const std::vector<std::string> lines = TakeLogLines();
  UnloadPlugin();
  EXPECT_TRUE(Contains(lines, kNotFoundLine)) << ::testing::PrintToString(lines);
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find("Config loaded from"), std::string::npos) << line;
  }
}

}  // namespace
