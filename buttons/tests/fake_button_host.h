#pragma once
// Test doubles for the button model: a host whose windows are numbers with a
// shared property map, a renderer and an event sink that record what they
// were asked to do as text.
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "buttons/button_host.h"
#include "buttons/kw_button.h"

namespace orv::buttons::test {

// The window system several buttons share: window properties and posted keys.
struct FakeDesktop {
  std::map<std::pair<WindowRef, std::string>, std::intptr_t> props;
  std::vector<std::string> posted;  // "WM_KEYDOWN(window,vk,0xlparam)"
  WindowRef underCursor = 0;
  std::map<WindowRef, OleColor> backColors;

  std::intptr_t prop(WindowRef w, const std::string& name) const {
    auto it = props.find({w, name});
    return it == props.end() ? 0 : it->second;
  }
  bool has(WindowRef w, const std::string& name) const { return props.count({w, name}) > 0; }
};

class FakeButtonHost : public ButtonHost {
 public:
  FakeButtonHost(FakeDesktop& desk, WindowRef own, WindowRef container) : desk_(desk), own_(own), box_(container) {}

  bool ambientUserMode() override { return userMode; }
  OleColor ambientBackColor() override { return ambientBack; }
  bool ambientDisplayAsDefault() override { return displayAsDefault; }
  std::string ambientDisplayName() override { return displayName; }
  OleColor parentBackColor() override { return parentBack; }

  bool enabled() override { return enabled_; }
  void setEnabled(bool on) override { enabled_ = on; }
  OleColor foreColor() override { return fore_; }
  void setForeColor(OleColor c) override { fore_ = c; }
  FontDesc font() override { return font_; }
  void setFont(const FontDesc& f) override { font_ = f; }
  std::int16_t mousePointer() override { return pointer_; }
  void setMousePointer(std::int16_t code) override { pointer_ = code; }
  Picture mouseIcon() override { return icon_; }
  std::string setMouseIcon(const Picture& icon) override {
    if (!icon.empty() && icon.source.rfind(".bmp") != std::string::npos) return "Invalid property value";
    icon_ = icon;
    return {};
  }
  std::string accessKeys() override { return keys_; }
  void setAccessKeys(const std::string& keys) override { keys_ = keys; }
  std::string tag() override { return tag_; }
  void setTag(const std::string& tag) override { tag_ = tag; }

  void propertyChanged(const std::string& key) override { changedKeys.push_back(key); }
  void captionChanged(const std::string& caption) override { windowText = caption; }
  void showInformation(const std::string& text, const std::string& title) override {
    messages.push_back(title.empty() ? text : title + ": " + text);
  }

  WindowRef ownWindow() override { return own_; }
  WindowRef containerWindow() override { return box_; }
  std::intptr_t deviceContext() override { return 0x1DC; }
  double scaleWidth() override { return width; }
  double scaleHeight() override { return height; }
  std::intptr_t getProp(WindowRef w, const std::string& name) override { return desk_.prop(w, name); }
  void setProp(WindowRef w, const std::string& name, std::intptr_t value) override { desk_.props[{w, name}] = value; }
  void removeProp(WindowRef w, const std::string& name) override { desk_.props.erase({w, name}); }
  void setCapture() override { captured = true; }
  void releaseCapture() override { captured = false; }
  void postKeyDown(WindowRef w, int vk, std::intptr_t lParam) override {
    char buf[80];
    std::snprintf(buf, sizeof buf, "WM_KEYDOWN(%llu,%d,0x%llX)", static_cast<unsigned long long>(w), vk,
                  static_cast<unsigned long long>(lParam));
    desk_.posted.push_back(buf);
  }
  void startTimer(int id, int intervalMs) override { timers[id] = intervalMs; }
  void killTimer(int id) override { timers.erase(id); }
  bool cursorOverOwnWindow() override { return desk_.underCursor == own_; }
  PointF cursorClientPos() override { return cursor; }
  OleColor translateColor(OleColor c) override {
    if (c & 0x80000000u) return 0x00D8E9EC + (c & 0xFF);  // distinct RGB per index
    return c;
  }

  bool userMode = true;
  OleColor ambientBack = 0x8000000F;
  OleColor parentBack = 0x8000000F;
  bool displayAsDefault = false;
  std::string displayName = "kwButtons_H1";
  double width = 89, height = 33;
  PointF cursor{3, 4};
  bool captured = false;
  std::string windowText;
  std::map<int, int> timers;
  std::vector<std::string> changedKeys;
  std::vector<std::string> messages;

 private:
  FakeDesktop& desk_;
  WindowRef own_, box_;
  bool enabled_ = true;
  OleColor fore_ = 0x80000012;
  FontDesc font_;
  std::int16_t pointer_ = 0;
  Picture icon_;
  std::string keys_;
  std::string tag_;
};

class RecordingRenderer : public ButtonRenderer {
 public:
  explicit RecordingRenderer(KwButton* button = nullptr) : button_(button) {}
  void attach(KwButton* b) { button_ = b; }
  void RefreshSetting(const std::string& name) override {
    calls.push_back("Refresh(" + name + ")");
    if (name == "Picture" && button_) {
      const bool has = !button_->Picture().empty();
      button_->setPictureExtent(has ? 32 : 0, has ? 32 : 0);
    }
  }
  void BuildShapeRegion() override { calls.push_back("Region"); }
  void LayoutCaption() override { calls.push_back("Layout"); }
  void ResizeSurface() override { calls.push_back("Surface"); }
  void paintFace() override {
    calls.push_back("Paint");
    ++paints;
  }
  void ReleaseSurface() override { calls.push_back("Release"); }

  int paints = 0;
  std::vector<std::string> calls;

 private:
  KwButton* button_;
};

class RecordingEvents : public KwButtonEvents {
 public:
  void MouseDown(std::int16_t& b, std::int16_t& s, float& x, float& y) override { add("MouseDown", b, s, x, y); }
  void MouseUp(std::int16_t& b, std::int16_t& s, float& x, float& y) override { add("MouseUp", b, s, x, y); }
  void MouseMove(std::int16_t& b, std::int16_t& s, float& x, float& y) override {
    if (recordMoves) add("MouseMove", b, s, x, y);
  }
  void KeyDown(std::int16_t& k, std::int16_t& s) override { log.push_back(key("KeyDown", k, s)); }
  void KeyUp(std::int16_t& k, std::int16_t& s) override { log.push_back(key("KeyUp", k, s)); }
  void KeyPress(std::int16_t& k) override { log.push_back("KeyPress(" + std::to_string(k) + ")"); }
  void MouseOnButton(bool& on) override { log.push_back(on ? "MouseOnButton(True)" : "MouseOnButton(False)"); }
  void Click() override {
    log.push_back("Click");
    if (onClick) onClick();
  }
  void DoubleClick(std::int16_t& b) override { log.push_back("DoubleClick(" + std::to_string(b) + ")"); }
  void OLECompleteDrag(std::int32_t& e) override { log.push_back("OLECompleteDrag(" + std::to_string(e) + ")"); }

  std::vector<std::string> log;
  bool recordMoves = false;
  std::function<void()> onClick;

 private:
  static std::string num(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
  }
  void add(const char* name, std::int16_t b, std::int16_t s, float x, float y) {
    log.push_back(std::string(name) + "(" + std::to_string(b) + "," + std::to_string(s) + "," + num(x) + "," +
                  num(y) + ")");
  }
  static std::string key(const char* name, std::int16_t k, std::int16_t s) {
    return std::string(name) + "(" + std::to_string(k) + "," + std::to_string(s) + ")";
  }
};

// One button with its own host, renderer and event log.
struct Rig {
  Rig(FakeDesktop& desk, WindowRef own, WindowRef container, bool userMode = true)
      : host(desk, own, container), button(host, &events, &renderer) {
    host.userMode = userMode;
    renderer.attach(&button);
  }
  FakeButtonHost host;
  RecordingRenderer renderer;
  RecordingEvents events;
  KwButton button;
};

}  // namespace orv::buttons::test
