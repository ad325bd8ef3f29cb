#pragma once
// What a kwButtons_H button needs from the window that hosts it, from the
// platform and from its face renderer. The button model (kw_button.h) is
// portable; the Win32 control implements these over a real child window and
// the tests implement them with plain fields.
#include <cstdint>
#include <string>

#include "platform/widgets.h"

namespace orv::buttons {

// A window handle as a number: the group list and the Tag keep windows and
// button addresses as plain integers, never as owning references.
using WindowRef = std::uintptr_t;

// The host's font object, by value.
struct FontDesc {
  std::string name = "MS Sans Serif";
  double size = 8.25;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  bool operator==(const FontDesc&) const = default;
};

// A picture (bitmap, icon or cursor) named by where the host finds it, e.g.
// "res:kw_gravar" for a resource of the program. Empty means none.
struct Picture {
  std::string source;
  bool empty() const { return source.empty(); }
  bool operator==(const Picture&) const = default;
};

struct PointF {
  float x = 0;
  float y = 0;
};

class ButtonHost {
 public:
  virtual ~ButtonHost() = default;

  // Ambient properties of the container.
  virtual bool ambientUserMode() = 0;  // false while the window is being edited
  virtual OleColor ambientBackColor() = 0;
  virtual bool ambientDisplayAsDefault() = 0;
  virtual std::string ambientDisplayName() = 0;  // "kwButtons_H1"
  // BackColor of the window the button sits on, unresolved; read when the
  // stored settings hold no back colour.
  virtual OleColor parentBackColor() = 0;

  // Properties the host control itself holds.
  virtual bool enabled() = 0;
  virtual void setEnabled(bool on) = 0;
  virtual OleColor foreColor() = 0;
  virtual void setForeColor(OleColor c) = 0;
  virtual FontDesc font() = 0;
  virtual void setFont(const FontDesc& f) = 0;
  virtual std::int16_t mousePointer() = 0;
  virtual void setMousePointer(std::int16_t code) = 0;
  virtual Picture mouseIcon() = 0;
  // Empty on success; the host's error description when it cannot use the
  // picture as a pointer (the previous one stays).
  virtual std::string setMouseIcon(const Picture& icon) = 0;
  virtual std::string accessKeys() = 0;
  virtual void setAccessKeys(const std::string& keys) = 0;
  virtual std::string tag() = 0;
  virtual void setTag(const std::string& tag) = 0;

  virtual void propertyChanged(const std::string& key) = 0;
  // The caption the button now shows, for the host to keep as its window
  // text: tools that read window texts find it there.
  virtual void captionChanged(const std::string& caption) {}
  // Information box with an OK button; an empty title means the program's.
  virtual void showInformation(const std::string& text, const std::string& title) = 0;

  // Windows.
  virtual WindowRef ownWindow() = 0;
  virtual WindowRef containerWindow() = 0;  // the form or frame directly holding the button
  virtual std::intptr_t deviceContext() = 0;
  virtual double scaleWidth() = 0;  // client size in pixels
  virtual double scaleHeight() = 0;
  // Window properties; 0 when absent.
  virtual std::intptr_t getProp(WindowRef w, const std::string& name) = 0;
  virtual void setProp(WindowRef w, const std::string& name, std::intptr_t value) = 0;
  virtual void removeProp(WindowRef w, const std::string& name) = 0;
  virtual void setCapture() = 0;
  virtual void releaseCapture() = 0;
  // Posts WM_KEYDOWN to `w` without waiting.
  virtual void postKeyDown(WindowRef w, int virtualKey, std::intptr_t lParam) = 0;
  // Window timer on the button's own window; ticks reach TrackMouseLeave.
  virtual void startTimer(int id, int intervalMs) = 0;
  virtual void killTimer(int id) = 0;
  // GetCursorPos + WindowFromPoint is the button's own window.
  virtual bool cursorOverOwnWindow() = 0;
  // GetCursorPos converted to the button's client pixels.
  virtual PointF cursorClientPos() = 0;
  // A system colour (top bit set) resolved to RGB; any other value as is.
  virtual OleColor translateColor(OleColor c) = 0;
};

// The drawing side of the button (region, surface, face, caption layout).
// The model calls these at the points where the behaviour asks for them and
// never draws itself.
class ButtonRenderer {
 public:
  virtual ~ButtonRenderer() = default;
  virtual void RefreshSetting(const std::string& name) = 0;  // "Font", "Picture", "BackColor"
  virtual void BuildShapeRegion() = 0;
  virtual void LayoutCaption() = 0;
  // Drops the surface bitmap and prepares the surface at the current size.
  virtual void ResizeSurface() = 0;
  // Composes the face off screen, copies it to the window, asks the container
  // to show it. Never called while drawing is delayed.
  virtual void paintFace() = 0;
  virtual void ReleaseSurface() = 0;
};

// The events a button raises to its container. Arguments go by reference as
// the container may change them; the button does not read them back.
class KwButtonEvents {
 public:
  virtual ~KwButtonEvents() = default;
  virtual void MouseDown(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y) {}
  virtual void MouseUp(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y) {}
  virtual void MouseMove(std::int16_t& Button, std::int16_t& Shift, float& X, float& Y) {}
  virtual void KeyDown(std::int16_t& KeyCode, std::int16_t& Shift) {}
  virtual void KeyPress(std::int16_t& KeyAscii) {}
  virtual void KeyUp(std::int16_t& KeyCode, std::int16_t& Shift) {}
  virtual void MouseOnButton(bool& OnButton) {}
  virtual void Click() {}
  virtual void DoubleClick(std::int16_t& Button) {}
  // Drag and drop: the data object is the host's, passed through untouched.
  virtual void OLECompleteDrag(std::int32_t& Effect) {}
  virtual void OLEDragDrop(void* Data, std::int32_t& Effect, std::int16_t& Button, std::int16_t& Shift,
                           float& X, float& Y) {}
  virtual void OLEDragOver(void* Data, std::int32_t& Effect, std::int16_t& Button, std::int16_t& Shift,
                           float& X, float& Y, std::int16_t& State) {}
  virtual void OLEGiveFeedback(std::int32_t& Effect, bool& DefaultCursors) {}
  virtual void OLESetData(void* Data, std::int16_t& DataFormat) {}
  virtual void OLEStartDrag(void* Data, std::int32_t& AllowedEffects) {}
};

}  // namespace orv::buttons
