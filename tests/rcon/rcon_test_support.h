// Helpers for the listener tests: a stand-in game thread and a dispatcher that records requests.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "sim/rcon_listener.h"
#include "sim/task_queue.h"

namespace rcontest {

// The stand-in game thread: sim::GameThread.
using sim::GameThread;

// A dispatcher that records each request, and its reply unless told not to, then runs an optional
// action (on the network thread). A kept reply keeps its command waiting (sim::RconDispatch), so a
// test that sends more than sim::kMaxWaitingCommands commands on one connection drops them. Must
// outlive the listener it is given to.
class Recorder {
 public:
  using Then = std::function<void(const sim::RconRequest&, const sim::RconReply&)>;
  enum class Replies { kKept, kDropped };
  explicit Recorder(Then then = {}, Replies replies = Replies::kKept)
      : then_(std::move(then)), keep_replies_(replies == Replies::kKept) {}

  sim::RconDispatch Dispatch() {
    return [this](const sim::RconRequest& request, sim::RconReply reply) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
        if (keep_replies_) replies_.push_back(reply);
      }
      changed_.notify_all();
      if (then_) then_(request, reply);
    };
  }

  std::size_t Count() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_.size();
  }
  bool WaitForCount(std::size_t count, std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
  }
  std::vector<sim::RconRequest> Requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }
  sim::RconReply ReplyAt(std::size_t index) {
    std::lock_guard<std::mutex> lock(mutex_);
    return replies_.at(index);
  }

 private:
  Then then_;
  const bool keep_replies_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<sim::RconRequest> requests_;
  std::vector<sim::RconReply> replies_;
};

}  // namespace rcontest
