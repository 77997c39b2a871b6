#include "cli.h"

#include <exception>

#include "command_line.h"
#include "exchange_directory.h"
#include "forward_run.h"
#include "messages.h"
#include "platform.h"
#include "reverse_run.h"
#include "run_error.h"
#include "table_command.h"
#include "transzendal_version.h"

namespace transzendal::cli {
namespace {

int Export(const CommandLine& line, Console& console) {
  Session session;
  ConsoleUi ui(console, line.xml_file, line.frames);
  ForwardRunSettings settings;
  settings.exchange_directory = ResolveExchangeDirectory(line.directory);
  settings.decimal_separator = platform::DecimalSeparator();
  const RunOutcome outcome = RunForward(session, ui, settings);
  return outcome == RunOutcome::kCompleted ? kExitCompleted : kExitMissingFile;
}

int Import(const CommandLine& line, Console& console) {
  Session session;
  ConsoleUi ui(console, line.xml_file, {});
  ReverseRunSettings settings;
  settings.exchange_directory = ResolveExchangeDirectory(line.directory);
  settings.decimal_separator = platform::DecimalSeparator();
  const RunOutcome outcome = RunReverse(session, ui, settings);
  return outcome == RunOutcome::kCompleted ? kExitCompleted : kExitMissingFile;
}

int Dispatch(const CommandLine& line, Console& console) {
  switch (line.command) {
    case Command::kHelp:
      console.Out(msg::kCliUsage);
      return kExitCompleted;
    case Command::kVersion:
      console.Out(msg::FillMessage(msg::kCliVersion, {kVersion}));
      return kExitCompleted;
    case Command::kExport:
      return Export(line, console);
    case Command::kImport:
      return Import(line, console);
    case Command::kTable:
      return PrintTable(line, console);
  }
  return kExitUsage;
}

}  // namespace

int RunCommandLine(std::span<const std::string> args, Console& console) {
  try {
    return Dispatch(ParseCommandLine(args), console);
  } catch (const UsageError& error) {
    console.Err(std::string(error.what()) + "\n" + std::string(msg::kCliSeeHelp) + "\n");
    return kExitUsage;
  } catch (const RunError& error) {
    console.Err(std::string(error.user_message()) + "\n");
    return kExitFailed;
  } catch (const std::exception& error) {
    console.Err(msg::FillMessage(msg::kUnexpectedError, {error.what()}) + "\n");
    return kExitFailed;
  }
}

}  // namespace transzendal::cli
