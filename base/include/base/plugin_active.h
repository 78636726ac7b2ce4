// Whether the plugin is running: set by start-up, cleared by shut-down. Code the host may run
// after shut-down (a timer callback, a deferred re-application) reads it and does nothing while
// it is clear. Any thread; the flag is atomic.
#pragma once

namespace tinyhorde {

bool PluginIsActive() noexcept;
void SetPluginActive(bool active) noexcept;

}  // namespace tinyhorde
