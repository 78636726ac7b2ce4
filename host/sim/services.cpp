// The host services, over the simulated host.
#include <dlfcn.h>

#include <filesystem>

#include <sim/host_api.h>

#include "host/services.h"
#include "host_settings.h"

namespace host {

namespace {

std::u16string Text(const FString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(*text),
                        static_cast<std::size_t>(text.Len()));
}

class SimMessenger : public Messenger {
 public:
  void SendPlayerMessage(AShooterPlayerController* player, const FLinearColor& colour,
                         const FString& text) override {
    if (simhost::GetWorld() == nullptr) return;
    simhost::SendServerMessage(player, colour.R, colour.G, colour.B, colour.A, Text(text));
  }
};

}  // namespace

bool InstallHook(const GameName& name, void* detour, void** original) {
  if (!binding::MayHook(name)) return false;
  return simhost::SetHook(name.name, detour, original);
}

bool RemoveHook(const GameName& name, void* detour) {
  if (!binding::MayHook(name)) return false;
  return simhost::DisableHook(name.name, detour);
}

std::string binding::HostConfigPath() {
  return simhost::GetCurrentDir() + "/config.json";
}

// The simulated server stands for the server process: it started when the host did.
bool binding::WrittenSinceServerStart(const std::string& path) {
  std::error_code error;
  const auto written = std::filesystem::last_write_time(path, error);
  return error || written > simhost::ServerStartTime();
}

void RegisterConsoleCommand(const FString& name, const ConsoleHandler& handler) {
  simhost::AddConsoleCommand(Text(name), [handler](void* controller, void* line, bool flag) {
    handler(static_cast<APlayerController*>(controller), static_cast<FString*>(line), flag);
  });
}

void RegisterRconCommand(const FString& name, const RconHandler& handler) {
  simhost::AddRconCommand(Text(name), [handler](void* connection, void* packet, void* world) {
    handler(static_cast<RCONClientConnection*>(connection), static_cast<RCONPacket*>(packet),
            static_cast<UWorld*>(world));
  });
}

void RegisterChatCommand(const FString& name, const ChatHandler& handler) {
  simhost::AddChatCommand(Text(name), [handler](void* controller, void* message, int a, int b) {
    handler(static_cast<AShooterPlayerController*>(controller), static_cast<FString*>(message), a,
            b);
  });
}

UWorld* CurrentWorld() {
  return static_cast<UWorld*>(simhost::GetWorld());
}

std::shared_ptr<Messenger> GetMessenger() {
  static const auto messenger = std::make_shared<SimMessenger>();
  return messenger;
}

void DelayExecute(const std::function<void()>& callback, int delaySeconds,
                  const FString& identifier) {
  simhost::DelayExecute(callback, delaySeconds, Text(identifier));
}

void CancelTimers() {
  simhost::UnloadAllTimers();
}

double TimerClockSeconds() {
  return simhost::ClockSeconds();
}

std::vector<spdlog::sink_ptr>& GetLogSinks() {
  return simhost::GetLogSinks();
}

std::string GetCurrentDir() {
  return simhost::GetCurrentDir();
}

// The library that holds this function (the plugin library, or a program the plugin's code is
// linked into), spelled as the loader was given it: the host keys timers by that spelling.
std::string binding::PluginModuleFile() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&GetPluginModulePath), &info) == 0 ||
      info.dli_fname == nullptr)
    return std::string();
  std::string path = info.dli_fname;
  // The main program's entry carries only the name it was started by; its file is /proc/self/exe.
  if (!std::filesystem::path(path).is_absolute()) {
    std::error_code error;
    path = std::filesystem::read_symlink("/proc/self/exe", error).string();
  }
  return path;
}

FString GetPluginModulePath() {
  const std::string path = binding::PluginModuleFile();
  return path.empty() ? FString() : FString(path.c_str());
}

}  // namespace host
