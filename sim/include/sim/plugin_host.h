// Loading and unloading the plugin library as the real host does: the library is installed into
// the plugin folder of the server layout, opened with dlopen, and its Plugin_Init and
// Plugin_Unload entries are called. At unload the host drops the plugin's pending timers and
// reports (as errors) any hook or command the plugin left behind, removing them so that no host
// record points into the closed library. An exception out of either entry ends the server.
#pragma once

#include <filesystem>
#include <string>

namespace sim {

class Server;

class PluginHost {
 public:
  PluginHost(Server& server, std::filesystem::path library);
  ~PluginHost();
  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;

  // Throws std::runtime_error when the library cannot be installed or opened, or is loaded.
  void Load();
  // Throws std::runtime_error when no plugin is loaded.
  void Unload();
  bool Loaded() const { return handle_ != nullptr; }

  // Where the library is installed, and the module name the plugin passes with its timers.
  std::filesystem::path InstalledFile() const;
  std::u16string ModuleName() const;

  // For tests: keep the plugin's timers at unload, as a host that does not drop them would.
  bool drop_timers_at_unload = true;

 private:
  void ReportLeftovers();

  Server& server_;
  std::filesystem::path library_;
  void* handle_ = nullptr;
  void (*unload_)() = nullptr;
  const void* code_begin_ = nullptr;
  const void* code_end_ = nullptr;
};

}  // namespace sim
