#include "sim/reflection.h"

#include <stdexcept>

namespace sim {

void Reflection::AddField(const std::string& name, std::size_t offset) {
  fields_[name] = offset;
}

void Reflection::AddFlag(const std::string& name, std::size_t word_offset, std::uint32_t bit) {
  flags_[name] = Flag{word_offset, bit};
}

void Reflection::AddFunction(const std::string& name, void* address) {
  functions_[name] = address;
}

void Reflection::Unknown(const std::string& name) {
  throw std::runtime_error("unknown game name: " + name);
}

std::uintptr_t Reflection::FieldAddress(const void* object, const std::string& name) {
  ++lookups_;
  auto it = fields_.find(name);
  if (it == fields_.end() || Hidden(name)) Unknown(name);
  return reinterpret_cast<std::uintptr_t>(object) + it->second;
}

Reflection::BitFieldAddress Reflection::FlagAddress(const void* object, const std::string& name) {
  ++lookups_;
  auto it = flags_.find(name);
  if (it == flags_.end() || Hidden(name)) Unknown(name);
  return BitFieldAddress{reinterpret_cast<std::uintptr_t>(object) + it->second.word_offset,
                         it->second.bit, 1, 4};
}

void* Reflection::FunctionAddress(const std::string& name) {
  ++lookups_;
  auto it = functions_.find(name);
  if (it == functions_.end() || Hidden(name)) Unknown(name);
  return it->second;
}

bool Reflection::Knows(const std::string& name) const {
  return !Hidden(name) && (fields_.count(name) || flags_.count(name) || functions_.count(name));
}

}  // namespace sim
