// The host services, over the simulated host.
#include <dlfcn.h>

#include <filesystem>

#include <sim/host_api.h>

#include "host/services.h"

namespace host {

namespace {

std::u16string Text(const FString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(*text),
                        static_cast<std::size_t>(text.Len()));
}

class SimMessenger : public Messenger {
 public:
  explicit SimMessenger(std::u16string module) : module_(std::move(module)) {}
  void SendPlayerMessage(AShooterPlayerController* player, const FLinearColor& colour,
                         const FString& text) override {
    simhost::SendServerMessage(module_, player, colour.R, colour.G, colour.B, colour.A, Text(text));
  }

 private:
  std::u16string module_;
};

}  // namespace

bool InstallHook(const std::string& name, void* detour, void** original) {
  return simhost::SetHook(name, detour, original);
}

bool RemoveHook(const std::string& name, void* detour) {
  return simhost::DisableHook(name, detour);
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

bool UnregisterConsoleCommand(const FString& name) {
  return simhost::RemoveConsoleCommand(Text(name));
}
bool UnregisterRconCommand(const FString& name) {
  return simhost::RemoveRconCommand(Text(name));
}
bool UnregisterChatCommand(const FString& name) {
  return simhost::RemoveChatCommand(Text(name));
}

UWorld* CurrentWorld() {
  return static_cast<UWorld*>(simhost::GetWorld());
}

std::shared_ptr<Messenger> MessengerFor(const FString& moduleName) {
  return std::make_shared<SimMessenger>(Text(moduleName));
}

void DelayExecuteInternal(const std::function<void()>& callback, int delaySeconds,
                          const FString& identifier, const FString& moduleName) {
  simhost::DelayExecute(callback, delaySeconds, Text(identifier), Text(moduleName));
}

std::vector<spdlog::sink_ptr>& GetLogSinks() {
  return simhost::GetLogSinks();
}

std::string GetCurrentDir() {
  return simhost::GetCurrentDir();
}

// The library that holds this function: the plugin library, or a program the plugin's code is
// linked into.
FString GetPluginModulePath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&GetPluginModulePath), &info) == 0 ||
      info.dli_fname == nullptr)
    return FString();
  std::error_code error;
  auto path = std::filesystem::canonical(info.dli_fname, error);
  if (error) path = std::filesystem::read_symlink("/proc/self/exe", error);
  return FString(path.string().c_str());
}

}  // namespace host
