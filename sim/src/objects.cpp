#include "sim/objects.h"

#include <cstdlib>
#include <cstring>

namespace sim {

ObjectTable::~ObjectTable() {
  for (auto& [block, size] : sizes_) std::free(block);
}

void* ObjectTable::Allocate(std::size_t size) {
  auto& reusable = free_blocks_[size];
  void* block = nullptr;
  if (!reusable.empty()) {
    block = reusable.back();
    reusable.pop_back();
  } else {
    block = std::aligned_alloc(16, (size + 15) / 16 * 16);
    sizes_[block] = size;
  }
  std::memset(block, 0, size);
  return block;
}

void ObjectTable::Register(UObject* object, UClass* cls, FName name) {
  std::int32_t index;
  if (!free_slots_.empty()) {
    index = free_slots_.back();
    free_slots_.pop_back();
  } else {
    index = static_cast<std::int32_t>(slots_.size());
    slots_.push_back(Slot{});
  }
  slots_[static_cast<std::size_t>(index)] = Slot{object, ++next_serial_};
  object->Base.InternalIndex = index;
  object->Base.ClassPrivate = cls;
  object->Base.NamePrivate = name;
}

void ObjectTable::Destroy(UObject* object) {
  if (!IsLive(object)) return;
  const auto index = static_cast<std::size_t>(object->Base.InternalIndex);
  slots_[index] = Slot{};
  free_slots_.push_back(static_cast<std::int32_t>(index));
  free_blocks_[sizes_.at(object)].push_back(object);
}

bool ObjectTable::IsLive(const void* object) const {
  if (object == nullptr || !sizes_.count(const_cast<void*>(object))) return false;
  const auto* base = static_cast<const UObject*>(object);
  const auto index = static_cast<std::size_t>(base->Base.InternalIndex);
  return index > 0 && index < slots_.size() && slots_[index].object == base;
}

FWeakObjectPtr ObjectTable::WeakOf(const UObject* object) {
  if (!IsLive(object)) return FWeakObjectPtr{};
  const auto index = object->Base.InternalIndex;
  return FWeakObjectPtr{index, slots_[static_cast<std::size_t>(index)].serial};
}

UObject* ObjectTable::Resolve(const FWeakObjectPtr& weak) const {
  if (weak.ObjectIndex <= 0 || static_cast<std::size_t>(weak.ObjectIndex) >= slots_.size())
    return nullptr;
  const Slot& slot = slots_[static_cast<std::size_t>(weak.ObjectIndex)];
  return slot.serial == weak.ObjectSerialNumber ? slot.object : nullptr;
}

}  // namespace sim
