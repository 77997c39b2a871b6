#include "number_text.h"

#include <charconv>
#include <string>

#include "messages.h"
#include "run_error.h"
#include "text.h"

namespace transzendal {

std::int32_t ParseDecimalInteger(std::string_view text) {
  std::string_view digits = Trim(text);
  bool negative = false;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  // Digits only from here: from_chars would accept its own sign, and "+-5" is no number.
  std::int64_t magnitude = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
  const bool whole = !digits.empty() && digits.front() != '-' && error == std::errc() &&
                     end == digits.data() + digits.size();
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (!whole || value < INT32_MIN || value > INT32_MAX) {
    throw RunError(msg::FillMessage(msg::kNotValidInteger, {Windows1252ToUtf8(text)}));
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace transzendal
