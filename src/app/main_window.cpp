#include "main_window.h"

#include <commctrl.h>

#include <stdexcept>

#include "frame_dialog.h"
#include "glyphs.h"
#include "html_help_library.h"
#include "icon/icon_resource.h"
#include "painting.h"
#include "standard_dialogs.h"

namespace transzendal::app {
namespace {

namespace layout = main_window;

constexpr DWORD kHelpContextId = kHelpContext;

constexpr DWORD kOrdinaryStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kOrdinaryExStyle = WS_EX_DLGMODALFRAME;
constexpr DWORD kEmbeddedStyle = WS_CHILD | WS_CLIPCHILDREN;

constexpr const wchar_t* kApplicationClass = L"TransZendalApplication";
// Posted to the task bar window to hand the activation on, outside the activation itself.
constexpr UINT kActivateMainWindow = WM_APP + 1;

void RegisterClassOnce(const WNDCLASSEXW& window_class) {
  if (::RegisterClassExW(&window_class) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw std::runtime_error("RegisterClassExW");
  }
}

// The program's icon from its resources at the size the system gives for `width` and `height`
// (SM_CXICON or SM_CXSMICON). Shared, so that it lives as long as the program and the classes need
// no one to destroy it.
HICON ProgramIcon(HINSTANCE instance, int width, int height) {
  return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(TRANSZENDAL_ICON_ID),
                                         IMAGE_ICON, ::GetSystemMetrics(width),
                                         ::GetSystemMetrics(height), LR_SHARED));
}

// The title bar and the task bar show a class's big and small icons.
void GiveProgramIcons(WNDCLASSEXW& window_class) {
  window_class.hIcon = ProgramIcon(window_class.hInstance, SM_CXICON, SM_CYICON);
  window_class.hIconSm = ProgramIcon(window_class.hInstance, SM_CXSMICON, SM_CYSMICON);
}

POINT PanelOrigin(int panel) {
  const Box& box = layout::kPanels[static_cast<std::size_t>(panel)].box;
  return {box.left, box.top};
}

// The outer size of a window of the given style whose client area is the layout's, at `dpi`.
SIZE WindowSizeFor(DWORD style, DWORD ex_style, UINT dpi) {
  RECT rect{0, 0, Scale(layout::kClientWidth, dpi), Scale(layout::kClientHeight, dpi)};
  ::AdjustWindowRectExForDpi(&rect, style, FALSE, ex_style, dpi);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

LRESULT CALLBACK ApplicationProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto main = reinterpret_cast<HWND>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE) ::PostMessageW(window, kActivateMainWindow, 0, 0);
      return 0;
    case kActivateMainWindow:
      // The window last active among those it owns: the main window or one of its dialogs.
      if (const HWND popup = ::GetLastActivePopup(window); popup != window) {
        ::SetForegroundWindow(popup);
      }
      return 0;
    case WM_CLOSE:
      if (main != nullptr) ::PostMessageW(main, WM_CLOSE, 0, 0);
      return 0;
    default:
      return ::DefWindowProcW(window, message, wparam, lparam);
  }
}

}  // namespace

OwnedWindow CreateApplicationWindow(HINSTANCE instance) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = ApplicationProcedure;
  window_class.hInstance = instance;
  GiveProgramIcons(window_class);
  window_class.lpszClassName = kApplicationClass;
  RegisterClassOnce(window_class);
  // No size: only its task bar button shows.
  const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2;
  const int y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
  return OwnedWindow(::CreateWindowExW(0, kApplicationClass, kProgramTitle,
                                       WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0,
                                       0, nullptr, nullptr, instance, nullptr));
}

MainWindow::MainWindow(HINSTANCE instance, HWND application, ProgramHelp& help,
                       const StartArguments& start, ShellSettings settings)
    : instance_(instance), help_(help), start_action_(start.action) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = Procedure;
  window_class.hInstance = instance;
  GiveProgramIcons(window_class);
  window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  window_class.lpszClassName = layout::kClassName;
  RegisterClassOnce(window_class);

  window_ = ::CreateWindowExW(kOrdinaryExStyle, layout::kClassName, layout::kCaption, kOrdinaryStyle,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              application, nullptr, instance, this);
  if (window_ == nullptr) throw std::runtime_error("CreateWindowExW");
  ::SetWindowLongPtrW(application, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window_));
  ::SetWindowContextHelpId(window_, kHelpContextId);
  dpi_ = ::GetDpiForWindow(window_);
  CreateControls();
  LayOut(dpi_);

  const auto host = start.host_window ? reinterpret_cast<HWND>(*start.host_window) : nullptr;
  settings.embedded = host != nullptr && ::IsWindow(host);
  if (settings.embedded) {
    // The child style first: a window must be a child before it is given a foreign parent.
    ::SetWindowLongPtrW(window_, GWL_STYLE, kEmbeddedStyle);
    ::SetWindowLongPtrW(window_, GWL_EXSTYLE, 0);
    if (::SetParent(window_, host) == nullptr) {
      ::SetWindowLongPtrW(window_, GWL_STYLE, kOrdinaryStyle);
      ::SetWindowLongPtrW(window_, GWL_EXSTYLE, kOrdinaryExStyle);
      settings.embedded = false;
    }
  } else if (!start.handle_error.empty()) {
    ShowErrorBox(window_, start.handle_error);
  }
  shell_ = std::make_unique<Shell>(*this, std::move(settings));
}

MainWindow::~MainWindow() {
  if (window_ != nullptr) ::DestroyWindow(window_);
}

void MainWindow::ShowAndStart(int show_command) {
  if (embedded()) {
    ::SetWindowPos(window_, nullptr, 0, 0, Scale(layout::kClientWidth, dpi_),
                   Scale(layout::kClientHeight, dpi_), SWP_NOZORDER | SWP_FRAMECHANGED);
    ::ShowWindow(window_, SW_SHOW);
  } else {
    // Centred on the screen that holds it.
    const SIZE size = WindowSizeFor(kOrdinaryStyle, kOrdinaryExStyle, dpi_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& screen = monitor.rcMonitor;
    ::SetWindowPos(window_, nullptr, screen.left + (screen.right - screen.left - size.cx) / 2,
                   screen.top + (screen.bottom - screen.top - size.cy) / 2, size.cx, size.cy,
                   SWP_NOZORDER | SWP_FRAMECHANGED);
    ::ShowWindow(window_, show_command);
  }
  ::UpdateWindow(window_);
  shell_->Run(start_action_);
}

void MainWindow::CreateControls() {
  for (std::size_t i = 0; i < layout::kButtons.size(); ++i) {
    const ButtonLayout& button = layout::kButtons[i];
    buttons_[i] = ::CreateWindowExW(0, WC_BUTTONW, button.text,
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0,
                                    window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)),
                                    instance_, nullptr);
    ::SetWindowContextHelpId(buttons_[i], kHelpContextId);
  }
}

void MainWindow::LayOut(UINT dpi) {
  dpi_ = dpi;
  default_font_ = MakeFont(kDefaultFont, dpi);
  for (std::size_t i = 0; i < layout::kLabels.size(); ++i) {
    label_fonts_[i] = MakeFont(layout::kLabels[i].font, dpi);
  }
  for (std::size_t i = 0; i < layout::kButtons.size(); ++i) {
    const ButtonLayout& button = layout::kButtons[i];
    const RECT rect = ScaledRect(button.box, dpi, PanelOrigin(button.panel));
    ::SetWindowPos(buttons_[i], nullptr, rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(buttons_[i], WM_SETFONT, reinterpret_cast<WPARAM>(default_font_.get()), TRUE);
    glyphs_[i] = MakeGlyphIcon(button.glyph, dpi);
    ::SendMessageW(buttons_[i], BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(glyphs_[i].get()));
  }
  ::InvalidateRect(window_, nullptr, FALSE);
}

void MainWindow::Paint(HDC dc) {
  for (const PanelLayout& panel : layout::kPanels) {
    PaintGradient(dc, ScaledRect(panel.box, dpi_), panel.top, panel.centre, panel.bottom);
  }
  for (std::size_t i = 0; i < layout::kLabels.size(); ++i) {
    const LabelLayout& label = layout::kLabels[i];
    DrawLabel(dc, ScaledRect(label.box, dpi_, PanelOrigin(label.panel)), label.text,
              label_fonts_[i].get(), label.colour);
  }
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return ::DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return ::DefWindowProcW(window, message, wparam, lparam);
  }
  return self->Handle(message, wparam, lparam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers the whole client area
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(window_, &paint);
      Paint(dc);
      ::EndPaint(window_, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:  // themed buttons draw their corners from the parent's background
      Paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_SETCURSOR:
      if (!busy_) break;
      ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED) OnCommand(LOWORD(wparam));
      return 0;
    case WM_HELP:  // F1, on the window or any of its buttons
      help_.ShowContext(HelpContextOf(*reinterpret_cast<const HELPINFO*>(lparam)));
      return TRUE;
    case WM_DPICHANGED: {
      LayOut(HIWORD(wparam));
      if (!embedded()) {
        const auto* suggested = reinterpret_cast<const RECT*>(lparam);
        ::SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                       suggested->right - suggested->left, suggested->bottom - suggested->top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
      }
      return 0;
    }
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wparam, lparam);
}

void MainWindow::OnCommand(int id) {
  switch (id) {
    case layout::kBExportar:
      shell_->Run(StartAction::kExport);
      break;
    case layout::kBImportar:
      shell_->Run(StartAction::kImport);
      break;
    case layout::kBClose:
      ::SendMessageW(window_, WM_CLOSE, 0, 0);
      break;
    case layout::kButton1:
      help_.ShowContents();
      break;
    default:
      break;
  }
}

void MainWindow::OnClose() {
  if (shell_ && !shell_->Close()) return;
  ::DestroyWindow(window_);
}

HWND MainWindow::DialogOwner() const { return ::GetAncestor(window_, GA_ROOT); }

std::optional<std::filesystem::path> MainWindow::ChooseSourceFile(const OpenFileDialog& dialog) {
  return ShowOpenFileDialog(DialogOwner(), dialog);
}

void MainWindow::ShowMessage(std::string_view text) { ShowMessageBox(DialogOwner(), text); }

void MainWindow::SetBusy(bool busy) noexcept {
  busy_ = busy;
  ::SetCursor(::LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

std::optional<std::vector<std::size_t>> MainWindow::ChooseTimeFrames(
    std::span<const TimeFrameOption> options) {
  return ChooseFramesInDialog(instance_, DialogOwner(), help_, options);
}

void MainWindow::ShowFinished(const RunReport& report) { ShowFinishedDialog(DialogOwner(), report); }

void MainWindow::ShowError(std::string_view text) { ShowErrorBox(DialogOwner(), text); }

void MainWindow::DisableRuns() {
  ::EnableWindow(::GetDlgItem(window_, layout::kBExportar), FALSE);
  ::EnableWindow(::GetDlgItem(window_, layout::kBImportar), FALSE);
}

void MainWindow::RequestClose() { ::PostMessageW(window_, WM_CLOSE, 0, 0); }

}  // namespace transzendal::app
