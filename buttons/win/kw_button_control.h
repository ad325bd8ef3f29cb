#pragma once
// The kwButtons_H window class: a child window hosting one KwButton model.
// The window owns the control object; it is deleted when the window is.
//
// What the container does that a control-hosting framework would otherwise do:
//  - its message loop calls KwButtonPreTranslate before IsDialogMessage:
//      while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
//        if (KwButtonPreTranslate(msg)) continue;           // access keys, Enter, Escape, arrows
//        if (IsDialogMessageW(topWindow, &msg)) continue;   // Tab between controls
//        TranslateMessage(&msg); DispatchMessageW(&msg);
//      }
//    Alt+access key clicks the button whose caption marks that key, Enter the
//    focused kw button or else the window's default one, Escape the cancel
//    one (SetDefaultKwButton / SetCancelKwButton); arrow keys that a button
//    hands to its container move the focus to the previous or next control.
//  - it receives Click through the callback given at creation (and every
//    event through an optional KwButtonEvents sink).
//  - it tells the buttons when its background colour changes
//    (KwButtonControl::setAmbientBackColor).
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "buttons/accessibility.h"
#include "buttons/button_host.h"
#include "buttons/kw_button.h"
#include "platform/win/scoped.h"

namespace orv::buttons::win {

inline constexpr wchar_t kWindowClass[] = L"kwButtons_H";
// Posted by the accessible object's default action: the click then runs from
// the message loop, as a mouse click does.
inline constexpr UINT kMsgDefaultAction = WM_APP + 0x4C;

struct KwButtonCreateArgs {
  HWND parent = nullptr;
  int id = 0;
  int x = 0, y = 0, width = 0, height = 0;
  // Bag text (property_bag.h); empty creates a new button (InitProperties).
  std::string storedSettings;
  std::function<void()> onClick;
  KwButtonEvents* events = nullptr;  // optional: every event, before onClick
  std::string displayName = "kwButtons_H1";
  OleColor ambientBackColor = 0x8000000F;  // the container's background
};

class KwButtonControl : public ButtonHost {
 public:
  HWND window() const { return hwnd_; }
  KwButton& button() { return *button_; }
  // Replaces the face renderer (a GdiFaceRenderer from creation on).
  void setRenderer(std::unique_ptr<ButtonRenderer> renderer);
  ButtonRenderer& renderer() { return *renderer_; }
  // The current settings in bag text (WriteProperties).
  std::string saveSettings() const;
  // Keys reported changed since creation.
  const std::set<std::string>& changedKeys() const { return changed_; }
  void setAmbientBackColor(OleColor c);
  // Tells listening tools what changed since the last look (run after every
  // message the window handles and every hover tick).
  void announceChanges();
  void setEventSink(KwButtonEvents* sink) { args_.events = sink; }
  // Cursor handle for the custom pointer, if any (tests).
  HCURSOR customCursor() const { return static_cast<HCURSOR>(icon_.get()); }

  // ButtonHost
  bool ambientUserMode() override { return true; }
  OleColor ambientBackColor() override { return ambientBack_; }
  bool ambientDisplayAsDefault() override;
  std::string ambientDisplayName() override { return displayName_; }
  OleColor parentBackColor() override { return ambientBack_; }
  bool enabled() override;
  void setEnabled(bool on) override;
  OleColor foreColor() override { return fore_; }
  void setForeColor(OleColor c) override { fore_ = c; }
  FontDesc font() override { return font_; }
  void setFont(const FontDesc& f) override { font_ = f; }
  std::int16_t mousePointer() override { return pointer_; }
  void setMousePointer(std::int16_t code) override { pointer_ = code; }
  Picture mouseIcon() override { return iconSource_; }
  std::string setMouseIcon(const Picture& icon) override;
  std::string accessKeys() override { return accessKeys_; }
  void setAccessKeys(const std::string& keys) override { accessKeys_ = keys; }
  std::string tag() override { return tag_; }
  void setTag(const std::string& tag) override { tag_ = tag; }
  void propertyChanged(const std::string& key) override;
  void captionChanged(const std::string& caption) override;
  void showInformation(const std::string& text, const std::string& title) override;
  WindowRef ownWindow() override { return reinterpret_cast<WindowRef>(hwnd_); }
  WindowRef containerWindow() override;
  std::intptr_t deviceContext() override;
  double scaleWidth() override;
  double scaleHeight() override;
  std::intptr_t getProp(WindowRef w, const std::string& name) override;
  void setProp(WindowRef w, const std::string& name, std::intptr_t value) override;
  void removeProp(WindowRef w, const std::string& name) override;
  void setCapture() override;
  void releaseCapture() override;
  void postKeyDown(WindowRef w, int virtualKey, std::intptr_t lParam) override;
  void startTimer(int id, int intervalMs) override;
  void killTimer(int id) override;
  bool cursorOverOwnWindow() override;
  PointF cursorClientPos() override;
  OleColor translateColor(OleColor c) override;

 private:
  friend KwButtonControl* CreateKwButton(const KwButtonCreateArgs& args);
  class Events;
  explicit KwButtonControl(const KwButtonCreateArgs& args);
  ~KwButtonControl() override;
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);
  void onCreate();
  void mouseButton(UINT msg, WPARAM wParam, LPARAM lParam);
  void focusChanged();
  bool setCursorShape();

  HWND hwnd_ = nullptr;
  KwButtonCreateArgs args_;
  std::unique_ptr<Events> events_;
  std::unique_ptr<ButtonRenderer> renderer_;
  std::unique_ptr<KwButton> button_;
  OleColor ambientBack_;
  std::string displayName_;
  OleColor fore_ = 0x80000012;
  FontDesc font_;
  std::int16_t pointer_ = 0;
  Picture iconSource_;
  orv::win::UniqueIcon icon_;
  std::string accessKeys_;
  std::string tag_;
  std::set<std::string> changed_;
  AccessibleAnnouncer announcer_;
  bool created_ = false;
  // The client size the stored settings were laid out at during creation:
  // the WM_SIZE creation sends next, at that size, has nothing to redo.
  std::optional<std::pair<int, int>> laidOutAtCreate_;
  bool releasingCapture_ = false;  // our own release is no lost press
  int depth_ = 0;
  bool dead_ = false;
};

KwButtonControl* CreateKwButton(const KwButtonCreateArgs& args);
KwButtonControl* CreateKwButton(HWND parent, int id, int x, int y, int w, int h, const std::string& storedSettings,
                                std::function<void()> onClick, KwButtonEvents* events = nullptr);
// nullptr when `hwnd` is not a live kwButtons_H window.
KwButtonControl* KwButtonFromWindow(HWND hwnd);

// The container's message-loop hook (see the top of this file). True when
// the message was handled and must not be dispatched.
bool KwButtonPreTranslate(const MSG& msg);
// The button Enter clicks (unless the focus is on another kw button) and the
// one Escape clicks, per top-level window; nullptr clears.
void SetDefaultKwButton(HWND topWindow, KwButtonControl* button);
void SetCancelKwButton(HWND topWindow, KwButtonControl* button);

// A caption as shown: single "&" dropped, "&&" as "&", "||" as a line break.
std::wstring DisplayCaption(const std::string& caption);

}  // namespace orv::buttons::win
