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

// binding::OffsetsCacheFolder and binding::OffsetsCacheOpener (host_settings.h) are defined here:
// the folder from the plugin's own module path, the opener SimCacheOpener.

}  // namespace host
