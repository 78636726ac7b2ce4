// Fault injection, the host's test controls that make working parts fail without making any name
// unknown (a plugin that resolved its names at start-up still meets them):
// - a game function registered by name raises std::runtime_error("<name> failed") at every call
//   through its address while it is set to fail;
// - the host's log sinks throw on every write while the log is set to fail, as a log that cannot
//   be written.
// Game thread only, but for the log switch, which sinks read from any thread.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <unordered_set>

namespace sim {

class Faults {
 public:
  Faults() : log_fails_(std::make_shared<std::atomic<bool>>(false)) {}

  // Declares a game function that a test may make fail; the game declares each function it
  // registers by name (the hookable functions' own bodies excepted).
  void Declare(const std::string& function) { declared_.insert(function); }
  bool Declared(const std::string& function) const { return declared_.count(function) != 0; }

  // From now on the function raises at every call. Throws std::invalid_argument for a name that
  // was not declared.
  void Fail(const std::string& function);
  void Heal(const std::string& function) { failing_.erase(function); }
  // Raises std::runtime_error("<function> failed") while the function is set to fail.
  void RaiseIfFailing(const char* function) const;

  void FailLog() { *log_fails_ = true; }
  void HealLog() { *log_fails_ = false; }
  bool LogFails() const { return *log_fails_; }
  // The switch the log sinks read; it lives as long as any sink holding it.
  std::shared_ptr<const std::atomic<bool>> LogSwitch() const { return log_fails_; }

 private:
  std::unordered_set<std::string> declared_;
  std::unordered_set<std::string> failing_;
  std::shared_ptr<std::atomic<bool>> log_fails_;
};

}  // namespace sim
