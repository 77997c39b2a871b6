// Numbers as table fields show them: decimal text with a given decimal separator, to a double and
// back, and the rounding of a number to an integer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace transzendal {

// Reads a decimal number: blanks and control characters around it, an optional sign, digits with at
// most one `separator` among them, an optional exponent (E or e, optional sign, digits). Nothing
// for any other text, the empty text included, and for a number outside the range of a double.
std::optional<double> ParseDecimal(std::string_view text, char separator);

// The shortest text with up to 15 significant digits that shows `value`, with `separator` as the
// decimal mark: fixed notation ("2.5", "-0.001", "100000000000000") for exponents -5 to 14, else
// "1.5E20" or "1E-7". Not-a-number and the infinities show as "NAN", "INF" and "-INF".
std::string FormatShortest(double value, char separator);

// The nearest integer to `value`, a half going to the even neighbour (2.5 gives 2, 3.5 gives 4);
// nothing when `value` is not finite or its rounding lies outside the signed 32-bit range.
std::optional<std::int32_t> RoundHalfEven(double value);

}  // namespace transzendal
