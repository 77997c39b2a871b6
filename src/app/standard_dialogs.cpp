#include "standard_dialogs.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <string>
#include <vector>

#include "messages.h"
#include "run_report.h"
#include "win32_owners.h"
#include "win32_text.h"

namespace transzendal::app {
namespace {

// A task dialog higher than the screen can't be read: the details keep this many lines.
constexpr std::size_t kSummaryLines = 40;

std::wstring SummaryDetails(const RunReport& report) {
  const std::string summary = report.Summary();  // every line ends in "\n"
  std::string shown;
  std::size_t start = 0;
  for (std::size_t line = 0; start < summary.size(); ++line) {
    if (line == kSummaryLines) {
      const auto rest = std::count(summary.begin() + static_cast<std::ptrdiff_t>(start), summary.end(), '\n');
      shown += msg::FillMessage(msg::kSummaryCut, {std::to_string(rest)});
      break;
    }
    std::size_t end = summary.find('\n', start);
    if (end == std::string::npos) end = summary.size();
    shown.append(summary, start, end - start) += '\n';
    start = end + 1;
  }
  while (!shown.empty() && shown.back() == '\n') shown.pop_back();
  return Wide(shown);
}

using TaskDialogIndirectFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

}  // namespace

void ShowMessageBox(HWND owner, std::string_view text) {
  ::MessageBoxW(owner, Wide(text).c_str(), kProgramTitle, MB_OK);
}

void ShowErrorBox(HWND owner, std::string_view text) {
  ::MessageBoxW(owner, Wide(text).c_str(), kProgramTitle, MB_OK | MB_ICONERROR);
}

void ShowFinishedDialog(HWND owner, const RunReport& report) {
  // Common controls 6 has the task dialog; where an older library answers, the plain box serves.
  const OwnedModule comctl32(::LoadLibraryW(L"comctl32.dll"));
  const auto task_dialog = comctl32 ? reinterpret_cast<TaskDialogIndirectFunction>(
                                          reinterpret_cast<void*>(::GetProcAddress(
                                              comctl32.get(), "TaskDialogIndirect")))
                                    : nullptr;
  const std::wstring content = Wide(msg::kProcessFinished);
  if (task_dialog != nullptr) {
    const std::wstring details = SummaryDetails(report);
    const std::wstring show = Wide(msg::kShowSummary);
    const std::wstring hide = Wide(msg::kHideSummary);
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.dwCommonButtons = TDCBF_OK_BUTTON;
    config.pszWindowTitle = kProgramTitle;
    config.pszContent = content.c_str();
    config.pszExpandedInformation = details.empty() ? nullptr : details.c_str();
    config.pszExpandedControlText = hide.c_str();
    config.pszCollapsedControlText = show.c_str();
    if (SUCCEEDED(task_dialog(&config, nullptr, nullptr, nullptr))) return;
  }
  ::MessageBoxW(owner, content.c_str(), kProgramTitle, MB_OK);
}

std::optional<std::filesystem::path> ShowOpenFileDialog(HWND owner, const OpenFileDialog& dialog) {
  // One entry, shown as its pattern: "*.xml\0*.xml\0", and the final terminator of c_str().
  const std::wstring pattern = Wide(dialog.filter);
  const std::wstring filter = pattern + L'\0' + pattern + L'\0';
  const std::wstring title = Wide(dialog.title);
  const std::wstring extension = Wide(dialog.default_extension);
  const std::wstring folder = dialog.initial_directory.wstring();
  std::vector<wchar_t> file(32768, L'\0');  // the longest path Windows takes
  OPENFILENAMEW open{};
  open.lStructSize = sizeof open;
  open.hwndOwner = owner;
  open.lpstrFilter = filter.c_str();
  open.nFilterIndex = 1;
  open.lpstrFile = file.data();
  open.nMaxFile = static_cast<DWORD>(file.size());
  open.lpstrInitialDir = folder.c_str();
  open.lpstrTitle = title.c_str();
  open.lpstrDefExt = extension.c_str();
  // No OFN_FILEMUSTEXIST: the run checks, and says "No existe archivo" in its own words.
  open.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (!::GetOpenFileNameW(&open)) return std::nullopt;
  return std::filesystem::path(file.data());
}

}  // namespace transzendal::app
