#include "options.h"

#include <iostream>

#include <CLI/CLI.hpp>

#ifndef TINYHORDE_PLUGIN_FILE
#define TINYHORDE_PLUGIN_FILE ""
#endif

namespace simserver {

std::optional<int> ParseOptions(int argc, char** argv, Options& options) {
  CLI::App app{"simserver: a simulated game server that loads the plugin library"};
  options.plugin = TINYHORDE_PLUGIN_FILE;
  app.add_flag("--pretty", options.pretty,
               "for people: echo each command, show state as tables, count the expectations");
  app.add_option("--root", options.root,
                 "server root (default: a fresh temporary folder, removed at exit)");
  app.add_option("--plugin", options.plugin, "the plugin library to install and load")
      ->capture_default_str();
  app.add_option("--rcon-port", options.rcon_port,
                 "serve RCON on 127.0.0.1 at this port (0: any free)")
      ->check(CLI::Range(0, 65535));
  app.add_option("--rcon-password", options.password, "the RCON password");
  app.add_option("script", options.script, "a script to run instead of standard input")
      ->check(CLI::ExistingFile);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error);
  }
  if (options.rcon_port >= 0 && options.password.empty()) {
    std::cerr << "--rcon-port needs --rcon-password\n";
    return 2;
  }
  return std::nullopt;
}

}  // namespace simserver
