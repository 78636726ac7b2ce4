#include "selection/class_name.h"

#include "base/game_handles.h"
#include "config/plugin_settings.h"
#include "host/game.h"

namespace tinyhorde {

host::UClass* ClassOf(const void* object) {
  return host::FieldAt<host::UClass*>(object, GameHandleTable().ClassPrivate);
}

std::string NameText(const host::FName* name) {
  host::FString text;
  GameHandleTable().NameToString(name, &text);
  return host::ToUtf8(text);
}

std::string ClassNameOf(host::UClass* cls) {
  return NameText(&host::FieldAt<host::FName>(cls, GameHandleTable().ObjectNamePrivate));
}

std::string ClassNameText(const void* object) {
  host::UClass* cls = ClassOf(object);
  return cls != nullptr ? ClassNameOf(cls) : std::string();
}

}  // namespace tinyhorde
