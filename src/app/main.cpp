// transzendal.exe: the desktop converter. Zendalor starts it as "transzendal ACTION HOSTHANDLE";
// a user starts it with no arguments.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

#include "exchange_directory.h"
#include "html_help_library.h"
#include "main_window.h"
#include "messages.h"
#include "platform.h"
#include "program_help.h"
#include "standard_dialogs.h"
#include "start_arguments.h"
#include "win32_text.h"

namespace {

using namespace transzendal;

// The arguments after the program name, by the Windows rules of quoting (CommandLineToArgvW).
std::vector<std::string> CommandLineArguments() {
  int count = 0;
  LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> utf8;
  for (int i = 1; arguments != nullptr && i < count; ++i) utf8.push_back(app::Utf8(arguments[i]));
  ::LocalFree(arguments);
  return utf8;
}

int MessageLoop(HWND main_window) {
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Tab moves between the buttons and Enter presses the focused one, as in a dialog.
    if (::IsWindow(main_window) && ::IsDialogMessageW(main_window, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}

int Run(HINSTANCE instance, int show_command) {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  const app::StartArguments start = app::ReadStartArguments(CommandLineArguments());
  const std::filesystem::path program_folder = platform::ProgramFile().parent_path();
  // Help is ready before the main window exists; it closes every help window when it goes.
  const app::HtmlHelpLibrary html_help;
  app::ProgramHelp help(html_help.Call(), platform::PathToUtf8(program_folder) + "\\");

  app::ShellSettings settings;
  settings.result_file = program_folder / app::kResultFileName;
  settings.exchange_directory = ResolveExchangeDirectory(std::nullopt);
  settings.decimal_separator = platform::DecimalSeparator();

  const app::OwnedWindow application = app::CreateApplicationWindow(instance);
  app::MainWindow window(instance, application.get(), help, start, std::move(settings));
  // Embedded, the timetable program's own button stands for the converter in the task bar.
  if (!window.embedded()) ::ShowWindow(application.get(), SW_SHOWNOACTIVATE);
  window.ShowAndStart(show_command);
  return MessageLoop(window.handle());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  try {
    return Run(instance, show_command);
  } catch (const std::exception& error) {
    app::ShowErrorBox(nullptr, msg::FillMessage(msg::kUnexpectedError, {error.what()}));
    return 1;
  }
}
