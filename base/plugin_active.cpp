#include "base/plugin_active.h"

#include <atomic>

namespace tinyhorde {

namespace {
std::atomic<bool> active{false};
}  // namespace

bool PluginIsActive() noexcept {
  return active.load();
}

void SetPluginActive(bool value) noexcept {
  active.store(value);
}

}  // namespace tinyhorde
