// simserver: the simulated game server. Runs a script, or commands from standard input, and
// optionally serves RCON on loopback. The main thread is the game thread: console lines and RCON
// requests are queued to it and run one at a time, in arrival order.
//
// A server root that simserver made itself (no --root) is removed when it ends: at the end of the
// input, on SIGINT, SIGTERM or SIGPIPE, and on std::exit.
//
// Exit status: 0 when every command worked and every expect held, 1 otherwise, 2 for bad
// command-line arguments or a server that cannot start, sim::kServerEndStatus (3) when the host
// ended the server on a fatal error (sim::Server::End).
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>

#include <CLI/CLI.hpp>

#include "sim/console.h"
#include "sim/pretty_output.h"
#include "sim/rcon_listener.h"
#include "sim/server.h"

#ifndef TINYHORDE_PLUGIN_FILE
#define TINYHORDE_PLUGIN_FILE ""
#endif

namespace {

std::atomic<bool> stop_requested{false};

extern "C" void OnStopSignal(int) {
  stop_requested = true;
}

// Work for the game thread.
class GameQueue {
 public:
  void Push(std::function<void()> task) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      tasks_.push_back(std::move(task));
    }
    ready_.notify_one();
  }
  // Waits up to a tenth of a second for a task.
  std::optional<std::function<void()>> Pop() {
    std::unique_lock<std::mutex> lock(mutex_);
    ready_.wait_for(lock, std::chrono::milliseconds(100), [&] { return !tasks_.empty(); });
    if (tasks_.empty()) return std::nullopt;
    auto task = std::move(tasks_.front());
    tasks_.pop_front();
    return task;
  }

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> tasks_;
};

// The server root made for this run, if any; removed at exit.
std::filesystem::path fresh_root;

extern "C" void RemoveFreshRoot() {
  if (fresh_root.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(fresh_root, ignored);
  fresh_root.clear();
}

std::filesystem::path FreshRoot() {
  std::string pattern = (std::filesystem::temp_directory_path() / "simserver-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a server root");
  fresh_root = pattern;
  std::atexit(RemoveFreshRoot);
  return pattern;
}

void PrintLine(const std::string& line) {
  std::cout << line << std::endl;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"simserver: a simulated game server that loads the plugin library"};
  std::string root, plugin = TINYHORDE_PLUGIN_FILE, password, script;
  int rcon_port = -1;
  bool pretty = false;
  app.add_flag("--pretty", pretty,
               "for people: echo each command, show state as tables, count the expectations");
  app.add_option("--root", root,
                 "server root (default: a fresh temporary folder, removed at exit)");
  app.add_option("--plugin", plugin, "the plugin library to install and load")
      ->capture_default_str();
  app.add_option("--rcon-port", rcon_port, "serve RCON on 127.0.0.1 at this port (0: any free)")
      ->check(CLI::Range(0, 65535));
  app.add_option("--rcon-password", password, "the RCON password");
  app.add_option("script", script, "a script to run instead of standard input")
      ->check(CLI::ExistingFile);
  CLI11_PARSE(app, argc, argv);
  if (rcon_port >= 0 && password.empty()) {
    std::cerr << "--rcon-port needs --rcon-password\n";
    return 2;
  }

  std::vector<std::string> lines;
  if (!script.empty()) {
    std::ifstream in(script);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
  }

  // A stop signal ends the server after the task that is running, so that it can clean up. So
  // does a reader that goes away (SIGPIPE), such as `simserver script | head`.
  std::signal(SIGINT, OnStopSignal);
  std::signal(SIGTERM, OnStopSignal);
  std::signal(SIGPIPE, OnStopSignal);
  try {
    const std::filesystem::path server_root =
        root.empty() ? FreshRoot() : std::filesystem::path(root);
    std::optional<sim::PrettyOutput> people;
    std::function<void(const std::string&)> output = PrintLine;
    if (pretty) {
      people.emplace(PrintLine);
      output = [&people](const std::string& line) { people->Print(line); };
    }
    sim::Server server(sim::ServerOptions{server_root, std::filesystem::absolute(plugin), output});
    std::filesystem::current_path(server.Root());
    sim::Console console(server);
    GameQueue queue;
    std::atomic<bool> input_done{!script.empty()};
    const auto run = [&console, &people](const std::string& line) {
      if (people) people->Echo(line);
      console.Execute(line);
    };
    const auto finish = [&] {
      if (people) people->Summary(console.ExpectationsHeld(), console.ExpectationsFailed());
      return server.ErrorCount() == 0 ? 0 : 1;
    };

    // The script's lines are queued before RCON is served, so that no request runs ahead of them.
    for (const auto& line : lines) queue.Push([&run, line] { run(line); });
    std::optional<sim::RconListener> listener;
    if (rcon_port >= 0) {
      listener.emplace(static_cast<std::uint16_t>(rcon_port), password,
                       [&](const sim::RconRequest& request, sim::RconReply reply) {
                         queue.Push([&console, request, reply] {
                           console.RunRcon(request.body, request.id,
                                           [&](int id, int type, const std::string& text) {
                                             reply(id, type, text);
                                           });
                         });
                       });
      server.Print("ok rcon " + std::to_string(listener->Port()));
    }

    std::thread input;
    if (script.empty()) {
      input = std::thread([&] {
        for (std::string line; std::getline(std::cin, line);)
          queue.Push([&run, line] { run(line); });
        queue.Push([&input_done] { input_done = true; });
      });
    }

    // A script ends the server when it is done, unless RCON is served: then a signal does. A
    // signal always ends it after the task that is running.
    while (!stop_requested) {
      if (auto task = queue.Pop()) {
        try {
          (*task)();
        } catch (const std::exception& error) {
          server.Error(error.what());
        }
        continue;
      }
      if (input_done && (!listener || script.empty())) break;
    }
    listener.reset();
    if (input.joinable()) {
      if (!input_done) {
        // Standard input is still open after a stop signal: leave the reader behind.
        input.detach();
        const int status = finish();
        std::cout.flush();
        RemoveFreshRoot();
        std::_Exit(status);
      }
      input.join();
    }
    return finish();
  } catch (const std::exception& error) {
    std::cerr << "simserver: " << error.what() << '\n';
    return 2;
  }
}
