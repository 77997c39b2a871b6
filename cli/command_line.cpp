#include "command_line.h"

#include <string_view>

#include "messages.h"
#include "platform.h"
#include "text.h"

namespace transzendal::cli {
namespace {

struct Option {
  std::string_view name;
  std::string_view value;
};

Command CommandNamed(std::string_view word) {
  if (word == "exportar") return Command::kExport;
  if (word == "importar") return Command::kImport;
  if (word == "tabla") return Command::kTable;
  throw UsageError(msg::FillMessage(msg::kCliUnknownCommand, {word}));
}

TableFormat FormatNamed(std::string_view word) {
  if (word == "csv") return TableFormat::kCsv;
  if (word == "resumen") return TableFormat::kSummary;
  throw UsageError(msg::FillMessage(msg::kCliBadFormat, {word}));
}

bool IsKnownOption(std::string_view option) {
  return option == "--directorio" || option == "--marcos" || option == "--formato";
}

// Whether `option` belongs to `command`.
bool Accepts(Command command, std::string_view option) {
  if (option == "--directorio") return true;
  if (option == "--marcos") return command == Command::kExport;
  if (option == "--formato") return command == Command::kTable;
  return false;
}

std::string_view CommandWord(Command command) {
  switch (command) {
    case Command::kExport:
      return "exportar";
    case Command::kImport:
      return "importar";
    default:
      return "tabla";
  }
}

void Apply(const Option& option, CommandLine& line, std::vector<std::string_view>& seen) {
  for (std::string_view name : seen) {
    if (name == option.name) throw UsageError(msg::FillMessage(msg::kCliRepeatedOption, {name}));
  }
  seen.push_back(option.name);
  if (!Accepts(line.command, option.name)) {
    throw UsageError(
        msg::FillMessage(msg::kCliOptionNotHere, {option.name, CommandWord(line.command)}));
  }
  if (option.name == "--directorio") {
    line.directory = platform::PathFromUtf8(option.value);
  } else if (option.name == "--marcos") {
    line.frames = SplitFrameIds(option.value);
  } else {
    line.format = FormatNamed(option.value);
  }
}

}  // namespace

std::vector<std::string> SplitFrameIds(std::string_view list) {
  std::vector<std::string> frames;
  for (std::size_t start = 0;;) {
    const std::size_t comma = list.find(',', start);
    if (auto id = Trim(list.substr(start, comma - start)); !id.empty()) frames.emplace_back(id);
    if (comma == std::string_view::npos) return frames;
    start = comma + 1;
  }
}

CommandLine ParseCommandLine(std::span<const std::string> args) {
  CommandLine line;
  if (args.empty()) throw UsageError(std::string(msg::kCliMissingCommand));
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h" || args[0] == "--ayuda")) {
    return line;
  }
  if (args.size() == 1 && args[0] == "--version") {
    line.command = Command::kVersion;
    return line;
  }
  line.command = CommandNamed(args[0]);
  std::vector<std::string> operands;
  std::vector<std::string_view> seen;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (!arg.starts_with("--")) {
      operands.emplace_back(arg);
      continue;
    }
    const std::size_t equals = arg.find('=');
    Option option{arg.substr(0, equals), {}};
    if (!IsKnownOption(option.name)) {
      throw UsageError(msg::FillMessage(msg::kCliUnknownOption, {option.name}));
    }
    if (equals != std::string_view::npos) {
      option.value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      option.value = args[++i];
    } else {
      throw UsageError(msg::FillMessage(msg::kCliMissingValue, {arg}));
    }
    Apply(option, line, seen);
  }
  if (operands.empty()) {
    throw UsageError(std::string(line.command == Command::kTable ? msg::kCliMissingTable
                                                                   : msg::kCliMissingFile));
  }
  if (operands.size() > 1) throw UsageError(msg::FillMessage(msg::kCliExtraArgument, {operands[1]}));
  if (line.command == Command::kTable) {
    line.table_name = operands[0];
  } else {
    line.xml_file = platform::PathFromUtf8(operands[0]);
  }
  return line;
}

}  // namespace transzendal::cli
