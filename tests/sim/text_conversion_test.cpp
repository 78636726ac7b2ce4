// The binding's own UTF-8 conversion, which must behave as the Win32 one the Windows binding
// uses: ill-formed input becomes U+FFFD and never fails, well-formed text round-trips.
#include <gtest/gtest.h>

#include "host/sim/utf8.h"

namespace {

struct Case {
  const char* what;
  std::string utf8;
  std::u16string utf16;
};

TEST(TextConversion, Utf8ToUtf16ReplacesEachMaximalIllFormedPart) {
  const Case cases[] = {
      {"ascii", "Rex 0.5", u"Rex 0.5"},
      {"two, three and four bytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\xA6\x96",
       u"\u00E9\u20AC\U0001F996"},
      {"lone continuation", "a\x80z", u"a\uFFFDz"},
      {"truncated three-byte at end", "a\xE2\x82", u"a\uFFFD"},
      {"truncated then ascii", "\xE2\x82z", u"\uFFFDz"},
      {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"overlong three-byte", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"invalid lead bytes", "\xFE\xFF", u"\uFFFD\uFFFD"},
      {"embedded zero kept", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(host::utf8::ToUtf16(c.utf8), c.utf16) << c.what;
}

TEST(TextConversion, Utf16ToUtf8ReplacesUnpairedSurrogates) {
  const Case cases[] = {
      {"pair", "\xF0\x9F\xA6\x96", u"\U0001F996"},
      {"lone high at end", "a\xEF\xBF\xBD", u"a\xD83E"},
      {"lone low", "\xEF\xBF\xBDz", u"\xDD96z"},
      {"high then high then low", "\xEF\xBF\xBD\xF0\x9F\xA6\x96", u"\xD83E\xD83E\xDD96"},
      {"reversed pair", "\xEF\xBF\xBD\xEF\xBF\xBD", u"\xDD96\xD83E"},
  };
  for (const auto& c : cases) EXPECT_EQ(host::utf8::FromUtf16(c.utf16), c.utf8) << c.what;
}

}  // namespace
