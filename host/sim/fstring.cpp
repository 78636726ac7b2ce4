// The game string's UTF-8 conversion (our own, as on Windows) and its split, over the simulated
// host; its storage is host/shared/fstring.cpp.
#include <cstring>
#include <string>

#include "host/game.h"
#include "host/types.h"
#include "utf8.h"

namespace host {

// Narrow text is taken as UTF-8.
FString::FString(const char* narrow)
    : FString(narrow != nullptr ? utf8::ToUtf16(narrow).c_str() : nullptr) {}

int32 FString::ParseIntoArray(TArray<FString>& out, const TCHAR* delimiter, bool cullEmpty) const {
  out.Reset();
  const std::size_t delimiter_length = delimiter ? std::char_traits<TCHAR>::length(delimiter) : 0;
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
