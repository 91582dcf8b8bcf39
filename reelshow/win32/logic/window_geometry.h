#pragma once
// The arithmetic of the Win32 windows: where the dialog's controls go, where
// the dialog stands, how the picture button lays out, and the picture
// rectangle that means "the video's own size".
#include <cstdint>
#include <string_view>

#include "form_layout.h"
#include "platform/controls.h"

namespace reelshow {

// The control of the dialog's layout table with that name.
const layout::Control* DialogControl(std::string_view name);

// A control's bounds within the dialog's client area: every control is a
// child of the dialog itself, so a group box's position is added to those of
// the controls inside it.
platform::Bounds DialogClientBounds(const layout::Control& control);

// The left or top of a window of size extent centred on a screen of size
// screen (the remainder of an odd difference goes right and down).
std::int32_t CentredStart(std::int32_t screen, std::int32_t extent);

struct GlyphPlacement {
  std::int32_t glyphLeft = 0;
  std::int32_t glyphTop = 0;
  std::int32_t textLeft = 0;
  std::int32_t textTop = 0;
};

// A picture button's glyph to the left of its caption, the two centred
// together as one block with kGlyphSpacing between them; a pressed button
// shifts both one pixel right and down.
inline constexpr std::int32_t kGlyphSize = 16;
inline constexpr std::int32_t kGlyphSpacing = 4;
GlyphPlacement PlaceGlyph(std::int32_t buttonWidth, std::int32_t buttonHeight,
                          std::int32_t textWidth, std::int32_t textHeight, bool pressed);

// The picture rectangle for "the video's own size" from the device's source
// rectangle: at the top left, width and height as magnitudes (a device may
// report a bottom-up picture's height as negative).
platform::Bounds OwnSizeRect(const platform::Bounds& source);

inline bool IsAllZero(const platform::Bounds& b) {
  return b.left == 0 && b.top == 0 && b.width == 0 && b.height == 0;
}

}  // namespace reelshow
