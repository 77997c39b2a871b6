// Numbers read from the school file's texts.
#pragma once

#include <cstdint>
#include <string_view>

namespace transzendal {

// Reads a decimal integer: an optional sign and digits, with blanks and control characters around
// them ignored, within the signed 32-bit range. Anything else, the empty text included, throws
// RunError "'%s' is not a valid integer value" with the text (Windows-1252) in place of %s.
std::int32_t ParseDecimalInteger(std::string_view text);

}  // namespace transzendal
