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
#include <chrono>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fresh_root.h"
#include "options.h"
#include "rcon_service.h"
#include "sim/console.h"
#include "sim/pretty_output.h"
#include "sim/rcon_listener.h"
#include "sim/server.h"
#include "sim/task_queue.h"
#include "standard_input.h"
#include "stop_signals.h"

namespace {

void PrintLine(const std::string& line) {
  std::cout << line << std::endl;
}

// Where the server's lines go: to standard output as tagged lines, or through sim::PrettyOutput
// for people. Game thread only.
class Output {
 public:
  explicit Output(bool pretty) {
    if (pretty) people_.emplace(PrintLine);
  }
  std::function<void(const std::string&)> Sink() {
    if (!people_) return PrintLine;
    return [this](const std::string& line) { people_->Print(line); };
  }
  void Echo(const std::string& line) {
    if (people_) people_->Echo(line);
  }
  void Summary(int held, int failed) {
    if (people_) people_->Summary(held, failed);
  }

 private:
  std::optional<sim::PrettyOutput> people_;
};

std::vector<std::string> ReadScript(const std::string& path) {
  std::vector<std::string> lines;
  if (path.empty()) return lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Runs the queue's tasks on this thread until a stop signal, or until `finished` says no more
// work will come. A signal ends it after the task that is running. An exception out of a task is
// that task's error.
void RunGameLoop(sim::TaskQueue& queue, sim::Server& server,
                 const std::function<bool()>& finished) {
  while (!simserver::StopRequested()) {
    if (auto task = queue.Pop(std::chrono::milliseconds(100))) {
      try {
        (*task)();
      } catch (const std::exception& error) {
        server.Error(error.what());
      }
      continue;
    }
    if (finished()) return;
  }
}

int Run(const simserver::Options& options, const std::vector<std::string>& script) {
  const std::filesystem::path root =
      options.root.empty() ? simserver::MakeFreshRoot() : std::filesystem::path(options.root);
  Output output(options.pretty);
  sim::Server server(
      sim::ServerOptions{root, std::filesystem::absolute(options.plugin), output.Sink()});
  std::filesystem::current_path(server.Root());
  sim::Console console(server);
  sim::TaskQueue queue;
  const auto run = [&console, &output](const std::string& line) {
    output.Echo(line);
    console.Execute(line);
  };

  // The script's lines are queued before RCON is served, so that no request runs ahead of them.
  for (const auto& line : script) queue.Post([&run, line] { run(line); });
  std::unique_ptr<sim::RconListener> rcon;
  if (options.rcon_port >= 0) {
    rcon = simserver::ServeRcon(static_cast<std::uint16_t>(options.rcon_port), options.password,
                                queue, console);
    server.Print("ok rcon " + std::to_string(rcon->Port()));
  }
  std::optional<simserver::StandardInput> input;
  if (options.script.empty()) input.emplace(queue, run);

  // A script ends the server when it is done, unless RCON is served: then a signal does.
  RunGameLoop(queue, server, [&] { return input ? input->Ended() : !rcon; });

  rcon.reset();
  output.Summary(console.ExpectationsHeld(), console.ExpectationsFailed());
  const int status = server.ErrorCount() == 0 ? 0 : 1;
  if (input && !input->Ended()) {
    // Standard input is still open after a stop signal: leave the reader behind and exit now,
    // cleaning up what the skipped destructors and exit handlers would have.
    input->Abandon();
    std::cout.flush();
    simserver::RemoveFreshRoot();
    std::_Exit(status);
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  simserver::Options options;
  if (const std::optional<int> status = simserver::ParseOptions(argc, argv, options)) {
    return *status;
  }
  const std::vector<std::string> script = ReadScript(options.script);
  simserver::InstallStopSignals();
  try {
    return Run(options, script);
  } catch (const std::exception& error) {
    std::cerr << "simserver: " << error.what() << '\n';
    return 2;
  }
}
