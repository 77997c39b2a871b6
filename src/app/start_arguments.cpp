#include "start_arguments.h"

#include <string_view>

#include "messages.h"
#include "text.h"

namespace transzendal::app {
namespace {

StartAction ActionNamed(std::string_view word) {
  const std::string lower = LowerAscii(word);
  if (lower == "exportar") return StartAction::kExport;
  if (lower == "importar") return StartAction::kImport;
  return StartAction::kNone;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A window handle is at most 64 bits: 16 digits.
std::optional<std::uint64_t> ParseHexHandle(std::string_view digits) {
  if (digits.empty() || digits.size() > 16) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<std::uint64_t>(digit);
  }
  return value;
}

}  // namespace

StartArguments ReadStartArguments(std::span<const std::string> args) {
  StartArguments start;
  if (args.size() != 2) return start;
  start.two_arguments = true;
  start.action = ActionNamed(args[0]);
  start.host_window = ParseHexHandle(args[1]);
  // The "$" is the hexadecimal marker the message has always shown in front of the digits.
  if (!start.host_window) start.handle_error = msg::FillMessage(msg::kNotValidInteger, {"$" + args[1]});
  return start;
}

}  // namespace transzendal::app
