// The number text of config warnings: current fmt's "{}" layout, whatever fmt the plugin is
// built against (the SDK's bundled fmt writes six significant digits).
#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "config/number_text.h"

namespace {

struct Shown {
  double value;
  const char* text;
};

void PrintTo(const Shown& c, std::ostream* os) {
  *os << c.text;
}

class NumberText : public ::testing::TestWithParam<Shown> {};

TEST_P(NumberText, IsTheShortestRoundTripInFmtLayout) {
  EXPECT_EQ(tinyhorde::ShortestNumberText(GetParam().value), GetParam().text);
}

constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Values, NumberText,
                         ::testing::Values(
                             // Whole numbers carry no point; zero keeps its sign.
                             Shown{0.0, "0"}, Shown{-0.0, "-0"}, Shown{10.0, "10"},
                             Shown{-1.0, "-1"},
                             // All significant digits, where six would round.
                             Shown{0.0100001, "0.0100001"}, Shown{1234567.5, "1234567.5"},
                             Shown{18446744073709551615.0, "1.8446744073709552e+19"},
                             // The edges of the plain range: 10^-4 and 10^16 (exclusive).
                             Shown{0.0001, "0.0001"}, Shown{0.00012345, "0.00012345"},
                             Shown{0.00001, "1e-05"}, Shown{1e15, "1000000000000000"},
                             Shown{9999999999999998.0, "9999999999999998"}, Shown{1e16, "1e+16"},
                             Shown{1e300, "1e+300"}, Shown{5e-324, "5e-324"}, Shown{kInf, "inf"},
                             Shown{-kInf, "-inf"}, Shown{std::nan(""), "nan"}));

}  // namespace
