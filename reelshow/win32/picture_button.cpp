#include "picture_button.h"

#include <string>
#include <vector>

#include "resource.h"
#include "window_geometry.h"

namespace reelshow {

namespace {

// The picture's bottom-left pixel is its transparent colour: it lets the
// button's face show through.
void DrawGlyph(HDC target, int x, int y, HBITMAP glyphs, int half) {
  HDC source = CreateCompatibleDC(target);
  HDC mask = CreateCompatibleDC(target);
  HBITMAP maskBits = CreateBitmap(kGlyphSize, kGlyphSize, 1, 1, nullptr);
  if (!source || !mask || !maskBits) {
    if (maskBits) DeleteObject(maskBits);
    if (mask) DeleteDC(mask);
    if (source) DeleteDC(source);
    return;
  }
  HGDIOBJ oldSource = SelectObject(source, glyphs);
  HGDIOBJ oldMask = SelectObject(mask, maskBits);
  const int left = half * kGlyphSize;
  // Mask: 1 where the picture has its transparent colour.
  SetBkColor(source, GetPixel(source, left, kGlyphSize - 1));
  BitBlt(mask, 0, 0, kGlyphSize, kGlyphSize, source, left, 0, SRCCOPY);
  const COLORREF oldText = SetTextColor(target, RGB(0, 0, 0));
  const COLORREF oldBack = SetBkColor(target, RGB(255, 255, 255));
  BitBlt(target, x, y, kGlyphSize, kGlyphSize, source, left, 0, SRCINVERT);
  BitBlt(target, x, y, kGlyphSize, kGlyphSize, mask, 0, 0, SRCAND);
  BitBlt(target, x, y, kGlyphSize, kGlyphSize, source, left, 0, SRCINVERT);
  SetTextColor(target, oldText);
  SetBkColor(target, oldBack);
  SelectObject(mask, oldMask);
  SelectObject(source, oldSource);
  DeleteObject(maskBits);
  DeleteDC(mask);
  DeleteDC(source);
}

std::string CaptionOf(HWND button) {
  std::vector<char> text(static_cast<std::size_t>(GetWindowTextLengthA(button)) + 1, '\0');
  const int n = GetWindowTextA(button, text.data(), static_cast<int>(text.size()));
  return std::string(text.data(), n > 0 ? static_cast<std::size_t>(n) : 0);
}

}  // namespace

HBITMAP LoadPictureButtonGlyphs(HINSTANCE instance) {
  return static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_WEBSITE_GLYPHS), IMAGE_BITMAP, 0, 0, 0));
}

void DrawPictureButton(const DRAWITEMSTRUCT& item, HBITMAP glyphs, HFONT font) {
  HDC dc = item.hDC;
  RECT rc = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  DrawFrameControl(dc, &rc, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

  const std::string caption = CaptionOf(item.hwndItem);
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  SIZE text{};
  GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
  const GlyphPlacement at = PlaceGlyph(rc.right - rc.left, rc.bottom - rc.top, text.cx, text.cy, pressed);
  if (glyphs) DrawGlyph(dc, rc.left + at.glyphLeft, rc.top + at.glyphTop, glyphs, disabled ? 1 : 0);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  TextOutA(dc, rc.left + at.textLeft, rc.top + at.textTop, caption.c_str(), static_cast<int>(caption.size()));
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
  if (oldFont) SelectObject(dc, oldFont);

  if (item.itemState & ODS_FOCUS) {
    RECT focus = rc;
    InflateRect(&focus, -4, -4);
    DrawFocusRect(dc, &focus);
  }
}

}  // namespace reelshow
