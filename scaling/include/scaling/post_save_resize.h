// Shrinking creatures again a second after a world save. A save writes every creature in one go,
// so the creatures it put back to full size are gathered into one batch that a single host timer
// re-applies ("Post-SaveWorld", with force), instead of a timer per creature. Each creature is
// held by a weak reference: one gone by then is skipped. Game thread.
#pragma once

#include "host/types.h"

namespace tinyhorde {

// Adds the creature to the pending batch, scheduling the batch's timer when none is pending. A
// null creature adds nothing.
void QueuePostSaveResize(host::APrimalDinoCharacter* creature);
// The same for a creature the caller already holds a live weak reference to.
void QueuePostSaveResize(const host::FWeakObjectPtr& reference);

// Drops the pending batch, for when its timer is gone: the plugin's start-up and shut-down call
// it (the host drops the timer with the plugin's others).
void ForgetPostSaveResizes();

// Creatures waiting in the pending batch.
std::size_t PendingPostSaveResizes();

}  // namespace tinyhorde
