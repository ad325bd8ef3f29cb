#include "buttons/win/kw_button_control.h"

// Before <windowsx.h>: its SelectPen and SelectBrush macros would rewrite
// the drawing surface's methods.
#include "buttons/win/face_renderer_gdi.h"

#include <windowsx.h>

#include <cwctype>

#include "buttons/color.h"
#include "buttons/property_bag.h"
#include "buttons/win/kw_button_accessible.h"
#include "buttons/win/modKwTimer.h"
#include "platform/win/text.h"

namespace orv::buttons::win {

namespace {

using orv::win::Narrow;
using orv::win::Widen;

constexpr wchar_t kPropDefault[] = L"kw_DefaultBtn";
constexpr wchar_t kPropCancel[] = L"kw_CancelBtn";
constexpr UINT kMsgFocusSettled = WM_APP + 0x4B;

HWND TopOf(HWND w) { return w ? ::GetAncestor(w, GA_ROOT) : nullptr; }

// Loads a picture named "res:NAME" (a resource of the program) or a file path.
HANDLE LoadPictureHandle(const Picture& p, UINT type) {
  if (p.empty()) return nullptr;
  if (p.source.rfind("res:", 0) == 0) {
    std::wstring name = Widen(p.source.substr(4));
    return ::LoadImageW(::GetModuleHandleW(nullptr), name.c_str(), type, 0, 0, LR_DEFAULTSIZE);
  }
  std::wstring path = Widen(p.source);
  return ::LoadImageW(nullptr, path.c_str(), type, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
}

std::int16_t ShiftState() {
  std::int16_t s = 0;
  if (::GetKeyState(VK_SHIFT) < 0) s |= 1;
  if (::GetKeyState(VK_CONTROL) < 0) s |= 2;
  if (::GetKeyState(VK_MENU) < 0) s |= 4;
  return s;
}

std::int16_t HeldButtons(WPARAM wParam) {
  std::int16_t b = 0;
  if (wParam & MK_LBUTTON) b |= 1;
  if (wParam & MK_RBUTTON) b |= 2;
  if (wParam & MK_MBUTTON) b |= 4;
  return b;
}

// Host pointer codes to system cursors.
LPCWSTR SystemCursor(std::int16_t code) {
  switch (code) {
    case 2: return IDC_CROSS;
    case 3: return IDC_IBEAM;
    case 5: case 15: return IDC_SIZEALL;
    case 6: return IDC_SIZENESW;
    case 7: return IDC_SIZENS;
    case 8: return IDC_SIZENWSE;
    case 9: return IDC_SIZEWE;
    case 10: return IDC_UPARROW;
    case 11: return IDC_WAIT;
    case 12: return IDC_NO;
    case 13: return IDC_APPSTARTING;
    case 14: return IDC_HELP;
    default: return IDC_ARROW;
  }
}

KwButtonControl* FromProp(HWND top, const wchar_t* name) {
  return top ? KwButtonFromWindow(static_cast<HWND>(::GetPropW(top, name))) : nullptr;
}

}  // namespace

std::wstring DisplayCaption(const std::string& caption) {
  return Widen(CaptionWithoutMarks(caption, [](std::string& text) { text += "\r\n"; }));
}

// Routes the model's events to the container: the optional sink sees every
// event, then Click reaches the creation callback.
class KwButtonControl::Events : public KwButtonEvents {
 public:
  explicit Events(KwButtonControl& c) : c_(c) {}
  KwButtonEvents* sink() { return c_.args_.events; }
  void MouseDown(std::int16_t& b, std::int16_t& s, float& x, float& y) override { if (sink()) sink()->MouseDown(b, s, x, y); }
  void MouseUp(std::int16_t& b, std::int16_t& s, float& x, float& y) override { if (sink()) sink()->MouseUp(b, s, x, y); }
  void MouseMove(std::int16_t& b, std::int16_t& s, float& x, float& y) override { if (sink()) sink()->MouseMove(b, s, x, y); }
  void KeyDown(std::int16_t& k, std::int16_t& s) override { if (sink()) sink()->KeyDown(k, s); }
  void KeyPress(std::int16_t& k) override { if (sink()) sink()->KeyPress(k); }
  void KeyUp(std::int16_t& k, std::int16_t& s) override { if (sink()) sink()->KeyUp(k, s); }
  void MouseOnButton(bool& on) override { if (sink()) sink()->MouseOnButton(on); }
  void Click() override {
    if (sink()) sink()->Click();
    if (c_.args_.onClick) c_.args_.onClick();
  }
  void DoubleClick(std::int16_t& b) override { if (sink()) sink()->DoubleClick(b); }
  void OLECompleteDrag(std::int32_t& e) override { if (sink()) sink()->OLECompleteDrag(e); }
  void OLEDragDrop(void* d, std::int32_t& e, std::int16_t& b, std::int16_t& s, float& x, float& y) override {
    if (sink()) sink()->OLEDragDrop(d, e, b, s, x, y);
  }
  void OLEDragOver(void* d, std::int32_t& e, std::int16_t& b, std::int16_t& s, float& x, float& y,
                   std::int16_t& st) override {
    if (sink()) sink()->OLEDragOver(d, e, b, s, x, y, st);
  }
  void OLEGiveFeedback(std::int32_t& e, bool& dc) override { if (sink()) sink()->OLEGiveFeedback(e, dc); }
  void OLESetData(void* d, std::int16_t& f) override { if (sink()) sink()->OLESetData(d, f); }
  void OLEStartDrag(void* d, std::int32_t& e) override { if (sink()) sink()->OLEStartDrag(d, e); }

 private:
  KwButtonControl& c_;
};

KwButtonControl::KwButtonControl(const KwButtonCreateArgs& args)
    : args_(args), ambientBack_(args.ambientBackColor), displayName_(args.displayName) {
  events_ = std::make_unique<Events>(*this);
  button_ = std::make_unique<KwButton>(*this, events_.get());
  renderer_ = std::make_unique<GdiFaceRenderer>(*button_, [this] { return hwnd_; });
  button_->setRenderer(renderer_.get());
}

KwButtonControl::~KwButtonControl() {
  button_.reset();  // Terminate has run at WM_DESTROY; the model goes before its host
}

void KwButtonControl::setRenderer(std::unique_ptr<ButtonRenderer> renderer) {
  if (!renderer) return;
  button_->setRenderer(renderer.get());
  renderer_ = std::move(renderer);
  renderer_->RefreshSetting("Font");
  renderer_->RefreshSetting("Picture");
  renderer_->RefreshSetting("BackColor");
  button_->Resize();
}

std::string KwButtonControl::saveSettings() const {
  MemoryPropertyBag bag;
  button_->WriteProperties(bag);
  return bag.toText();
}

void KwButtonControl::setAmbientBackColor(OleColor c) {
  ambientBack_ = c;
  button_->AmbientChanged("BackColor");
}

bool KwButtonControl::ambientDisplayAsDefault() {
  HWND focus = ::GetFocus();
  if (focus == hwnd_) return true;
  HWND top = TopOf(hwnd_);
  if (KwButtonFromWindow(focus) && TopOf(focus) == top) return false;  // another button shows it
  return top && ::GetPropW(top, kPropDefault) == hwnd_;
}

bool KwButtonControl::enabled() { return hwnd_ ? ::IsWindowEnabled(hwnd_) != FALSE : true; }

void KwButtonControl::setEnabled(bool on) {
  if (hwnd_) ::EnableWindow(hwnd_, on);
}

std::string KwButtonControl::setMouseIcon(const Picture& icon) {
  if (icon.empty()) {
    icon_.reset();
    iconSource_ = {};
    return {};
  }
  HANDLE h = LoadPictureHandle(icon, IMAGE_CURSOR);
  if (!h) h = LoadPictureHandle(icon, IMAGE_ICON);
  if (!h) return "Invalid picture";
  icon_.reset(static_cast<HICON>(h));
  iconSource_ = icon;
  return {};
}

void KwButtonControl::showInformation(const std::string& text, const std::string& title) {
  std::wstring t = Widen(text), c = Widen(title.empty() ? std::string("Orvalen") : title);
  ::MessageBoxW(TopOf(hwnd_), t.c_str(), c.c_str(), MB_OK | MB_ICONINFORMATION);
}

WindowRef KwButtonControl::containerWindow() {
  return reinterpret_cast<WindowRef>(hwnd_ ? ::GetParent(hwnd_) : args_.parent);
}

std::intptr_t KwButtonControl::deviceContext() {
  return hwnd_ ? reinterpret_cast<std::intptr_t>(::GetDC(hwnd_)) : 0;
}

double KwButtonControl::scaleWidth() {
  RECT rc{};
  if (hwnd_) ::GetClientRect(hwnd_, &rc);
  return rc.right;
}

double KwButtonControl::scaleHeight() {
  RECT rc{};
  if (hwnd_) ::GetClientRect(hwnd_, &rc);
  return rc.bottom;
}

std::intptr_t KwButtonControl::getProp(WindowRef w, const std::string& name) {
  return reinterpret_cast<std::intptr_t>(::GetPropW(reinterpret_cast<HWND>(w), Widen(name).c_str()));
}

void KwButtonControl::setProp(WindowRef w, const std::string& name, std::intptr_t value) {
  ::SetPropW(reinterpret_cast<HWND>(w), Widen(name).c_str(), reinterpret_cast<HANDLE>(value));
}

void KwButtonControl::removeProp(WindowRef w, const std::string& name) {
  ::RemovePropW(reinterpret_cast<HWND>(w), Widen(name).c_str());
}

void KwButtonControl::setCapture() {
  if (hwnd_) ::SetCapture(hwnd_);
}

void KwButtonControl::releaseCapture() {
  if (!hwnd_ || ::GetCapture() != hwnd_) return;
  releasingCapture_ = true;
  ::ReleaseCapture();
  releasingCapture_ = false;
}

void KwButtonControl::propertyChanged(const std::string& key) {
  changed_.insert(key);
  // A property set by the container's code, outside any message of ours.
  announceChanges();
}

void KwButtonControl::captionChanged(const std::string& caption) {
  // Straight to the stored text: WM_SETTEXT from outside comes back here.
  if (hwnd_) ::DefWindowProcW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(caption).c_str()));
}

void KwButtonControl::postKeyDown(WindowRef w, int virtualKey, std::intptr_t lParam) {
  ::PostMessageW(reinterpret_cast<HWND>(w), WM_KEYDOWN, static_cast<WPARAM>(virtualKey), static_cast<LPARAM>(lParam));
}

void KwButtonControl::startTimer(int id, int intervalMs) {
  if (hwnd_) ::SetTimer(hwnd_, static_cast<UINT_PTR>(id), static_cast<UINT>(intervalMs), HoverTimerProc);
}

void KwButtonControl::killTimer(int id) {
  if (hwnd_) ::KillTimer(hwnd_, static_cast<UINT_PTR>(id));
}

bool KwButtonControl::cursorOverOwnWindow() {
  POINT p;
  if (!::GetCursorPos(&p)) return false;
  return ::WindowFromPoint(p) == hwnd_;
}

PointF KwButtonControl::cursorClientPos() {
  POINT p{};
  ::GetCursorPos(&p);
  if (hwnd_) ::ScreenToClient(hwnd_, &p);
  return {static_cast<float>(p.x), static_cast<float>(p.y)};
}

OleColor KwButtonControl::translateColor(OleColor c) { return TranslateColor(c, PlatformSystemColor); }

// ---- Window procedure ---------------------------------------------------------

LRESULT CALLBACK KwButtonControl::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  KwButtonControl* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<KwButtonControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<KwButtonControl*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
  // A Click handler may destroy the window (and so this object) from inside
  // one of our own messages: deletion waits for the outermost one to return.
  ++self->depth_;
  LRESULT result = 0;
  try {
    result = self->handle(msg, wParam, lParam);
    if (!self->dead_) self->announceChanges();
  } catch (...) {
    result = 0;
  }
  if (--self->depth_ == 0 && self->dead_) delete self;
  return result;
}

void KwButtonControl::onCreate() {
  if (args_.storedSettings.empty()) {
    button_->InitProperties();
  } else {
    button_->ReadProperties(MemoryPropertyBag::fromText(args_.storedSettings));
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    laidOutAtCreate_ = std::pair(static_cast<int>(client.right), static_cast<int>(client.bottom));
  }
  changed_.clear();
  created_ = true;
  announcer_.update(DescribeForAccessibility(*button_, false));
}

void KwButtonControl::announceChanges() {
  if (!created_ || !hwnd_) return;
  for (AccessibleEvent e : announcer_.update(DescribeForAccessibility(*button_, ::GetFocus() == hwnd_))) {
    switch (e) {
      case AccessibleEvent::NameChange: AnnounceNameChange(hwnd_); break;
      case AccessibleEvent::StateChange: AnnounceStateChange(hwnd_); break;
      case AccessibleEvent::ValueChange: AnnounceValueChange(hwnd_); break;
      case AccessibleEvent::Focus: AnnounceFocus(hwnd_); break;
    }
  }
}

void KwButtonControl::mouseButton(UINT msg, WPARAM wParam, LPARAM lParam) {
  const float x = static_cast<float>(GET_X_LPARAM(lParam));
  const float y = static_cast<float>(GET_Y_LPARAM(lParam));
  const std::int16_t shift = ShiftState();
  // Over the button means inside its shape when it has a window region.
  auto releasedOver = [&] {
    RECT rc;
    ::GetClientRect(hwnd_, &rc);
    POINT p{static_cast<LONG>(x), static_cast<LONG>(y)};
    if (!::PtInRect(&rc, p)) return false;
    orv::win::UniqueRegion shape(::CreateRectRgn(0, 0, 0, 0));
    if (shape && ::GetWindowRgn(hwnd_, shape.get()) != ERROR) return ::PtInRegion(shape.get(), p.x, p.y) != FALSE;
    return true;
  };
  auto release = [&](std::int16_t which) {
    const bool over = releasedOver();
    if (button_->MouseUp(which, shift, x, y) && over && !dead_) button_->Click();
  };
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (::GetFocus() != hwnd_) ::SetFocus(hwnd_);
      button_->MouseDown(1, shift, x, y);
      break;
    case WM_LBUTTONUP: release(1); break;
    case WM_RBUTTONDOWN: button_->MouseDown(2, shift, x, y); break;
    case WM_RBUTTONUP: release(2); break;
    case WM_MBUTTONDOWN: button_->MouseDown(4, shift, x, y); break;
    case WM_MBUTTONUP: release(4); break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      button_->DblClick();
      break;
    default:
      break;
  }
}

void KwButtonControl::focusChanged() {
  button_->AmbientChanged("DisplayAsDefault");
  if (KwButtonControl* def = FromProp(TopOf(hwnd_), kPropDefault); def && def != this)
    def->button().AmbientChanged("DisplayAsDefault");
}

bool KwButtonControl::setCursorShape() {
  if (pointer_ == 0) return false;
  if (pointer_ == PointerCustom) {
    if (!icon_) return false;
    ::SetCursor(static_cast<HCURSOR>(icon_.get()));
    return true;
  }
  ::SetCursor(::LoadCursorW(nullptr, SystemCursor(pointer_)));
  return true;
}

LRESULT KwButtonControl::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CREATE:
      onCreate();
      return 0;
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
      mouseButton(msg, wParam, lParam);
      return 0;
    case WM_MOUSEMOVE:
      button_->MouseMove(HeldButtons(wParam), ShiftState(), static_cast<float>(GET_X_LPARAM(lParam)),
                         static_cast<float>(GET_Y_LPARAM(lParam)));
      return 0;
    case WM_KEYDOWN:
      button_->KeyDown(static_cast<std::int16_t>(wParam), ShiftState());
      return 0;
    case WM_KEYUP:
      button_->KeyUp(static_cast<std::int16_t>(wParam), ShiftState());
      return 0;
    case WM_CHAR:
      button_->KeyPress(static_cast<std::int16_t>(wParam));
      return 0;
    case WM_GETDLGCODE:
      // Arrows come to the button, which hands them to its container.
      return DLGC_WANTARROWS;
    case WM_SETFOCUS:
      ::PostMessageW(hwnd_, kMsgFocusSettled, 0, 0);
      button_->GotFocus();
      return 0;
    case WM_KILLFOCUS:
      ::PostMessageW(hwnd_, kMsgFocusSettled, 0, 0);
      return 0;
    case kMsgFocusSettled:
      focusChanged();
      return 0;
    case WM_PAINT: {
      { orv::win::PaintDc validate(hwnd_); }
      button_->Paint();
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE: {
      const auto laidOut = std::exchange(laidOutAtCreate_, std::nullopt);
      if (laidOut && *laidOut == std::pair<int, int>(LOWORD(lParam), HIWORD(lParam))) return 0;
      button_->Resize();
      return 0;
    }
    case WM_ENABLE:
      button_->Refresh();
      return 0;
    case WM_CAPTURECHANGED:
      if (!releasingCapture_ && reinterpret_cast<HWND>(lParam) != hwnd_) button_->CaptureLost();
      return 0;
    case WM_GETOBJECT:
      if (LRESULT r = AnswerGetObject(hwnd_, wParam, lParam)) return r;
      break;
    case WM_SETTEXT:
      button_->setCaption(Narrow(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L""));
      return TRUE;
    case kMsgDefaultAction:
      button_->DefaultAction();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && setCursorShape()) return TRUE;
      break;
    case WM_DESTROY: {
      HWND top = TopOf(hwnd_);
      for (const wchar_t* name : {kPropDefault, kPropCancel})
        if (top && ::GetPropW(top, name) == hwnd_) ::RemovePropW(top, name);
      button_->Terminate();
      return 0;
    }
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      dead_ = true;
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

// ---- Creation and the container's side ---------------------------------------

KwButtonControl* CreateKwButton(const KwButtonCreateArgs& args) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_OWNDC;  // double clicks arrive as such; the own DC is hDC
    wc.lpfnWndProc = KwButtonControl::WndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kWindowClass;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  if (!registered || !args.parent) return nullptr;
  auto* self = new KwButtonControl(args);
  ++self->depth_;  // a window that dies while being created must not delete it under us
  HWND hwnd = ::CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, args.x,
                                args.y, args.width, args.height, args.parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)), ::GetModuleHandleW(nullptr),
                                self);
  --self->depth_;
  if (!hwnd || self->dead_) {
    if (hwnd) ::DestroyWindow(hwnd);
    delete self;
    return nullptr;
  }
  return self;
}

KwButtonControl* CreateKwButton(HWND parent, int id, int x, int y, int w, int h, const std::string& storedSettings,
                                std::function<void()> onClick, KwButtonEvents* events) {
  KwButtonCreateArgs args;
  args.parent = parent;
  args.id = id;
  args.x = x;
  args.y = y;
  args.width = w;
  args.height = h;
  args.storedSettings = storedSettings;
  args.onClick = std::move(onClick);
  args.events = events;
  return CreateKwButton(args);
}

KwButtonControl* KwButtonFromWindow(HWND hwnd) {
  if (!hwnd || !::IsWindow(hwnd)) return nullptr;
  wchar_t name[32];
  if (!::GetClassNameW(hwnd, name, 32) || wcscmp(name, kWindowClass) != 0) return nullptr;
  return reinterpret_cast<KwButtonControl*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void SetDefaultKwButton(HWND topWindow, KwButtonControl* button) {
  KwButtonControl* old = FromProp(topWindow, kPropDefault);
  if (button) ::SetPropW(topWindow, kPropDefault, button->window());
  else ::RemovePropW(topWindow, kPropDefault);
  if (old && old != button) old->button().AmbientChanged("DisplayAsDefault");
  if (button) button->button().AmbientChanged("DisplayAsDefault");
}

void SetCancelKwButton(HWND topWindow, KwButtonControl* button) {
  if (button) ::SetPropW(topWindow, kPropCancel, button->window());
  else ::RemovePropW(topWindow, kPropCancel);
}

namespace {

struct AccessSearch {
  wchar_t key;
  KwButtonControl* found;
};

BOOL CALLBACK FindAccessKey(HWND child, LPARAM lParam) {
  auto* s = reinterpret_cast<AccessSearch*>(lParam);
  KwButtonControl* c = KwButtonFromWindow(child);
  if (!c || !::IsWindowVisible(child) || !::IsWindowEnabled(child)) return TRUE;
  std::wstring keys = Widen(c->accessKeys());
  if (keys.size() == 1 && std::towlower(keys[0]) == std::towlower(s->key)) {
    s->found = c;
    return FALSE;
  }
  return TRUE;
}

bool Usable(KwButtonControl* c) {
  return c && ::IsWindowVisible(c->window()) && ::IsWindowEnabled(c->window());
}

}  // namespace

bool KwButtonPreTranslate(const MSG& msg) {
  HWND top = TopOf(msg.hwnd);
  if (!top) return false;
  if (msg.message == WM_SYSCHAR) {
    AccessSearch s{static_cast<wchar_t>(msg.wParam), nullptr};
    ::EnumChildWindows(top, FindAccessKey, reinterpret_cast<LPARAM>(&s));
    if (!s.found) return false;
    s.found->button().AccessKeyPress(static_cast<std::int16_t>(msg.wParam));
    return true;
  }
  if (msg.message != WM_KEYDOWN) return false;
  HWND focus = ::GetFocus();
  KwButtonControl* focused = KwButtonFromWindow(focus);
  switch (msg.wParam) {
    case VK_RETURN: {
      // A multi-line text box keeps its Enter.
      if (!focused && focus &&
          (::SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
           (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)))
        return false;
      KwButtonControl* target = focused && TopOf(focus) == top ? focused : FromProp(top, kPropDefault);
      if (!Usable(target)) return false;
      target->button().AccessKeyPress(13);
      return true;
    }
    case VK_ESCAPE: {
      KwButtonControl* target = FromProp(top, kPropCancel);
      if (!Usable(target)) return false;
      target->button().AccessKeyPress(27);
      return true;
    }
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN: {
      // An arrow a button handed to its container: the container's own
      // navigation moves the focus from that button.
      if (!focused || msg.hwnd == focus || ::GetParent(focus) != msg.hwnd) return false;
      const bool previous = msg.wParam == VK_LEFT || msg.wParam == VK_UP;
      if (HWND next = ::GetNextDlgGroupItem(top, focus, previous); next && next != focus) ::SetFocus(next);
      return true;
    }
    default:
      return false;
  }
}

}  // namespace orv::buttons::win
