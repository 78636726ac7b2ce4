#include "base/contained.h"

#include <mutex>
#include <set>
#include <string>

#include <fmt/format.h>

#include "base/logger.h"

namespace tinyhorde {

namespace {

std::mutex report_mutex;
std::set<std::string> reported;  // guarded by report_mutex

}  // namespace

void ForgetReportedFailures() noexcept {
  const std::lock_guard lock(report_mutex);
  reported.clear();
}

void ReportFailure(const char* where, const char* what) noexcept {
  try {
    {
      const std::lock_guard lock(report_mutex);
      if (!reported.insert(where != nullptr ? where : "").second) return;
    }
    LogError(fmt::format("[Tinyhorde] {} failed: {}", where != nullptr ? where : "",
                         what != nullptr ? what : ""));
  } catch (...) {
    // A log that cannot be written is no reason to fail the game's call.
  }
}

}  // namespace tinyhorde
