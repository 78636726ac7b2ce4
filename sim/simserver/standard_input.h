// simserver's console on standard input: a reader thread posts each line to the game queue as a
// task, and after the last one a task that marks the input as ended. The lines therefore run on
// the game thread, in turn with RCON requests.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "sim/task_queue.h"

namespace simserver {

class StandardInput {
 public:
  // Starts reading; `run_line` is what each line's task does.
  StandardInput(sim::TaskQueue& queue, std::function<void(const std::string&)> run_line);
  // Joins the reader when the input has ended; otherwise leaves it behind (see Abandon).
  ~StandardInput();
  StandardInput(const StandardInput&) = delete;
  StandardInput& operator=(const StandardInput&) = delete;

  // True once the game thread has run every line of the input.
  bool Ended() const { return ended_; }
  // Lets the process end while the reader may still wait in a read that never returns (a stop
  // signal came while standard input was open): the reader is detached and must not outlive
  // the process's next step, an immediate exit.
  void Abandon();

 private:
  std::function<void(const std::string&)> run_line_;
  std::atomic<bool> ended_{false};
  std::thread reader_;  // last: starts after the members it uses
};

}  // namespace simserver
