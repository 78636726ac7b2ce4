// UTF-8 <-> UTF-16 conversion of the simulated binding, behaving as the Win32 conversions the
// Windows binding uses (CP_UTF8, no error flag): an ill-formed UTF-8 sequence and an unpaired
// surrogate each become U+FFFD, so text never fails to convert.
#pragma once

#include <string>
#include <string_view>

namespace host::utf8 {

std::u16string ToUtf16(std::string_view text);
std::string FromUtf16(std::u16string_view text);

}  // namespace host::utf8
