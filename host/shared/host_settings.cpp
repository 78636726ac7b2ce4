// The host's HooksDoNotThrow setting, read as the host reads it, and the guard on marked names.
// Both bindings build it.
#include "host_settings.h"

#include <fstream>

#include <nlohmann/json.hpp>

#include "host/services.h"

namespace host {

namespace {

// The answer of the last ReadHostSettings; false before the first.
bool host_survives_unknown_functions = false;

}  // namespace

void ReadHostSettings() {
  host_survives_unknown_functions = false;
  try {
    // The host opens the same path with a narrow stream, reads the whole document and takes
    // cfg["settings"].value("HooksDoNotThrow", false) inside a catch-all: whatever throws there
    // leaves it at false, and so it does here.
    const std::string path = binding::HostConfigPath();
    std::ifstream file(path);
    if (!file.is_open()) return;
    nlohmann::json config;
    file >> config;
    const bool set = config["settings"].value("HooksDoNotThrow", false);
    // The host read the file once, when the server started: a later edit is not what it holds.
    host_survives_unknown_functions = set && !binding::WrittenSinceServerStart(path);
  } catch (...) {
    host_survives_unknown_functions = false;
  }
}

bool HostSurvivesUnknownFunctions() {
  return host_survives_unknown_functions;
}

bool binding::MayHook(const GameName& name) {
  if (AbsentFromCache(name)) return false;
  if (name.unverified_because == nullptr) return true;
  return name.kind == GameNameKind::Hook && host_survives_unknown_functions;
}

}  // namespace host
