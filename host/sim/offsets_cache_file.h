// The simulated binding's part of reading the host's offsets cache: where the cache folder is,
// and how a file of it is opened. Internal to host/sim.
#pragma once

#include <string>

#include "offsets_cache.h"

namespace host {

// Opens a cache file for reading with the standard library. Null when it cannot, with why:
// "not found" (no such file), "locked" (the simulated host holds the file locked), "unreadable"
// (anything else: no regular file, no permission, ...). Reading failures answer -1. Never throws.
offsets_cache::Opener SimCacheOpener();

// The host's cache folder for a plugin library at module_path (UTF-8): the host's ArkApi folder
// holds Plugins/<plugin>/<file>, and Cache beside Plugins. Empty when the path is not of that
// shape. No trailing separator.
std::string CacheFolderOfModule(const std::string& module_path);

// The cache folder the host uses (UTF-8, no trailing separator): the one beside the plugin's
// Plugins folder, from the plugin's own module path. Where the plugin's code is not a library in a
// host's plugin folder (a program that links it, as the tests do), the host's own: ArkApi/Cache
// in the host's current folder, where the server executable sits.
std::string SimCacheFolder();

}  // namespace host
