// Work for the game thread. Any thread posts a task; the game thread takes them one at a time, in
// the order they were posted, and runs them. simserver's main thread drains a TaskQueue itself;
// a program or test that needs a game thread of its own uses GameThread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace sim {

// A first-in, first-out queue of tasks. Thread-safe.
class TaskQueue {
 public:
  using Task = std::function<void()>;

  // Adds a task at the back. Tasks posted after Close are still queued.
  void Post(Task task);
  // Takes the task at the front, waiting up to `wait` for one. Nothing when none came in time, or
  // at once when the queue is closed and empty.
  std::optional<Task> Pop(std::chrono::milliseconds wait);
  // Tasks posted and not yet taken.
  std::size_t Size() const;
  // Wakes every Pop that waits; from now on Pop does not wait on an empty queue.
  void Close();
  bool Closed() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Task> tasks_;
  bool closed_ = false;
};

// A thread that runs the tasks of its own queue, as the game thread would. A task is destroyed
// right after it has run, before the next one starts. A task must not throw. The destructor runs
// every task still queued, then joins.
class GameThread {
 public:
  GameThread();
  ~GameThread();
  GameThread(const GameThread&) = delete;
  GameThread& operator=(const GameThread&) = delete;

  void Post(TaskQueue::Task task) { queue_.Post(std::move(task)); }
  // Tasks posted and not yet started.
  std::size_t Waiting() const { return queue_.Size(); }

 private:
  TaskQueue queue_;
  std::thread thread_;  // last: starts after the queue it drains
};

}  // namespace sim
