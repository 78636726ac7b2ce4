// One simulated server for a whole fuzzing run, with the plugin's code started in-process on it,
// as Plugin_Init would start it. Built on first use (call Instance() from LLVMFuzzerInitialize),
// then shared by every input, so that each input costs only its own work.
//
// The server root is a fresh folder under the system's temporary folder and becomes the working
// directory, as a real server's root is (MakePathArgumentsAbsolute keeps libFuzzer's paths
// working). The plugin is unloaded and the folder removed when the process exits normally; a
// crashed run leaves it behind.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "sim/console.h"
#include "sim/server.h"

namespace fuzzsupport {

// The ids the setup gives the two players.
inline constexpr int kAdmin = 1;
inline constexpr int kPlayer = 2;

class FuzzServer {
 public:
  static FuzzServer& Instance();

  sim::Server& Server() { return *server_; }
  sim::Game& Game() { return server_->GameWorld(); }

  // The controller of the player with this id; null for id 0.
  void* Controller(int player) const;

  // Drops what the last input left on the server: printed lines, log lines and the record of
  // game calls. Call at the end of every input, so that memory stays flat over a long run.
  void ClearOutput();
  // Player messages ("msg" lines) and errors of the simulated server since ClearOutput.
  std::size_t MessagesSent() const { return messages_; }
  // Of those messages, the ones that say creatures went back to full size because the settings
  // no longer shrink them: a command that brings the world to the settings adds one to its answer.
  std::size_t RestoredMessagesSent() const { return restored_messages_; }
  // Of those messages, the ones a setscale adds when ExcludedBlueprints excludes the name it set.
  std::size_t ExcludedNotesSent() const { return excluded_notes_; }
  std::size_t Errors() const { return errors_; }

  // Blocks of the game's allocator (FMemory) that are live, and frees of blocks it does not hold.
  std::size_t LiveBlocks() { return server_->Memory().LiveBlocks(); }
  std::size_t BadFrees() { return server_->Memory().BadFrees(); }

 private:
  FuzzServer();
  void Setup(const std::string& line);
  static void TearDown();

  std::string root_;
  std::string previous_directory_;
  std::size_t messages_ = 0;
  std::size_t restored_messages_ = 0;
  std::size_t excluded_notes_ = 0;
  std::size_t errors_ = 0;
  std::unique_ptr<sim::Server> server_;
  std::unique_ptr<sim::Console> console_;
};

// Fails the run unless the game's allocator holds exactly live_before blocks again, has seen no
// bad free, and the simulated server has reported no error since ClearOutput.
void CheckServerState(FuzzServer& server, std::size_t live_before);

// Fails the run unless what (e.g. "the console") answered with exactly expected messages, plus at
// most one that says creatures went back to full size and one that says ExcludedBlueprints
// excludes the name set, each only after an answer.
void CheckAnswered(FuzzServer& server, std::size_t expected, const std::string& what);

// Ends the run as a crash that libFuzzer reports (and saves the input of), saying what broke.
[[noreturn]] void Fail(const std::string& what);

}  // namespace fuzzsupport
