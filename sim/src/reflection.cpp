#include "sim/reflection.h"

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

std::optional<std::uintptr_t> Reflection::FieldAddress(const void* object,
                                                       const std::string& name) {
  ++lookups_;
  auto it = fields_.find(name);
  if (it == fields_.end() || Hidden(name)) return std::nullopt;
  return reinterpret_cast<std::uintptr_t>(object) + it->second;
}

std::optional<Reflection::BitFieldAddress> Reflection::FlagAddress(const void* object,
                                                                   const std::string& name) {
  ++lookups_;
  auto it = flags_.find(name);
  if (it == flags_.end() || Hidden(name)) return std::nullopt;
  return BitFieldAddress{reinterpret_cast<std::uintptr_t>(object) + it->second.word_offset,
                         it->second.bit, 1, 4};
}

void* Reflection::FunctionAddress(const std::string& name) {
  ++lookups_;
  auto it = functions_.find(name);
  if (it == functions_.end() || Hidden(name)) return nullptr;
  return it->second;
}

bool Reflection::Knows(const std::string& name) const {
  return !Hidden(name) && (fields_.count(name) || flags_.count(name) || functions_.count(name));
}

bool Reflection::KnowsFunction(const std::string& name) const {
  return !Hidden(name) && functions_.count(name) != 0;
}

}  // namespace sim
