// Shrinking creatures again a second after the game wrote them: a world save writes every
// creature in one go, so the creatures it put back to full size are gathered into one batch that
// a single host timer re-applies (with force), instead of a timer per creature; an export or a
// snapshot, which copies a creature that stays in the world, joins the same batch. Each creature
// is held by a weak reference, with the label its re-application is logged under: one gone by
// then is skipped. Game thread.
#pragma once

#include "host/types.h"

namespace tinyhorde {

// The label of a creature put back for a world save.
inline constexpr const char* kPostSaveLabel = "Post-SaveWorld";

// Adds the creature to the pending batch, scheduling the batch's timer when none is pending. A
// null creature adds nothing. The label must be a string that lives as long as the library.
void QueuePostSaveResize(host::APrimalDinoCharacter* creature, const char* label = kPostSaveLabel);
// The same for a creature the caller already holds a live weak reference to.
void QueuePostSaveResize(const host::FWeakObjectPtr& reference, const char* label = kPostSaveLabel);
// The same, unless the creature waits in the batch already (under any label): a copy made while
// a save's batch is pending does not apply twice.
void QueueResizeAfterCopy(host::APrimalDinoCharacter* creature, const char* label);

// Drops the pending batch, for when its timer is gone: the plugin's start-up and shut-down call
// it (the host drops the timer with the plugin's others).
void ForgetPostSaveResizes();

// For tests only: the creatures waiting in the pending batch.
std::size_t PendingPostSaveResizesForTests();

}  // namespace tinyhorde
