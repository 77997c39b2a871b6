// ui-driver: plays the user of transzendal.exe in the desktop tests, under Wine. Each step waits,
// for a bounded time, for the window it needs, acts on it with the messages that a user's mouse
// would cause, and prints what it saw; the first step that fails ends the program with status 1 and
// a line that says which step and why.
//
// Usage: ui-driver STEP...   (the steps are listed in kSteps below)
//
// The converter's main window (class TMForm) is a top-level window, or a child of one when it is
// embedded in the timetable program's window. Its dialogs and message boxes are top-level windows
// of class #32770 that belong to its process.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console_text.h"

namespace {

constexpr DWORD kStepTimeoutMs = 30000;
constexpr DWORD kPollMs = 50;
constexpr UINT kSendTimeoutMs = 10000;

constexpr std::wstring_view kMainClass = L"TMForm";
constexpr std::wstring_view kDialogClass = L"#32770";
constexpr std::wstring_view kMessageCaption = L"TransZendalColvGest";
constexpr std::wstring_view kFileDialogTitle = L"Archivo XML";
constexpr std::wstring_view kFrameDialogTitle = L"Planillas, Marcos o Jornadas Horarias";
constexpr int kFrameList = 201;    // ListBox2: the frames, extended selection
constexpr int kPreviewList = 202;  // ListBox1: the Monday periods of the last clicked frame
constexpr int kCloseButton = 103;  // BClose, "&Salir"
// The file name field of the explorer-style open dialog: an edit inside the combo box cmb13, or
// in older templates the edit edt1 alone.
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;

struct StepFailure {
  std::wstring message;
};

[[noreturn]] void Fail(std::wstring message) { throw StepFailure{std::move(message)}; }

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// The text of a window of any process: WM_GETTEXT is copied across processes, and a window that
// does not answer in time makes the step fail instead of hanging the test. A window destroyed
// meanwhile (the list of windows is a snapshot) has no text.
std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &length)) {
    if (!IsWindow(window)) return {};
    Fail(L"la ventana de clase " + ClassOf(window) + L" no responde");
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied);
  text.resize(std::min<std::size_t>(copied, length));
  return text;
}

std::wstring Describe(HWND window) { return ClassOf(window) + L" «" + TextOf(window) + L"»"; }

LRESULT Send(HWND window, UINT message, WPARAM w, LPARAM l) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, w, l, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result)) {
    Fail(L"la ventana de clase " + ClassOf(window) + L" no responde");
  }
  return static_cast<LRESULT>(result);
}

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> windows;
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// The converter's main window: a top-level TMForm, or one that is a child of a top-level window.
HWND FindMainWindow() {
  for (HWND top : TopLevelWindows()) {
    if (ClassOf(top) == kMainClass) return top;
    if (HWND child = FindWindowExW(top, nullptr, kMainClass.data(), nullptr)) return child;
  }
  return nullptr;
}

// The converter's process, once seen. Remembered, so that its message boxes are still found
// while its main window is being destroyed.
DWORD converter_process = 0;

DWORD ConverterProcess() {
  if (HWND main = FindMainWindow()) converter_process = ProcessOf(main);
  return converter_process;
}

// The visible top-level dialogs of the converter. Before its main window exists (a message box
// about its command line comes first) any dialog of another process counts: in the tests the
// converter is the only program that shows dialogs.
std::vector<HWND> ConverterDialogs() {
  const DWORD process = ConverterProcess();
  std::vector<HWND> dialogs;
  for (HWND top : TopLevelWindows()) {
    if (!IsWindowVisible(top) || ClassOf(top) != kDialogClass) continue;
    const DWORD owner = ProcessOf(top);
    if (process != 0 ? owner == process : owner != GetCurrentProcessId()) dialogs.push_back(top);
  }
  return dialogs;
}

// Polls `find` until it gives a window, or fails the step saying that `what` did not appear.
HWND WaitFor(std::wstring_view what, const std::function<HWND()>& find) {
  const ULONGLONG deadline = GetTickCount64() + kStepTimeoutMs;
  for (;;) {
    if (HWND found = find()) return found;
    if (GetTickCount64() > deadline) {
      Fail(L"no aparece " + std::wstring(what) + L" en " + std::to_wstring(kStepTimeoutMs / 1000) +
           L" s");
    }
    Sleep(kPollMs);
  }
}

void WaitUntil(std::wstring_view what, const std::function<bool()>& condition) {
  WaitFor(what, [&] { return condition() ? GetDesktopWindow() : nullptr; });
}

// A dialog of the converter with this caption that accepts input: enabled (no message box of its
// own is open over it) and not one that an earlier step has already closed.
std::vector<HWND> retired_dialogs;

HWND FindDialog(std::wstring_view caption) {
  for (HWND dialog : ConverterDialogs()) {
    if (TextOf(dialog) != caption || !IsWindowEnabled(dialog)) continue;
    if (std::find(retired_dialogs.begin(), retired_dialogs.end(), dialog) !=
        retired_dialogs.end()) {
      continue;
    }
    return dialog;
  }
  return nullptr;
}

HWND WaitForDialog(std::wstring_view caption) {
  return WaitFor(L"el diálogo «" + std::wstring(caption) + L"»",
                 [&] { return FindDialog(caption); });
}

HWND Control(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (control == nullptr) Fail(L"no hay un control con el identificador " + std::to_wstring(id));
  return control;
}

// The button child with this identifier: the open dialog's toolbar shares the identifier IDOK.
HWND Button(HWND parent, int id) {
  for (HWND child = FindWindowExW(parent, nullptr, L"Button", nullptr); child != nullptr;
       child = FindWindowExW(parent, child, L"Button", nullptr)) {
    if (GetDlgCtrlID(child) == id) return child;
  }
  Fail(L"no hay un botón con el identificador " + std::to_wstring(id));
}

// A click on a button as the mouse gives it: the button itself notifies its parent. Posted, so
// that a modal window the click opens does not hold this program up.
void ClickButton(HWND button) {
  if (!IsWindowEnabled(button)) Fail(L"el botón «" + TextOf(button) + L"» está desactivado");
  PostMessageW(button, BM_CLICK, 0, 0);
}

bool IsGone(HWND window) { return !IsWindow(window) || !IsWindowVisible(window); }

// Waits until `dialog` has closed; it may instead stay open under a message box of its own, which
// the next step answers.
void WaitUntilClosedOrAnswered(HWND dialog, std::wstring_view name) {
  retired_dialogs.push_back(dialog);
  bool answered = false;
  WaitUntil(L"el cierre de " + std::wstring(name), [&] {
    if (IsGone(dialog)) return true;
    for (HWND other : ConverterDialogs()) {
      if (GetWindow(other, GW_OWNER) == dialog) answered = true;
    }
    return answered;
  });
  Print(std::wstring(name) + (answered ? L": sigue abierto tras un mensaje" : L": cerrado"));
}

// ---------------------------------------------------------------------------------------------
// The steps.

HWND FileNameField(HWND dialog) {
  if (HWND combo = GetDlgItem(dialog, kFileNameCombo)) {
    // Wine wraps it in a ComboBoxEx32: the edit is a grandchild.
    for (HWND inner : ChildWindows(combo)) {
      if (ClassOf(inner) == L"Edit") return inner;
    }
  }
  if (HWND edit = GetDlgItem(dialog, kFileNameEdit)) return edit;
  Fail(L"el diálogo «Archivo XML» no tiene campo para el nombre del archivo");
}

void ChooseFile(std::wstring_view path) {
  HWND dialog = WaitForDialog(kFileDialogTitle);
  HWND field = FileNameField(dialog);
  const std::wstring text(path);
  Send(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (TextOf(field) != text) Fail(L"el campo del nombre no admite el texto " + text);
  ClickButton(Button(dialog, IDOK));
  retired_dialogs.push_back(dialog);
  WaitUntil(L"el cierre del diálogo «Archivo XML»", [&] { return IsGone(dialog); });
  Print(L"archivo: " + text);
}

void CancelFile(std::wstring_view) {
  HWND dialog = WaitForDialog(kFileDialogTitle);
  ClickButton(Button(dialog, IDCANCEL));
  retired_dialogs.push_back(dialog);
  WaitUntil(L"el cierre del diálogo «Archivo XML»", [&] { return IsGone(dialog); });
  Print(L"archivo: cancelado");
}

// Message boxes put their text in the static with identifier 0xFFFF; task dialogs in statics of
// their own. Every text that is not a button's counts.
std::vector<std::wstring> MessageTexts(HWND box) {
  std::vector<std::wstring> texts;
  for (HWND child : ChildWindows(box)) {
    if (ClassOf(child) == L"Button") continue;
    std::wstring text = TextOf(child);
    if (!text.empty()) texts.push_back(std::move(text));
  }
  return texts;
}

HWND FindMessage(std::wstring_view wanted) {
  for (HWND box : ConverterDialogs()) {
    if (!IsWindowEnabled(box)) continue;  // a dialog under a message box of its own
    for (const std::wstring& text : MessageTexts(box)) {
      if (text.find(wanted) != std::wstring::npos) return box;
    }
  }
  return nullptr;
}

void PrintLines(std::wstring_view prefix, std::wstring_view text) {
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring_view::npos) end = text.size();
    std::wstring_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    Print(std::wstring(prefix) + std::wstring(line));
    start = end + 1;
  }
}

void AnswerMessage(std::wstring_view wanted) {
  HWND box = WaitFor(L"un mensaje con «" + std::wstring(wanted) + L"»",
                     [&] { return FindMessage(wanted); });
  const std::wstring caption = TextOf(box);
  if (caption != kMessageCaption) Fail(L"el mensaje lleva el título «" + caption + L"»");
  HWND owner = GetWindow(box, GW_OWNER);
  Print(L"mensaje de: " + (owner ? Describe(owner) : std::wstring(L"ninguna ventana")));
  for (const std::wstring& text : MessageTexts(box)) PrintLines(L"mensaje: ", text);
  ClickButton(Button(box, IDOK));
  WaitUntil(L"el cierre del mensaje", [&] { return IsGone(box); });
}

HWND WaitForFrameDialog() { return WaitForDialog(kFrameDialogTitle); }

std::wstring ListLine(HWND list, int index) {
  const LRESULT length = Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  Send(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

int LineCount(HWND list) { return static_cast<int>(Send(list, LB_GETCOUNT, 0, 0)); }

std::vector<int> SelectedLines(HWND list) {
  std::vector<int> selected;
  for (int i = 0; i < LineCount(list); ++i) {
    if (Send(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) selected.push_back(i);
  }
  return selected;
}

int Number(std::wstring_view text) {
  if (text.empty() || text.find_first_not_of(L"0123456789") != std::wstring_view::npos) {
    Fail(L"«" + std::wstring(text) + L"» no es un número");
  }
  return std::stoi(std::wstring(text));
}

// A click in the middle of a line of the frame list, with Ctrl held or not. The list box gets the
// mouse messages themselves, so it changes its selection and caret and notifies the dialog as
// for a user. They are sent rather than posted: this step returns only when the list box and the
// dialog have dealt with them.
void ClickFrameLine(std::wstring_view argument, bool control) {
  HWND list = Control(WaitForFrameDialog(), kFrameList);
  const int line = Number(argument);
  if (line >= LineCount(list))
    Fail(L"la lista de marcos no tiene la línea " + std::wstring(argument));
  RECT item{};
  RECT client{};
  GetClientRect(list, &client);
  for (int tries = 0; tries < 2; ++tries) {
    if (Send(list, LB_GETITEMRECT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&item)) ==
        LB_ERR) {
      Fail(L"la lista de marcos no da el rectángulo de la línea " + std::wstring(argument));
    }
    if (item.top >= 0 && item.bottom <= client.bottom) break;
    Send(list, LB_SETTOPINDEX, static_cast<WPARAM>(line), 0);  // as a user scrolls to it first
  }
  const LPARAM where = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  const WPARAM keys = control ? MK_CONTROL : 0;
  Send(list, WM_LBUTTONDOWN, keys | MK_LBUTTON, where);
  Send(list, WM_LBUTTONUP, keys, where);
  Print(std::wstring(control ? L"ctrl-clic: " : L"clic: ") + std::wstring(argument) + L" «" +
        ListLine(list, line) + L"»");
}

void Click(std::wstring_view argument) { ClickFrameLine(argument, false); }
void ControlClick(std::wstring_view argument) { ClickFrameLine(argument, true); }

void PrintList(std::wstring_view) {
  HWND list = Control(WaitForFrameDialog(), kFrameList);
  for (int i = 0; i < LineCount(list); ++i) Print(L"lista: " + ListLine(list, i));
}

void PrintPreview(std::wstring_view) {
  HWND list = Control(WaitForFrameDialog(), kPreviewList);
  for (int i = 0; i < LineCount(list); ++i) Print(L"vista: " + ListLine(list, i));
}

void PrintSelection(std::wstring_view) {
  HWND list = Control(WaitForFrameDialog(), kFrameList);
  std::wstring lines;
  for (int line : SelectedLines(list)) {
    lines += (lines.empty() ? L"" : L",") + std::to_wstring(line);
  }
  Print(L"seleccion: " + (lines.empty() ? std::wstring(L"ninguna") : lines));
}

void Continue(std::wstring_view) {
  HWND dialog = WaitForFrameDialog();
  HWND button = Button(dialog, IDOK);
  Print(L"continuar: «" + TextOf(button) + L"»");
  ClickButton(button);
  WaitUntilClosedOrAnswered(dialog, L"el diálogo de marcos");
}

void CloseFrameDialog(std::wstring_view) {
  HWND dialog = WaitForFrameDialog();
  PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  WaitUntilClosedOrAnswered(dialog, L"el diálogo de marcos");
}

// The main window once the user can see it: the converter may create it hidden and adopt it into
// the host's window before showing it.
HWND WaitForMainWindow() {
  return WaitFor(L"la ventana principal (TMForm) visible", [] {
    HWND main = FindMainWindow();
    return main != nullptr && IsWindowVisible(main) ? main : nullptr;
  });
}

void PrintMainWindow(std::wstring_view) {
  HWND main = WaitForMainWindow();
  const LONG_PTR style = GetWindowLongPtrW(main, GWL_STYLE);
  RECT client{};
  GetClientRect(main, &client);
  POINT origin{0, 0};
  ClientToScreen(main, &origin);
  HWND parent = GetAncestor(main, GA_PARENT);
  const bool child = (style & WS_CHILD) != 0;
  Print(L"ventana: titulo «" + TextOf(main) + L"»");
  Print(L"ventana: cliente " + std::to_wstring(client.right) + L"x" +
        std::to_wstring(client.bottom));
  Print(L"ventana: hija " + (child ? L"si de " + Describe(parent) : std::wstring(L"no")));
  Print(L"ventana: barra de titulo " +
        std::wstring((style & WS_CAPTION) == WS_CAPTION ? L"si" : L"no"));
  Print(L"ventana: visible " + std::wstring(IsWindowVisible(main) ? L"si" : L"no"));
  Print(L"ventana: origen " + std::to_wstring(origin.x) + L"," + std::to_wstring(origin.y));
  RECT frame{};
  GetWindowRect(main, &frame);
  Print(L"ventana: rectangulo " + std::to_wstring(frame.left) + L"," + std::to_wstring(frame.top) +
        L" " + std::to_wstring(frame.right - frame.left) + L"x" +
        std::to_wstring(frame.bottom - frame.top));
  for (HWND control : ChildWindows(main)) {
    if (ClassOf(control) != L"Button" || GetParent(control) != main) continue;
    RECT box{};
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&box), 2);
    Print(L"boton: " + std::to_wstring(GetDlgCtrlID(control)) + L" «" + TextOf(control) + L"» " +
          std::to_wstring(box.left) + L"," + std::to_wstring(box.top) + L" " +
          std::to_wstring(box.right - box.left) + L"x" + std::to_wstring(box.bottom - box.top) +
          (IsWindowEnabled(control) ? L" activo" : L" desactivado"));
  }
}

void ClickMainButton(std::wstring_view argument) {
  HWND main = WaitForMainWindow();
  HWND button = Button(main, Number(argument));
  Print(L"boton: " + std::wstring(argument) + L" «" + TextOf(button) + L"»");
  ClickButton(button);
}

void Quit(std::wstring_view) { ClickMainButton(std::to_wstring(kCloseButton)); }

void CloseMainWindow(std::wstring_view) {
  PostMessageW(WaitForMainWindow(), WM_CLOSE, 0, 0);
  Print(L"cerrar: enviado");
}

void WaitForEnd(std::wstring_view) {
  WaitUntil(L"el cierre de la ventana principal", [] { return FindMainWindow() == nullptr; });
  Print(L"fin: la ventana principal ya no existe");
}

// Whether the window's thread takes messages now. Just started, a program can show its window
// seconds before it reaches its message loop (under Wine, the first window of a prefix waits for
// Wine's own desktop process); until then it counts as hung and every message to it fails at once.
bool TakesMessages(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) != 0;
}

void WaitForIdleWindow(std::wstring_view) {
  WaitUntil(L"la ventana principal sin diálogos abiertos", [] {
    HWND main = FindMainWindow();
    return main != nullptr && IsWindowVisible(main) && IsWindowEnabled(main) &&
           ConverterDialogs().empty() && TakesMessages(main);
  });
  Print(L"ventana: abierta y sin diálogos");
}

// F1 pressed on `control` as a user presses it, with the keyboard: the converter's thread shares
// this program's input for the moment, so that the control can take the focus. A Tab follows, and
// the step waits until the focus has left the control: input is handled in order, so F1 has been
// handled by then, whatever it did.
void PressF1On(HWND control, std::wstring_view name) {
  const DWORD thread = GetWindowThreadProcessId(control, nullptr);
  if (!AttachThreadInput(GetCurrentThreadId(), thread, TRUE)) Fail(L"no se puede dar el foco");
  SetForegroundWindow(GetAncestor(control, GA_ROOT));
  SetFocus(control);
  if (GetFocus() != control) Fail(L"«" + std::wstring(name) + L"» no toma el foco");
  INPUT keys[4] = {};
  const WORD pressed[] = {VK_F1, VK_F1, VK_TAB, VK_TAB};
  for (int i = 0; i < 4; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = pressed[i];
    keys[i].ki.dwFlags = i % 2 == 1 ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(4, keys, sizeof(INPUT));
  WaitUntil(L"que F1 y el tabulador lleguen a «" + std::wstring(name) + L"»",
            [&] { return GetFocus() != control; });
  AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
  Print(L"f1: " + std::wstring(name));
}

void PressF1OnMainButton(std::wstring_view argument) {
  HWND button = Button(WaitForMainWindow(), Number(argument));
  PressF1On(button, TextOf(button) + L" (" + std::wstring(argument) + L")");
}

void PressF1InFrameDialog(std::wstring_view) {
  PressF1On(Control(WaitForFrameDialog(), kFrameList), L"la lista de marcos");
}

// The entries of the contents trees inside `window`; 0 while it is too busy to answer (HTML Help
// loads the file before it draws, which on a loaded machine takes a while).
int CountTreeItems(HWND window) {
  int items = 0;
  for (HWND child : ChildWindows(window)) {
    if (ClassOf(child) != L"SysTreeView32") continue;
    DWORD_PTR count = 0;
    if (SendMessageTimeoutW(child, TVM_GETCOUNT, 0, 0, SMTO_NORMAL, kPollMs, &count)) {
      items += static_cast<int>(count);
    }
  }
  return items;
}

// The caption as the window manager keeps it: read without a message, so a busy window answers.
std::wstring CaptionOf(HWND window) {
  wchar_t caption[512] = {};
  GetWindowTextW(window, caption, 512);
  return caption;
}

// A window of the converter's process whose title holds the text, such as the help window that
// HTML Help opens inside it; its title and the entries of its contents tree are printed.
void WaitForTitledWindow(std::wstring_view wanted) {
  HWND found = WaitFor(L"una ventana con «" + std::wstring(wanted) + L"» en su título", [&] {
    for (HWND top : TopLevelWindows()) {
      if (ProcessOf(top) != ConverterProcess() || !IsWindowVisible(top)) continue;
      if (CaptionOf(top).find(wanted) != std::wstring::npos) return top;
    }
    return static_cast<HWND>(nullptr);
  });
  Print(L"ventana con titulo: " + ClassOf(found) + L" «" + CaptionOf(found) + L"»");
  WaitUntil(L"el árbol del contenido", [&] { return CountTreeItems(found) > 0; });
  Print(L"ventana con titulo: contenido de " + std::to_wstring(CountTreeItems(found)) + L" entradas");
}

// RT_GROUP_ICON for the wide functions: this program is not built with UNICODE.
const LPCWSTR kGroupIcon = MAKEINTRESOURCEW(14);

// The first icon group in the resources of the program file of `process`: the one Explorer
// shows. Its name and its sizes are printed; the file must give an icon at the sizes of the
// system's title bars and task bars.
void CheckProgramFileIcon(DWORD process) {
  HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
  if (handle == nullptr) Fail(L"no se puede abrir el proceso del conversor");
  wchar_t path[MAX_PATH] = {};
  DWORD length = MAX_PATH;
  const BOOL named = QueryFullProcessImageNameW(handle, 0, path, &length);
  CloseHandle(handle);
  if (!named) Fail(L"no se sabe el archivo del conversor");
  HMODULE file =
      LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (file == nullptr) Fail(std::wstring(L"no se pueden leer los recursos de ") + path);
  // Names come before numbers, numbers in ascending order: the first one listed is Explorer's.
  std::optional<std::wstring> first;
  EnumResourceNamesW(
      file, kGroupIcon,
      [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
        auto& text = *reinterpret_cast<std::optional<std::wstring>*>(found);
        text = IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                                    : std::wstring(name);
        return FALSE;
      },
      reinterpret_cast<LONG_PTR>(&first));
  if (!first) {
    FreeLibrary(file);
    Fail(L"el archivo del conversor no tiene icono");
  }
  // "#N" names the number N for the resource functions too.
  HRSRC found = FindResourceW(file, first->c_str(), kGroupIcon);
  const auto* bytes = found != nullptr
                          ? static_cast<const BYTE*>(LockResource(LoadResource(file, found)))
                          : nullptr;
  const DWORD size = found != nullptr ? SizeofResource(file, found) : 0;
  // GRPICONDIR: three WORDs, the last the count, then 14-byte entries whose first byte is the
  // width (0 for 256).
  std::wstring sizes;
  const unsigned count = bytes != nullptr && size >= 6 ? bytes[4] | bytes[5] << 8 : 0;
  for (unsigned i = 0; i < count && 6 + 14 * (i + 1) <= size; ++i) {
    const int width = bytes[6 + 14 * i];
    sizes += L" " + std::to_wstring(width == 0 ? 256 : width);
  }
  std::wstring failed_sizes;
  for (const auto& [x, y] :
       {std::pair{SM_CXICON, SM_CYICON}, std::pair{SM_CXSMICON, SM_CYSMICON}}) {
    HANDLE icon =
        LoadImageW(file, first->c_str(), IMAGE_ICON, GetSystemMetrics(x), GetSystemMetrics(y), 0);
    if (icon == nullptr) {
      failed_sizes += L" " + std::to_wstring(GetSystemMetrics(x));
    } else {
      DestroyIcon(static_cast<HICON>(icon));
    }
  }
  FreeLibrary(file);
  if (!failed_sizes.empty()) Fail(L"el icono del archivo no se carga a" + failed_sizes + L" px");
  Print(L"icono: archivo, grupo " + *first + L", tamaños" + sizes);
}

// The icons of the converter's main window and of the window that stands for it in the task bar,
// as their classes hold them: big and small, for the title bar and the task bar. Wine cannot read
// a class's icons across processes (GetClassLongPtrW fails with ERROR_INVALID_HANDLE); there the
// step says so, and desktop.sh looks at the icons that Wine hands the X window manager instead.
// Then the icon of the program file.
void CheckIcons(std::wstring_view) {
  HWND main = WaitForMainWindow();
  std::vector<HWND> windows{main};
  if (HWND owner = GetWindow(main, GW_OWNER)) windows.push_back(owner);
  for (HWND window : windows) {
    const std::wstring name = ClassOf(window);
    SetLastError(ERROR_SUCCESS);
    const ULONG_PTR big = GetClassLongPtrW(window, GCLP_HICON);
    const DWORD big_error = GetLastError();
    SetLastError(ERROR_SUCCESS);
    const ULONG_PTR small = GetClassLongPtrW(window, GCLP_HICONSM);
    const DWORD small_error = GetLastError();
    if (big == 0 && small == 0 && big_error == ERROR_INVALID_HANDLE &&
        small_error == ERROR_INVALID_HANDLE && IsWindow(window)) {
      Print(L"icono: clase " + name + L": no se puede leer desde otro proceso");
      continue;
    }
    if (big == 0) Fail(L"la clase " + name + L" no tiene icono grande");
    if (small == 0) Fail(L"la clase " + name + L" no tiene icono pequeño");
    Print(L"icono: clase " + name + L": grande y pequeño");
  }
  // The sizes the window manager is handed under Wine, for desktop.sh.
  Print(L"icono: sistema " + std::to_wstring(GetSystemMetrics(SM_CXICON)) + L" " +
        std::to_wstring(GetSystemMetrics(SM_CXSMICON)));
  CheckProgramFileIcon(ProcessOf(main));
}

// Every window of the converter's process with its children, for a test's log when a step
// does not find what it expects.
void PrintWindows(std::wstring_view) {
  const DWORD process = ConverterProcess();
  for (HWND top : TopLevelWindows()) {
    if (ProcessOf(top) != process || process == 0) continue;
    Print(L"arbol: " + Describe(top) + (IsWindowVisible(top) ? L"" : L" (oculta)"));
    for (HWND child : ChildWindows(top)) {
      Print(L"arbol:   " + std::to_wstring(GetDlgCtrlID(child)) + L" " + Describe(child) +
            (IsWindowVisible(child) ? L"" : L" (oculta)"));
    }
  }
}

struct Step {
  std::wstring_view name;
  bool takes_argument;
  void (*run)(std::wstring_view argument);
};

constexpr Step kSteps[] = {
    {L"archivo", true, ChooseFile},  // types a path in the open dialog and confirms it
    {L"cancelar-archivo", false, CancelFile},
    {L"mensaje", true, AnswerMessage},  // the message box holding the text: prints it, OK
    {L"clic", true, Click},             // frame dialog: line N of the frame list
    {L"ctrl-clic", true, ControlClick},
    {L"lista", false, PrintList},           // frame dialog: every line of the frame list
    {L"vista", false, PrintPreview},        // frame dialog: the preview lines
    {L"seleccion", false, PrintSelection},  // frame dialog: the selected lines of the frame list
    {L"continuar", false, Continue},
    {L"cerrar-marcos", false, CloseFrameDialog},  // the frame dialog's close box
    {L"ventana", false, PrintMainWindow},
    {L"boton", true, ClickMainButton},  // a button of the main window, by identifier
    {L"salir", false, Quit},
    {L"cerrar", false, CloseMainWindow},  // WM_CLOSE, as the close box or the host would
    {L"esperar-fin", false, WaitForEnd},
    {L"esperar-ventana", false, WaitForIdleWindow},
    {L"arbol", false, PrintWindows},
    {L"f1", true, PressF1OnMainButton},   // F1 with the focus on a button of the main window
    {L"f1-marcos", false, PressF1InFrameDialog},  // F1 in the frame dialog's list
    {L"esperar-titulo", true, WaitForTitledWindow},  // a window of the converter, by its title
    {L"icono", false, CheckIcons},  // the icons of the main window's class and of the program file
};

std::optional<std::wstring> RunStep(std::wstring_view step) {
  const std::size_t equals = step.find(L'=');
  const std::wstring_view name = step.substr(0, equals);
  const std::wstring_view argument =
      equals == std::wstring_view::npos ? std::wstring_view() : step.substr(equals + 1);
  for (const Step& known : kSteps) {
    if (known.name != name) continue;
    if (known.takes_argument != (equals != std::wstring_view::npos)) {
      return known.takes_argument ? L"le falta el valor (" + std::wstring(name) + L"=...)"
                                  : L"no lleva valor";
    }
    try {
      known.run(argument);
    } catch (const StepFailure& failure) {
      return failure.message;
    }
    return std::nullopt;
  }
  return L"paso desconocido";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    Write(GetStdHandle(STD_ERROR_HANDLE), L"uso: ui-driver PASO...\n");
    return 2;
  }
  for (int i = 1; i < argc; ++i) {
    if (auto failure = RunStep(argv[i])) {
      const std::wstring line =
          L"ui-driver: FALLO en el paso «" + std::wstring(argv[i]) + L"»: " + *failure + L"\n";
      Write(GetStdHandle(STD_OUTPUT_HANDLE), line);
      try {
        PrintWindows({});  // what was on screen instead
      } catch (const StepFailure&) {
      }
      return 1;
    }
  }
  return EXIT_SUCCESS;
}
