// The simulated server's console: one command a line, from a script, standard input or a test.
// Every line it prints starts with a tag (ok, log, msg, rcon, state, error). A refused command
// prints one "error" line and the console goes on.
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

  // The state the "state" command prints.
  nlohmann::json State() const;

  // Runs an RCON request on the game thread: the registered command named by the line's first
  // word, with a connection whose replies go to send.
  void RunRcon(const std::string& line, std::int32_t request_id,
               const std::function<void(int id, int type, const std::string& text)>& send);

 private:
  void Dispatch(const std::string& command, const std::string& rest);
  void Expect(const std::string& path, const std::string& value);
  int PlayerOrCreature(const std::string& token) const;

  Server& server_;
  std::int32_t next_request_ = 1;
};

}  // namespace sim
