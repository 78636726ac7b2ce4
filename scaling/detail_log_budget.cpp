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

std::uint64_t detail_budget::held_lines = 0;

namespace {

// A window whose timer has not closed it this long after it was due lost its timer.
constexpr double kLostTimerSeconds = 1;

struct Budget {
  double creatures = kDetailBudgetCreatures;  // room left, in creatures
  double counted_at = 0;                      // clock reading the room was last brought up to
  bool clock_read = false;
  std::uint64_t held_creatures = 0;
  bool window_open = false;
  double window_due = 0;
  // Moves on whenever a window closes, so that the timer of a closed window does nothing.
  std::uint64_t window = 0;
  // Until then (from counted_at on) a creature is held back without more ado: there is no whole
  // creature of room, and the open window's timer is not overdue. 0 when nothing is known.
  double hold_until = 0;
};
Budget budget;

// The reading of the outermost DetailLinesInstant alive, if any.
struct Instant {
  int depth = 0;
  bool wanted = false;  // DebugLog on and a logger
  double now = 0;
};
Instant instant;

bool LinesWanted() {
  return DebugLogSetting() && HasLogger();
}

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

DetailLinesInstant::DetailLinesInstant() noexcept {
  if (instant.depth++ > 0) return;
  instant.wanted = false;
  try {
    if (LinesWanted()) {
      instant.now = host::TimerClockSeconds();
      instant.wanted = true;
    }
  } catch (...) {
  }
}

DetailLinesInstant::~DetailLinesInstant() {
  --instant.depth;
}

namespace {

[[gnu::noinline]] DetailLines Decide(double now) {
  Refill(now);
  budget.hold_until = 0;
  if (budget.creatures >= 1) {
    budget.creatures -= 1;
    return DetailLines::kWrite;
  }
  if (budget.window_open && now >= budget.window_due + kLostTimerSeconds) WriteHeldBackCount();
  ++budget.held_creatures;
  if (!budget.window_open) OpenWindow(now);
  if (budget.window_open)
    budget.hold_until = std::min(now + (1 - budget.creatures) * kDetailRefillSeconds,
                                 budget.window_due + kLostTimerSeconds);
  return DetailLines::kHoldBack;
}

}  // namespace

DetailLines TakeDetailLines() {
  double now;
  if (instant.depth > 0) {
    if (!instant.wanted) return DetailLines::kOff;
    now = instant.now;
  } else {
    if (!LinesWanted()) return DetailLines::kOff;
    now = host::TimerClockSeconds();
  }
  if (now < budget.hold_until && now >= budget.counted_at) {
    ++budget.held_creatures;
    return DetailLines::kHoldBack;
  }
  return Decide(now);
}

void WriteHeldBackCount() {
  budget.window_open = false;
  budget.hold_until = 0;
  ++budget.window;
  if (budget.held_creatures == 0 && detail_budget::held_lines == 0) return;
  const std::uint64_t creatures = budget.held_creatures;
  const std::uint64_t lines = detail_budget::held_lines;
  budget.held_creatures = 0;
  detail_budget::held_lines = 0;
  LogInfo(HeldBackText(creatures, lines));
}

void StartDetailLineBudget() {
  WriteHeldBackCount();
  budget.creatures = kDetailBudgetCreatures;
  budget.clock_read = false;
  budget.hold_until = 0;
}

std::string HeldBackText(std::uint64_t creatures, std::uint64_t lines) {
  return fmt::format(
      "[Tinyhorde] DebugLog held back the lines of {} creature(s) ({} line(s)) to keep the log "
      "small: it writes those of {} creatures at once, then of one creature every {} s.",
      creatures, lines, static_cast<int>(kDetailBudgetCreatures),
      static_cast<int>(kDetailRefillSeconds));
}

}  // namespace tinyhorde
