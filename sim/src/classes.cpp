#include "sim/classes.h"

#include <stdexcept>

namespace sim {

ClassTree::ClassTree(NameTable& names) : names_(names) {
  auto& object = Make("UObject", nullptr, sizeof(UObject));
  Make("UWorld", &object, sizeof(UWorld));
  Make("USceneComponent", &object, sizeof(USceneComponent));
  auto& actor = Make("AActor", &object, sizeof(AActor));
  auto& controller = Make("AController", &actor, sizeof(AController));
  auto& player_controller = Make("APlayerController", &controller, sizeof(APlayerController));
  auto& primal_controller =
      Make("APrimalPlayerController", &player_controller, sizeof(APrimalPlayerController));
  Make("AShooterPlayerController", &primal_controller, sizeof(AShooterPlayerController));
  auto& pawn = Make("APawn", &actor, sizeof(APawn));
  auto& character = Make("ACharacter", &pawn, sizeof(ACharacter));
  auto& primal = Make("APrimalCharacter", &character, sizeof(APrimalCharacter));
  Make("AShooterCharacter", &primal, sizeof(AShooterCharacter));
  Make("APrimalDinoCharacter", &primal, sizeof(APrimalDinoCharacter));
  Make("UPrimalItem", &object, sizeof(UObject));
}

ClassInfo& ClassTree::Make(const std::string& name, ClassInfo* super, std::size_t object_size) {
  auto info = std::make_unique<ClassInfo>();
  info->name = name;
  info->object_size = object_size;
  info->cls.Struct.Field.Object.Base.NamePrivate = names_.Add(name);
  info->cls.Struct.SuperStruct = super ? &super->cls.Struct : nullptr;
  info->cls.Struct.PropertiesSize = static_cast<std::int32_t>(object_size);
  auto& stored = *info;
  classes_[name] = std::move(info);
  return stored;
}

ClassInfo& ClassTree::Native(const std::string& name) const {
  auto* found = Find(name);
  if (!found) throw std::logic_error("no native class " + name);
  return *found;
}

ClassInfo* ClassTree::Find(const std::string& name) const {
  auto it = classes_.find(name);
  return it == classes_.end() ? nullptr : it->second.get();
}

bool ClassTree::IsClass(const void* candidate) const {
  for (const auto& [name, info] : classes_)
    if (&info->cls == candidate) return true;
  return false;
}

std::vector<PropertySpec> ClassTree::StandardCameraProperties() {
  return {
      {"TPVDefaultCameraOffset", 24, {40, 0, 20}},
      {"TPVAimingCameraOffset", 24, {60, 30, 25}},
      {"FPVDefaultCameraOffset", 24, {10, 0, 80}},
      {"FPVAimingCameraOffset", 24, {15, 5, 75}},
  };
}

ClassInfo& ClassTree::Species(const std::string& name) {
  if (auto* found = Find(name)) return *found;
  return SpeciesWith(name, StandardCameraProperties());
}

ClassInfo& ClassTree::SpeciesWith(const std::string& name,
                                  const std::vector<PropertySpec>& properties) {
  if (auto* found = Find(name)) return *found;
  auto& dino = Native("APrimalDinoCharacter");
  std::size_t offset = sizeof(APrimalDinoCharacter);
  offset = (offset + 7) / 8 * 8;
  // A property the plugin must pass over comes first in every blueprint's list.
  std::vector<PropertySpec> all{{"DinoNameTag", 8, {}}};
  all.insert(all.end(), properties.begin(), properties.end());
  auto& info = Make(name, &dino, 0);
  FField** link = &info.cls.Struct.ChildProperties;
  for (const auto& wanted : all) {
    auto property = std::make_unique<FProperty>();
    property->Field.NamePrivate = names_.Add(wanted.name);
    property->ElementSize = wanted.element_size;
    property->Offset_Internal = static_cast<std::int32_t>(offset);
    offset += static_cast<std::size_t>((wanted.element_size + 7) / 8 * 8);
    *link = &property->Field;
    link = &property->Field.Next;
    info.properties.push_back(std::move(property));
  }
  info.specs = all;
  info.object_size = offset;
  info.cls.Struct.PropertiesSize = static_cast<std::int32_t>(offset);
  return info;
}

ClassInfo& ClassTree::ActorBlueprint(const std::string& name) {
  if (auto* found = Find(name)) return *found;
  return Make(name, &Native("AActor"), sizeof(AActor));
}

bool ClassTree::IsChildOf(const UStruct* cls, const UStruct* ancestor) {
  for (const UStruct* at = cls; at != nullptr; at = at->SuperStruct)
    if (at == ancestor) return true;
  return false;
}

}  // namespace sim
