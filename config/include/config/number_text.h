// A double as log text, the same with every fmt version the plugin is built against.
//
// fmt's "{}" writes a double in its shortest round-trip form in current fmt, but with six
// significant digits in the fmt bundled with the AsaApi SDK. Lines that show a number read from
// config.json format it here instead, so a server log and the Linux tests show the same text.
#pragma once

#include <string>

namespace tinyhorde {

// The shortest decimal text that reads back as value, laid out as current fmt's "{}" lays it
// out: plain digits while the decimal exponent lies in [-4, 16), otherwise d.ddde+XX. Whole
// numbers have no decimal point ("10"); infinities and NaN are "inf", "-inf", "nan", "-nan".
std::string ShortestNumberText(double value);

}  // namespace tinyhorde
