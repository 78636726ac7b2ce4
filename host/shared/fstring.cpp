// The game string's storage, over the game's allocator; both bindings build it. Buffers come from
// the game's allocator, so the game and the host can free or grow what the plugin hands them, and
// the plugin frees what they hand back. The text conversions and the split are the bindings'.
#include <cstddef>
#include <cstring>
#include <string>
#include <type_traits>
#include <utility>

#include "host/types.h"

namespace host {

namespace {

// A buffer of count units plus the terminator, from the game's allocator.
TCHAR* Allocate(std::size_t count) {
  return static_cast<TCHAR*>(FMemory::Malloc(sizeof(TCHAR) * (count + 1)));
}

}  // namespace

FString::FString(const TCHAR* wide) {
  if (wide == nullptr || *wide == 0) return;
  const std::size_t n = std::char_traits<TCHAR>::length(wide);
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
  // The game's FString is viewed as this one; only members can name these fields.
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

}  // namespace host
