#pragma once
// The web-link button: a push button with a 16 by 16 picture to the left of
// its caption, drawn by its owner from a 32 by 16 bitmap of the program's
// resources that holds the normal picture and the disabled one side by side.
#include <windows.h>

namespace reelshow {

HBITMAP LoadPictureButtonGlyphs(HINSTANCE instance);

void DrawPictureButton(const DRAWITEMSTRUCT& item, HBITMAP glyphs, HFONT font);

}  // namespace reelshow
