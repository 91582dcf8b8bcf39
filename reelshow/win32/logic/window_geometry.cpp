#include "window_geometry.h"

#include <algorithm>
#include <limits>

namespace reelshow {

namespace {

std::int32_t Clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                            std::numeric_limits<std::int32_t>::max()));
}

std::int32_t Magnitude(std::int32_t v) {
  if (v == std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::max();
  return v < 0 ? -v : v;
}

}  // namespace

const layout::Control* DialogControl(std::string_view name) {
  for (const layout::Control& c : layout::kDialogControls) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

platform::Bounds DialogClientBounds(const layout::Control& control) {
  platform::Bounds b = control.bounds;
  // Parents come before their children in the table, so this walk ends.
  for (const layout::Control* p = DialogControl(control.parent); p != nullptr; p = DialogControl(p->parent)) {
    b.left += p->bounds.left;
    b.top += p->bounds.top;
  }
  return b;
}

std::int32_t CentredStart(std::int32_t screen, std::int32_t extent) {
  const std::int64_t start = (std::int64_t{screen} - extent) / 2;
  return static_cast<std::int32_t>(start);
}

GlyphPlacement PlaceGlyph(std::int32_t buttonWidth, std::int32_t buttonHeight, std::int32_t textWidth,
                          std::int32_t textHeight, bool pressed) {
  // Button and text sizes come from the window system and are small; the
  // sums are still done in 64 bits so that no size can wrap them.
  const std::int64_t block = textWidth > 0 ? std::int64_t{kGlyphSize} + kGlyphSpacing + textWidth : kGlyphSize;
  const std::int64_t shift = pressed ? 1 : 0;
  const std::int64_t glyphLeft = (std::int64_t{buttonWidth} - block) / 2 + shift;
  GlyphPlacement g;
  g.glyphLeft = Clamp32(glyphLeft);
  g.glyphTop = Clamp32(CentredStart(buttonHeight, kGlyphSize) + shift);
  g.textLeft = Clamp32(glyphLeft + kGlyphSize + kGlyphSpacing);
  g.textTop = Clamp32(CentredStart(buttonHeight, textHeight) + shift);
  return g;
}

platform::Bounds OwnSizeRect(const platform::Bounds& source) {
  return {0, 0, Magnitude(source.width), Magnitude(source.height)};
}

}  // namespace reelshow
