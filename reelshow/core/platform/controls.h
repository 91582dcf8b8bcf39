#pragma once
// The controls of the saver window and the settings dialog, as the portable
// behaviour drives them.
//
// The behaviour keeps every property it sets (bounds, texts, positions, the
// timer's state) itself and only tells the platform, so nothing is read back
// from a control except a radio button's check mark, which the user changes.
// What the Win32 layer must guarantee:
// - every call takes effect at once and never calls back into the behaviour;
// - any 32-bit bounds are accepted. A panel is never asked to show with a
//   width or height below 1, but such bounds may be set while it is hidden;
// - a timer tick arrives only as a call of the form's tick handler from the
//   message loop; a tick that was queued before SetEnabled(false) may still
//   arrive (the behaviour ignores it);
// - a radio button's Checked() reports the control itself, user clicks
//   included, and a user click unchecks the other buttons of its group box;
// - texts and captions are shown whole, whatever their length.
#include <cstdint>
#include <string>

namespace reelshow::platform {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Left, top, width, height in pixels within the parent's client area.
struct Bounds {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const Bounds&, const Bounds&) = default;
};

// The window itself: its background colour.
class Window {
public:
  virtual void SetColor(Rgb color) = 0;

protected:
  ~Window() = default;
};

class Panel {
public:
  virtual void SetBounds(const Bounds& bounds) = 0;
  virtual void SetVisible(bool visible) = 0;

protected:
  ~Panel() = default;
};

class Label {
public:
  virtual void SetText(const std::string& text) = 0;
  virtual void SetVisible(bool visible) = 0;

protected:
  ~Label() = default;
};

// A timer of a fixed interval (see the layout data).
class Timer {
public:
  virtual void SetEnabled(bool enabled) = 0;

protected:
  ~Timer() = default;
};

class RadioButton {
public:
  virtual void SetChecked(bool checked) = 0;
  virtual bool Checked() const = 0;

protected:
  ~RadioButton() = default;
};

// A horizontal scroll bar, page size 0. The behaviour keeps the position
// within the range itself.
class ScrollBar {
public:
  virtual void SetRange(std::int32_t min, std::int32_t max) = 0;
  virtual void SetPosition(std::int32_t position) = 0;

protected:
  ~ScrollBar() = default;
};

class Button {
public:
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetVisible(bool visible) = 0;

protected:
  ~Button() = default;
};

}  // namespace reelshow::platform
