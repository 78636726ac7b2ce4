// Player messages over the host's messaging manager. The host picks the manager by the calling
// plugin's library path, which its inline GetDllName computes here, in this library. Before the
// game has a world there is no manager and sending would crash the server, so a message then is
// dropped.
#include "host/services.h"
#include "sdk.h"

namespace host {

namespace {

class AsaApiMessenger : public Messenger {
 public:
  void SendPlayerMessage(AShooterPlayerController* player, const FLinearColor& colour,
                         const FString& text) override {
    auto& utils = AsaApi::GetApiUtils();
    if (utils.GetWorld() == nullptr) return;
    // The text is an argument of a wide format, never a format itself, so braces in it stay.
    const wchar_t* wide = *text;
    utils.SendServerMessage(reinterpret_cast<::AShooterPlayerController*>(player),
                            ::FLinearColor(colour.R, colour.G, colour.B, colour.A), L"{}", wide);
  }
};

}  // namespace

std::shared_ptr<Messenger> GetMessenger() {
  static const auto messenger = std::make_shared<AsaApiMessenger>();
  return messenger;
}

}  // namespace host
