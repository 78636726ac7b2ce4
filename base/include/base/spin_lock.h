// A lock for the plugin's short critical sections: a look-up or an insert in one of its stores.
// They are taken almost only from the game thread and so almost never wait; taking a free one
// costs one atomic exchange, where a std::mutex costs a library call each way. A waiter yields
// its time slice. Not recursive. Meets the standard's Lockable requirements.
#pragma once

#include <atomic>
#include <thread>

namespace tinyhorde {

class SpinLock {
 public:
  void lock() noexcept {
    while (held_.exchange(true, std::memory_order_acquire)) std::this_thread::yield();
  }
  bool try_lock() noexcept { return !held_.exchange(true, std::memory_order_acquire); }
  void unlock() noexcept { held_.store(false, std::memory_order_release); }

 private:
  std::atomic<bool> held_{false};
};

}  // namespace tinyhorde
