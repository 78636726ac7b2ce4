#include "sim/reflection.h"

#include <algorithm>
#include <stdexcept>

namespace sim {

namespace {

void RequireKind(const host::GameName& name, host::GameNameKind kind) {
  if (!host::IsGameName(name.name, kind))
    throw std::logic_error(std::string(name.name) +
                           " is not on the list of game names as that kind");
}

}  // namespace

void Reflection::AddField(const host::GameName& name, std::size_t offset) {
  RequireKind(name, host::GameNameKind::Field);
  fields_[name.name] = offset;
}

void Reflection::AddFlag(const host::GameName& name, std::size_t word_offset, std::uint32_t bit) {
  RequireKind(name, host::GameNameKind::Flag);
  flags_[name.name] = Flag{word_offset, bit};
}

void Reflection::AddFunction(const host::GameName& name, void* address) {
  RequireKind(name, host::GameNameKind::Function);
  functions_[name.name] = address;
}

void Reflection::Asked(const std::string& name) {
  ++lookups_;
  if (host::FindGameName(name) == nullptr &&
      std::find(unlisted_asked_.begin(), unlisted_asked_.end(), name) == unlisted_asked_.end())
    unlisted_asked_.push_back(name);
}

std::vector<std::string> Reflection::KnownNames() const {
  std::vector<std::string> names;
  for (const auto& [name, offset] : fields_) names.push_back(name);
  for (const auto& [name, flag] : flags_) names.push_back(name);
  for (const auto& [name, address] : functions_) names.push_back(name);
  return names;
}

void Reflection::MakeUnknown(const std::string& name) {
  unknown_.insert(name);
  forgotten_.insert(name);
  if (changed_) changed_();
}

bool Reflection::MakeKnown(const std::string& name) {
  forgotten_.erase(name);
  if (unknown_.erase(name) == 0) return false;
  if (changed_) changed_();
  return true;
}

Reflection::Holdings Reflection::Held(bool forgotten) const {
  const auto keep = [&](const std::string& name) {
    return !Hidden(name) || (forgotten && forgotten_.count(name) != 0);
  };
  Holdings held;
  for (const auto& [name, offset] : fields_)
    if (keep(name)) held.fields.emplace(name, offset);
  for (const auto& [name, address] : functions_)
    if (keep(name)) held.functions.emplace(name, address);
  for (const auto& [name, flag] : flags_)
    if (keep(name)) held.flags.emplace(name, flag);
  return held;
}

bool Reflection::HasForgotten() const {
  for (const std::string& name : forgotten_)
    if (fields_.count(name) || flags_.count(name) || functions_.count(name)) return true;
  return false;
}

std::optional<std::uintptr_t> Reflection::FieldAddress(const void* object,
                                                       const std::string& name) {
  Asked(name);
  auto it = fields_.find(name);
  if (it == fields_.end() || Hidden(name)) return std::nullopt;
  return reinterpret_cast<std::uintptr_t>(object) + it->second;
}

std::optional<Reflection::BitFieldAddress> Reflection::FlagAddress(const void* object,
                                                                   const std::string& name) {
  Asked(name);
  auto it = flags_.find(name);
  if (it == flags_.end() || Hidden(name)) return std::nullopt;
  return BitFieldAddress{reinterpret_cast<std::uintptr_t>(object) + it->second.word_offset,
                         it->second.bit, 1, 4};
}

void* Reflection::FunctionAddress(const std::string& name) {
  Asked(name);
  return HostFunctionAddress(name);
}

void* Reflection::HostFunctionAddress(const std::string& name) const {
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
