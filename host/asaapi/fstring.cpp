// The game string's UTF-8 conversion and its split, over the real host; its storage is
// host/shared/fstring.cpp.
#include <cstddef>
#include <string_view>

#include "host/types.h"
#include "sdk_views.h"
#include "text.h"

namespace host {

// Narrow text is UTF-8, converted by us, never by the game's ANSI constructor.
FString::FString(const char* narrow)
    : FString(narrow != nullptr ? asaapi::Utf8ToUtf16(narrow).c_str() : nullptr) {}

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
