// The command line of transzendal-cli, parsed into what to do. Arguments are UTF-8.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace transzendal::cli {

enum class Command { kHelp, kVersion, kExport, kImport, kTable };

enum class TableFormat { kCsv, kSummary };

struct CommandLine {
  Command command = Command::kHelp;
  std::filesystem::path xml_file;                  // exportar, importar
  std::string table_name;                          // tabla
  std::optional<std::filesystem::path> directory;  // --directorio
  std::vector<std::string> frames;                 // --marcos ID[,ID]
  TableFormat format = TableFormat::kCsv;          // --formato
};

// Wrong usage; what() is the Spanish message for the user.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The frame ids of a list such as "1,2" (--marcos, or an answer at the terminal), each trimmed;
// empty entries are dropped.
std::vector<std::string> SplitFrameIds(std::string_view list);

// Parses the arguments after the program name. Options may stand before or after the operands, as
// "--opcion VALOR" or "--opcion=VALOR". Throws UsageError.
CommandLine ParseCommandLine(std::span<const std::string> args);

}  // namespace transzendal::cli
