// Keeping the plugin's own failures inside the plugin. Nothing the plugin throws may reach the
// game or the host: on the real server an exception leaving a detour, a handler or a timer
// callback ends the process, and one leaving Plugin_Init leaves a library the host can never
// unload.
#pragma once

#include <exception>

namespace tinyhorde {

// Logs "[Tinyhorde] {where} failed: {what}", once per place for the life of the library, so
// that a detour failing on every character does not flood the log. Never throws.
void ReportFailure(const char* where, const char* what) noexcept;
// Lets every place report once more; Plugin_Init calls it.
void ForgetReportedFailures() noexcept;

// Runs work; whatever it throws is reported under where and goes no further. Answers whether
// work completed.
template <typename Work>
bool Contained(const char* where, Work&& work) noexcept {
  try {
    work();
    return true;
  } catch (const std::exception& error) {
    ReportFailure(where, error.what());
  } catch (...) {
    ReportFailure(where, "unknown error");
  }
  return false;
}

}  // namespace tinyhorde
