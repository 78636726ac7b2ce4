// The host's one-shot timers on a virtual clock. Time moves only when the server is told to
// wait; due timers then fire in order of their due time, and in the order they were set for
// equal times. A timer set while others fire, and due within the wait, fires in the same wait.
//
// Setting a timer and firing the next one cost O(log n) for n pending timers; dropping a
// module's timers looks at each pending one once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <set>
#include <string>

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

  // Due time, then the order set: the order timers fire in.
  struct FiringOrder {
    bool operator()(const Timer& a, const Timer& b) const {
      return a.due != b.due ? a.due < b.due : a.sequence < b.sequence;
    }
  };
  using Queue = std::set<Timer, FiringOrder>;

  // A read-only view of the pending timers in the order they would fire. It reflects later
  // changes; an iterator or reference into it is good until the timer it names fires or is
  // dropped.
  class PendingView {
   public:
    explicit PendingView(const Queue& queue) : queue_(&queue) {}
    Queue::const_iterator begin() const { return queue_->begin(); }
    Queue::const_iterator end() const { return queue_->end(); }
    std::size_t size() const { return queue_->size(); }
    bool empty() const { return queue_->empty(); }
    const Timer& front() const { return *queue_->begin(); }
    // Walks from the first: for tests and listings, not for loops over many timers.
    const Timer& operator[](std::size_t index) const {
      return *std::next(queue_->begin(), static_cast<std::ptrdiff_t>(index));
    }

   private:
    const Queue* queue_;
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
  PendingView Pending() const { return PendingView(pending_); }

 private:
  double now_ = 0;
  std::uint64_t next_sequence_ = 0;
  Queue pending_;
};

}  // namespace sim
