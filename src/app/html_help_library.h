// HTML Help itself: HHCtrl.ocx loaded at run time by that name and its export HtmlHelpA. Without
// either, the program has no help and says nothing about it.
#pragma once

#include <windows.h>

#include "html_help_viewer.h"
#include "program_help.h"
#include "win32_owners.h"

namespace transzendal::app {

class HtmlHelpLibrary {
 public:
  HtmlHelpLibrary();
  HtmlHelpLibrary(const HtmlHelpLibrary&) = delete;
  HtmlHelpLibrary& operator=(const HtmlHelpLibrary&) = delete;

  // The way to HtmlHelpA, valid while the library lives; empty when it is missing.
  HtmlHelpCall Call() const;

 private:
  using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
  OwnedModule module_;
  HtmlHelpFunction html_help_ = nullptr;
};

// The help context of the window that F1 was pressed in: its own, else the program's one context.
inline int HelpContextOf(const HELPINFO& info) {
  return info.dwContextId != 0 ? static_cast<int>(info.dwContextId) : kHelpContext;
}

}  // namespace transzendal::app
