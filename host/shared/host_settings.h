// What the two bindings share about the host's own settings: the answer read from its
// config.json, and the guard that keeps a game name the SDK shows on no live line from reaching a
// host that would stop the server over it. Internal to the bindings; plugin code uses
// host/services.h. Game thread.
#pragma once

#include <string>

#include "host/game_names.h"
#include "offsets_cache.h"

namespace host::binding {

// Supplied by each binding: the host's config.json, spelled as the host opens it, and whether
// that file was written after the server process started (true when that cannot be told).
std::string HostConfigPath();
bool WrittenSinceServerStart(const std::string& path);

// Whether the host may be asked to hook this name now: every name on the list but a marked one,
// and a marked hook while HostSurvivesUnknownFunctions() holds.
bool MayHook(const GameName& name);
// Supplied by each binding: the plugin library's own file (UTF-8; built without the game's strings,
// since it is needed before the game's allocator may be asked for), and the opening of the
// offsets cache's files.
std::string PluginModuleFile();
offsets_cache::Opener OffsetsCacheOpener();
// The host's offsets cache folder (UTF-8, no trailing separator), from the two above.
std::string OffsetsCacheFolder();
// The cache folder for a plugin library at module_path (UTF-8): the host's ArkApi folder holds
// Plugins/<plugin>/<file>, and Cache beside Plugins. Where the plugin's code is no library in a
// host's plugin folder (a program that links it), the host's own: ArkApi/Cache in current_dir, the
// server executable's folder.
std::string OffsetsCacheFolderOf(const std::string& module_path, const std::string& current_dir);

// Whether the last CheckGameNames found the name absent from a valid cache (game_names_check.cpp).
bool AbsentFromCache(const GameName& name);

// Whether the host may be asked for this name's address or offset: never for a marked one, nor
// for one the game lacks.
inline bool MayLookUp(const GameName& name) {
  return name.unverified_because == nullptr && !AbsentFromCache(name);
}

}  // namespace host::binding
