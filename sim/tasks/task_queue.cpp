#include "sim/task_queue.h"

#include <utility>

namespace sim {

void TaskQueue::Post(Task task) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  ready_.notify_one();
}

std::optional<TaskQueue::Task> TaskQueue::Pop(std::chrono::milliseconds wait) {
  std::unique_lock<std::mutex> lock(mutex_);
  ready_.wait_for(lock, wait, [this] { return closed_ || !tasks_.empty(); });
  if (tasks_.empty()) return std::nullopt;
  Task task = std::move(tasks_.front());
  tasks_.pop_front();
  return task;
}

std::size_t TaskQueue::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return tasks_.size();
}

void TaskQueue::Close() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
  }
  ready_.notify_all();
}

bool TaskQueue::Closed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return closed_;
}

GameThread::GameThread()
    : thread_([this] {
        // Pop waits in long slices: Close wakes it, so the slice only bounds a lost wake-up.
        for (;;) {
          if (std::optional<TaskQueue::Task> task = queue_.Pop(std::chrono::seconds(1))) {
            (*task)();
          } else if (queue_.Closed() && queue_.Size() == 0) {
            return;
          }
        }
      }) {}

GameThread::~GameThread() {
  queue_.Close();
  thread_.join();
}

}  // namespace sim
