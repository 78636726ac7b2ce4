// Where the host keeps its own config.json, and whether it was written while the server runs.
#include <windows.h>

#include <string>

#include "host_settings.h"
#include "sdk.h"

namespace host {

// The host opens this very path: its ANSI folder with "/config.json" after it.
std::string binding::HostConfigPath() {
  return AsaApi::Tools::GetCurrentDir() + "/config.json";
}

// Compared with the creation time of the server process, as the file system keeps both.
bool binding::WrittenSinceServerStart(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA file{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &file)) return true;
  FILETIME created{}, exited{}, kernel{}, user{};
  if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return true;
  return CompareFileTime(&file.ftLastWriteTime, &created) > 0;
}

}  // namespace host
