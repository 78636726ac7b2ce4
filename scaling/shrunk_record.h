// The creatures this plugin has given a size other than full size (body or camera). A recorded
// creature is put back before any storage and at unload whatever the settings say by then (a
// reload that dropped its class, OnlyTamed switched on, a setscale key that is gone), and
// restoring it needs no classification.
//
// Entries are found by the creature's address, a cheap look-up for the many creatures that are
// not recorded, but an address is no identity: each entry holds a weak reference, and an entry
// whose reference no longer resolves to the same creature is stale and dropped. Game thread.
#pragma once

#include <cstddef>
#include <vector>

#include "host/types.h"

namespace tinyhorde {

// Records creature before its size is changed; may throw when the game lacks weak references.
void RecordShrunk(host::APrimalDinoCharacter* creature);
// Marks creature as back at full size; its entry is kept for the next time it is shrunk.
void MarkRestored(const void* creature);
// Drops creature's entry (gone, or a new creature at its address).
void ForgetShrunk(const void* creature);
bool IsRecordedShrunk(const void* creature);
// Every recorded creature that still exists; stale entries are dropped.
std::vector<host::APrimalDinoCharacter*> RecordedShrunkCreatures();
// Creatures recorded as shrunk now, stale entries included.
std::size_t RecordedShrunkCount();
void ClearShrunkRecord();

}  // namespace tinyhorde
