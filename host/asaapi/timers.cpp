// Timers over the host's timer. Its public DelayExecute and UnloadAllTimers key a timer by the
// calling plugin's library path, which their inline GetDllName computes in this library: it takes
// the address of AActor::StaticClass, an inline member of a class the SDK does not import, so
// the address is that of this library's own copy. The host drops the same key's pending timers
// when it unloads the library.
//
// The host's timer compares due times with the system clock on each of its ticks; the plugin's
// own reading of time uses the steady clock beside it, which an administrator setting the
// system's time cannot move back.
#include <chrono>

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

double TimerClockSeconds() {
  using Seconds = std::chrono::duration<double>;
  return std::chrono::duration_cast<Seconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace host
