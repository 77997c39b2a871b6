#include "number_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

#include "text.h"

namespace transzendal {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The text in the form std::from_chars reads ('.' as the mark, no leading '+'), or nothing when it
// is no decimal number.
std::optional<std::string> Normalised(std::string_view text, char separator) {
  std::string out;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') out += '-';
    ++i;
  }
  bool mantissa_digit = false;
  bool mark = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      mantissa_digit = true;
      out += c;
    } else if (c == separator && !mark) {
      mark = true;
      out += '.';
    } else {
      break;
    }
  }
  if (!mantissa_digit) return std::nullopt;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    out += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) out += text[i++];
    const std::size_t digits_start = i;
    while (i < text.size() && IsDigit(text[i])) out += text[i++];
    if (i == digits_start) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  return out;
}

}  // namespace

std::optional<double> ParseDecimal(std::string_view text, char separator) {
  const std::optional<std::string> normalised = Normalised(Trim(text), separator);
  if (!normalised) return std::nullopt;
  double value = 0;
  const char* end = normalised->data() + normalised->size();
  const auto [stop, error] = std::from_chars(normalised->data(), end, value);
  if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string FormatShortest(double value, char separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  // d.dddddddddddddde±x: the value rounded to 15 significant digits.
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));
  const bool negative = scientific.front() == '-';
  const std::size_t e = scientific.find('e');
  std::string digits;
  for (char c : scientific.substr(0, e)) {
    if (IsDigit(c)) digits += c;
  }
  const int exponent = std::atoi(std::string(scientific.substr(e + 1)).c_str());
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  if (exponent >= -5 && exponent < 15) {
    if (exponent >= 0) {
      const auto whole = static_cast<std::size_t>(exponent) + 1;
      if (digits.size() <= whole) {
        out += digits + std::string(whole - digits.size(), '0');
      } else {
        out += digits.substr(0, whole) + separator + digits.substr(whole);
      }
    } else {
      out += std::string("0") + separator +
             std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    return out;
  }
  out += digits.substr(0, 1);
  if (digits.size() > 1) out += separator + digits.substr(1);
  return out + "E" + std::to_string(exponent);
}

std::optional<std::int32_t> RoundHalfEven(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double floor = std::floor(value);
  const double fraction = value - floor;  // exact: both share the binary exponent range of value
  double rounded = floor;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0)) rounded = floor + 1;
  if (rounded < static_cast<double>(INT32_MIN) || rounded > static_cast<double>(INT32_MAX)) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

}  // namespace transzendal
