// The system's own dialogs as the converter shows them: message boxes with the program's title,
// "Proceso finalizado" with the run's summary as its details, and the open-file dialog
// OpenDialogXML. Each is modal over `owner` and returns once the user has answered it.
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string_view>

#include "user_interface.h"

namespace transzendal {
class RunReport;
}

namespace transzendal::app {

// The program's title: the text of its task bar button and of its message boxes.
inline constexpr const wchar_t* kProgramTitle = L"TransZendalColvGest";

// A message box with one OK button.
void ShowMessageBox(HWND owner, std::string_view text);
// The same with the error icon.
void ShowErrorBox(HWND owner, std::string_view text);
// "Proceso finalizado" with one OK button; the summary of `report` is offered as expandable
// details (a task dialog), or left out where the task dialog is not available.
void ShowFinishedDialog(HWND owner, const RunReport& report);
// The open-file dialog; the path typed or chosen (which need not exist), nothing when cancelled.
std::optional<std::filesystem::path> ShowOpenFileDialog(HWND owner, const OpenFileDialog& dialog);

}  // namespace transzendal::app
