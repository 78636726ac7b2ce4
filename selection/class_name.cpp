#include "selection/class_name.h"

#include "config/plugin_settings.h"
#include "host/game.h"

namespace tinyhorde {

host::UClass* ClassOf(const void* object) {
  return host::Field<host::UClass*>(object, "UObjectBase.ClassPrivate");
}

std::string NameText(const host::FName* name) {
  host::FString text;
  host::CallGame<void, const host::FName*, host::FString*>("FName.ToString(FString&)", name, &text);
  return host::ToUtf8(text);
}

std::string ClassNameOf(host::UClass* cls) {
  return NameText(&host::Field<host::FName>(cls, "UObjectBase.NamePrivate"));
}

std::string ClassNameText(const void* object) {
  host::UClass* cls = ClassOf(object);
  return cls != nullptr ? ClassNameOf(cls) : std::string();
}

std::optional<std::string> GetCreatureClassName(const void* object) {
  host::UClass* cls = ClassOf(object);
  if (cls == nullptr) return std::nullopt;
  return LowerBytes(ClassNameOf(cls));
}

}  // namespace tinyhorde
