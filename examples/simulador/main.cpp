// simulador-zendalor: writes a solved timetable SOLUC into the exchange directory, as the timetable
// program would, from the tables that «transzendal-cli exportar» wrote there.
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange_directory.h"
#include "messages.h"
#include "platform.h"
#include "run_error.h"
#include "simulated_solution.h"

namespace transzendal::simulator {
namespace {

constexpr int kCompleted = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

// The arguments after the program name, UTF-8; the exit status.
int RunCommandLine(const std::vector<std::string>& args) {
  std::optional<std::filesystem::path> directory;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h" || arg == "--ayuda") {
      platform::WriteStandardOutput(msg::kSimulatorUsage);
      return kCompleted;
    }
    if (arg == "--directorio" && i + 1 < args.size() && !directory) {
      directory = platform::PathFromUtf8(args[++i]);
    } else if (arg.starts_with("--directorio=") && !directory) {
      directory = platform::PathFromUtf8(arg.substr(arg.find('=') + 1));
    } else {
      platform::WriteStandardError(msg::kSimulatorUsage);
      return kUsage;
    }
  }
  try {
    const std::filesystem::path exchange = ResolveExchangeDirectory(directory);
    const SimulationSummary summary = WriteSimulatedSolution(exchange, platform::LocalDate());
    platform::WriteStandardOutput(msg::FillMessage(
        msg::kSimulatorWritten, {platform::PathToUtf8(exchange), std::to_string(summary.placed),
                                 std::to_string(summary.unplaced)}));
    return kCompleted;
  } catch (const RunError& error) {
    platform::WriteStandardError(std::string(error.user_message()) + "\n");
  } catch (const std::exception& error) {
    platform::WriteStandardError(msg::FillMessage(msg::kUnexpectedError, {error.what()}) + "\n");
  }
  return kFailed;
}

}  // namespace
}  // namespace transzendal::simulator

#ifdef _WIN32
// Windows hands the arguments over in UTF-16, as transzendal-cli takes them.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(transzendal::platform::PathToUtf8(argv[i]));
  return transzendal::simulator::RunCommandLine(args);
}
#else
int main(int argc, char** argv) {
  return transzendal::simulator::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
