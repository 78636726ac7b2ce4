// rcon_echo_server PORT PASSWORD
//
// A stand-in game server for the real-client test: an RconListener on 127.0.0.1:PORT (0 picks a
// free port) whose commands are answered from a "game" thread with canned texts. Prints
// "listening <port>" on stdout once it accepts connections, and runs until SIGINT or SIGTERM.
// Exit code 0 after a signal, 2 for bad arguments or when it cannot listen.
#include <pthread.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <map>
#include <string>

#include "sim/rcon_listener.h"
#include "sim/task_queue.h"

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
    sim::GameThread game;
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
