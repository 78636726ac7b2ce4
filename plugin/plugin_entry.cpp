// The plugin library's two exported entries. TINYHORDE_EXPORT comes from the build: it marks
// these two, and nothing else, as exported from the library. Neither lets an exception out.
#include "base/contained.h"
#include "plugin/lifecycle.h"

extern "C" TINYHORDE_EXPORT void Plugin_Init() {
  tinyhorde::Contained("Plugin_Init", [] { tinyhorde::InitializePlugin(); });
}

extern "C" TINYHORDE_EXPORT void Plugin_Unload() {
  tinyhorde::Contained("Plugin_Unload", [] { tinyhorde::UnloadPlugin(); });
}
