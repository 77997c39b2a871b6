// The main window TMForm: the three gradient panels with their labels, BExportar, BImportar, BClose
// and Button1, embedded in the timetable program's window when the command line asks for it, and
// the Win32 side of the shell (ShellView): message boxes, the open-file dialog, the wait cursor and
// the time-frame dialog. It owns the Shell, which holds the rules.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "program_help.h"
#include "shell.h"
#include "start_arguments.h"
#include "win32_owners.h"
#include "window_layout.h"

namespace transzendal::app {

class MainWindow final : public ShellView {
 public:
  // Creates the window, hidden, owned by the program's task bar window `application`. When the
  // command line gave a host window that exists, the window becomes its borderless child; an
  // unconvertible handle is reported in an error box and gives an ordinary window.
  // `settings.embedded` is set here. Throws std::runtime_error when Windows refuses the window.
  // `help` answers F1 and "F1 Ayuda" and must outlive the window.
  MainWindow(HINSTANCE instance, HWND application, ProgramHelp& help, const StartArguments& start,
             ShellSettings settings);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Shows the window (centred on the screen, or at the top left of the host window), then runs the
  // command line's action, as the window's first showing does.
  void ShowAndStart(int show_command);

  HWND handle() const { return window_; }
  bool embedded() const { return shell_->embedded(); }

  // ShellView.
  std::optional<std::filesystem::path> ChooseSourceFile(const OpenFileDialog& dialog) override;
  void ShowMessage(std::string_view text) override;
  void SetBusy(bool busy) noexcept override;
  std::optional<std::vector<std::size_t>> ChooseTimeFrames(
      std::span<const TimeFrameOption> options) override;
  void ShowFinished(const RunReport& report) override;
  void ShowError(std::string_view text) override;
  void DisableRuns() override;
  void RequestClose() override;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateControls();
  void LayOut(UINT dpi);
  void Paint(HDC dc);
  void OnCommand(int id);
  void OnClose();
  // The window that dialogs are modal over: the main window's top-level ancestor.
  HWND DialogOwner() const;

  HINSTANCE instance_;
  ProgramHelp& help_;
  HWND window_ = nullptr;
  StartAction start_action_ = StartAction::kNone;
  std::unique_ptr<Shell> shell_;
  bool busy_ = false;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  OwnedFont default_font_;
  std::array<OwnedFont, main_window::kLabels.size()> label_fonts_;
  std::array<HWND, main_window::kButtons.size()> buttons_{};
  std::array<OwnedIcon, main_window::kButtons.size()> glyphs_;
};

// The program's task bar window: an invisible window titled with the program's title, which owns
// the main window, so that the task bar button reads "TransZendalColvGest" while the main window
// keeps its own caption. Activating it activates the main window; closing it closes the main window.
OwnedWindow CreateApplicationWindow(HINSTANCE instance);

}  // namespace transzendal::app
