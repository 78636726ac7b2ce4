// The game's class tree: native classes with their super chain, and blueprint classes made on
// first use. A species blueprint derives from APrimalDinoCharacter and declares its camera
// offset properties in its own property list, at offsets inside the object past the native
// part; each property's value at spawn comes from the class's defaults.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/game_types.h"
#include "sim/names.h"

namespace sim {

struct PropertySpec {
  std::string name;
  std::int32_t element_size = 24;  // 24 for a vector of three doubles
  FVector default_value;
};

// A class object with what the simulated game keeps beside it. The UClass comes first, so a
// UClass* the game hands out is also a ClassInfo*.
struct ClassInfo {
  UClass cls;
  std::string name;
  std::size_t object_size = 0;
  std::vector<std::unique_ptr<FProperty>> properties;  // in list order
  std::vector<PropertySpec> specs;                     // the same, with default values
};

class ClassTree {
 public:
  explicit ClassTree(NameTable& names);

  // A native class by its C++ name ("APrimalDinoCharacter"); throws for one the game lacks.
  ClassInfo& Native(const std::string& name) const;
  ClassInfo* Find(const std::string& name) const;
  // Whether the address is that of a class the game made; never reads through it.
  bool IsClass(const void* candidate) const;

  // The species blueprint of that name, made on first use with the standard camera offsets.
  ClassInfo& Species(const std::string& name);
  // A species with exactly these properties (tests: near-miss names and sizes); an existing class
  // of that name is answered as it is.
  ClassInfo& SpeciesWith(const std::string& name, const std::vector<PropertySpec>& properties);
  // A blueprint class deriving from AActor (damage causers, tools), made on first use.
  ClassInfo& ActorBlueprint(const std::string& name);

  static bool IsChildOf(const UStruct* cls, const UStruct* ancestor);
  static const ClassInfo& Info(const UClass* cls) {
    return *reinterpret_cast<const ClassInfo*>(cls);
  }

  // The four camera offset properties every standard species declares.
  static std::vector<PropertySpec> StandardCameraProperties();

 private:
  ClassInfo& Make(const std::string& name, ClassInfo* super, std::size_t object_size);
  NameTable& names_;
  std::map<std::string, std::unique_ptr<ClassInfo>> classes_;
};

}  // namespace sim
