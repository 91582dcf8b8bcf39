#pragma once
// A font of the layout data, alive as long as the windows that use it.
#include <windows.h>

#include "form_layout.h"

namespace reelshow {

class WindowFont {
public:
  explicit WindowFont(const layout::Font& font);
  ~WindowFont();
  WindowFont(const WindowFont&) = delete;
  WindowFont& operator=(const WindowFont&) = delete;
  HFONT Handle() const { return font_; }

private:
  HFONT font_;
};

}  // namespace reelshow
