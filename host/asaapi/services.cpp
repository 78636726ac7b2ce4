// The current world and the host's log sinks.
#include "host/services.h"
#include "sdk.h"

namespace host {

UWorld* CurrentWorld() {
  return reinterpret_cast<UWorld*>(AsaApi::GetApiUtils().GetWorld());
}

std::vector<spdlog::sink_ptr>& GetLogSinks() {
  return ::GetLogSinks();
}

}  // namespace host
