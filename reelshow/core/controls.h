#pragma once
// The forms' controls as the behaviour sees them: each keeps the properties
// the behaviour sets and passes every change on to its platform control, so
// that reading a property back gives what was set.
#include <cstdint>
#include <string>

#include "platform/controls.h"

namespace reelshow {

class Panel {
public:
  explicit Panel(platform::Panel& control) : control_(control) {}
  void SetBounds(const platform::Bounds& bounds);
  void SetVisible(bool visible);
  const platform::Bounds& Bounds() const { return bounds_; }
  bool Visible() const { return visible_; }

private:
  platform::Panel& control_;
  platform::Bounds bounds_{};
  bool visible_ = true;
};

class Label {
public:
  Label(platform::Label& control, std::string designText, bool visible)
      : control_(control), text_(std::move(designText)), visible_(visible) {}
  void SetText(const std::string& text);
  void SetVisible(bool visible);
  const std::string& Text() const { return text_; }
  bool Visible() const { return visible_; }

private:
  platform::Label& control_;
  std::string text_;
  bool visible_;
};

class Timer {
public:
  explicit Timer(platform::Timer& control) : control_(control) {}
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }

private:
  platform::Timer& control_;
  bool enabled_ = false;
};

// A position set outside [min, max] is moved to the nearer end.
class ScrollBar {
public:
  ScrollBar(platform::ScrollBar& control, std::int32_t min, std::int32_t max, std::int32_t position)
      : control_(control), min_(min), max_(max < min ? min : max), position_(Clamp(position)) {}
  // A maximum below the minimum is taken as the minimum.
  void SetMax(std::int32_t max);
  void SetPosition(std::int32_t position);
  std::int32_t Min() const { return min_; }
  std::int32_t Max() const { return max_; }
  std::int32_t Position() const { return position_; }

private:
  std::int32_t Clamp(std::int32_t position) const;
  platform::ScrollBar& control_;
  std::int32_t min_;
  std::int32_t max_;
  std::int32_t position_;
};

class Button {
public:
  Button(platform::Button& control, bool visible) : control_(control), visible_(visible) {}
  void SetCaption(const std::string& caption);
  void SetVisible(bool visible);
  const std::string& Caption() const { return caption_; }
  bool Visible() const { return visible_; }

private:
  platform::Button& control_;
  std::string caption_;
  bool visible_;
};

// What the user did to a scroll bar, as the window system reports it.
enum class ScrollRequest { LineLess, LineMore, PageLess, PageMore, Thumb, ToMin, ToMax, EndScroll };

// The position a scroll request leads to: an arrow or a click beside the
// thumb moves one step; dragging goes to the thumb's position; the result
// stays within [min, max].
std::int32_t ScrollPositionAfter(ScrollRequest request, std::int32_t current, std::int32_t thumb,
                                 std::int32_t min, std::int32_t max);

}  // namespace reelshow
