#include "scaling/shrunk_record.h"

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "scaling/weak_reference.h"

namespace tinyhorde {

namespace {

struct Entry {
  host::FWeakObjectPtr reference;
  std::uint64_t sequence;  // restores run in the order creatures were first recorded
};

std::mutex record_mutex;
std::unordered_map<const void*, Entry> record;
std::uint64_t next_sequence = 0;

bool SameObject(const host::FWeakObjectPtr& a, const host::FWeakObjectPtr& b) {
  return a.ObjectIndex == b.ObjectIndex && a.ObjectSerialNumber == b.ObjectSerialNumber;
}

}  // namespace

void RecordShrunk(host::APrimalDinoCharacter* creature) {
  if (creature == nullptr) return;
  const host::FWeakObjectPtr reference = MakeWeakReference(creature);
  const std::lock_guard lock(record_mutex);
  auto [it, added] = record.try_emplace(creature, Entry{reference, next_sequence});
  if (added) {
    ++next_sequence;
  } else if (!SameObject(it->second.reference, reference)) {
    // A creature now at the address of a stale entry replaces it.
    it->second = Entry{reference, next_sequence++};
  }
}

void ForgetShrunk(const void* creature) {
  const std::lock_guard lock(record_mutex);
  record.erase(creature);
}

bool IsRecordedShrunk(const void* creature) {
  host::FWeakObjectPtr reference;
  {
    const std::lock_guard lock(record_mutex);
    const auto it = record.find(creature);
    if (it == record.end()) return false;
    reference = it->second.reference;
  }
  // Resolved without the lock held: the game is not called under it.
  if (ResolveWeakReference(reference) == creature) return true;
  const std::lock_guard lock(record_mutex);
  const auto it = record.find(creature);
  if (it != record.end() && SameObject(it->second.reference, reference)) record.erase(it);
  return false;
}

std::vector<host::APrimalDinoCharacter*> RecordedShrunkCreatures() {
  std::vector<std::pair<const void*, Entry>> entries;
  {
    const std::lock_guard lock(record_mutex);
    entries.assign(record.begin(), record.end());
  }
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.second.sequence < b.second.sequence; });
  std::vector<host::APrimalDinoCharacter*> alive;
  for (const auto& [address, entry] : entries) {
    const host::FWeakObjectPtr& reference = entry.reference;
    if (ResolveWeakReference(reference) == address) {
      alive.push_back(static_cast<host::APrimalDinoCharacter*>(const_cast<void*>(address)));
      continue;
    }
    const std::lock_guard lock(record_mutex);
    const auto it = record.find(address);
    if (it != record.end() && SameObject(it->second.reference, reference)) record.erase(it);
  }
  return alive;
}

std::size_t RecordedShrunkCount() {
  const std::lock_guard lock(record_mutex);
  return record.size();
}

void ClearShrunkRecord() {
  const std::lock_guard lock(record_mutex);
  record.clear();
}

}  // namespace tinyhorde
