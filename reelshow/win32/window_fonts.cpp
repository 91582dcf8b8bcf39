#include "window_fonts.h"

namespace reelshow {

// A negative height asks for the character height, without the leading.
WindowFont::WindowFont(const layout::Font& font)
    : font_(CreateFontA(-font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, font.face)) {}

WindowFont::~WindowFont() {
  if (font_) DeleteObject(font_);
}

}  // namespace reelshow
