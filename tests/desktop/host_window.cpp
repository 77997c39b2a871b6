// host-window: plays the timetable program in the desktop tests. It shows a window of its own,
// starts the converter with that window's handle on its command line, and keeps its message queue
// going until the converter ends: an embedded window of another process shares this thread's input
// queue, so a host that stopped pumping would freeze it. Meanwhile it watches for the converter's
// main window (class TMForm) among its children and at the end tells what it saw.
//
// Usage: host-window [--espera=SECONDS] PROGRAM ARG...
//   Each ARG "{HOST}" becomes this window's handle in upper-case hexadecimal, without prefix.
// Prints "incrustada: si|no", "sin marco: si|no" and "estado: N" (the program's exit status) and
// exits 0; if the program has not ended after SECONDS (60 by default) it prints "tiempo agotado",
// ends the program and exits 1.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <string>
#include <string_view>

#include "console_text.h"

namespace {

constexpr wchar_t kHostClass[] = L"TransZendalPruebaAnfitrion";
constexpr wchar_t kHostCaption[] = L"Zendalor (prueba)";
constexpr wchar_t kMainClass[] = L"TMForm";
constexpr std::wstring_view kHandlePlaceholder = L"{HOST}";
constexpr std::wstring_view kTimeoutOption = L"--espera=";
constexpr DWORD kDefaultTimeoutMs = 60000;
constexpr DWORD kWatchIntervalMs = 100;

std::wstring Hexadecimal(HWND window) {
  auto value = reinterpret_cast<std::uintptr_t>(window);
  std::wstring digits;
  do {
    digits.insert(digits.begin(), L"0123456789ABCDEF"[value % 16]);
    value /= 16;
  } while (value != 0);
  return digits;
}

// One argument as CommandLineToArgvW and the C runtime split it again.
std::wstring Quote(std::wstring_view argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
    return std::wstring(argument);
  }
  std::wstring quoted = L"\"";
  for (std::size_t i = 0;; ++i) {
    std::size_t backslashes = 0;
    while (i < argument.size() && argument[i] == L'\\') {
      ++i;
      ++backslashes;
    }
    if (i == argument.size()) {
      quoted.append(backslashes * 2, L'\\');  // doubled, so the closing quote stays a quote
      break;
    }
    if (argument[i] == L'"') {
      quoted.append(backslashes * 2 + 1, L'\\');
    } else {
      quoted.append(backslashes, L'\\');
    }
    quoted += argument[i];
  }
  return quoted + L"\"";
}

// What the host saw of the converter's window among its children. The style is the one of the
// last look while it was visible: the converter may change it just after adopting the window.
struct Sighting {
  bool seen = false;
  LONG_PTR style = 0;
  bool style_seen_visible = false;
};

void Watch(HWND host, Sighting& sighting) {
  HWND main = FindWindowExW(host, nullptr, kMainClass, nullptr);
  if (main == nullptr) return;
  const bool visible = IsWindowVisible(main) != FALSE;
  if (visible || !sighting.style_seen_visible) {
    sighting.style = GetWindowLongPtrW(main, GWL_STYLE);
    sighting.style_seen_visible = visible;
  }
  sighting.seen = true;
}

HWND CreateHostWindow(HINSTANCE instance) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  window_class.lpszClassName = kHostClass;
  if (!RegisterClassExW(&window_class)) return nullptr;
  HWND host = CreateWindowExW(0, kHostClass, kHostCaption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              20, 20, 800, 400, nullptr, nullptr, instance, nullptr);
  if (host != nullptr) {
    ShowWindow(host, SW_SHOWNORMAL);
    UpdateWindow(host);
  }
  return host;
}

bool PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) return false;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

int Fail(std::wstring_view text) {
  Write(GetStdHandle(STD_ERROR_HANDLE), L"host-window: " + std::wstring(text) + L"\n");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int first = 1;
  DWORD timeout_ms = kDefaultTimeoutMs;
  if (argc > 1 && std::wstring_view(argv[1]).starts_with(kTimeoutOption)) {
    timeout_ms =
        1000 * static_cast<DWORD>(std::wcstoul(argv[1] + kTimeoutOption.size(), nullptr, 10));
    first = 2;
  }
  if (argc <= first) return Fail(L"uso: host-window [--espera=SEGUNDOS] PROGRAMA ARG...");

  HWND host = CreateHostWindow(GetModuleHandleW(nullptr));
  if (host == nullptr) return Fail(L"no se pudo crear la ventana");

  std::wstring command_line;
  for (int i = first; i < argc; ++i) {
    const std::wstring_view argument = argv[i];
    if (!command_line.empty()) command_line += L' ';
    command_line += Quote(argument == kHandlePlaceholder ? Hexadecimal(host) : argument);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(argv[first], command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return Fail(L"no se pudo arrancar " + std::wstring(argv[first]) + L" (error " +
                std::to_wstring(GetLastError()) + L")");
  }
  CloseHandle(process.hThread);

  Sighting sighting;
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  bool ended = false;
  while (!ended) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) break;
    const DWORD wait = static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, kWatchIntervalMs));
    const DWORD woke = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, wait, QS_ALLINPUT);
    ended = woke == WAIT_OBJECT_0;
    PumpMessages();
    if (!ended) Watch(host, sighting);
  }
  if (!ended) {
    Print(L"tiempo agotado");
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hProcess);
    return 1;
  }

  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hProcess);
  const bool embedded = sighting.seen && (sighting.style & WS_CHILD) != 0;
  const bool frameless = sighting.seen && (sighting.style & WS_DLGFRAME) == 0 &&
                         (sighting.style & (WS_BORDER | WS_THICKFRAME)) == 0;
  Print(std::wstring(L"incrustada: ") + (embedded ? L"si" : L"no"));
  Print(std::wstring(L"sin marco: ") + (frameless ? L"si" : L"no"));
  Print(L"estado: " + std::to_wstring(static_cast<int>(status)));
  DestroyWindow(host);
  return 0;
}
