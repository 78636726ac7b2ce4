// Shrinking creatures again a second after the game wrote them: a world save writes every
// creature in one go, so the creatures it put back to full size are gathered into one batch that
// a single host timer re-applies (with force), instead of a timer per creature; an export or a
// snapshot, which copies a creature that stays in the world, joins the same batch. Each creature
// is held by a weak reference, with the label its re-application is logged under: one gone by
// then is skipped. Game thread.
#pragma once

#include <cstddef>
#include <string>

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

// Brackets one world save, so that it is summed up in one line once its re-application has run:
// the creatures queued between the two calls belong to it, and EndWorldSave is told how many it
// put back to full size. A save that queued nothing gets its line at EndWorldSave; the others
// when the batch runs, one line per save in the order they were made. A batch of copies alone
// writes none. A save within a save belongs to the outer one. EndWorldSave never throws.
void BeginWorldSave();
void EndWorldSave(std::size_t restored) noexcept;

// "[Tinyhorde] World saved: <restored> creature(s) restored to scale 1.0 for it, ..."
std::string WorldSaveText(std::size_t restored, std::size_t shrunk, std::size_t gone);

// Drops the pending batch, for when its timer is gone: the plugin's start-up and shut-down call
// it (the host drops the timer with the plugin's others). The saves waiting for it get no line.
void ForgetPostSaveResizes();

// For tests only: the creatures waiting in the pending batch.
std::size_t PendingPostSaveResizesForTests();

}  // namespace tinyhorde
