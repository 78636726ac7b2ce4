#include "scaling/post_save_resize.h"

#include <utility>
#include <vector>

#include "base/plugin_active.h"
#include "scaling/delayed_resize.h"
#include "scaling/weak_reference.h"

namespace tinyhorde {

namespace {

constexpr const char* kLabel = "Post-SaveWorld";
constexpr int kSeconds = 1;

// The batch being gathered, and the one being re-applied; their buffers are kept from save to
// save, so that a save of the same world allocates nothing.
std::vector<host::FWeakObjectPtr> batch;
std::vector<host::FWeakObjectPtr> due;
bool timer_pending = false;

void ReapplyBatch() {
  // The host may still run a timer after the plugin was unloaded; then it does nothing.
  if (!PluginIsActive()) return;
  due.clear();
  due.swap(batch);
  timer_pending = false;
  for (const host::FWeakObjectPtr& weak : due) ApplyDelayedResize(weak, kLabel);
}

}  // namespace

void QueuePostSaveResize(host::APrimalDinoCharacter* creature) {
  if (creature == nullptr) return;
  QueuePostSaveResize(MakeWeakReference(creature));
}

void QueuePostSaveResize(const host::FWeakObjectPtr& reference) {
  batch.push_back(reference);
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

std::size_t PendingPostSaveResizes() {
  return batch.size();
}

}  // namespace tinyhorde
