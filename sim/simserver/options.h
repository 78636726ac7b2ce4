// simserver's command line.
#pragma once

#include <optional>
#include <string>

namespace simserver {

struct Options {
  bool pretty = false;   // output for people (sim::PrettyOutput)
  std::string root;      // the server root; empty: a fresh temporary folder, removed at exit
  std::string plugin;    // the plugin library to install and load
  int rcon_port = -1;    // serve RCON on 127.0.0.1 at this port (0: any free); -1: no RCON
  std::string password;  // the RCON password
  std::string script;    // a script to run; empty: standard input
};

// Reads the command line into `options`. Nothing when simserver is to run; otherwise the status
// to exit with at once, after the help or the complaint has been printed: CLI11's status for
// --help and for arguments it refuses, 2 for --rcon-port without --rcon-password.
std::optional<int> ParseOptions(int argc, char** argv, Options& options);

}  // namespace simserver
