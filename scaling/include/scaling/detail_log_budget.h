// The budget of DebugLog's per-creature detail lines ("Resized ... to Rex scale ...", "Restored
// ... to normal scale 1.0 ...", "Stored orig ...", "Scaled ... ->"), so that a save or a start
// over thousands of creatures cannot push the host's own lines out of its log files.
//
// The budget is a bucket of kDetailBudgetCreatures creatures, refilled at one creature every
// kDetailRefillSeconds on the host's timer clock (host::TimerClockSeconds). Each application or
// restore asks once, before it reads a class name or builds any text, and then writes all of its
// lines or holds all of them back. Held-back creatures and lines are counted; the counts are
// written in one line when the window they fell in closes: kDetailWindowSeconds after the first
// held-back creature, by one host timer, or earlier at shut-down. Lines of every other kind never
// pass through here, and a line that is written is flushed as every other.
//
// Game thread only. Nothing here throws except TakeDetailLines when the host's clock cannot be
// read; the timer that closes a window is asked for once, and a window whose timer the host
// dropped is closed by the next held-back creature.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tinyhorde {

inline constexpr double kDetailBudgetCreatures = 10;
inline constexpr double kDetailRefillSeconds = 5;
inline constexpr int kDetailWindowSeconds = 30;

// What one creature does with its detail lines.
enum class DetailLines {
  kOff,       // DebugLog is off, or there is no logger: nothing is written or counted
  kWrite,     // the budget held the creature: every line is written
  kHoldBack,  // the budget is spent: no line is built, each is counted instead
};

// Decides for one creature, taking it from the budget when there is room; kHoldBack counts the
// creature and opens a window when none is open.
DetailLines TakeDetailLines();
// Adds to the lines held back in the open window (a creature told kHoldBack counts its own).
// Inline: a save counts for thousands of creatures.
namespace detail_budget {
extern std::uint64_t held_lines;
}
inline void CountHeldBackLines(std::size_t lines) {
  detail_budget::held_lines += lines;
}

// Marks a stretch of plugin code that runs at one instant of game time (a walk over the world, a
// save's restores, a batch of re-applications): while one lives, TakeDetailLines reads neither
// DebugLog nor the host's clock again but uses what this read when it was made. Nested ones share
// the outermost's reading. Never throws: a clock that cannot be read leaves the stretch without
// detail lines.
class DetailLinesInstant {
 public:
  DetailLinesInstant() noexcept;
  ~DetailLinesInstant();
  DetailLinesInstant(const DetailLinesInstant&) = delete;
  DetailLinesInstant& operator=(const DetailLinesInstant&) = delete;
};

// Writes the count line when anything was held back since the last one and closes the window;
// otherwise does nothing. Shut-down calls it before its last line.
void WriteHeldBackCount();
// Start-up: a count still pending is written, then the bucket is full and no window is open.
void StartDetailLineBudget();

// "[Tinyhorde] DebugLog held back the lines of <creatures> creature(s) (<lines> line(s)) ..."
std::string HeldBackText(std::uint64_t creatures, std::uint64_t lines);

}  // namespace tinyhorde
