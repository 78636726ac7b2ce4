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

// After a world save that wrote characters through no archive recognised as saving: the plugin
// cannot see such archives, so a cryopod or a transfer made through the game's serializer alone
// (by another plugin or a mod) may store a creature at its reduced size. Logs that warning once
// per load of the plugin.
void ReportUnrecognisedArchives();

// The next saving archive is logged again, and so is the warning above (the plugin's start-up
// calls it).
void ForgetArchiveLayout();

}  // namespace tinyhorde
