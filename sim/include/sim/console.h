// The simulated server's console: one command a line, from a script, standard input or a test.
// Every line it prints starts with a tag (ok, log, msg, rcon, state, error). Every command ends
// with exactly one closing line, after all it printed: "ok ..." when it worked, or one "error"
// line when it was refused or anything went wrong while it ran (several errors are joined by
// "; "). The console goes on after an error.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <nlohmann/json.hpp>

namespace sim {

class Server;

class Console {
 public:
  explicit Console(Server& server) : server_(server) {}

  // Runs one line; comments and blank lines do nothing.
  void Execute(const std::string& line);

  // The expect commands run so far that held, and that failed (a refused expect counts as
  // failed).
  int ExpectationsHeld() const { return expectations_held_; }
  int ExpectationsFailed() const { return expectations_failed_; }

  // The state the "state" command prints.
  nlohmann::json State() const;

  // Runs an RCON request on the game thread: the registered command named by the line's first
  // word, with a connection whose replies go to send.
  void RunRcon(const std::string& line, std::int32_t request_id,
               const std::function<void(int id, int type, const std::string& text)>& send);

 private:
  // The command table (console_commands.cpp): a row's name, usage text and action.
  struct Call;
  struct Command;
  static const Command kCommands[];

  // Runs the command of that name from the table; throws for an unknown one.
  void Dispatch(const std::string& command, const std::string& rest);
  void Expect(const std::string& path, const std::string& value);
  int PlayerOrCreature(const std::string& token) const;

  Server& server_;
  std::int32_t next_request_ = 1;
  std::string closing_;  // the closing line of the running command, when it works
  int expectations_held_ = 0;
  int expectations_failed_ = 0;
};

}  // namespace sim
