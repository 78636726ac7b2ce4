// Reaching the game's fields, flags and functions by name ("Class.Field",
// "Class.Function(ArgTypes)"), through the host's look-up.
//
// A field or flag name the host does not know ends the server process (the real host terminates
// it; nothing can be caught). A function name the host does not know ends it too, unless the host
// runs with HooksDoNotThrow: then the address is null. CallGame turns a null address into an
// UnknownGameName error.
//
// Offsets and addresses do not change while the server process runs, so each name can be
// resolved once (GetFieldOffset, GetBitFieldOffset, GetFunctionAddress) and the result kept.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

#include "host/types.h"

namespace host {

// Raised for a game name that cannot be resolved.
class UnknownGameName : public std::runtime_error {
 public:
  explicit UnknownGameName(const std::string& name)
      : std::runtime_error("unknown game name: " + name) {}
};

// The address of the named field inside object.
std::uintptr_t GetFieldAddress(const void* object, const std::string& name);
// Where the named one-bit flag of object lives.
BitField GetBitField(const void* object, const std::string& name);
// The address of the named game function; null when the host has none.
void* GetFunctionAddress(const std::string& name);

// The named field's offset from the start of its object.
std::uintptr_t GetFieldOffset(const std::string& name);
// The named flag with its word's offset relative to the start of its object.
BitField GetBitFieldOffset(const std::string& name);

// The field at a resolved offset inside object.
template <typename T>
T& FieldAt(const void* object, std::uintptr_t offset) {
  return *reinterpret_cast<T*>(reinterpret_cast<std::uintptr_t>(object) + offset);
}

template <typename T>
T& Field(const void* object, const std::string& name) {
  return *reinterpret_cast<T*>(GetFieldAddress(object, name));
}

// A flag is set when any of its selected bits is set.
inline bool IsFlagSet(const BitField& field) {
  const auto word = *reinterpret_cast<const uint32*>(static_cast<std::uintptr_t>(field.offset));
  const uint64 mask = field.num_bits >= 32 ? 0xffffffffULL : ((1ULL << field.num_bits) - 1);
  return ((static_cast<uint64>(word) >> field.bit_position) & mask) != 0;
}

inline bool ReadFlag(const void* object, const std::string& name) {
  return IsFlagSet(GetBitField(object, name));
}

// A flag of object, from a description resolved relative to the object.
inline bool IsFlagSetIn(const void* object, BitField relative) {
  relative.offset += static_cast<uint64>(reinterpret_cast<std::uintptr_t>(object));
  return IsFlagSet(relative);
}

// A game function resolved once by name and called through its kept address; a member function
// takes its object as the first argument. Until Resolve finds an address, or when the host has
// none, a call raises UnknownGameName and reaches nothing.
template <typename Signature>
class GameFunction;

template <typename R, typename... Args>
class GameFunction<R(Args...)> {
 public:
  explicit constexpr GameFunction(const char* name) : name_(name) {}

  // Looks the name up; answers whether the host has the function.
  bool Resolve() {
    address_ = reinterpret_cast<R (*)(Args...)>(GetFunctionAddress(name_));
    return address_ != nullptr;
  }
  bool Resolved() const { return address_ != nullptr; }
  const char* Name() const { return name_; }

  R operator()(Args... args) const {
    if (address_ == nullptr) throw UnknownGameName(name_);
    return address_(args...);
  }

 private:
  const char* name_;
  R (*address_)(Args...) = nullptr;
};

// Calls the named game function; a member function takes its object as the first argument.
template <typename R, typename... Args>
R CallGame(const std::string& name, Args... args) {
  void* address = GetFunctionAddress(name);
  if (address == nullptr) throw UnknownGameName(name);
  return reinterpret_cast<R (*)(Args...)>(address)(args...);
}

}  // namespace host
