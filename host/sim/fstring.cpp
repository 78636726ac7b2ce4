// The game string's members and its UTF-8 conversion (our own, as on Windows). Buffers come from
// the game's allocator.
#include <cstring>

#include "host/game.h"
#include "host/types.h"
#include "utf8.h"

namespace host {

namespace {

std::size_t Length(const TCHAR* text) {
  std::size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

// A buffer of count units plus the terminator, from the game's allocator.
TCHAR* Allocate(std::size_t count) {
  return static_cast<TCHAR*>(FMemory::Malloc(sizeof(TCHAR) * (count + 1)));
}

}  // namespace

// Narrow text is taken as UTF-8.
FString::FString(const char* narrow) {
  if (narrow == nullptr || *narrow == 0) return;
  const std::u16string wide = utf8::ToUtf16(narrow);
  data_ = Allocate(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) data_[i] = static_cast<TCHAR>(wide[i]);
  data_[wide.size()] = 0;
  num_ = max_ = static_cast<int32>(wide.size() + 1);
}

FString::FString(const TCHAR* wide) {
  if (wide == nullptr || *wide == 0) return;
  const std::size_t n = Length(wide);
  data_ = Allocate(n);
  std::memcpy(data_, wide, sizeof(TCHAR) * (n + 1));
  num_ = max_ = static_cast<int32>(n + 1);
}

FString::FString(const FString& other) {
  if (other.Len() == 0) return;
  data_ = Allocate(static_cast<std::size_t>(other.Len()));
  std::memcpy(data_, other.data_, sizeof(TCHAR) * static_cast<std::size_t>(other.Len()));
  data_[other.Len()] = 0;
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
  if (data_ == nullptr) return;
  try {
    FMemory::Free(data_);
  } catch (...) {
  }
}

const TCHAR* FString::operator*() const {
  static const TCHAR empty[1] = {0};
  return (data_ != nullptr && num_ > 0) ? data_ : empty;
}

int32 FString::ParseIntoArray(TArray<FString>& out, const TCHAR* delimiter, bool cullEmpty) const {
  out.Reset();
  const std::size_t delimiter_length = delimiter ? Length(delimiter) : 0;
  // The game reads the text as far as its first zero, as it reads every TCHAR string; what
  // follows a zero is no part of any piece.
  const TCHAR* text = **this;
  std::size_t length = 0;
  while (length < static_cast<std::size_t>(Len()) && text[length] != 0) ++length;
  if (delimiter_length == 0) {
    if (length > 0 || !cullEmpty) out.Add(FString(*this));
    return out.Num();
  }
  std::size_t start = 0;
  for (;;) {
    std::size_t at = start;
    while (at + delimiter_length <= length &&
           std::memcmp(text + at, delimiter, sizeof(TCHAR) * delimiter_length) != 0)
      ++at;
    const bool found = at + delimiter_length <= length;
    const std::size_t end = found ? at : length;
    if (end > start || !cullEmpty) {
      FString piece;
      if (end > start) {
        std::basic_string<TCHAR> part(text + start, end - start);
        piece = FString(part.c_str());
      }
      out.Add(std::move(piece));
    }
    if (!found) break;
    start = at + delimiter_length;
  }
  return out.Num();
}

std::string ToUtf8(const FString& text) {
  const TCHAR* p = *text;
  return utf8::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(p),
                                             static_cast<std::size_t>(text.Len())));
}

}  // namespace host
