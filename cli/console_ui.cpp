#include "console_ui.h"

#include <string>
#include <utility>

#include "messages.h"
#include "platform.h"
#include "run_report.h"

namespace transzendal::cli {

void StandardConsole::Out(std::string_view utf8) { platform::WriteStandardOutput(utf8); }

void StandardConsole::Err(std::string_view utf8) { platform::WriteStandardError(utf8); }

ConsoleUi::ConsoleUi(Console& console, std::filesystem::path xml_file,
                     std::vector<std::string> frames)
    : console_(console), xml_file_(std::move(xml_file)), frames_(std::move(frames)) {}

std::optional<std::filesystem::path> ConsoleUi::ChooseSourceFile(const OpenFileDialog& /*dialog*/) {
  return xml_file_;
}

void ConsoleUi::ShowMessage(std::string_view text) { console_.Out(std::string(text) + "\n"); }

void ConsoleUi::SetBusy(bool /*busy*/) noexcept {}

std::vector<std::size_t> ConsoleUi::ChooseTimeFrames(std::span<const TimeFrameOption> options) {
  std::vector<std::size_t> chosen;
  for (std::size_t i = 0; i < options.size(); ++i) {
    for (const std::string& frame : frames_) {
      if (options[i].label == frame) chosen.push_back(i);
    }
  }
  return chosen;
}

void ConsoleUi::FinishRun(const RunReport& report) {
  console_.Out(std::string(msg::kProcessFinished) + "\n" + report.Summary());
}

void ConsoleUi::MissingFileEnd(std::string_view message) {
  console_.Err(std::string(message) + "\n");
}

}  // namespace transzendal::cli
