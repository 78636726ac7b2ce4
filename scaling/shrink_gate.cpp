#include "scaling/shrink_gate.h"

#include <atomic>

namespace tinyhorde {

namespace {

std::vector<std::string> missing_hooks;
std::vector<std::string> missing_functions;
std::vector<std::string> lacked_names;
std::atomic<bool> allowed{true};

void Update() {
  allowed = missing_hooks.empty() && missing_functions.empty() && lacked_names.empty();
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

void SetLackedGameNames(std::vector<std::string> names) {
  lacked_names = std::move(names);
  Update();
}

bool ShrinkingAllowed() {
  return allowed.load();
}

std::string ShrinkingOffReason() {
  std::string reason;
  AppendList(reason, "the game lacks ", lacked_names);
  AppendList(reason, "storage hooks missing: ", missing_hooks);
  AppendList(reason, "game functions missing: ", missing_functions);
  return reason;
}

}  // namespace tinyhorde
