// Drawing the two windows: DPI scaling of the layout's pixels, fonts, the three-colour gradient
// panels and the transparent labels over them.
#pragma once

#include <windows.h>

#include "win32_owners.h"
#include "window_layout.h"

namespace transzendal::app {

// `pixels` at 96 DPI, at `dpi`.
int Scale(int pixels, UINT dpi);
// `box` at `dpi`, moved by `origin` (pixels at 96 DPI, like the box).
RECT ScaledRect(const Box& box, UINT dpi, POINT origin = {0, 0});

OwnedFont MakeFont(const FontStyle& font, UINT dpi);

COLORREF ToColorRef(Rgb colour);

// Fills `rect` from `top` at its top edge through `centre` along its centre line to `bottom` at
// its bottom edge, blended linearly.
void PaintGradient(HDC dc, const RECT& rect, Rgb top, Rgb centre, Rgb bottom);

// Draws `text` word-wrapped inside `rect` with `font` and `colour`, leaving the background as is.
void DrawLabel(HDC dc, const RECT& rect, const wchar_t* text, HFONT font, Rgb colour);

}  // namespace transzendal::app
