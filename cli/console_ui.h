// The run's user interface on a console: the file named on the command line stands for the
// open-file dialog and messages are printed instead of awaited. The time frames come from --marcos;
// without it, a person at a terminal is shown the frames and asked, and elsewhere UsageError is
// thrown, as it is for a --marcos choice that the closing rule refuses: nobody can answer again.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "user_interface.h"

namespace transzendal::cli {

// Where the command-line tool writes; the platform's standard streams, or a fake in tests.
class Console {
 public:
  virtual ~Console() = default;
  virtual void Out(std::string_view utf8) = 0;
  virtual void Err(std::string_view utf8) = 0;
  // Whether a person can answer questions, and one line of their answer (nothing at the end).
  virtual bool IsInteractive() = 0;
  virtual std::optional<std::string> ReadLine() = 0;
};

// The process's standard output and standard error.
class StandardConsole final : public Console {
 public:
  void Out(std::string_view utf8) override;
  void Err(std::string_view utf8) override;
  bool IsInteractive() override;
  std::optional<std::string> ReadLine() override;
};

class ConsoleUi final : public UserInterface {
 public:
  ConsoleUi(Console& console, std::filesystem::path xml_file, std::vector<std::string> frames);

  std::optional<std::filesystem::path> ChooseSourceFile(const OpenFileDialog& dialog) override;
  void ShowMessage(std::string_view text) override;
  void SetBusy(bool busy) noexcept override;
  std::optional<std::vector<std::size_t>> ChooseTimeFrames(
      std::span<const TimeFrameOption> options) override;
  void FinishRun(const RunReport& report) override;
  void MissingFileEnd(std::string_view message) override;

 private:
  std::optional<std::vector<std::size_t>> AskForFrames(std::span<const TimeFrameOption> options);

  Console& console_;
  std::filesystem::path xml_file_;
  std::vector<std::string> frames_;
};

}  // namespace transzendal::cli
