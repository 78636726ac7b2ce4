#include "sim/server.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <utility>

#include <unistd.h>

#include <nlohmann/json.hpp>

namespace sim {

namespace {

Server* current_server = nullptr;

// The name table and the class tree belong to the game binary: one of each for the life of the
// process, whichever server runs, as a game's native classes are static objects.
NameTable& ProcessNames() {
  static NameTable names;
  return names;
}
ClassTree& ProcessClasses() {
  static ClassTree classes(ProcessNames());
  return classes;
}

std::filesystem::path HostLogFile(const std::filesystem::path& win64) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char date[16];
  std::strftime(date, sizeof date, "%Y-%m-%d", &local);
  return win64 / "logs" / ("ArkApi_" + std::to_string(::getpid()) + "_" + date + ".log");
}

// The host's own configuration, which always sits beside the server executable.
void WriteHostConfig(const std::filesystem::path& win64) {
  const auto file = win64 / "config.json";
  if (std::filesystem::exists(file)) return;
  std::ofstream out(file);
  out << "{\n  \"settings\": {\n    \"AutomaticPluginReloading\": false,\n"
         "    \"SaveWorldBeforePluginReload\": true,\n    \"HooksDoNotThrow\": false\n  },\n"
         "  \"OnlyTamed\": false,\n  \"DefaultScale\": 9.5\n}\n";
}

// settings.HooksDoNotThrow of the host's config.json; false for anything but a boolean true.
bool ReadHooksDoNotThrow(const std::filesystem::path& win64) {
  std::ifstream in(win64 / "config.json");
  if (!in) return false;
  const auto config = nlohmann::json::parse(in, nullptr, false);
  if (config.is_discarded() || !config.is_object()) return false;
  const auto settings = config.find("settings");
  if (settings == config.end() || !settings->is_object()) return false;
  const auto flag = settings->find("HooksDoNotThrow");
  return flag != settings->end() && flag->is_boolean() && flag->get<bool>();
}

}  // namespace

Server::Server(ServerOptions options)
    : root_(std::filesystem::absolute(options.root)),
      output_(options.output ? std::move(options.output)
                             : [](const std::string& line) { std::cout << line << std::endl; }),
      names_(ProcessNames()),
      classes_(ProcessClasses()) {
  if (current_server != nullptr) throw std::logic_error("a simulated server is running already");
  std::filesystem::create_directories(Win64Dir());
  WriteHostConfig(Win64Dir());
  hooks_do_not_throw_ = ReadHooksDoNotThrow(Win64Dir());
  start_time_ = std::filesystem::file_time_type::clock::now();
  current_server = this;
  logs_ = std::make_unique<LogSinks>(HostLogFile(Win64Dir()), output_, faults_.LogSwitch());
  game_ = std::make_unique<Game>(*this);
  plugin_ = std::make_unique<PluginHost>(*this, std::move(options.plugin_file));
  offsets_cache_ = std::make_unique<HostOffsetsCache>(Win64Dir() / "ArkApi/Cache", reflection_);
  try {
    offsets_cache_->WriteGeneration();
  } catch (...) {
    // No server without its cache, as no host starts plugins without one; none is left current.
    plugin_.reset();
    game_.reset();
    logs_.reset();
    current_server = nullptr;
    throw;
  }
  reflection_.OnChange([this] {
    if (!plugin_->Loaded()) offsets_cache_->WriteGeneration();
  });
}

Server::~Server() {
  reflection_.OnChange(nullptr);
  plugin_.reset();
  game_.reset();
  logs_.reset();
  current_server = nullptr;
}

Server& Server::Current() {
  if (current_server == nullptr) throw std::logic_error("no simulated server is running");
  return *current_server;
}

Server* Server::CurrentOrNull() {
  return current_server;
}

void Server::Error(const std::string& text) {
  ++errors_;
  if (holding_errors_) {
    held_errors_.push_back(text);
  } else {
    Print("error " + text);
  }
}

std::vector<std::string> Server::TakeHeldErrors() {
  holding_errors_ = false;
  return std::exchange(held_errors_, {});
}

void Server::End(const std::string& message) {
  faults_.HealLog();
  logs_->Host().critical(message);
  logs_->Host().flush();
  std::cerr << "[API][critical] " << message << std::endl;
  std::cout.flush();
  std::fflush(nullptr);
  std::_Exit(kServerEndStatus);
}

void Server::EndForEscapedException(const std::string& where) {
  std::string what = "an exception that is no std::exception";
  try {
    throw;
  } catch (const std::exception& error) {
    what = error.what();
  } catch (...) {
  }
  End("Unhandled exception from " + where + ": " + what);
}

std::filesystem::path Server::Win64Dir() const {
  return root_ / "ShooterGame/Binaries/Win64";
}
std::filesystem::path Server::PluginDir() const {
  return Win64Dir() / "ArkApi/Plugins/Tinyhorde";
}
std::filesystem::path Server::SaveFile() const {
  return root_ / "ShooterGame/Saved/SavedArks/TheIsland_WP.ark";
}

}  // namespace sim
