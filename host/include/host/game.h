// Reaching the game's fields, flags and functions by name ("Class.Field",
// "Class.Function(ArgTypes)"), through the host's look-up.
//
// Every access looks the name up again. A name the host does not know raises an error (an
// exception derived from std::exception), or, for functions, may give a null address; CallGame
// turns a null address into an error too, so callers need only one catch.
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

// Calls the named game function; a member function takes its object as the first argument.
template <typename R, typename... Args>
R CallGame(const std::string& name, Args... args) {
  void* address = GetFunctionAddress(name);
  if (address == nullptr) throw UnknownGameName(name);
  return reinterpret_cast<R (*)(Args...)>(address)(args...);
}

}  // namespace host
