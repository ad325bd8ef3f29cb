#include "buttons/kw_button.h"

#include <cstdlib>

namespace orv::buttons {

namespace {

constexpr std::int16_t kKeyShift = 16;
constexpr std::int16_t kKeySpace = 32;
constexpr std::int16_t kKeyEnter = 13;
constexpr std::int16_t kKeyEscape = 27;

bool IsArrow(std::int16_t key) { return key >= 37 && key <= 40; }

// lParam of the forwarded arrow key: repeat count 1 and the key's scan code.
std::intptr_t ArrowLParam(std::int16_t key) {
  switch (key) {
    case 37: return 0x4B0001;
    case 38: return 0x480001;
    case 39: return 0x4D0001;
    default: return 0x500001;
  }
}

size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead >> 5) == 0x6) return 2;
  if ((lead >> 4) == 0xE) return 3;
  if ((lead >> 3) == 0x1E) return 4;
  return 1;
}

}  // namespace

std::optional<std::string> AccessKeyOf(const std::string& caption) {
  std::optional<std::string> key;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (i + 1 < caption.size() && caption[i + 1] == '&') {
      ++i;  // literal ampersand
      continue;
    }
    if (i + 1 == caption.size()) {
      key = std::string();
    } else {
      size_t n = Utf8Length(static_cast<unsigned char>(caption[i + 1]));
      key = caption.substr(i + 1, n);
    }
  }
  return key;
}

std::string CaptionWithoutMarks(const std::string& caption, const std::function<void(std::string&)>& lineBreak) {
  std::string out;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') out += caption[++i];
      continue;
    }
    if (caption[i] == '|' && i + 1 < caption.size() && caption[i + 1] == '|') {
      ++i;
      lineBreak(out);
      continue;
    }
    out += caption[i];
  }
  return out;
}

KwButton::KwButton(ButtonHost& host, KwButtonEvents* events, ButtonRenderer* renderer)
    : host_(host), events_(events), renderer_(renderer) {}

KwButton::~KwButton() {
  if (!terminated_) Terminate();
}

// ---- Properties -------------------------------------------------------------

void KwButton::setButtonStyle(std::int32_t Style) {
  if (Style != 2) return;  // the only style this control draws
  buttonStyle_ = 2;
  region();
  layout();
  refresh("BackColor");
  RedrawButton();
  changed("BackStyle");
}

void KwButton::setMode(std::int32_t nMode) {
  if (nMode < 0 || nMode > 2) return;
  const std::int32_t old = mode_;
  if (old == ModeOptionButton && nMode < ModeOptionButton) OptionToggle(GroupLeave);
  if (nMode == ModeOptionButton && old < ModeOptionButton) OptionToggle(GroupJoin);
  if (nMode == ModeCommandButton && old > ModeCommandButton) setValue(false);
  mode_ = nMode;
  RedrawButton();
  changed("Mode");
}

void KwButton::setValue(bool bValue) {
  if (bValue && mode_ == ModeCommandButton) {
    if (designTime()) host_.showInformation(kMsgValueOnCommand, "");
    return;
  }
  value_ = bValue;
  if (bValue && mode_ == ModeOptionButton) OptionToggle(GroupClearOthers);
  RedrawButton();
  changed("Value");
}

void KwButton::setCaption(const std::string& sCaption) {
  if (auto key = AccessKeyOf(sCaption)) host_.setAccessKeys(*key);
  caption_ = sCaption;
  host_.captionChanged(caption_);
  layout();
  RedrawButton();
  changed("Caption");
}

void KwButton::setCaptionAlign(std::int32_t nAlign) {
  if (nAlign < 0 || nAlign > 2) return;
  if (nAlign == CaptionCenter || pictureAlign_ < PictureTopCenter || pictureWidth_ + pictureHeight_ < 1) {
    captionAlign_ = nAlign;
    layout();
    RedrawButton();
    changed("CapAlign");
  } else if (designTime()) {
    host_.showInformation(kMsgCaptionAlignRefused, "");
  }
}

void KwButton::setCaptionStyle(std::int32_t nStyle) {
  if (nStyle < 0 || nStyle > 2) return;
  captionStyle_ = nStyle;
  changed("CapStyle");
  if (!caption_.empty()) {
    layout();
    RedrawButton();
  }
}

void KwButton::setButtonShape(std::int32_t nShape) {
  if (nShape < 0 || nShape > 6) return;
  buttonShape_ = nShape;
  region();
  DelayDrawing(true);
  if (nShape == ShapeParallelogram && captionAlign_ != CaptionCenter) setCaptionAlign(CaptionCenter);
  else layout();
  DelayDrawing(false);
  changed("Shape");
}

void KwButton::setPicture(const orv::buttons::Picture& xPic) {
  picture_ = xPic;
  if (pictureSizePx_ == 0) pictureSizePx_ = 16;
  refresh("Picture");
  layout();
  RedrawButton();
  changed("Image");
}

void KwButton::setPictureAlign(std::int32_t ImgAlign) {
  if (ImgAlign < 0 || ImgAlign > 5) return;
  pictureAlign_ = ImgAlign;
  if (ImgAlign == PictureTopCenter || ImgAlign == PictureBottomCenter) setCaptionAlign(CaptionCenter);
  layout();
  RedrawButton();
  changed("ImgAlign");
}

void KwButton::setEnabled(bool bEnabled) {
  if (bEnabled == host_.enabled()) return;
  host_.setEnabled(bEnabled);
  RedrawButton();
  changed("Enabled");
}

void KwButton::setShowFocusRect(bool bShow) {
  showFocusRect_ = bShow;
  if (nStateFlags_ & StateDefaultLook) {
    if (designTime()) {
      host_.showInformation(kMsgFocusRectDesign, "");
    } else {
      nStateFlags_ &= ~StateDefaultLook;
      RedrawButton();
    }
  } else {
    RedrawButton();
  }
  changed("Focus");
}

std::int32_t KwButton::PictureSize() {
  if (pictureSizePx_ == 0) pictureSizePx_ = 16;
  // The inverse of the setter's (n + 2) x 8: 16 reads 0, 48 reads 4.
  return pictureSizePx_ / 8 - 2;
}

void KwButton::setPictureSize(std::int32_t nSize) {
  if (nSize < 0 || nSize > 4) return;
  pictureSizePx_ = static_cast<std::int16_t>((nSize + 2) * 8);
  layout();
  RedrawButton();
  changed("ImgSize");
}

void KwButton::setMousePointer(std::int32_t nPointer) {
  host_.setMousePointer(static_cast<std::int16_t>(nPointer));
  changed("mPointer");
}

void KwButton::setMouseIcon(const orv::buttons::Picture& nIcon) {
  std::string error = host_.setMouseIcon(nIcon);
  if (!error.empty()) {
    if (designTime()) host_.showInformation(error, kTitleMouseIcon);
    return;
  }
  if (nIcon.empty()) return;
  setMousePointer(PointerCustom);
  changed("mIcon");
}

void KwButton::setFont(const FontDesc& nFont) {
  host_.setFont(nFont);
  refresh("Font");
  layout();
  RedrawButton();
  changed("Font");
}

std::int32_t KwButton::FontStyle() const {
  FontDesc f = host_.font();
  return (f.bold ? FontBold : 0) + (f.italic ? FontItalic : 0) + (f.underline ? FontUnderline : 0);
}

void KwButton::setFontStyle(std::int32_t nStyle) {
  FontDesc f = host_.font();
  f.bold = (nStyle & FontBold) != 0;
  f.italic = (nStyle & FontItalic) != 0;
  f.underline = (nStyle & FontUnderline) != 0;
  host_.setFont(f);
  refresh("Font");
  layout();
  changed("Font");
  RedrawButton();
}

void KwButton::setForeColor(OleColor nColor) {
  if (nColor == host_.foreColor()) return;
  host_.setForeColor(nColor);
  if (hoverForeLocked()) setHoverForeColor(host_.foreColor());
  bDelayDrawing_ = false;
  RedrawButton();
  changed("cFore");
}

void KwButton::setBackColor(OleColor nColor) {
  backColor_ = host_.translateColor(nColor);
  if (hoverBackLocked()) setHoverBackColor(gradientMode_ != GradientNone ? gradientColor_ : nColor);
  refresh("BackColor");
  RedrawButton();
  changed("cBack");
}

void KwButton::setGradientColor(OleColor nColor) {
  if (hoverBackLocked() && gradientMode_ > 0) hoverBackColor_ = nColor;
  gradientColor_ = nColor;
  refresh("BackColor");
  if (gradientMode_ != GradientNone) RedrawButton();
  changed("cGradient");
}

void KwButton::setGradientMode(std::int32_t nOpt) {
  if (nOpt < 0 || nOpt > 4) return;
  gradientMode_ = nOpt;
  if (hoverBackLocked()) {
    hoverBackColor_ = nOpt == GradientNone ? backColor_ : gradientColor_;
    refresh("BackColor");
  }
  RedrawButton();
  changed("Gradient");
}

void KwButton::setResetDefaultColors(bool nDefault) {
  if (!nDefault || !designTime()) return;
  DelayDrawing(true);
  backColor_ = kSysButtonFace;
  setForeColor(kSysButtonText);
  setGradientColor(kSysButtonFace);
  setGradientMode(GradientNone);
  setHoverColorLocks(LockBoth);
  refresh("BackColor");
  DelayDrawing(false);
  changed("cGradient");
  changed("cBack");
}

void KwButton::setHoverColorLocks(std::int32_t nLock) {
  hoverColorLocks_ = nLock;
  if (hoverBackLocked()) {
    hoverBackColor_ = gradientMode_ != GradientNone ? gradientColor_ : backColor_;
    changed("cBHover");
  }
  if (hoverForeLocked()) {
    hoverForeColor_ = host_.foreColor();
    changed("cFHover");
  }
  refresh("BackColor");
  changed("LockHover");
}

void KwButton::setHoverForeColor(OleColor nColor) {
  if (nColor == hoverForeColor_) return;
  hoverForeColor_ = nColor;
  if (nColor != host_.foreColor()) {
    if (hoverColorLocks_ == LockBoth) hoverColorLocks_ = LockBackColor;
    else if (hoverColorLocks_ == LockForeColor) hoverColorLocks_ = LockNone;
  }
  changed("cFHover");
}

void KwButton::setHoverBackColor(OleColor nColor) {
  if (nColor == hoverBackColor_) return;
  hoverBackColor_ = nColor;
  if (nColor != backColor_) {
    if (hoverColorLocks_ == LockBoth) hoverColorLocks_ = LockForeColor;
    else if (hoverColorLocks_ == LockBackColor) hoverColorLocks_ = LockNone;
  }
  refresh("BackColor");
  changed("cBHover");
}

void KwButton::DelayDrawing(bool bDelay) {
  bDelayDrawing_ = bDelay;
  if (!bDelay) Refresh();
}

void KwButton::RedrawButton() {
  if (bDelayDrawing_ || terminated_) return;
  if (renderer_) renderer_->paintFace();
}

// ---- Creation and stored settings ---------------------------------------------

void KwButton::InitProperties() {
  host_.setTag(std::to_string(host_.containerWindow()));
  caption_ = host_.ambientDisplayName();
  host_.captionChanged(caption_);
  showFocusRect_ = true;
  captionAlign_ = CaptionCenter;
  hoverForeColor_ = kSysButtonText;
  hoverBackColor_ = kSysButtonFace;
  buttonStyle_ = 2;
  changed("BackStyle");
  containerBackColor_ = host_.translateColor(host_.ambientBackColor());
  backColor_ = kSysButtonFace;
  refresh("Font");
  refresh("BackColor");
  changed("Caption");
  changed("CapAlign");
  changed("Focus");
  changed("cFHover");
  changed("cBHover");
}

void KwButton::WriteProperties(PropertyBag& bag) const {
  WriteString(bag, "Caption", caption_, std::string());
  WriteLong(bag, "CapAlign", captionAlign_, 2);
  WriteLong(bag, "BackStyle", buttonStyle_, 2);
  WriteLong(bag, "Shape", buttonShape_, 0);
  WriteFont(bag, "Font", host_.font());
  WriteColor(bag, "cFore", host_.foreColor(), kSysButtonText);
  WriteColor(bag, "cFHover", hoverForeColor_, kSysButtonText);
  WriteColor(bag, "cBHover", hoverBackColor_, backColor_);
  WriteBool(bag, "Focus", showFocusRect_, true);
  WriteLong(bag, "LockHover", hoverColorLocks_, 0);
  WriteColor(bag, "cGradient", gradientColor_, kSysButtonFace);
  WriteLong(bag, "Gradient", gradientMode_, 0);
  WriteLong(bag, "CapStyle", captionStyle_, 0);
  WriteLong(bag, "Mode", mode_, std::nullopt);
  WriteBool(bag, "Value", value_, std::nullopt);
  WriteLong(bag, "ImgAlign", pictureAlign_, 0);
  WritePicture(bag, "Image", picture_);
  WriteInteger(bag, "ImgSize", pictureSizePx_, 16);
  WriteBool(bag, "Enabled", host_.enabled(), true);
  WriteColor(bag, "cBack", backColor_, std::nullopt);
  WriteInteger(bag, "mPointer", host_.mousePointer(), 0);
  WritePicture(bag, "mIcon", host_.mouseIcon());
}

void KwButton::ReadProperties(const PropertyBag& bag) {
  host_.setTag(std::to_string(host_.containerWindow()));
  containerBackColor_ = host_.translateColor(host_.ambientBackColor());
  DelayDrawing(true);

  const std::string caption = ReadString(bag, "Caption", std::string());
  captionAlign_ = ReadLong(bag, "CapAlign", 2);
  buttonStyle_ = ReadLong(bag, "BackStyle", 2);
  buttonShape_ = ReadLong(bag, "Shape", 0);
  gradientMode_ = ReadLong(bag, "Gradient", 0);
  gradientColor_ = ReadColor(bag, "cGradient", kSysButtonFace);
  host_.setForeColor(ReadColor(bag, "cFore", kSysButtonText));
  host_.setFont(ReadFont(bag, "Font", host_.font()));
  showFocusRect_ = ReadBool(bag, "Focus", true);
  mode_ = ReadLong(bag, "Mode", 0);
  value_ = ReadBool(bag, "Value", false);
  picture_ = ReadPicture(bag, "Image", {});
  pictureSizePx_ = ReadInteger(bag, "ImgSize", 16);
  pictureAlign_ = ReadLong(bag, "ImgAlign", 0);
  hoverForeColor_ = ReadColor(bag, "cFHover", kSysButtonText);
  host_.setEnabled(ReadBool(bag, "Enabled", true));
  backColor_ = ReadColor(bag, "cBack", host_.parentBackColor());
  hoverBackColor_ = ReadColor(bag, "cBHover", backColor_);
  hoverColorLocks_ = ReadLong(bag, "LockHover", 0);
  captionStyle_ = ReadLong(bag, "CapStyle", 0);
  setMouseIcon(ReadPicture(bag, "mIcon", {}));
  setMousePointer(ReadInteger(bag, "mPointer", 0));

  refresh("Picture");
  refresh("Font");
  refresh("BackColor");
  setCaption(caption);

  if (buttonStyle_ >= 0 && buttonStyle_ <= 7 && buttonStyle_ != 2) {
    buttonStyle_ = 2;
    changed("BackStyle");
    setResetDefaultColors(true);
  }
  if (mode_ == ModeOptionButton) OptionToggle(GroupJoin);
  bDelayDrawing_ = false;
  Resize();
}

// ---- Input ------------------------------------------------------------------------

void KwButton::raiseMouse(void (KwButtonEvents::*ev)(std::int16_t&, std::int16_t&, float&, float&),
                          std::int16_t Button, std::int16_t Shift, float X, float Y) {
  if (events_) (events_->*ev)(Button, Shift, X, Y);
}

void KwButton::raiseKey(void (KwButtonEvents::*ev)(std::int16_t&, std::int16_t&), std::int16_t KeyCode,
                        std::int16_t Shift) {
  if (events_) (events_->*ev)(KeyCode, Shift);
}

void KwButton::raiseMouseOnButton(bool on) {
  if (events_) events_->MouseOnButton(on);
}

void KwButton::mouseDownState(std::int16_t Button, std::int16_t Shift, float X, float Y) {
  nLastButton_ = Button;
  if (Button == 1) {
    nStateFlags_ |= StatePressed;
    bMouseHeld_ = true;
    bDelayDrawing_ = false;
    RedrawButton();
    host_.setCapture();
  }
  raiseMouse(&KwButtonEvents::MouseDown, Button, Shift, X, Y);
}

void KwButton::MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y) {
  pressesHeld_ |= Button;
  mouseDownState(Button, Shift, X, Y);
}

bool KwButton::MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y) {
  const bool held = (pressesHeld_ & Button) != 0;
  pressesHeld_ &= static_cast<std::int16_t>(~Button);
  bMouseHeld_ = false;
  if (Button == 1) {
    host_.releaseCapture();
    nStateFlags_ &= ~StatePressed;
    bDelayDrawing_ = false;
    if (mode_ == ModeCommandButton) RedrawButton();
  }
  raiseMouse(&KwButtonEvents::MouseUp, Button, Shift, X, Y);
  nLastButton_ = Button;
  return held;
}

void KwButton::CaptureLost() {
  const bool pressedByMouse = (pressesHeld_ & 1) != 0;
  pressesHeld_ = 0;
  if (!pressedByMouse) return;
  bMouseHeld_ = false;
  nStateFlags_ &= ~StatePressed;
  bDelayDrawing_ = false;
  RedrawButton();
}

bool KwButton::DefaultAction() {
  if (terminated_ || !host_.enabled()) return false;
  const float x = static_cast<float>(host_.scaleWidth() / 2), y = static_cast<float>(host_.scaleHeight() / 2);
  nLastButton_ = 1;
  raiseMouse(&KwButtonEvents::MouseDown, 1, 0, x, y);
  raiseMouse(&KwButtonEvents::MouseUp, 1, 0, x, y);
  nLastButton_ = 1;
  handleClick();
  return true;
}

void KwButton::MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y) {
  const bool inside = !(X < 0 || Y < 0 || X > host_.scaleWidth() || Y > host_.scaleHeight());
  if (!bHoverTimer_ && inside) {
    nStateFlags_ |= StateMouseOver;
    raiseMouseOnButton(true);
    const WindowRef own = host_.ownWindow();
    host_.setProp(own, kPropClassId, reinterpret_cast<std::intptr_t>(this));
    host_.setProp(own, kPropTimerId, HoverTimerId);
    host_.startTimer(HoverTimerId, HoverTimerIntervalMs);
    bHoverTimer_ = true;
    bDelayDrawing_ = false;
    if (Button == 1) bMouseHeld_ = true;
    RedrawButton();
  }
  raiseMouse(&KwButtonEvents::MouseMove, Button, Shift, X, Y);
}

void KwButton::TrackMouseLeave(int timerId) {
  if (host_.cursorOverOwnWindow()) return;
  host_.killTimer(timerId);
  nStateFlags_ &= ~StateMouseOver;
  bHoverTimer_ = false;
  bDelayDrawing_ = false;
  raiseMouseOnButton(false);
  bMouseHeld_ = false;
  RedrawButton();
}

void KwButton::Click() { handleClick(); }

void KwButton::handleClick() {
  if (nLastButton_ != 1) return;
  if (mode_ == ModeCheckBox || mode_ == ModeOptionButton) {
    if (mode_ == ModeOptionButton && value_) return;
    setValue(!value_);
  }
  if (events_) events_->Click();
}

void KwButton::DblClick() {
  const PointF p = host_.cursorClientPos();
  std::int16_t last = nLastButton_;
  if (events_) events_->DoubleClick(last);
  if (nLastButton_ == 1) {
    mouseDownState(1, 0, p.x, p.y);
    nLastButton_ = -1;
  } else {
    raiseMouse(&KwButtonEvents::MouseDown, 1, 0, p.x, p.y);
  }
}

void KwButton::KeyDown(std::int16_t KeyCode, std::int16_t Shift) {
  if (IsArrow(KeyCode)) {
    host_.postKeyDown(container(), KeyCode, ArrowLParam(KeyCode));
    KeyCode = 0;
  } else if (KeyCode == kKeySpace && !(nStateFlags_ & StatePressed)) {
    nStateFlags_ |= StateMouseOver | StatePressed;
    bMouseHeld_ = true;
    RedrawButton();
    if (!bHoverTimer_) nStateFlags_ &= ~StateMouseOver;
  }
  if (KeyCode != 0) raiseKey(&KwButtonEvents::KeyDown, KeyCode, Shift);
}

void KwButton::KeyUp(std::int16_t KeyCode, std::int16_t Shift) {
  bMouseHeld_ = false;
  if (KeyCode == kKeySpace && (nStateFlags_ & StatePressed)) {
    nLastButton_ = 1;
    nStateFlags_ &= ~StatePressed;
    if (mode_ == ModeCommandButton) {
      RedrawButton();
    } else {
      raiseKey(&KwButtonEvents::KeyUp, kKeySpace, Shift);
      KeyCode = 0;
    }
    handleClick();
  } else if (IsArrow(KeyCode)) {
    KeyCode = 0;
    if (mode_ == ModeOptionButton && !value_) {
      nLastButton_ = 1;
      handleClick();
    }
  } else if (KeyCode == kKeyShift) {
    KeyCode = 0;
  }
  if (KeyCode != 0) raiseKey(&KwButtonEvents::KeyUp, KeyCode, Shift);
}

void KwButton::KeyPress(std::int16_t KeyAscii) {
  if (events_) events_->KeyPress(KeyAscii);
}

void KwButton::AccessKeyPress(std::int16_t KeyAscii) {
  const bool enterOrEscape = KeyAscii == kKeyEnter || KeyAscii == kKeyEscape;
  if (enterOrEscape && (mode_ == ModeCheckBox || mode_ == ModeOptionButton)) return;
  if (!enterOrEscape && !(nStateFlags_ & StateDefaultLook)) RedrawButton();
  nLastButton_ = 1;
  handleClick();
}

void KwButton::GotFocus() {
  if (mode_ != ModeOptionButton || value_) return;
  if (!OptionToggle(GroupAnySelected)) {
    nLastButton_ = 1;
    handleClick();
  }
}

void KwButton::AmbientChanged(const std::string& name) {
  const std::string n = LowerAscii(name);
  if (n == "displayasdefault") {
    if (showFocusRect_ && host_.ambientDisplayAsDefault()) nStateFlags_ |= StateDefaultLook;
    else nStateFlags_ &= ~StateDefaultLook;
    RedrawButton();
  } else if (n == "backcolor") {
    containerBackColor_ = host_.translateColor(host_.ambientBackColor());
    if (buttonShape_ > ShapeParallelogram) RedrawButton();
  }
}

void KwButton::Paint() {
  bDelayDrawing_ = false;
  RedrawButton();
}

void KwButton::Resize() {
  if (bDelayDrawing_ || terminated_) return;
  if (renderer_) {
    renderer_->BuildShapeRegion();
    renderer_->ResizeSurface();
    renderer_->LayoutCaption();
  }
  RedrawButton();
}

void KwButton::Terminate() {
  if (terminated_) return;
  if (bHoverTimer_) {
    host_.killTimer(HoverTimerId);
    bHoverTimer_ = false;
  }
  // The timer is gone, so nothing resolves this address from the window any more.
  host_.removeProp(host_.ownWindow(), kPropClassId);
  host_.removeProp(host_.ownWindow(), kPropTimerId);
  // A destroyed button must never be reachable through its container's group.
  if (mode_ == ModeOptionButton) OptionToggle(GroupLeave);
  if (renderer_) renderer_->ReleaseSurface();
  terminated_ = true;
}

void KwButton::OLECompleteDrag(std::int32_t& Effect) {
  if (events_) events_->OLECompleteDrag(Effect);
}
void KwButton::OLEDragDrop(void* Data, std::int32_t& Effect, std::int16_t& Button, std::int16_t& Shift, float& X,
                           float& Y) {
  if (events_) events_->OLEDragDrop(Data, Effect, Button, Shift, X, Y);
}
void KwButton::OLEDragOver(void* Data, std::int32_t& Effect, std::int16_t& Button, std::int16_t& Shift, float& X,
                           float& Y, std::int16_t& State) {
  if (events_) events_->OLEDragOver(Data, Effect, Button, Shift, X, Y, State);
}
void KwButton::OLEGiveFeedback(std::int32_t& Effect, bool& DefaultCursors) {
  if (events_) events_->OLEGiveFeedback(Effect, DefaultCursors);
}
void KwButton::OLESetData(void* Data, std::int16_t& DataFormat) {
  if (events_) events_->OLESetData(Data, DataFormat);
}
void KwButton::OLEStartDrag(void* Data, std::int32_t& AllowedEffects) {
  if (events_) events_->OLEStartDrag(Data, AllowedEffects);
}

WindowRef KwButton::container() const {
  const std::string tag = host_.tag();
  return static_cast<WindowRef>(std::strtoull(tag.c_str(), nullptr, 10));
}

}  // namespace orv::buttons
