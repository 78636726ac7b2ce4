// The game string's members over the real host. Buffers come from the game's allocator, so the
// game and the host can free or grow what the plugin hands them, and the plugin frees what they
// hand back. Narrow text is UTF-8, converted by us, never by the game's ANSI constructor.
#include <cstddef>
#include <cstring>
#include <cwchar>
#include <type_traits>
#include <utility>

#include "host/types.h"
#include "sdk_views.h"
#include "text.h"

namespace host {

namespace {

// A buffer of count units plus the terminator, from the game's allocator.
TCHAR* Allocate(std::size_t count) {
  return static_cast<TCHAR*>(FMemory::Malloc(sizeof(TCHAR) * (count + 1)));
}

}  // namespace

FString::FString(const char* narrow) {
  if (narrow == nullptr || *narrow == 0) return;
  const std::wstring wide = asaapi::Utf8ToUtf16(narrow);
  data_ = Allocate(wide.size());
  std::memcpy(data_, wide.c_str(), sizeof(TCHAR) * (wide.size() + 1));
  num_ = max_ = static_cast<int32>(wide.size() + 1);
}

FString::FString(const TCHAR* wide) {
  if (wide == nullptr || *wide == 0) return;
  const std::size_t n = std::wcslen(wide);
  data_ = Allocate(n);
  std::memcpy(data_, wide, sizeof(TCHAR) * (n + 1));
  num_ = max_ = static_cast<int32>(n + 1);
}

FString::FString(const FString& other) {
  if (other.Len() == 0) return;
  const auto n = static_cast<std::size_t>(other.Len());
  data_ = Allocate(n);
  std::memcpy(data_, other.data_, sizeof(TCHAR) * n);
  data_[n] = 0;
  num_ = max_ = other.Len() + 1;
}

FString::FString(FString&& other) noexcept
    : data_(other.data_), num_(other.num_), max_(other.max_) {
  other.data_ = nullptr;
  other.num_ = other.max_ = 0;
}

FString& FString::operator=(FString other) noexcept {
  std::swap(data_, other.data_);
  std::swap(num_, other.num_);
  std::swap(max_, other.max_);
  return *this;
}

FString::~FString() {
  // The SDK's FString is viewed as this one (sdk_views.h); only members can name these fields.
  static_assert(std::is_standard_layout_v<FString>);
  static_assert(offsetof(FString, data_) == 0 && offsetof(FString, num_) == 8 &&
                offsetof(FString, max_) == 12);
  if (data_ == nullptr) return;
  // Never throws: a buffer the game's allocator refuses to take back is left to it.
  try {
    FMemory::Free(data_);
  } catch (...) {
  }
}

const TCHAR* FString::operator*() const {
  static const TCHAR empty[1] = {0};
  return (data_ != nullptr && num_ > 0) ? data_ : empty;
}

// The host's own split, the one it matches command lines with.
int32 FString::ParseIntoArray(TArray<FString>& out, const TCHAR* delimiter, bool cullEmpty) const {
  if (delimiter == nullptr) {  // the host's split requires one
    out.Reset();
    return 0;
  }
  return asaapi::View(*this).ParseIntoArray(asaapi::View(out), delimiter, cullEmpty);
}

std::string ToUtf8(const FString& text) {
  return asaapi::Utf16ToUtf8(std::wstring_view(*text, static_cast<std::size_t>(text.Len())));
}

}  // namespace host
