// The plugin library's two exported entries. TINYHORDE_EXPORT comes from the build: it marks
// these two, and nothing else, as exported from the library.
#include "plugin/lifecycle.h"

extern "C" TINYHORDE_EXPORT void Plugin_Init() {
  tinyhorde::InitializePlugin();
}

extern "C" TINYHORDE_EXPORT void Plugin_Unload() {
  tinyhorde::UnloadPlugin();
}
