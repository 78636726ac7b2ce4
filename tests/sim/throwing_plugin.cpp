// A plugin library whose Plugin_Init lets an exception out, for the host's test of it.
#include <stdexcept>

extern "C" __attribute__((visibility("default"))) void Plugin_Init() {
  throw std::runtime_error("Plugin_Init went wrong");
}

extern "C" __attribute__((visibility("default"))) void Plugin_Unload() {}
