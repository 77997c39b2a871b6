#include "frame_dialog.h"

#include <commctrl.h>

#include <array>

#include "glyphs.h"
#include "html_help_library.h"
#include "painting.h"
#include "standard_dialogs.h"
#include "time_frame_choice.h"
#include "win32_owners.h"
#include "win32_text.h"
#include "window_layout.h"

namespace transzendal::app {
namespace {

namespace layout = frame_dialog;

struct DialogState {
  HINSTANCE instance = nullptr;
  ProgramHelp* help = nullptr;
  std::span<const TimeFrameOption> options;
  std::optional<std::vector<std::size_t>> choice;
  UINT dpi = USER_DEFAULT_SCREEN_DPI;
  OwnedFont font;
  OwnedFont button_font;
  std::array<OwnedFont, layout::kLabels.size()> label_fonts;
  OwnedIcon glyph;
};

// An empty dialog template: the controls are created in pixels, from the layout.
struct alignas(DWORD) EmptyDialogTemplate {
  DLGTEMPLATE header;
  WORD menu = 0;
  WORD window_class = 0;
  WORD title = 0;
};

DialogState& StateOf(HWND dialog) {
  return *reinterpret_cast<DialogState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
}

HWND Item(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }

HWND CreateControl(DialogState& state, HWND dialog, const wchar_t* window_class, DWORD ex_style,
                   DWORD style, int id, const wchar_t* text = L"") {
  const HWND control = ::CreateWindowExW(
      ex_style, window_class, text, WS_CHILD | style, 0, 0, 0, 0, dialog,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), state.instance, nullptr);
  ::SetWindowContextHelpId(control, static_cast<DWORD>(kHelpContext));
  return control;
}

void Place(HWND control, const Box& box, UINT dpi) {
  const RECT rect = ScaledRect(box, dpi);
  ::SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void LayOut(HWND dialog, UINT dpi) {
  DialogState& state = StateOf(dialog);
  state.dpi = dpi;
  state.font = MakeFont(layout::kDialogFont, dpi);
  state.button_font = MakeFont(layout::kButtonFont, dpi);
  for (std::size_t i = 0; i < layout::kLabels.size(); ++i) {
    state.label_fonts[i] = MakeFont(layout::kLabels[i].font, dpi);
  }
  state.glyph = MakeGlyphIcon(Glyph::kCheck, dpi);
  const HWND continuar = Item(dialog, layout::kBitBtnContinuar);
  Place(continuar, layout::kContinuarBox, dpi);
  ::SendMessageW(continuar, WM_SETFONT, reinterpret_cast<WPARAM>(state.button_font.get()), TRUE);
  ::SendMessageW(continuar, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(state.glyph.get()));
  const std::pair<int, Box> lists[] = {{layout::kComboBoxPlantilla, layout::kComboBox},
                                       {layout::kListBox1, layout::kListBox1Box},
                                       {layout::kListBox2, layout::kListBox2Box}};
  for (const auto& [id, box] : lists) {
    Place(Item(dialog, id), box, dpi);
    ::SendMessageW(Item(dialog, id), WM_SETFONT, reinterpret_cast<WPARAM>(state.font.get()), TRUE);
  }
  const auto item_height = static_cast<LPARAM>(Scale(layout::kItemHeight, dpi));
  ::SendMessageW(Item(dialog, layout::kListBox1), LB_SETITEMHEIGHT, 0, item_height);
  ::SendMessageW(Item(dialog, layout::kListBox2), LB_SETITEMHEIGHT, 0, item_height);
  ::InvalidateRect(dialog, nullptr, TRUE);
}

// ComboBoxPlantillaChange: the preview shows the periods of the combo box's frame.
void ShowPreview(HWND dialog) {
  const DialogState& state = StateOf(dialog);
  const HWND preview = Item(dialog, layout::kListBox1);
  const LRESULT selected = ::SendMessageW(Item(dialog, layout::kComboBoxPlantilla), CB_GETCURSEL, 0, 0);
  if (selected < 0 || static_cast<std::size_t>(selected) >= state.options.size()) return;
  ::SendMessageW(preview, LB_RESETCONTENT, 0, 0);
  for (const std::string& line : state.options[static_cast<std::size_t>(selected)].preview) {
    ::SendMessageW(preview, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(line).c_str()));
  }
}

// ListBox2Click: the line last clicked, whether the click selected or deselected it.
void OnFrameClicked(HWND dialog) {
  const LRESULT caret = ::SendMessageW(Item(dialog, layout::kListBox2), LB_GETCARETINDEX, 0, 0);
  if (caret < 0) return;
  ::SendMessageW(Item(dialog, layout::kComboBoxPlantilla), CB_SETCURSEL,
                 static_cast<WPARAM>(caret), 0);
  ShowPreview(dialog);
}

// FormClose: the dialog always closes; a refused choice is explained first.
void CloseWithRule(HWND dialog) {
  const HWND frames = Item(dialog, layout::kListBox2);
  const LRESULT count = ::SendMessageW(frames, LB_GETSELCOUNT, 0, 0);
  std::vector<int> items(static_cast<std::size_t>(count > 0 ? count : 0));
  if (!items.empty()) {
    ::SendMessageW(frames, LB_GETSELITEMS, items.size(), reinterpret_cast<LPARAM>(items.data()));
  }
  const std::vector<std::size_t> selected(items.begin(), items.end());
  FrameChoiceVerdict verdict = CheckFrameChoice(selected);
  if (!verdict.valid) ShowMessageBox(dialog, verdict.message);
  StateOf(dialog).choice =
      verdict.valid ? std::optional(std::move(verdict.chosen)) : std::nullopt;
  ::EndDialog(dialog, 0);
}

void Paint(HWND dialog, HDC dc) {
  DialogState& state = StateOf(dialog);
  RECT client;
  ::GetClientRect(dialog, &client);
  const COLORREF inactive = ::GetSysColor(COLOR_INACTIVECAPTION);
  PaintGradient(dc, client, layout::kSkyBlue, {0xFF, 0xFF, 0xFF},
                {GetRValue(inactive), GetGValue(inactive), GetBValue(inactive)});
  for (std::size_t i = 0; i < layout::kLabels.size(); ++i) {
    const LabelLayout& label = layout::kLabels[i];
    DrawLabel(dc, ScaledRect(label.box, state.dpi), label.text, state.label_fonts[i].get(),
              label.colour);
  }
}

void Initialise(HWND dialog, DialogState& state) {
  ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
  ::SetWindowTextW(dialog, layout::kCaption);
  ::SetWindowContextHelpId(dialog, static_cast<DWORD>(kHelpContext));
  // Created in tab order: BitBtnContinuar, ComboBoxPlantilla, ListBox1, ListBox2.
  const HWND continuar = CreateControl(state, dialog, WC_BUTTONW, 0,
                                       WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                       layout::kBitBtnContinuar, L"Continuar");
  const HWND combo = CreateControl(state, dialog, WC_COMBOBOXW, 0,
                                   WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                                   layout::kComboBoxPlantilla);
  CreateControl(state, dialog, WC_LISTBOXW, WS_EX_CLIENTEDGE,
                WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, layout::kListBox1);
  const HWND frames = CreateControl(
      state, dialog, WC_LISTBOXW, WS_EX_CLIENTEDGE,
      WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL | LBS_NOTIFY,
      layout::kListBox2);
  // Filled once: switching to another window and back keeps the user's selection.
  for (const TimeFrameOption& option : state.options) {
    const std::wstring label = Wide(option.label);
    ::SendMessageW(frames, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
  }
  ::SendMessageW(combo, CB_SETCURSEL, 0, 0);
  const UINT dpi = ::GetDpiForWindow(dialog);
  LayOut(dialog, dpi);
  ShowPreview(dialog);
  const RECT window = ScaledRect(layout::kWindow, dpi);
  ::SetWindowPos(dialog, nullptr, window.left, window.top, window.right - window.left,
                 window.bottom - window.top, SWP_NOZORDER);
  ::SetFocus(continuar);
}

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      Initialise(dialog, *reinterpret_cast<DialogState*>(lparam));
      return FALSE;  // the focus is set: on Continuar
    case WM_ERASEBKGND:
      Paint(dialog, reinterpret_cast<HDC>(wparam));
      ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 1);
      return TRUE;
    case WM_PRINTCLIENT:  // themed buttons draw their corners from the parent's background
      Paint(dialog, reinterpret_cast<HDC>(wparam));
      return TRUE;
    case WM_SIZE:  // the gradient spans the whole client area
      ::InvalidateRect(dialog, nullptr, TRUE);
      return TRUE;
    case WM_DPICHANGED: {
      LayOut(dialog, HIWORD(wparam));
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      ::SetWindowPos(dialog, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == layout::kBitBtnContinuar) {
        CloseWithRule(dialog);
      } else if (LOWORD(wparam) == layout::kListBox2 && HIWORD(wparam) == LBN_SELCHANGE) {
        OnFrameClicked(dialog);
      }
      // Escape (IDCANCEL) does nothing: the dialog has no Cancel button.
      return TRUE;
    case WM_HELP:  // F1 anywhere in the dialog
      StateOf(dialog).help->ShowContext(HelpContextOf(*reinterpret_cast<const HELPINFO*>(lparam)));
      return TRUE;
    case WM_CLOSE:  // the close box, the system menu, Alt+F4
      CloseWithRule(dialog);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<std::vector<std::size_t>> ChooseFramesInDialog(
    HINSTANCE instance, HWND owner, ProgramHelp& help, std::span<const TimeFrameOption> options) {
  EmptyDialogTemplate dialog_template{};
  dialog_template.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  DialogState state;
  state.instance = instance;
  state.help = &help;
  state.options = options;
  ::DialogBoxIndirectParamW(instance, &dialog_template.header, owner, Procedure,
                            reinterpret_cast<LPARAM>(&state));
  return std::move(state.choice);
}

}  // namespace transzendal::app
