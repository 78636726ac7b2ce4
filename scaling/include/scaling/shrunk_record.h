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
// For a caller about to put creature back: when it is recorded as shrunk (its entry still refers
// to it), marks it as restored in the same look-up and answers true; a stale entry is dropped and
// the answer is false. A caller whose restore then does not complete calls KeepShrunk. May throw
// when the game lacks weak references; the entry is then left as it was.
bool TakeShrunk(const void* creature);
// Undoes TakeShrunk: creature is recorded as shrunk again, in its old place in the order.
void KeepShrunk(const void* creature);
// A creature recorded as shrunk, with the weak reference taken when it was recorded.
struct RecordedCreature {
  host::APrimalDinoCharacter* creature;
  host::FWeakObjectPtr reference;
};
// Every recorded creature that still exists, in the order they were recorded; stale entries are
// dropped.
std::vector<RecordedCreature> RecordedShrunkEntries();
// The same, the creatures alone.
std::vector<host::APrimalDinoCharacter*> RecordedShrunkCreatures();
// Creatures recorded as shrunk now, stale entries included.
std::size_t RecordedShrunkCount();
void ClearShrunkRecord();

}  // namespace tinyhorde
