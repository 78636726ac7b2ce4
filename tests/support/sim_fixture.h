// A fresh simulated server for each test, in a new temporary server root that is also the working
// directory, with the plugin's in-process state (settings, camera stores) reset and the
// in-process logger created over the server's sinks.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sim/console.h"
#include "sim/server.h"

namespace simtest {

// The regular expression of the host's critical line with this message, as a server that ends
// writes it to standard error.
std::string CriticalLine(const std::string& message);

// The statement ends the server (sim::Server::End) with this critical message.
#define EXPECT_SERVER_ENDS(statement, message)                               \
  EXPECT_EXIT(statement, ::testing::ExitedWithCode(::sim::kServerEndStatus), \
              ::simtest::CriticalLine(message))

class SimFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  sim::Server& Server() { return *server_; }
  sim::Game& Game() { return server_->GameWorld(); }
  std::filesystem::path Root() const { return root_; }
  std::filesystem::path PluginDir() const { return server_->PluginDir(); }
  std::filesystem::path Win64Dir() const { return server_->Win64Dir(); }

  // Creates the folders on the way.
  void WriteFile(const std::filesystem::path& relative_to_root, const std::string& text);
  // Whether the server starts with the host's own config.json setting settings.HooksDoNotThrow
  // (the host reads it once, when it starts): an unknown function name then gives a null address,
  // and a hook on it is refused, instead of ending the server. A fixture that needs it from the
  // start says so here.
  virtual bool HooksDoNotThrowAtStart() const { return false; }
  // Writes that file and starts the server again over the same root, as a server restarted after
  // the edit: everything the test made in the game before is gone.
  void SetHooksDoNotThrow();
  // The same with any text as the host's config.json.
  void RestartServerWithHostConfig(const std::string& text);
  // Gives the game every name the SDK shows on no live line, which it lacks by default.
  void KnowUnverifiedNames();
  // Takes a game function away from the plugin's code in the test: "forget" makes the host
  // (which must have started with HooksDoNotThrow) not know the name and resolves the plugin's
  // names again, as a plugin started on that host would; "fail" makes the function raise at
  // every call.
  void LoseGameFunction(const std::string& how, const std::string& function);

  // Messages written to the host's log sinks since the last call: the message alone, or the
  // whole formatted line.
  std::vector<std::string> TakeLogLines();
  std::vector<std::string> TakeFormattedLogLines();
  // Every line the server printed since the last call (log, msg, rcon, ok, error ...).
  std::vector<std::string> TakeOutput();

  // The host installs the built plugin library into PluginDir() and loads it / unloads it.
  void LoadPlugin();
  void UnloadPlugin();
  // Starts the plugin's code linked into the test (its detours and commands), as Plugin_Init.
  void StartInProcess();

  // One console line; answers what it printed.
  std::vector<std::string> Run(const std::string& line);
  std::size_t LiveBlocks() const { return server_->Memory().LiveBlocks(); }

 private:
  std::filesystem::path root_;
  std::filesystem::path previous_directory_;
  std::vector<std::string> output_;
  std::unique_ptr<sim::Server> server_;
  std::unique_ptr<sim::Console> console_;
  bool started_in_process_ = false;
  void StartServer();
  void StopServer();
};

}  // namespace simtest
