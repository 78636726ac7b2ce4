// rcon_echo_server PORT PASSWORD
//
// A stand-in game server for the real-client test: an RconListener on 127.0.0.1:PORT (0 picks a
// free port) whose commands are answered from a "game" thread with canned texts. Prints
// "listening <port>" on stdout once it accepts connections, and runs until SIGINT or SIGTERM.
// Exit code 0 after a signal, 2 for bad arguments or when it cannot listen.
#include <pthread.h>
#include <signal.h>

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <exception>
#include <functional>
#include <iostream>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "sim/rcon_listener.h"

namespace {

// The canned replies. Anything else gets "Unknown command: <line>\n".
const std::map<std::string, std::string>& CannedReplies() {
  static const std::map<std::string, std::string> replies = {
      {"hordesize.resizeall", "Resized 3 of 5 tamed creatures.\n"},
      {"hordesize.setscale 25", "Scale must be between 0.1 and 10.\n"},
      {"hordesize.setscale 0.4", "Scale set to 0.4.\n"},
      {"bigfit.reload", "Configuration reloaded.\n"},
      {"status", "players: 0\nscale: 0.4\n"},
      {"unicode", "Größe: 0,4 — ok\n"},
  };
  return replies;
}

std::string Answer(const std::string& line) {
  const auto found = CannedReplies().find(line);
  return found != CannedReplies().end() ? found->second : "Unknown command: " + line + "\n";
}

// Runs tasks in order on one thread, as the game thread would.
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
      auto task = std::move(tasks_.front());
      tasks_.pop_front();
      lock.unlock();
      task();
    }
  }
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> tasks_;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: rcon_echo_server PORT PASSWORD\n";
    return 2;
  }
  char* end = nullptr;
  const long port = std::strtol(argv[1], &end, 10);
  if (end == argv[1] || *end != '\0' || port < 0 || port > 65535) {
    std::cerr << "rcon_echo_server: bad port '" << argv[1] << "'\n";
    return 2;
  }

  // Block the stop signals before any thread starts, so that only sigwait below sees them.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

  try {
    GameThread game;
    sim::RconListener listener(
        static_cast<std::uint16_t>(port), argv[2],
        [&game](const sim::RconRequest& request, sim::RconReply reply) {
          game.Post([request, reply] { reply(request.id, 0, Answer(request.body)); });
        });
    std::cout << "listening " << listener.Port() << std::endl;
    int received = 0;
    sigwait(&stop_signals, &received);
  } catch (const std::exception& error) {
    std::cerr << "rcon_echo_server: " << error.what() << "\n";
    return 2;
  }
  return 0;
}
