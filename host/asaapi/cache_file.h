// Opening the host's offsets cache files on Windows, as the reader in host/shared needs them.
#pragma once

#include <memory>
#include <string>

#include "offsets_cache.h"

namespace host::asaapi {

// An offsets_cache::Opener: opens path (UTF-8) read-only while letting the host go on writing,
// moving and deleting the file. Null with *why_not "not found", "locked" or "unreadable" when it
// cannot. Throws nothing.
std::unique_ptr<offsets_cache::File> OpenCacheFile(const std::string& path,
                                                   std::string* why_not) noexcept;

}  // namespace host::asaapi
