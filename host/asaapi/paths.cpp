// The server's folder and the plugin's own file, read as UTF-16 from Windows. The host's own
// GetCurrentDir answers in the ANSI code page; ours answers in UTF-8.
#include <windows.h>

#include <string>

#include "host/services.h"
#include "host_settings.h"
#include "text.h"

namespace host {

namespace {

// The full path of module (null: the server executable), as the loader spells it.
std::wstring ModuleFileName(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD written = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (written == 0) return {};
    if (written < path.size()) {
      path.resize(written);
      return path;
    }
    path.resize(path.size() * 2);  // cut short: try a larger buffer
  }
}

}  // namespace

std::string GetCurrentDir() {
  const std::wstring executable = ModuleFileName(nullptr);
  const std::size_t cut = executable.find_last_of(L"\\/");
  return asaapi::Utf16ToUtf8(cut == std::wstring::npos ? std::wstring()
                                                       : executable.substr(0, cut));
}

// The library holding this function, found as the host finds a plugin's module (from an address
// inside it, without touching its reference count), spelled as the loader keeps it: the host
// compares such paths as text.
namespace {

// This library's own file.
std::wstring PluginModuleFileWide() {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&GetPluginModulePath), &module))
    return {};
  return ModuleFileName(module);
}

}  // namespace

FString GetPluginModulePath() {
  const std::wstring path = PluginModuleFileWide();
  return path.empty() ? FString() : FString(path.c_str());
}

std::string binding::PluginModuleFile() {
  return asaapi::Utf16ToUtf8(PluginModuleFileWide());
}

}  // namespace host
