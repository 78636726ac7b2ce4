// The host's fault injection: game functions that raise while set to fail, also when a plugin
// resolved them long before, and log sinks that throw on write.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <spdlog/logger.h>

#include "host/types.h"
#include "support/sim_fixture.h"

namespace {

using Lines = std::vector<std::string>;

class FaultInjection : public simtest::SimFixture {};

constexpr const char* kMalloc = "FMemory.Malloc(unsigned__int64,unsignedint)";

// The binding resolves the allocator once; failing it must not depend on a new look-up.
TEST_F(FaultInjection, AFunctionResolvedOnceFailsWhileSetToFailAndWorksAgainWhenHealed) {
  host::FMemory::Free(host::FMemory::Malloc(8));  // resolved now
  const auto lookups = Server().Lookup().Lookups();
  EXPECT_EQ(Run(std::string("host fail ") + kMalloc), Lines{"ok"});
  try {
    host::FMemory::Malloc(8);
    ADD_FAILURE() << "Malloc did not raise";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), std::string(kMalloc) + " failed");
  }
  EXPECT_EQ(LiveBlocks(), 0u) << "a failing call does nothing";
  EXPECT_EQ(Run(std::string("host heal ") + kMalloc), Lines{"ok"});
  void* block = host::FMemory::Malloc(8);
  EXPECT_NE(block, nullptr);
  host::FMemory::Free(block);
  EXPECT_EQ(Server().Lookup().Lookups(), lookups);
}

TEST_F(FaultInjection, OnlyFunctionsCalledByNameCanBeMadeToFail) {
  struct Row {
    const char* line;
    bool ok;
  };
  for (const Row& row : {Row{"host fail FMemory.Free(void*)", true},
                         Row{"host fail APrimalDinoCharacter.BeginPlay()", false},  // hookable
                         Row{"host fail AActor.RootComponent", false},              // a field
                         Row{"host fail No.Such()", false}}) {
    const Lines printed = Run(row.line);
    ASSERT_EQ(printed.size(), 1u) << row.line;
    EXPECT_EQ(printed[0] == "ok", row.ok) << row.line << ": " << printed[0];
  }
}

TEST_F(FaultInjection, FailingLogSinksThrowOnEveryWriteUntilHealed) {
  Lines errors;
  spdlog::logger logger("Test", Server().Logs().Sinks().begin(), Server().Logs().Sinks().end());
  logger.set_error_handler([&](const std::string& what) { errors.push_back(what); });
  TakeLogLines();
  EXPECT_EQ(Run("host fail-log"), Lines{"ok"});
  logger.info("lost");
  EXPECT_EQ(errors, Lines(Server().Logs().Sinks().size(), "the log cannot be written"));
  EXPECT_EQ(TakeLogLines(), Lines{});
  EXPECT_EQ(Run("host heal-log"), Lines{"ok"});
  logger.info("kept");
  EXPECT_EQ(TakeLogLines(), Lines{"kept"});
  EXPECT_EQ(errors.size(), Server().Logs().Sinks().size());
}

// The server's last line reaches the log file even while the log is set to fail.
TEST_F(FaultInjection, TheCriticalLineIsWrittenAndFlushedEvenWhileTheLogFails) {
  EXPECT_SERVER_ENDS(
      {
        Server().Faults().FailLog();
        Server().End("the end");
      },
      "the end");
  std::ifstream file(Server().Logs().File());
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("[API][critical] the end"), std::string::npos) << text;
}

}  // namespace
