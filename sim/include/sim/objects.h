// The game's object table. Every game object has a slot (its InternalIndex) and a serial number,
// which is what a weak reference holds; a destroyed object's slot is emptied, so its weak
// references resolve to null. Object memory goes back to a free list and is handed out again,
// newest first, to the next object of the same size, as a real allocator may.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <unordered_map>
#include <vector>

#include "sim/game_types.h"

namespace sim {

class ObjectTable {
 public:
  ObjectTable() = default;
  ObjectTable(const ObjectTable&) = delete;
  ObjectTable& operator=(const ObjectTable&) = delete;
  ~ObjectTable();

  // Zeroed memory of `size` bytes (at least sizeof(T)), a T built in it, registered with its
  // class and name.
  template <typename T>
  T* Create(UClass* cls, FName name, std::size_t size = sizeof(T)) {
    void* memory = Allocate(size < sizeof(T) ? sizeof(T) : size);
    T* object = new (memory) T();
    Register(reinterpret_cast<UObject*>(object), cls, name);
    return object;
  }

  // Empties the object's slot and returns its memory to the free list. The object's destructor
  // is the caller's business (game types own nothing that needs one, but game strings).
  void Destroy(UObject* object);

  bool IsLive(const void* object) const;
  FWeakObjectPtr WeakOf(const UObject* object);
  UObject* Resolve(const FWeakObjectPtr& weak) const;

 private:
  struct Slot {
    UObject* object = nullptr;
    std::int32_t serial = 0;
  };
  void* Allocate(std::size_t size);
  void Register(UObject* object, UClass* cls, FName name);

  std::vector<Slot> slots_{Slot{}};  // slot 0 is never used, so a zero weak reference is null
  std::vector<std::int32_t> free_slots_;
  std::int32_t next_serial_ = 0;
  std::unordered_map<void*, std::size_t> sizes_;
  std::unordered_map<std::size_t, std::vector<void*>> free_blocks_;
};

}  // namespace sim
