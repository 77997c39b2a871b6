// The user interface of a run: everything a run asks of its user or tells its user goes through
// this interface, so the desktop window, the command-line tool and the tests drive the same runs.
// Texts are UTF-8. Calls are synchronous: a message is acknowledged before the call returns.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace transzendal {

class RunReport;

// The open-file dialog OpenDialogXML that both runs show.
struct OpenFileDialog {
  std::string_view title;              // "Archivo XML"
  std::string_view filter;             // "*.xml", the one entry of the file-type list
  std::string_view default_extension;  // "xml", added to a name typed without extension
  std::filesystem::path initial_directory;
};

// One line of the time-frame choice: a frame of the school file and its Monday preview lines.
struct TimeFrameOption {
  std::string label;
  std::vector<std::string> preview;
};

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // Shows the open-file dialog; the chosen path, or nothing when the user cancels. The file need not
  // exist: the run checks.
  virtual std::optional<std::filesystem::path> ChooseSourceFile(const OpenFileDialog& dialog) = 0;
  // Shows a message and waits until the user acknowledges it.
  virtual void ShowMessage(std::string_view text) = 0;
  // Shows (true) or restores (false) the wait cursor of the whole application. Must not throw.
  virtual void SetBusy(bool busy) noexcept = 0;
  // Lets the user choose the time frames to apply among `options`. Returns the positions chosen,
  // once the choice passed the closing rule (one or two frames), or nothing when the user closed
  // the choice with a selection the rule refused, after telling the user why: the run then asks
  // again, with nothing selected.
  virtual std::optional<std::vector<std::size_t>> ChooseTimeFrames(
      std::span<const TimeFrameOption> options) = 0;
  // The ending of a completed run: "Proceso finalizado", with the run's summary.
  virtual void FinishRun(const RunReport& report) = 0;
  // The ending of a run whose XML file does not exist, with the run's own message.
  virtual void MissingFileEnd(std::string_view message) = 0;
};

// Shows the wait cursor for its lifetime, and restores it however the scope is left.
class BusyCursor {
 public:
  explicit BusyCursor(UserInterface& ui) : ui_(ui) { ui_.SetBusy(true); }
  ~BusyCursor() { ui_.SetBusy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  UserInterface& ui_;
};

}  // namespace transzendal
