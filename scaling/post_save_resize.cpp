#include "scaling/post_save_resize.h"

#include <utility>
#include <vector>

#include "base/game_names_check.h"
#include "base/plugin_active.h"
#include "scaling/delayed_resize.h"
#include "scaling/weak_reference.h"

namespace tinyhorde {

namespace {

constexpr int kSeconds = 1;

struct PendingResize {
  host::FWeakObjectPtr reference;
  const char* label;
};

// The batch being gathered, and the one being re-applied; their buffers are kept from save to
// save, so that a save of the same world allocates nothing.
std::vector<PendingResize> batch;
std::vector<PendingResize> due;
bool timer_pending = false;

void ReapplyBatch() {
  // The host may still run a timer after the plugin was unloaded; then it does nothing.
  if (!PluginIsActive()) return;
  due.clear();
  due.swap(batch);
  timer_pending = false;
  for (const PendingResize& pending : due) ApplyDelayedResize(pending.reference, pending.label);
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
  batch.push_back({reference, label});
  if (timer_pending) return;
  timer_pending = true;
  try {
    ScheduleNamedTimer(ReapplyBatch, kSeconds);
  } catch (...) {
    // Without a timer nothing would ever run the batch: the next creature tries again.
    timer_pending = false;
    batch.clear();
    throw;
  }
}

void ForgetPostSaveResizes() {
  batch.clear();
  timer_pending = false;
}

std::size_t PendingPostSaveResizesForTests() {
  return batch.size();
}

}  // namespace tinyhorde
