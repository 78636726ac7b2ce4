#include "scaling/delayed_resize.h"

#include <atomic>
#include <string>

#include <fmt/format.h>

#include "host/game.h"
#include "host/services.h"
#include "plugin/contained.h"
#include "plugin/lifecycle.h"
#include "scaling/scale_application.h"
#include "scaling/weak_reference.h"

namespace tinyhorde {

namespace {
std::atomic<std::uint64_t> timer_serial{0};
}  // namespace

std::uint64_t TimerSerial() {
  return timer_serial.load();
}

void ScheduleDelayedResize(host::APrimalDinoCharacter* creature, const char* label, int seconds) {
  if (creature == nullptr) return;
  const host::FWeakObjectPtr weak = MakeWeakReference(creature);
  std::string text = label != nullptr ? label : "Delayed";
  const std::uint64_t serial = timer_serial.fetch_add(1) + 1;
  const host::FString name(fmt::format("Tinyhorde_Timer_{}", serial).c_str());
  auto callback = [weak, text]() {
    // The host may still run a timer after the plugin was unloaded; then it does nothing.
    if (!PluginIsActive()) return;
    Contained("Delayed resize", [&] {
      auto* object = ResolveWeakReference(weak);
      if (object == nullptr) return;
      ApplyCreatureScale(reinterpret_cast<host::APrimalDinoCharacter*>(object), text.c_str(), true);
    });
  };
  host::DelayExecute(callback, seconds, name);
}

}  // namespace tinyhorde
