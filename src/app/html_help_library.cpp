#include "html_help_library.h"

#include <string>

#include "win32_text.h"

namespace transzendal::app {
namespace {

// HtmlHelpA takes 8-bit text in the system's code page.
std::string AnsiText(const std::string& utf8) {
  const std::wstring wide = Wide(utf8);
  const int size = static_cast<int>(wide.size());
  const int length = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, ansi.data(), length, nullptr, nullptr);
  return ansi;
}

}  // namespace

HtmlHelpLibrary::HtmlHelpLibrary() : module_(::LoadLibraryA("HHCtrl.ocx")) {
  if (module_) {
    html_help_ = reinterpret_cast<HtmlHelpFunction>(
        reinterpret_cast<void*>(::GetProcAddress(module_.get(), "HtmlHelpA")));
  }
}

HtmlHelpCall HtmlHelpLibrary::Call() const {
  if (html_help_ == nullptr) return {};
  return [function = html_help_](const HtmlHelpRequest& request) {
    const std::string file = request.file ? AnsiText(*request.file) : std::string();
    const std::string keyword = AnsiText(request.keyword);
    const DWORD_PTR data = request.command == HtmlHelpCommand::kDisplayIndex
                               ? reinterpret_cast<DWORD_PTR>(keyword.c_str())
                               : request.data;
    function(reinterpret_cast<HWND>(request.window), request.file ? file.c_str() : nullptr,
             static_cast<UINT>(request.command), data);
  };
}

}  // namespace transzendal::app
