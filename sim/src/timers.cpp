#include "sim/timers.h"

#include <exception>
#include <utility>

#include "sim/memory.h"

namespace sim {

void Timers::Add(const std::function<void()>& callback, int delay_seconds,
                 const std::u16string& identifier, const std::u16string& module) {
  const double delay = delay_seconds < 0 ? 0 : delay_seconds;
  pending_.insert(Timer{now_ + delay, next_sequence_++, callback, identifier, module});
}

void Timers::Advance(double seconds, const std::function<void(const std::string&)>& on_error) {
  const double target = now_ + (seconds > 0 ? seconds : 0);
  // The first timer is taken out before its callback runs, so the callback may set or drop
  // timers freely; one it sets that is due by the target is found on a later turn.
  while (!pending_.empty() && pending_.begin()->due <= target) {
    Timer timer = std::move(pending_.extract(pending_.begin()).value());
    now_ = timer.due;
    try {
      timer.callback();
    } catch (const std::exception& error) {
      on_error("timer " + Utf16ToUtf8(timer.identifier) + ": " + error.what());
    } catch (...) {
      on_error("timer " + Utf16ToUtf8(timer.identifier) +
               ": an exception that is no std::exception");
    }
  }
  now_ = target;
}

std::size_t Timers::DropModule(const std::u16string& module) {
  // A copy: the name may be that of a pending timer (Pending().front().module), freed on erasing.
  const std::u16string name = module;
  return std::erase_if(pending_, [&](const Timer& timer) { return timer.module == name; });
}

}  // namespace sim
