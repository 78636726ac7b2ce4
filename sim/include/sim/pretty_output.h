// The console's output for a person (simserver --pretty). It takes the script's lines and the
// tagged lines the server prints, and writes:
//   - each command echoed after "> " before what it prints, comments and blank lines as written;
//   - what a command prints indented by two spaces, tags kept, except the bare "ok" that closes
//     a command that worked, which is left out;
//   - a "state" line as aligned tables of the creatures and the stored records (id, class,
//     tamed, dead, scale, one camera offset), with the clock and the allocator's live blocks;
//   - as the last line, "expectations: N held, M failed".
// Not thread-safe: the server's game thread only.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace sim {

class PrettyOutput {
 public:
  // Writes each finished line to `out` (without a line feed).
  explicit PrettyOutput(std::function<void(const std::string&)> out) : out_(std::move(out)) {}

  // A line of the script or of standard input, before it runs.
  void Echo(const std::string& line);
  // A line the server printed.
  void Print(const std::string& tagged);
  // The closing count of the expect commands.
  void Summary(int held, int failed);

 private:
  std::function<void(const std::string&)> out_;
};

// The tables for one state, as PrettyOutput prints them (one string a line, not indented).
std::vector<std::string> StateTables(const nlohmann::json& state);

}  // namespace sim
