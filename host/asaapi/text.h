// UTF-8 <-> UTF-16 with Win32 (CP_UTF8, no error flag): an ill-formed UTF-8 sequence or an
// unpaired surrogate becomes U+FFFD, so text never fails to convert. The game's own ANSI
// conversions (FString(const char*), GetCurrentDir) are never used for plugin text.
#pragma once

#include <string>
#include <string_view>

namespace host::asaapi {

std::wstring Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::wstring_view text);

}  // namespace host::asaapi
