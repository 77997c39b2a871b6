// The glyphs of the buttons: the check mark of the OK-kind buttons and the door of the close-kind
// button, drawn from small pixel maps so that no image files need to travel with the program.
#pragma once

#include <windows.h>

#include "win32_owners.h"
#include "window_layout.h"

namespace transzendal::app {

// The glyph as an icon of 16 × 16 pixels at 96 DPI, scaled for `dpi`; empty for Glyph::kNone.
OwnedIcon MakeGlyphIcon(Glyph glyph, UINT dpi);

}  // namespace transzendal::app
