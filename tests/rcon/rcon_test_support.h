// Helpers for the listener tests: a stand-in game thread and a dispatcher that records requests.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "sim/rcon_listener.h"

namespace rcontest {

// Runs posted tasks one at a time, in order, as the game thread would. The destructor runs what
// is still queued, then joins.
class GameThread {
 public:
  GameThread() : thread_([this] { Loop(); }) {}
  ~GameThread() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }
  GameThread(const GameThread&) = delete;
  GameThread& operator=(const GameThread&) = delete;

  void Post(std::function<void()> task) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
  }

 private:
  void Loop() {
    for (;;) {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || !tasks_.empty(); });
      if (tasks_.empty()) return;
      std::function<void()> task = std::move(tasks_.front());
      tasks_.pop_front();
      lock.unlock();
      task();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> tasks_;
  bool stop_ = false;
  std::thread thread_;  // last: starts after the members it uses
};

// A dispatcher that records each request and its reply, then runs an optional action (on the
// network thread). Must outlive the listener it is given to.
class Recorder {
 public:
  using Then = std::function<void(const sim::RconRequest&, const sim::RconReply&)>;
  explicit Recorder(Then then = {}) : then_(std::move(then)) {}

  sim::RconDispatch Dispatch() {
    return [this](const sim::RconRequest& request, sim::RconReply reply) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
        replies_.push_back(reply);
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
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<sim::RconRequest> requests_;
  std::vector<sim::RconReply> replies_;
};

}  // namespace rcontest
