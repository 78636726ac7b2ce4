// Applying a creature's scale again a little later, through the host's timer. The pending
// application holds a weak reference to the creature and a copy of the label; when it fires and
// the creature still exists (and the plugin is still loaded), ApplyCreatureScale runs with force.
#pragma once

#include <cstdint>
#include <functional>

#include "host/types.h"

namespace tinyhorde {

// Timers are named "Tinyhorde_Timer_<n>" with n from this serial (the first is 1). A null
// creature schedules nothing and leaves the serial as it is; a null label becomes "Delayed".
void ScheduleDelayedResize(host::APrimalDinoCharacter* creature, const char* label, int seconds);
// For tests only: the serial of the last timer named.
std::uint64_t TimerSerialForTests();

// What a timer does when it fires: applies the scale, with force, to the creature weak refers to
// if it still exists and the plugin is still loaded (the host may run a timer after unload).
// Nothing is thrown; a failure is reported as the delayed resize's. Answers what became of it.
enum class DelayedResizeOutcome {
  kApplied,     // the creature got its scale
  kGone,        // the creature no longer exists
  kNotApplied,  // it no longer qualifies, the plugin is unloaded, or the application failed
};
DelayedResizeOutcome ApplyDelayedResize(const host::FWeakObjectPtr& weak, const char* label);

// Hands callback to the host's timer under the next "Tinyhorde_Timer_<n>" name, to run about
// seconds from now on the game thread.
void ScheduleNamedTimer(const std::function<void()>& callback, int seconds);

}  // namespace tinyhorde
