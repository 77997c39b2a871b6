// Where everything of the two windows stands, in one place: places and sizes in pixels at 96 DPI
// (scaled for the monitor's DPI when the windows are laid out), texts, fonts and colours.
#pragma once

#include <array>
#include <cstdint>

namespace transzendal::app {

struct Rgb {
  std::uint8_t red, green, blue;
};

struct Box {
  int left, top, width, height;
};

struct FontStyle {
  const wchar_t* face;
  int height;  // character height in pixels at 96 DPI
  bool bold;
  bool italic;
};

// The default font of both windows: MS Sans Serif 8 point.
inline constexpr FontStyle kDefaultFont{L"MS Sans Serif", 11, false, false};

// A panel painted with a vertical three-colour gradient: top edge, centre line, bottom edge.
struct PanelLayout {
  Box box;
  Rgb top, centre, bottom;
};

// A label drawn transparently over its panel, word-wrapped inside its box.
struct LabelLayout {
  int panel;  // position in the panel table; the box is relative to that panel
  Box box;
  const wchar_t* text;
  FontStyle font;
  Rgb colour;
};

enum class Glyph { kNone, kCheck, kClose };

struct ButtonLayout {
  int id;
  int panel;  // the box is relative to that panel
  Box box;
  const wchar_t* text;
  Glyph glyph;
};

// The main window (TMForm).
namespace main_window {

inline constexpr const wchar_t* kClassName = L"TMForm";
inline constexpr const wchar_t* kCaption = L"Exportar e importar datos entre Zendalor y Colvaria ";
inline constexpr int kClientWidth = 632;
inline constexpr int kClientHeight = 266;

inline constexpr int kBExportar = 101;
inline constexpr int kBImportar = 102;
inline constexpr int kBClose = 103;
inline constexpr int kButton1 = 104;

inline constexpr Rgb kPeach{0xFF, 0xEE, 0xDD};
inline constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};
inline constexpr Rgb kGold{0xF9, 0xD3, 0x7D};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{0xFF, 0, 0};

inline constexpr std::array<PanelLayout, 3> kPanels{{
    {{1, 0, 315, 169}, kPeach, kWhite, kGold},                  // left upper
    {{316, 0, 317, 169}, kPeach, kWhite, kGold},                // right upper
    {{0, 168, 633, 97}, {0xCC, 0xD8, 0xE6}, {0xCF, 0xF2, 0xFE}, {0xC2, 0xCD, 0xFE}},  // lower
}};

inline constexpr FontStyle kRunLabelFont{L"Arial", 16, true, false};
inline constexpr FontStyle kVersionFont{L"MS Sans Serif", 11, true, false};

inline constexpr std::array<LabelLayout, 3> kLabels{{
    {0, {24, 24, 265, 57}, L"Transformar datos desde Colvaria hacia ZendaLor ", kRunLabelFont, kBlack},
    {1, {8, 24, 305, 57}, L"Transformar datos desde ZendaLor hacia Colvaria", kRunLabelFont, kBlack},
    {2, {8, 72, 300, 13}, L"TransZendalorColvaria para ZQ17 V-1.0", kVersionFont, kRed},
}};

inline constexpr std::array<ButtonLayout, 4> kButtons{{
    {kBExportar, 0, {96, 120, 89, 25}, L"OK", Glyph::kCheck},
    {kBImportar, 1, {96, 120, 89, 25}, L"OK", Glyph::kCheck},
    {kBClose, 2, {256, 32, 89, 25}, L"&Salir", Glyph::kClose},
    {kButton1, 2, {512, 56, 75, 25}, L"F1 Ayuda", Glyph::kNone},
}};

}  // namespace main_window

// The time-frame dialog (Plantillas).
namespace frame_dialog {

inline constexpr const wchar_t* kCaption = L"Planillas, Marcos o Jornadas Horarias";
inline constexpr Box kWindow{424, 285, 385, 321};  // on the screen, border included

inline constexpr int kListBox2 = 201;           // the frames
inline constexpr int kListBox1 = 202;           // the preview
inline constexpr int kComboBoxPlantilla = 203;  // hidden
inline constexpr int kBitBtnContinuar = 1;      // IDOK: Enter presses it

inline constexpr Rgb kSkyBlue{0xA6, 0xCA, 0xF0};
inline constexpr Rgb kMaroon{0x80, 0, 0};

inline constexpr FontStyle kDialogFont{L"MS Sans Serif", 11, false, false};
inline constexpr FontStyle kButtonFont{L"MS Sans Serif", 11, true, false};

// Labels of the one panel that fills the client area (position 0).
inline constexpr std::array<LabelLayout, 4> kLabels{{
    {0, {16, 2, 321, 33},
     L"Seleccione 1, o los 2 Marcos Horarios que quiere aplicar a su Horario en Zendalor.",
     {L"Arial", 13, true, false}, {0, 0, 0}},
    {0, {16, 36, 321, 50},
     L"Para seleccionar mas de un Marco Horario, mantenga (Ctrl) pulsado y seleccione cada marco "
     L"con 1 click del botón izquierdo del ratón.",
     {L"Arial", 13, true, true}, {0xFF, 0, 0}},
    {0, {40, 86, 74, 16}, L"MARCOS", {L"Arial", 16, true, false}, kMaroon},
    {0, {215, 86, 67, 18}, L"HORAS", {L"Arial", 16, true, false}, kMaroon},
}};

// Controls in tab order.
inline constexpr Box kContinuarBox{255, 253, 89, 25};
inline constexpr Box kComboBox{150, 254, 81, 21};
inline constexpr Box kListBox1Box{152, 103, 193, 146};
inline constexpr Box kListBox2Box{16, 103, 127, 45};
inline constexpr int kItemHeight = 13;

}  // namespace frame_dialog

}  // namespace transzendal::app
