// DebugLog's budget for per-creature lines, with the plugin started in-process and creatures made
// without beginning play, so that the test alone decides when a creature is resized or restored
// and the virtual clock alone refills the budget. A creature met the first time writes nine
// lines (four "Stored orig", four "Scaled", its "Resized"); met again, five; a restore, five (four
// "Scaled", its "Restored").
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "hooks/flow_fixture.h"
#include "plugin/lifecycle.h"
#include "scaling/detail_log_budget.h"
#include "scaling/post_save_resize.h"
#include "scaling/scale_application.h"
#include "scaling/scale_restoration.h"

namespace {

using Lines = std::vector<std::string>;

constexpr int kFirstApplicationLines = 9;
constexpr int kRestoreLines = 5;

bool IsDetailLine(const std::string& line) {
  for (const char* start : {"[Tinyhorde] Resized ", "[Tinyhorde] Restored ",
                            "[Tinyhorde] Stored orig", "[Tinyhorde] Scaled "})
    if (line.rfind(start, 0) == 0) return line.find("creature(s)") == std::string::npos;
  return false;
}
bool IsCountLine(const std::string& line) {
  return line.rfind("[Tinyhorde] DebugLog held back", 0) == 0;
}

// The count line of a window.
std::string Count(int creatures, int lines) {
  return fmt::format(
      "[Tinyhorde] DebugLog held back the lines of {} creature(s) ({} line(s)) to keep the log "
      "small: it writes those of 10 creatures at once, then of one creature every 5 s.",
      creatures, lines);
}

class DebugLogBudget : public flowtest::FlowFixture {
 protected:
  void SetUp() override {
    FlowFixture::SetUp();
    Do("player Ada admin");
    StartInProcess();
    SetOnlyTamed(false);  // wild creatures qualify: nothing but the test shrinks them
    TakeLogLines();
  }

  int Make() { return Game().CreateCreature(Server().Classes().Species(kSpecies)); }
  host::APrimalDinoCharacter* HostDino(int id) {
    return reinterpret_cast<host::APrimalDinoCharacter*>(Dino(id));
  }
  // Resizes count new creatures at once; answers their ids.
  std::vector<int> Burst(int count) {
    std::vector<int> ids;
    for (int i = 0; i < count; ++i) {
      ids.push_back(Make());
      EXPECT_TRUE(tinyhorde::ApplyCreatureScale(HostDino(ids.back()), "Burst",
                                                tinyhorde::ApplyMode::kForce));
    }
    return ids;
  }
  // The log since the last call, split into the creatures whose lines were written (their
  // "Resized" and "Restored" lines), the detail lines and the count lines.
  struct Log {
    int creatures = 0;
    int detail = 0;
    Lines counts;
    Lines other;
  };
  Log Read() {
    Log log;
    for (const auto& line : TakeLogLines()) {
      if (IsDetailLine(line)) {
        ++log.detail;
        if (line.rfind("[Tinyhorde] Resized ", 0) == 0 ||
            line.rfind("[Tinyhorde] Restored ", 0) == 0)
          ++log.creatures;
      } else if (IsCountLine(line)) {
        log.counts.push_back(line);
      } else {
        log.other.push_back(line);
      }
    }
    return log;
  }
  void SetDebugLog(bool on) {
    {
      std::lock_guard<std::mutex> lock(tinyhorde::SettingsMutex);
      tinyhorde::PluginSettings.DebugLog = on;
    }
    tinyhorde::SettingsChanged();
  }

  static constexpr const char* kSpecies = "Dreadnoughtus_Character_BP_C";
};

// Bursts of new creatures with waits between them: how many have their lines written, and the
// count lines written by the window's timer (30 s after the first creature held back).
struct BurstCase {
  const char* name;
  struct Step {
    double wait;  // seconds before the burst
    int creatures;
    int written;  // creatures whose lines the burst writes
  };
  std::vector<Step> steps;
  Lines counts;  // written by the windows' timers, in order, until a window after the last burst
};
void PrintTo(const BurstCase& c, std::ostream* os) {
  *os << c.name;
}

class Bursts : public DebugLogBudget, public ::testing::WithParamInterface<BurstCase> {};

TEST_P(Bursts, WriteWhatTheBudgetHoldsAndCountTheRestWhenTheWindowCloses) {
  const BurstCase& c = GetParam();
  Lines counts;
  const auto collect = [&counts](const Log& log) {
    counts.insert(counts.end(), log.counts.begin(), log.counts.end());
  };
  double clock = 0;
  for (const auto& step : c.steps) {
    Run(fmt::format("wait {}", step.wait));
    clock += step.wait;
    // A window that closed during the wait said so then.
    collect(Read());
    Burst(step.creatures);
    const Log log = Read();
    EXPECT_EQ(log.creatures, step.written) << "at " << clock << " s";
    EXPECT_EQ(log.detail, step.written * kFirstApplicationLines) << "whole creatures only";
    EXPECT_EQ(log.counts, Lines{}) << "no count line before the window closes";
  }
  Run(fmt::format("wait {}", tinyhorde::kDetailWindowSeconds));
  const Log after = Read();
  EXPECT_EQ(after.creatures, 0);
  collect(after);
  EXPECT_EQ(counts, c.counts);
  EXPECT_TRUE(Server().Clock().Pending().empty()) << "every window closed";
  EXPECT_EQ(LiveBlocks(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    DebugLog, Bursts,
    ::testing::Values(
        BurstCase{"TenFitNothingHeldBack", {{0, 10, 10}}, {}},
        BurstCase{"TwelveAtOnce", {{0, 12, 10}}, {Count(2, 18)}},
        // 0.8 of a creature after 4 s: held back; 1.0 a second later: written.
        BurstCase{"RefillsOneCreatureEveryFiveSeconds",
                  {{0, 10, 10}, {4, 1, 0}, {1, 1, 1}, {0, 1, 0}, {5, 2, 1}},
                  {Count(3, 27)}},
        BurstCase{"FullAgainAfterFiftySecondsNeverMore",
                  {{0, 15, 10}, {100, 12, 10}},
                  {Count(5, 45), Count(2, 18)}},
        // Held back at 0 s and 4 s: one window, its line at 30 s; at 40 s a new window.
        BurstCase{"OneLineAWindow",
                  {{0, 11, 10}, {4, 1, 0}, {16, 4, 4}, {20, 6, 4}},
                  {Count(2, 18), Count(2, 18)}}),
    [](const auto& info) { return std::string(info.param.name); });

// One timer a window, started by its first held-back creature, and nothing said before it fires.
TEST_F(DebugLogBudget, EachWindowHasOneTimerAndItsOwnLine) {
  Burst(12);
  EXPECT_EQ(Server().Clock().Pending().size(), 1u) << "one timer for the window";
  Run("wait 10");
  Burst(3);  // two creatures' room by now: two written, one more held in the same window
  EXPECT_EQ(Server().Clock().Pending().size(), 1u);
  EXPECT_EQ(Read().creatures, 12);
  Run("wait 19.5");
  EXPECT_EQ(Read().counts, Lines{});
  Run("wait 0.5");
  EXPECT_EQ(Read().counts, Lines{Count(3, 27)});
  Run("wait 100");
  EXPECT_EQ(Read().counts, Lines{}) << "nothing held back: no line";
  Burst(11);
  Run("wait 30");
  EXPECT_EQ(Read().counts, Lines{Count(1, 9)});
}

// A restore's lines, an application's of a creature met before, and a resize-all's of creatures
// at their scale are counted as they would have been written; after the burst, the next creature
// the budget holds is written whole.
TEST_F(DebugLogBudget, RestoresAndRepeatsCountTheirOwnLinesAndTheNextCreatureIsWrittenWhole) {
  const std::vector<int> ids = Burst(10);
  Read();
  for (int id : ids) tinyhorde::RestoreNormalScaleAlways(HostDino(id));
  for (int id : ids)
    tinyhorde::ApplyCreatureScale(HostDino(id), "Again", tinyhorde::ApplyMode::kForce);
  // Each at its scale already: not written again, its lines counted as if it were.
  Do("console 1 hordesize.resizeall");
  EXPECT_EQ(Read().detail, 0);
  Run("wait 5");
  const int fresh = Burst(1).front();
  const Lines lines = TakeLogLines();
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kFirstApplicationLines));
  EXPECT_EQ(std::count_if(
                lines.begin(), lines.end(),
                [](const std::string& l) { return l.rfind("[Tinyhorde] Stored orig", 0) == 0; }),
            4);
  EXPECT_EQ(lines.back().rfind("[Tinyhorde] Resized Dreadnoughtus_Character_BP_C to Rex scale", 0),
            0u);
  EXPECT_DOUBLE_EQ(Root(fresh).X, 0.25);
  Run("wait 30");
  EXPECT_EQ(Read().counts, Lines{Count(30, 10 * kRestoreLines + 10 * 5 + 10 * 5)});
}

// What is held back is said before the unload's last line; a start after it, and a second start
// without an unload, begin with a full budget (what the first held back said first). OnlyTamed is
// on at each start, so that it finds no target among the wild creatures to shrink.
TEST_F(DebugLogBudget, UnloadSaysWhatWasHeldBackAndEveryStartBeginsFull) {
  Burst(13);
  Read();
  SetOnlyTamed(true);
  tinyhorde::UnloadPlugin();
  Lines lines = TakeLogLines();
  ASSERT_GE(lines.size(), 2u);
  // Three creatures held back, then the unload's thirteen restores.
  EXPECT_EQ(lines[lines.size() - 2], Count(3 + 13, 3 * 9 + 13 * kRestoreLines));
  EXPECT_EQ(lines.back(), "[Tinyhorde] Plugin unloaded.");
  EXPECT_TRUE(Server().Clock().Pending().empty());

  tinyhorde::InitializePlugin();
  SetOnlyTamed(false);
  Read();
  Burst(12);
  EXPECT_EQ(Read().creatures, 10) << "full again after the unload";
  SetOnlyTamed(true);
  tinyhorde::InitializePlugin();  // puts back the twelve first: held back too
  const Log restart = Read();
  EXPECT_EQ(restart.creatures, 0);
  EXPECT_EQ(restart.counts, Lines{Count(2 + 12, 2 * 9 + 12 * kRestoreLines)})
      << "said by the second start";
  SetOnlyTamed(false);
  Burst(10);
  EXPECT_EQ(Read().creatures, 10) << "full again after a second start";
  Run("wait 60");
  EXPECT_EQ(Read().counts, Lines{}) << "the first start's window timer says nothing";
}

// Lines of every other kind are written with the budget spent: a command's reply, a save's and a
// load's lines, a status, the count line itself.
TEST_F(DebugLogBudget, OtherLinesAreNeverHeldBack) {
  const std::vector<int> ids = Burst(10);
  Burst(1);
  Read();
  Do("console 1 hordesize.resizeall");
  Log log = Read();
  EXPECT_EQ(log.creatures, 0);
  EXPECT_NE(std::find(log.other.begin(), log.other.end(),
                      "[Tinyhorde] Resized 11 tamed super-large creature(s) to Rex scale."),
            log.other.end());
  Do("save");
  Do("wait 1");
  log = Read();
  EXPECT_EQ(log.creatures, 0);
  EXPECT_NE(std::find(log.other.begin(), log.other.end(), tinyhorde::WorldSaveText(11, 11, 0)),
            log.other.end());
  Do("console - hordesize.status");
  EXPECT_GE(Read().other.size(), 4u);
  SetOnlyTamed(true);  // none of the wild creatures is a target at the start below
  tinyhorde::UnloadPlugin();
  tinyhorde::InitializePlugin();
  log = Read();
  EXPECT_NE(std::find(log.other.begin(), log.other.end(),
                      "[Tinyhorde] Loaded into a running world: 0 creature(s) at their scale, 0 "
                      "restored to scale 1.0."),
            log.other.end());
}

// With DebugLog off nothing is written, counted or timed; switched on, the budget is whole.
TEST_F(DebugLogBudget, OffCountsNothing) {
  SetDebugLog(false);
  Burst(30);
  EXPECT_TRUE(Server().Clock().Pending().empty());
  SetDebugLog(true);
  Burst(10);
  EXPECT_EQ(Read().creatures, 10);
  EXPECT_TRUE(Server().Clock().Pending().empty()) << "nothing held back";
}

// A window whose timer the host dropped is closed by the next creature held back after it was
// due, with one line, and a new window opens with a timer of its own.
TEST_F(DebugLogBudget, AWindowThatLostItsTimerIsClosedByTheNextHeldBackCreature) {
  Burst(11);
  ASSERT_EQ(Server().Clock().Pending().size(), 1u);
  Server().Clock().DropModule(Server().Clock().Pending().front().module);
  Read();
  Run("wait 100");
  EXPECT_EQ(Read().counts, Lines{});
  Burst(11);
  EXPECT_EQ(Read().counts, Lines{Count(1, 9)});
  EXPECT_EQ(Server().Clock().Pending().size(), 1u);
  Run("wait 30");
  EXPECT_EQ(Read().counts, Lines{Count(1, 9)});
}

}  // namespace
