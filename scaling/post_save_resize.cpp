#include "scaling/post_save_resize.h"

#include <utility>
#include <vector>

#include <fmt/format.h>

#include "base/contained.h"
#include "base/game_names_check.h"
#include "base/logger.h"
#include "base/plugin_active.h"
#include "scaling/delayed_resize.h"
#include "scaling/detail_log_budget.h"
#include "scaling/weak_reference.h"

namespace tinyhorde {

namespace {

constexpr int kSeconds = 1;

constexpr std::size_t kNoSave = static_cast<std::size_t>(-1);

struct PendingResize {
  host::FWeakObjectPtr reference;
  const char* label;
  std::size_t save;  // index of its world save in the batch's saves, or kNoSave
};

// What one world save's line says.
struct SaveSummary {
  std::size_t restored = 0;
  std::size_t queued = 0;
  std::size_t shrunk = 0;
  std::size_t gone = 0;
};

// The batch being gathered, and the one being re-applied, each with its world saves; their
// buffers are kept from save to save, so that a save of the same world allocates nothing.
std::vector<PendingResize> batch;
std::vector<PendingResize> due;
std::vector<SaveSummary> batch_saves;
std::vector<SaveSummary> due_saves;
bool timer_pending = false;
// The world save under way (an index into batch_saves, or kNoSave), and how deep in saves.
std::size_t open_save = kNoSave;
int save_depth = 0;

void WriteSaveLine(const SaveSummary& save) {
  LogInfo(WorldSaveText(save.restored, save.shrunk, save.gone));
}

void ReapplyBatch() {
  // The host may still run a timer after the plugin was unloaded; then it does nothing.
  if (!PluginIsActive()) return;
  const DetailLinesInstant instant;
  due.clear();
  due.swap(batch);
  due_saves.clear();
  due_saves.swap(batch_saves);
  timer_pending = false;
  for (const PendingResize& pending : due) {
    const DelayedResizeOutcome outcome = ApplyDelayedResize(pending.reference, pending.label);
    if (pending.save == kNoSave) continue;
    SaveSummary& save = due_saves[pending.save];
    if (outcome == DelayedResizeOutcome::kApplied) ++save.shrunk;
    if (outcome == DelayedResizeOutcome::kGone) ++save.gone;
  }
  // A timer's callback: nothing may leave it.
  Contained("World save line", [] {
    for (const SaveSummary& save : due_saves) WriteSaveLine(save);
  });
}

bool SameObject(const host::FWeakObjectPtr& a, const host::FWeakObjectPtr& b) {
  return a.ObjectIndex == b.ObjectIndex && a.ObjectSerialNumber == b.ObjectSerialNumber;
}

}  // namespace

void QueuePostSaveResize(host::APrimalDinoCharacter* creature, const char* label) {
  if (creature == nullptr) return;
  QueuePostSaveResize(MakeWeakReference(creature), label);
}

void QueueResizeAfterCopy(host::APrimalDinoCharacter* creature, const char* label) {
  if (creature == nullptr) return;
  const host::FWeakObjectPtr reference = MakeWeakReference(creature);
  for (const PendingResize& pending : batch)
    if (SameObject(pending.reference, reference)) return;
  QueuePostSaveResize(reference, label);
}

void QueuePostSaveResize(const host::FWeakObjectPtr& reference, const char* label) {
  if (!FeatureOn(host::feature::kDelayedPasses)) return;
  batch.push_back({reference, label, open_save});
  if (open_save != kNoSave) ++batch_saves[open_save].queued;
  if (timer_pending) return;
  timer_pending = true;
  try {
    ScheduleNamedTimer(ReapplyBatch, kSeconds);
  } catch (...) {
    // Without a timer nothing would ever run the batch: the next creature tries again. The batch
    // was empty before this creature, so the save under way, if any, has no other queued.
    timer_pending = false;
    batch.clear();
    if (open_save != kNoSave) batch_saves[open_save].queued = 0;
    throw;
  }
}

void BeginWorldSave() {
  if (save_depth++ > 0) return;
  batch_saves.emplace_back();
  open_save = batch_saves.size() - 1;
}

void EndWorldSave(std::size_t restored) noexcept {
  if (save_depth == 0 || --save_depth > 0) return;
  const std::size_t index = open_save;
  open_save = kNoSave;
  if (index >= batch_saves.size()) return;
  batch_saves[index].restored = restored;
  if (batch_saves[index].queued > 0) return;
  // Nothing to re-apply: the save is summed up now, and leaves the batch (it is the last save
  // in it: saves do not overlap).
  const SaveSummary save = batch_saves[index];
  batch_saves.pop_back();
  try {
    WriteSaveLine(save);
  } catch (...) {
    // A line that cannot be written is lost, as every other.
  }
}

std::string WorldSaveText(std::size_t restored, std::size_t shrunk, std::size_t gone) {
  const std::size_t left = restored > shrunk + gone ? restored - shrunk - gone : 0;
  return fmt::format(
      "[Tinyhorde] World saved: {} creature(s) restored to scale 1.0 for it, {} shrunk again, {} "
      "gone meanwhile, {} left at full size.",
      restored, shrunk, gone, left);
}

void ForgetPostSaveResizes() {
  batch.clear();
  batch_saves.clear();
  open_save = kNoSave;
  save_depth = 0;
  timer_pending = false;
}

std::size_t PendingPostSaveResizesForTests() {
  return batch.size();
}

}  // namespace tinyhorde
