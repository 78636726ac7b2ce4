#include "plugin/contained.h"

#include <mutex>
#include <set>
#include <string>

#include <fmt/format.h>

#include "plugin/logger.h"

namespace tinyhorde {

void ReportFailure(const char* where, const char* what) noexcept {
  try {
    static std::mutex mutex;
    static std::set<std::string> reported;
    {
      const std::lock_guard lock(mutex);
      if (!reported.insert(where != nullptr ? where : "").second) return;
    }
    LogError(fmt::format("[Tinyhorde] {} failed: {}", where != nullptr ? where : "",
                         what != nullptr ? what : ""));
  } catch (...) {
    // A log that cannot be written is no reason to fail the game's call.
  }
}

}  // namespace tinyhorde
