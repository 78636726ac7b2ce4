// Timers over the host's timer. Its public DelayExecute and UnloadAllTimers key a timer by the
// calling plugin's library path, which their inline GetDllName computes in this library: it takes
// the address of AActor::StaticClass, an inline member of a class the SDK does not import, so
// the address is that of this library's own copy. The host drops the same key's pending timers
// when it unloads the library.
#include "host/services.h"
#include "sdk_views.h"

namespace host {

void DelayExecute(const std::function<void()>& callback, int delaySeconds,
                  const FString& identifier) {
  API::Timer::Get().DelayExecute(asaapi::View(identifier), callback, delaySeconds);
}

void CancelTimers() {
  API::Timer::Get().UnloadAllTimers();
}

}  // namespace host
