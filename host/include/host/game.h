// Reaching the game's fields, flags and functions by name ("Class.Field",
// "Class.Function(ArgTypes)"), through the host's look-up.
//
// A field or flag name the host does not know ends the server process (the real host terminates
// it; nothing can be caught). A function name the host does not know ends it too, unless the host
// runs with HooksDoNotThrow: then the address is null, and a GameFunction holding it raises
// UnknownGameName when called.
//
// Offsets and addresses do not change while the server process runs: each name is resolved once
// (GetFieldOffset, GetBitFieldOffset, GetFunctionAddress) and the result kept and used.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "host/game_names.h"
#include "host/types.h"

namespace host {

// Raised for a game name that cannot be resolved.
class UnknownGameName : public std::runtime_error {
 public:
  explicit UnknownGameName(const std::string& name)
      : std::runtime_error("unknown game name: " + name) {}
};

// The offset that stands for a field or flag the game lacks (host::CheckGameNames): reading or
// writing through it raises UnknownGameName, and never lands anywhere in the object.
inline constexpr std::uintptr_t kAbsentOffset = ~std::uintptr_t{0};

// Every look-up takes an entry of the list of game names (host/game_names.h), so that the plugin
// cannot ask the host for a name that is not on it.

// The address of the named game function; null when the host has none.
void* GetFunctionAddress(const GameName& name);

// The named field's offset from the start of its object; kAbsentOffset for one the game lacks.
std::uintptr_t GetFieldOffset(const GameName& name);
// The named flag with its word's offset relative to the start of its object; its offset is
// kAbsentOffset for one the game lacks.
BitField GetBitFieldOffset(const GameName& name);

[[noreturn]] inline void ThrowAbsentField() {
  throw UnknownGameName("a field or flag the game lacks");
}

// The field at a resolved offset inside object.
template <typename T>
T& FieldAt(const void* object, std::uintptr_t offset) {
  if (offset == kAbsentOffset) [[unlikely]]
    ThrowAbsentField();
  return *reinterpret_cast<T*>(reinterpret_cast<std::uintptr_t>(object) + offset);
}

// A flag of object, from a description resolved relative to the object. A flag is set when any
// of its selected bits is set.
inline bool IsFlagSetIn(const void* object, BitField relative) {
  if (relative.offset == kAbsentOffset) [[unlikely]]
    ThrowAbsentField();
  const auto word = *reinterpret_cast<const uint32*>(reinterpret_cast<std::uintptr_t>(object) +
                                                     static_cast<std::uintptr_t>(relative.offset));
  const uint64 mask = relative.num_bits >= 32 ? 0xffffffffULL : ((1ULL << relative.num_bits) - 1);
  return ((static_cast<uint64>(word) >> relative.bit_position) & mask) != 0;
}

// A game function resolved once by name and called through its kept address; a member function
// takes its object as the first argument. Until Resolve finds an address, or when the host has
// none, a call raises UnknownGameName and reaches nothing.
template <typename Signature>
class GameFunction;

template <typename R, typename... Args>
class GameFunction<R(Args...)> {
 public:
  explicit constexpr GameFunction(const GameName& name) : name_(&name) {}

  // Looks the name up; answers whether the host has the function.
  bool Resolve() {
    address_ = reinterpret_cast<R (*)(Args...)>(GetFunctionAddress(*name_));
    return address_ != nullptr;
  }
  bool Resolved() const { return address_ != nullptr; }
  const char* Name() const { return name_->name; }

  R operator()(Args... args) const {
    if (address_ == nullptr) throw UnknownGameName(name_->name);
    return address_(args...);
  }

 private:
  const GameName* name_;
  R (*address_)(Args...) = nullptr;
};

}  // namespace host
