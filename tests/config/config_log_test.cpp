// The lines LoadConfig writes: their levels, their absence without a logger, and that they are
// written while the settings are still locked.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <spdlog/sinks/base_sink.h>

#include "base/logger.h"
#include "config/load_config.h"
#include "config_fixture.h"

namespace {

namespace fs = std::filesystem;
using configtest::ConfigFixture;
using configtest::CurrentSettings;
using configtest::kFirstRelativePlace;
using tinyhorde::ConfigLoadStatus;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Records, for each line written through it, whether SettingsMutex was held at the time.
class LockProbeSink : public spdlog::sinks::base_sink<std::mutex> {
 public:
  std::vector<bool> heldAtEachLine;

 protected:
  void sink_it_(const spdlog::details::log_msg&) override {
    heldAtEachLine.push_back(!configtest::SettingsLockIsFree());
  }
  void flush_() override {}
};

TEST_F(ConfigFixture, EachLineHasItsLevel) {
  tinyhorde::LoadConfig();
  LoadText(R"({"Scale": 0})");
  LoadText("{");
  const std::vector<std::string> lines = TakeFormattedLogLines();
  ASSERT_EQ(lines.size(), 4u) << ::testing::PrintToString(lines);
  EXPECT_TRUE(Contains(lines[0],
                       "[Tinyhorde][warning] [Tinyhorde] config.json not found, using default "
                       "Rex-scaling values."))
      << lines[0];
  EXPECT_TRUE(Contains(lines[1],
                       "[Tinyhorde][warning] [Tinyhorde] Ignoring Scale = 0: a scale must lie "
                       "between 0.01 and 10."))
      << lines[1];
  EXPECT_TRUE(Contains(lines[2], "[Tinyhorde][info] " + configtest::LoadedLine(true, 25, 1)))
      << lines[2];
  EXPECT_TRUE(Contains(lines[3], "[Tinyhorde][error] [Tinyhorde] Exception loading config: "))
      << lines[3];
}

TEST_F(ConfigFixture, WithoutLoggerTheLoadRunsSilently) {
  const std::shared_ptr<spdlog::logger> saved = tinyhorde::LoggerHandle();
  tinyhorde::LoggerHandle().reset();
  const auto loaded = LoadText(R"({"ApplyDelaySeconds": 6, "Scale": 0, "DefaultScale": 0.4})");
  const auto failed = LoadText("{,}");
  tinyhorde::LoggerHandle() = saved;

  EXPECT_EQ(loaded.status, ConfigLoadStatus::Loaded);
  EXPECT_EQ(failed.status, ConfigLoadStatus::Failed);
  EXPECT_FALSE(failed.message.empty());
  EXPECT_EQ(CurrentSettings().ApplyDelaySeconds, 6);
  EXPECT_EQ(CurrentSettings().DefaultScale, 0.4);
  EXPECT_TRUE(TakeLogLines().empty());
}

TEST_F(ConfigFixture, LinesAreWrittenUnderTheSettingsLock) {
  ASSERT_TRUE(tinyhorde::HasLogger());
  const auto probe = std::make_shared<LockProbeSink>();
  tinyhorde::LoggerHandle()->sinks().push_back(probe);

  EXPECT_EQ(Load().status, ConfigLoadStatus::NotFound);
  EXPECT_EQ(LoadText(R"({"Scale": -1})").status, ConfigLoadStatus::Loaded);
  EXPECT_EQ(LoadText("").status, ConfigLoadStatus::Failed);
  fs::remove(Root() / kFirstRelativePlace);
  fs::create_directories(Root() / kFirstRelativePlace);
  EXPECT_EQ(Load().status, ConfigLoadStatus::CannotOpen);

  tinyhorde::LoggerHandle()->sinks().pop_back();
  EXPECT_EQ(probe->heldAtEachLine, std::vector<bool>(5, true));
}

}  // namespace
