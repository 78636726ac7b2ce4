#include "sim/timers.h"

#include <algorithm>
#include <exception>

#include "sim/memory.h"

namespace sim {

void Timers::Add(const std::function<void()>& callback, int delay_seconds,
                 const std::u16string& identifier, const std::u16string& module) {
  const double delay = delay_seconds < 0 ? 0 : delay_seconds;
  pending_.push_back(Timer{now_ + delay, next_sequence_++, callback, identifier, module});
}

void Timers::Advance(double seconds, const std::function<void(const std::string&)>& on_error) {
  const double target = now_ + (seconds > 0 ? seconds : 0);
  for (;;) {
    auto next =
        std::min_element(pending_.begin(), pending_.end(), [](const auto& a, const auto& b) {
          return a.due != b.due ? a.due < b.due : a.sequence < b.sequence;
        });
    if (next == pending_.end() || next->due > target) break;
    Timer timer = std::move(*next);
    pending_.erase(next);
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
  const auto before = pending_.size();
  std::erase_if(pending_, [&](const Timer& timer) { return timer.module == module; });
  return before - pending_.size();
}

}  // namespace sim
