#include "scaling/shrink_gate.h"

#include <atomic>

namespace tinyhorde {

namespace {
std::vector<std::string> missing;
std::atomic<bool> allowed{true};
}  // namespace

void SetMissingStorageHooks(std::vector<std::string> names) {
  missing = std::move(names);
  allowed = missing.empty();
}

const std::vector<std::string>& MissingStorageHooks() {
  return missing;
}

bool ShrinkingAllowed() {
  return allowed.load();
}

std::string ShrinkingOffReason() {
  if (missing.empty()) return "";
  std::string reason = "storage hooks missing: ";
  for (std::size_t i = 0; i < missing.size(); ++i) reason += (i == 0 ? "" : ", ") + missing[i];
  return reason;
}

}  // namespace tinyhorde
