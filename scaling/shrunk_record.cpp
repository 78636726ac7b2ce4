#include "scaling/shrunk_record.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "base/spin_lock.h"
#include "scaling/weak_reference.h"

namespace tinyhorde {

namespace {

// An entry outlives a restore, marked as no longer shrunk, so that a creature shrunk again and
// again (after every save) costs no allocation.
struct Entry {
  host::FWeakObjectPtr reference;
  std::uint64_t sequence;  // restores run in the order creatures were last recorded
  bool shrunk;
};

SpinLock record_mutex;
std::unordered_map<const void*, Entry> record;
std::uint64_t next_sequence = 0;
std::size_t shrunk_entries = 0;  // entries marked shrunk

bool SameObject(const host::FWeakObjectPtr& a, const host::FWeakObjectPtr& b) {
  return a.ObjectIndex == b.ObjectIndex && a.ObjectSerialNumber == b.ObjectSerialNumber;
}

// Drops the entry at address when it still holds reference, which no longer resolves to it.
void DropIfStale(const void* address, const host::FWeakObjectPtr& reference) {
  const std::lock_guard lock(record_mutex);
  const auto it = record.find(address);
  if (it == record.end() || !SameObject(it->second.reference, reference)) return;
  if (it->second.shrunk) --shrunk_entries;
  record.erase(it);
}

}  // namespace

void RecordShrunk(host::APrimalDinoCharacter* creature) {
  if (creature == nullptr) return;
  const host::FWeakObjectPtr reference = MakeWeakReference(creature);
  const std::lock_guard lock(record_mutex);
  auto [it, added] = record.try_emplace(creature, Entry{reference, next_sequence, true});
  Entry& entry = it->second;
  if (added) {
    ++next_sequence;
    ++shrunk_entries;
  } else if (!entry.shrunk || !SameObject(entry.reference, reference)) {
    // Shrunk again, or a creature now at the address of a stale entry replaces it.
    if (!entry.shrunk) ++shrunk_entries;
    entry = Entry{reference, next_sequence++, true};
  }
}

void MarkRestored(const void* creature) {
  const std::lock_guard lock(record_mutex);
  const auto it = record.find(creature);
  if (it == record.end() || !it->second.shrunk) return;
  it->second.shrunk = false;
  --shrunk_entries;
}

void ForgetShrunk(const void* creature) {
  const std::lock_guard lock(record_mutex);
  const auto it = record.find(creature);
  if (it == record.end()) return;
  if (it->second.shrunk) --shrunk_entries;
  record.erase(it);
}

bool IsRecordedShrunk(const void* creature) {
  host::FWeakObjectPtr reference;
  {
    const std::lock_guard lock(record_mutex);
    const auto it = record.find(creature);
    if (it == record.end() || !it->second.shrunk) return false;
    reference = it->second.reference;
  }
  // Resolved without the lock held: the game is not called under it.
  if (ResolveWeakReference(reference) == creature) return true;
  DropIfStale(creature, reference);
  return false;
}

bool TakeShrunk(const void* creature) {
  host::FWeakObjectPtr reference;
  {
    const std::lock_guard lock(record_mutex);
    const auto it = record.find(creature);
    if (it == record.end() || !it->second.shrunk) return false;
    reference = it->second.reference;
    it->second.shrunk = false;
    --shrunk_entries;
  }
  // Resolved without the lock held: the game is not called under it.
  bool same = false;
  try {
    same = ResolveWeakReference(reference) == creature;
  } catch (...) {
    KeepShrunk(creature);
    throw;
  }
  if (same) return true;
  DropIfStale(creature, reference);
  return false;
}

void KeepShrunk(const void* creature) {
  const std::lock_guard lock(record_mutex);
  const auto it = record.find(creature);
  if (it == record.end() || it->second.shrunk) return;
  it->second.shrunk = true;
  ++shrunk_entries;
}

std::vector<RecordedCreature> RecordedShrunkEntries() {
  std::vector<std::pair<const void*, Entry>> entries;
  {
    const std::lock_guard lock(record_mutex);
    for (const auto& entry : record)
      if (entry.second.shrunk) entries.push_back(entry);
  }
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.second.sequence < b.second.sequence; });
  std::vector<RecordedCreature> alive;
  alive.reserve(entries.size());
  for (const auto& [address, entry] : entries) {
    const host::FWeakObjectPtr& reference = entry.reference;
    if (ResolveWeakReference(reference) == address) {
      alive.push_back(
          {static_cast<host::APrimalDinoCharacter*>(const_cast<void*>(address)), reference});
      continue;
    }
    DropIfStale(address, reference);
  }
  return alive;
}

std::vector<host::APrimalDinoCharacter*> RecordedShrunkCreatures() {
  std::vector<host::APrimalDinoCharacter*> creatures;
  for (const RecordedCreature& recorded : RecordedShrunkEntries())
    creatures.push_back(recorded.creature);
  return creatures;
}

std::size_t RecordedShrunkCount() {
  const std::lock_guard lock(record_mutex);
  return shrunk_entries;
}

void ClearShrunkRecord() {
  const std::lock_guard lock(record_mutex);
  record.clear();
  shrunk_entries = 0;
}

}  // namespace tinyhorde
