#include "scaling/shrink_gate.h"

#include <atomic>

namespace tinyhorde {

namespace {

std::vector<std::string> missing_hooks;
std::vector<std::string> missing_functions;
std::atomic<bool> allowed{true};

void Update() {
  allowed = missing_hooks.empty() && missing_functions.empty();
}

void AppendList(std::string& text, const char* what, const std::vector<std::string>& names) {
  if (names.empty()) return;
  if (!text.empty()) text += "; ";
  text += what;
  for (std::size_t i = 0; i < names.size(); ++i) text += (i == 0 ? "" : ", ") + names[i];
}

}  // namespace

void SetMissingStorageHooks(std::vector<std::string> names) {
  missing_hooks = std::move(names);
  Update();
}

const std::vector<std::string>& MissingStorageHooks() {
  return missing_hooks;
}

void SetMissingGameFunctions(std::vector<std::string> names) {
  missing_functions = std::move(names);
  Update();
}

const std::vector<std::string>& MissingGameFunctions() {
  return missing_functions;
}

bool ShrinkingAllowed() {
  return allowed.load();
}

std::string ShrinkingOffReason() {
  std::string reason;
  AppendList(reason, "storage hooks missing: ", missing_hooks);
  AppendList(reason, "game functions missing: ", missing_functions);
  return reason;
}

}  // namespace tinyhorde
