#include "controls.h"

#include <algorithm>

#include "form_layout.h"

namespace reelshow {

void Panel::SetBounds(const platform::Bounds& bounds) {
  bounds_ = bounds;
  control_.SetBounds(bounds);
}

void Panel::SetVisible(bool visible) {
  visible_ = visible;
  control_.SetVisible(visible);
}

void Label::SetText(const std::string& text) {
  text_ = text;
  control_.SetText(text);
}

void Label::SetVisible(bool visible) {
  visible_ = visible;
  control_.SetVisible(visible);
}

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  control_.SetEnabled(enabled);
}

std::int32_t ScrollBar::Clamp(std::int32_t position) const {
  return std::clamp(position, min_, max_);
}

void ScrollBar::SetMax(std::int32_t max) {
  max_ = std::max(max, min_);
  position_ = Clamp(position_);
  control_.SetRange(min_, max_);
  control_.SetPosition(position_);
}

void ScrollBar::SetPosition(std::int32_t position) {
  position_ = Clamp(position);
  control_.SetPosition(position_);
}

void Button::SetCaption(const std::string& caption) {
  caption_ = caption;
  control_.SetCaption(caption);
}

void Button::SetVisible(bool visible) {
  visible_ = visible;
  control_.SetVisible(visible);
}

std::int32_t ScrollPositionAfter(ScrollRequest request, std::int32_t current, std::int32_t thumb,
                                 std::int32_t min, std::int32_t max) {
  if (max < min) max = min;
  // 64-bit so that a step past either end of the 32-bit range cannot wrap.
  constexpr std::int64_t step = layout::kScrollBarStep;
  std::int64_t next = current;
  switch (request) {
    case ScrollRequest::LineLess:
    case ScrollRequest::PageLess: next = current - step; break;
    case ScrollRequest::LineMore:
    case ScrollRequest::PageMore: next = current + step; break;
    case ScrollRequest::Thumb: next = thumb; break;
    case ScrollRequest::ToMin: next = min; break;
    case ScrollRequest::ToMax: next = max; break;
    case ScrollRequest::EndScroll: break;
  }
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(next, min, max));
}

}  // namespace reelshow
