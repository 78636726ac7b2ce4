#include "scaling/delayed_resize.h"

#include <array>
#include <atomic>
#include <charconv>
#include <string>

#include "base/contained.h"
#include "base/game_names_check.h"
#include "base/plugin_active.h"
#include "host/game.h"
#include "host/services.h"
#include "scaling/scale_application.h"
#include "scaling/weak_reference.h"

namespace tinyhorde {

namespace {

std::atomic<std::uint64_t> timer_serial{0};

constexpr char kTimerPrefix[] = "Tinyhorde_Timer_";
// The prefix, up to 20 digits and the terminator.
using TimerNameText = std::array<host::TCHAR, sizeof(kTimerPrefix) + 20>;

// "Tinyhorde_Timer_<serial>" as the game's text, built without the heap.
TimerNameText TimerName(std::uint64_t serial) {
  TimerNameText text{};
  std::size_t at = 0;
  for (const char* c = kTimerPrefix; *c != 0; ++c) text[at++] = static_cast<host::TCHAR>(*c);
  char digits[20];
  const auto end = std::to_chars(digits, digits + sizeof digits, serial).ptr;
  for (const char* c = digits; c != end; ++c) text[at++] = static_cast<host::TCHAR>(*c);
  text[at] = 0;
  return text;
}

}  // namespace

std::uint64_t TimerSerialForTests() {
  return timer_serial.load();
}

DelayedResizeOutcome ApplyDelayedResize(const host::FWeakObjectPtr& weak, const char* label) {
  if (!PluginIsActive()) return DelayedResizeOutcome::kNotApplied;
  DelayedResizeOutcome outcome = DelayedResizeOutcome::kNotApplied;
  Contained("Delayed resize", [&] {
    auto* object = ResolveWeakReference(weak);
    if (object == nullptr) {
      outcome = DelayedResizeOutcome::kGone;
      return;
    }
    if (ApplyCreatureScale(reinterpret_cast<host::APrimalDinoCharacter*>(object), label,
                           ApplyMode::kForce))
      outcome = DelayedResizeOutcome::kApplied;
  });
  return outcome;
}

void ScheduleNamedTimer(const std::function<void()>& callback, int seconds) {
  const std::uint64_t serial = timer_serial.fetch_add(1) + 1;
  const host::FString name(TimerName(serial).data());
  host::DelayExecute(callback, seconds, name);
}

void ScheduleDelayedResize(host::APrimalDinoCharacter* creature, const char* label, int seconds) {
  // Without the names the passes need, a creature waits for its next trigger.
  if (creature == nullptr || !FeatureOn(host::feature::kDelayedPasses)) return;
  const host::FWeakObjectPtr weak = MakeWeakReference(creature);
  std::string text = label != nullptr ? label : "Delayed";
  ScheduleNamedTimer([weak, text]() { ApplyDelayedResize(weak, text.c_str()); }, seconds);
}

}  // namespace tinyhorde
