#include "painting.h"

namespace transzendal::app {

int Scale(int pixels, UINT dpi) { return ::MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI); }

RECT ScaledRect(const Box& box, UINT dpi, POINT origin) {
  const int left = Scale(origin.x + box.left, dpi);
  const int top = Scale(origin.y + box.top, dpi);
  return {left, top, left + Scale(box.width, dpi), top + Scale(box.height, dpi)};
}

OwnedFont MakeFont(const FontStyle& font, UINT dpi) {
  // A negative height asks for the character height, as the layout gives it.
  return OwnedFont(::CreateFontW(-Scale(font.height, dpi), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL,
                                 font.italic ? TRUE : FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_SWISS, font.face));
}

COLORREF ToColorRef(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

namespace {

TRIVERTEX Vertex(LONG x, LONG y, Rgb colour) {
  // TRIVERTEX holds 16-bit channels.
  return {x, y, static_cast<COLOR16>(colour.red << 8), static_cast<COLOR16>(colour.green << 8),
          static_cast<COLOR16>(colour.blue << 8), 0};
}

}  // namespace

void PaintGradient(HDC dc, const RECT& rect, Rgb top, Rgb centre, Rgb bottom) {
  const LONG middle = rect.top + (rect.bottom - rect.top) / 2;
  TRIVERTEX vertices[] = {Vertex(rect.left, rect.top, top), Vertex(rect.right, middle, centre),
                          Vertex(rect.left, middle, centre), Vertex(rect.right, rect.bottom, bottom)};
  GRADIENT_RECT halves[] = {{0, 1}, {2, 3}};
  ::GradientFill(dc, vertices, 4, halves, 2, GRADIENT_FILL_RECT_V);
}

void DrawLabel(HDC dc, const RECT& rect, const wchar_t* text, HFONT font, Rgb colour) {
  const HGDIOBJ old_font = ::SelectObject(dc, font);
  const int old_mode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF old_colour = ::SetTextColor(dc, ToColorRef(colour));
  RECT box = rect;
  ::DrawTextW(dc, text, -1, &box, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
  ::SetTextColor(dc, old_colour);
  ::SetBkMode(dc, old_mode);
  ::SelectObject(dc, old_font);
}

}  // namespace transzendal::app
