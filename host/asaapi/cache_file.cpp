// A cache file opened with CreateFileW: unlike the standard file stream it shares delete, so
// the host may move or delete the file while the plugin reads it.
#include "cache_file.h"

#include <windows.h>

#include <algorithm>

#include "host/services.h"
#include "host_settings.h"
#include "text.h"

namespace host::asaapi {

namespace {

class WindowsFile final : public offsets_cache::File {
 public:
  explicit WindowsFile(HANDLE handle) : handle_(handle) {}
  ~WindowsFile() override { CloseHandle(handle_); }
  WindowsFile(const WindowsFile&) = delete;
  WindowsFile& operator=(const WindowsFile&) = delete;

  std::int64_t Read(void* buffer, std::size_t size) override {
    // ReadFile counts in DWORD.
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD read = 0;
    if (!ReadFile(handle_, buffer, wanted, &read, nullptr)) return -1;
    return static_cast<std::int64_t>(read);
  }

 private:
  HANDLE handle_;
};

const char* WhyNot(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return "not found";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return "locked";
    default:
      return "unreadable";
  }
}

}  // namespace

std::unique_ptr<offsets_cache::File> OpenCacheFile(const std::string& path,
                                                   std::string* why_not) noexcept {
  try {
    const std::wstring wide_path = Utf8ToUtf16(path);
    const HANDLE handle = CreateFileW(wide_path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      if (why_not != nullptr) *why_not = WhyNot(GetLastError());
      return nullptr;
    }
    try {
      return std::make_unique<WindowsFile>(handle);
    } catch (...) {
      CloseHandle(handle);
      throw;
    }
  } catch (...) {
    try {
      if (why_not != nullptr) *why_not = "unreadable";
    } catch (...) {
    }
    return nullptr;
  }
}

}  // namespace host::asaapi

namespace host {

offsets_cache::Opener binding::OffsetsCacheOpener() {
  return &asaapi::OpenCacheFile;
}

}  // namespace host
