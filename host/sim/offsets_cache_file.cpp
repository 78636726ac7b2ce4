#include "offsets_cache_file.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include <sim/host_api.h>

#include "host/services.h"
#include "host_settings.h"
#include "utf8.h"

namespace host {

namespace {

class StdioFile final : public offsets_cache::File {
 public:
  explicit StdioFile(std::FILE* file) : file_(file) {}
  ~StdioFile() override { std::fclose(file_); }
  StdioFile(const StdioFile&) = delete;
  StdioFile& operator=(const StdioFile&) = delete;

  std::int64_t Read(void* buffer, std::size_t size) override {
    const std::size_t read = std::fread(buffer, 1, size, file_);
    if (read == 0 && std::ferror(file_) != 0) return -1;
    return static_cast<std::int64_t>(read);
  }

 private:
  std::FILE* file_;
};

std::unique_ptr<offsets_cache::File> Open(const std::string& path, std::string* why_not) noexcept {
  const auto refuse = [why_not](const char* why) -> std::unique_ptr<offsets_cache::File> {
    if (why_not != nullptr) *why_not = why;
    return nullptr;
  };
  try {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) return refuse("not found");
    if (simhost::OffsetsCacheFileLocked(path)) return refuse("locked");
    if (error || status.type() != std::filesystem::file_type::regular) return refuse("unreadable");
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return refuse("unreadable");
    return std::make_unique<StdioFile>(file);
  } catch (...) {
    return refuse("unreadable");
  }
}

}  // namespace

offsets_cache::Opener SimCacheOpener() {
  return &Open;
}

offsets_cache::Opener binding::OffsetsCacheOpener() {
  return SimCacheOpener();
}

}  // namespace host
