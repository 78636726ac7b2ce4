// The host's one-shot timers on a virtual clock. Time moves only when the server is told to
// wait; due timers then fire in order of their due time, and in the order they were set for
// equal times. A timer set while others fire, and due within the wait, fires in the same wait.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sim {

class Timers {
 public:
  struct Timer {
    double due;
    std::uint64_t sequence;
    std::function<void()> callback;
    std::u16string identifier;
    std::u16string module;
  };

  void Add(const std::function<void()>& callback, int delay_seconds,
           const std::u16string& identifier, const std::u16string& module);
  // Advances the clock by seconds, running every timer that falls due. A callback that throws is
  // reported through on_error ("timer <identifier>: <what>"); if on_error returns, the others
  // still run.
  void Advance(double seconds, const std::function<void(const std::string&)>& on_error);
  // Drops the pending timers of one module; answers how many.
  std::size_t DropModule(const std::u16string& module);

  double Now() const { return now_; }
  const std::vector<Timer>& Pending() const { return pending_; }

 private:
  double now_ = 0;
  std::uint64_t next_sequence_ = 0;
  std::vector<Timer> pending_;
};

}  // namespace sim
