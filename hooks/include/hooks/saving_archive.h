// Whether the game is writing a character through an archive, read from the archive's flag byte.
// Where that byte lies depends on how the game was built; see saving_archive.cpp. Game thread.
#pragma once

#include <cstddef>

#include "host/types.h"

namespace tinyhorde {

// The flag byte's offset in this archive: 40 where the archive shows the cooked layout, else 8.
std::size_t SavingFlagByte(const host::FArchive* archive);

// Whether the archive's saving flag is set. The first saving archive seen after ForgetArchiveLayout
// is logged once at info, naming the byte the flag was read at.
bool IsSavingArchive(const host::FArchive* archive);

// The next saving archive is logged again (the plugin's start-up calls it).
void ForgetArchiveLayout();

}  // namespace tinyhorde
