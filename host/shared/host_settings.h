// What the two bindings share about the host's own settings: the answer read from its
// config.json, and the guard that keeps a game name the SDK shows on no live line from reaching a
// host that would stop the server over it. Internal to the bindings; plugin code uses
// host/services.h. Game thread.
#pragma once

#include <string>

#include "host/game_names.h"

namespace host::binding {

// Supplied by each binding: the host's config.json, spelled as the host opens it, and whether
// that file was written after the server process started (true when that cannot be told).
std::string HostConfigPath();
bool WrittenSinceServerStart(const std::string& path);

// Whether the host may be asked to hook this name now: every name on the list but a marked one,
// and a marked hook while HostSurvivesUnknownFunctions() holds.
bool MayHook(const GameName& name);
// Whether the host may be asked for this name's address or offset: never for a marked one.
inline bool MayLookUp(const GameName& name) {
  return name.unverified_because == nullptr;
}

}  // namespace host::binding
