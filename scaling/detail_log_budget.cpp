#include "scaling/detail_log_budget.h"

#include <algorithm>

#include <fmt/format.h>

#include "base/contained.h"
#include "base/logger.h"
#include "base/plugin_active.h"
#include "config/plugin_settings.h"
#include "host/services.h"
#include "scaling/delayed_resize.h"

namespace tinyhorde {

namespace {

// A window whose timer has not closed it this long after it was due lost its timer.
constexpr double kLostTimerSeconds = 1;

struct Budget {
  double creatures = kDetailBudgetCreatures;  // room left, in creatures
  double counted_at = 0;                      // clock reading the room was last brought up to
  bool clock_read = false;
  std::uint64_t held_creatures = 0;
  std::uint64_t held_lines = 0;
  bool window_open = false;
  double window_due = 0;
  // Moves on whenever a window closes, so that the timer of a closed window does nothing.
  std::uint64_t window = 0;
};
Budget budget;

void Refill(double now) {
  if (budget.clock_read && now > budget.counted_at)
    budget.creatures =
        std::min(kDetailBudgetCreatures,
                 budget.creatures + (now - budget.counted_at) / kDetailRefillSeconds);
  // A clock that went back (a new server) restarts the count from its reading.
  budget.counted_at = now;
  budget.clock_read = true;
}

void CloseWindowByTimer(std::uint64_t window) {
  if (!PluginIsActive() || window != budget.window) return;
  Contained("DebugLog count", [] { WriteHeldBackCount(); });
}

void OpenWindow(double now) {
  const std::uint64_t window = ++budget.window;
  budget.window_open = true;
  budget.window_due = now + kDetailWindowSeconds;
  try {
    ScheduleNamedTimer([window] { CloseWindowByTimer(window); }, kDetailWindowSeconds);
  } catch (...) {
    // Without a timer the next held-back creature tries again; shut-down writes the count.
    budget.window_open = false;
  }
}

}  // namespace

DetailLines TakeDetailLines() {
  if (!DebugLogSetting() || !HasLogger()) return DetailLines::kOff;
  const double now = host::TimerClockSeconds();
  Refill(now);
  if (budget.creatures >= 1) {
    budget.creatures -= 1;
    return DetailLines::kWrite;
  }
  if (budget.window_open && now >= budget.window_due + kLostTimerSeconds) WriteHeldBackCount();
  ++budget.held_creatures;
  if (!budget.window_open) OpenWindow(now);
  return DetailLines::kHoldBack;
}

void CountHeldBackLines(std::size_t lines) {
  budget.held_lines += lines;
}

void WriteHeldBackCount() {
  budget.window_open = false;
  ++budget.window;
  if (budget.held_creatures == 0 && budget.held_lines == 0) return;
  const std::uint64_t creatures = budget.held_creatures;
  const std::uint64_t lines = budget.held_lines;
  budget.held_creatures = 0;
  budget.held_lines = 0;
  LogInfo(HeldBackText(creatures, lines));
}

void StartDetailLineBudget() {
  WriteHeldBackCount();
  budget.creatures = kDetailBudgetCreatures;
  budget.clock_read = false;
}

std::string HeldBackText(std::uint64_t creatures, std::uint64_t lines) {
  return fmt::format(
      "[Tinyhorde] DebugLog held back the lines of {} creature(s) ({} line(s)) to keep the log "
      "small: it writes those of {} creatures at once, then of one creature every {} s.",
      creatures, lines, static_cast<int>(kDetailBudgetCreatures),
      static_cast<int>(kDetailRefillSeconds));
}

}  // namespace tinyhorde
