#pragma once
// The owner-drawn hover button control kwButtons_H: its properties, stored
// settings, input handling, option groups and hover tracking. KwButton is the
// control; everything platform-side goes through ButtonHost, all drawing
// through ButtonRenderer (button_host.h).
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "buttons/button_host.h"
#include "buttons/kw_enums.h"
#include "buttons/property_bag.h"

namespace orv::buttons {

inline constexpr char kControlName[] = "kwButtons_H";

// Mode
inline constexpr std::int32_t ModeCommandButton = 0;
inline constexpr std::int32_t ModeCheckBox = 1;
inline constexpr std::int32_t ModeOptionButton = 2;
// PictureSize
inline constexpr std::int32_t Picture16 = 0;
inline constexpr std::int32_t Picture24 = 1;
inline constexpr std::int32_t Picture32 = 2;
inline constexpr std::int32_t PictureStretch = 3;
inline constexpr std::int32_t PictureFit = 4;
// FontStyle bits
inline constexpr std::int32_t FontBold = 2;
inline constexpr std::int32_t FontItalic = 4;
inline constexpr std::int32_t FontUnderline = 8;
// HoverColorLocks
inline constexpr std::int32_t LockBoth = 0;
inline constexpr std::int32_t LockForeColor = 1;
inline constexpr std::int32_t LockBackColor = 2;
inline constexpr std::int32_t LockNone = 3;
// OptionToggle actions
inline constexpr int GroupLeave = -1;
inline constexpr int GroupClearOthers = 0;
inline constexpr int GroupJoin = 1;
inline constexpr int GroupAnySelected = 2;

inline constexpr int HoverTimerId = 237;
inline constexpr int HoverTimerIntervalMs = 50;
inline constexpr std::int16_t PointerCustom = 99;

inline constexpr OleColor kSysButtonFace = 0x8000000F;
inline constexpr OleColor kSysButtonText = 0x80000012;

// Window property names.
inline constexpr char kPropOptCount[] = "kw_OptCount";
inline constexpr char kPropObjPrefix[] = "kw_Obj";
inline constexpr char kPropClassId[] = "kw_ClassID";
inline constexpr char kPropTimerId[] = "kw_TimerID";

// Information texts shown at design time.
inline constexpr char kMsgValueOnCommand[] = "This property is not applicable for command button modes.";
inline constexpr char kMsgCaptionAlignRefused[] =
    "When button images are aligned top/bottom center, \r\nbutton captions can only be center aligned";
inline constexpr char kMsgFocusRectDesign[] =
    "The focus rectangle may appear on default buttons ONLY while in design mode, \r\n"
    "but will not appear when the form is running.";
inline constexpr char kTitleMouseIcon[] = "Select .ico Or .cur Files Only";

// The access key a caption marks: "&&" is a literal ampersand, the character
// after the last single "&" is the key ("" when that "&" ends the text);
// nullopt when the caption has no single "&".
std::optional<std::string> AccessKeyOf(const std::string& caption);

// The caption's text without its marks: "&" prefixes go ("&&" stays one
// "&"), and at each "||" line break `lineBreak` extends the text so far
// (a new line in the window text, one blank in the name a screen reader says).
std::string CaptionWithoutMarks(const std::string& caption, const std::function<void(std::string&)>& lineBreak);

class KwButton {
 public:
  explicit KwButton(ButtonHost& host, KwButtonEvents* events = nullptr, ButtonRenderer* renderer = nullptr);
  // Runs Terminate if the host has not.
  ~KwButton();
  KwButton(const KwButton&) = delete;
  KwButton& operator=(const KwButton&) = delete;

  void setEvents(KwButtonEvents* events) { events_ = events; }
  void setRenderer(ButtonRenderer* renderer) { renderer_ = renderer; }

  // Properties.
  std::int32_t ButtonStyle() const { return buttonStyle_; }
  void setButtonStyle(std::int32_t Style);
  std::int32_t Mode() const { return mode_; }
  void setMode(std::int32_t nMode);
  bool Value() const { return value_; }
  void setValue(bool bValue);
  const std::string& Caption() const { return caption_; }
  void setCaption(const std::string& sCaption);
  std::int32_t CaptionAlign() const { return captionAlign_; }
  void setCaptionAlign(std::int32_t nAlign);
  std::int32_t CaptionStyle() const { return captionStyle_; }
  void setCaptionStyle(std::int32_t nStyle);
  std::int32_t ButtonShape() const { return buttonShape_; }
  void setButtonShape(std::int32_t nShape);
  const orv::buttons::Picture& Picture() const { return picture_; }
  void setPicture(const orv::buttons::Picture& xPic);
  std::int32_t PictureAlign() const { return pictureAlign_; }
  void setPictureAlign(std::int32_t ImgAlign);
  bool Enabled() const { return host_.enabled(); }
  void setEnabled(bool bEnabled);
  bool ShowFocusRect() const { return showFocusRect_; }
  void setShowFocusRect(bool bShow);
  std::int32_t PictureSize();  // a size never used becomes 16 pixels here
  void setPictureSize(std::int32_t nSize);
  std::int16_t MousePointer() const { return host_.mousePointer(); }
  void setMousePointer(std::int32_t nPointer);
  orv::buttons::Picture MouseIcon() const { return host_.mouseIcon(); }
  void setMouseIcon(const orv::buttons::Picture& nIcon);
  FontDesc Font() const { return host_.font(); }
  void setFont(const FontDesc& nFont);
  std::int32_t FontStyle() const;
  void setFontStyle(std::int32_t nStyle);
  OleColor ForeColor() const { return host_.foreColor(); }
  void setForeColor(OleColor nColor);
  OleColor BackColor() const { return backColor_; }
  void setBackColor(OleColor nColor);
  OleColor GradientColor() const { return gradientColor_; }
  void setGradientColor(OleColor nColor);
  std::int32_t GradientMode() const { return gradientMode_; }
  void setGradientMode(std::int32_t nOpt);
  bool ResetDefaultColors() const { return false; }
  void setResetDefaultColors(bool nDefault);
  std::int32_t HoverColorLocks() const { return hoverColorLocks_; }
  void setHoverColorLocks(std::int32_t nLock);
  OleColor HoverForeColor() const { return hoverForeColor_; }
  void setHoverForeColor(OleColor nColor);
  OleColor HoverBackColor() const { return hoverBackColor_; }
  void setHoverBackColor(OleColor nColor);
  std::intptr_t hDC() const { return host_.deviceContext(); }
  WindowRef hwnd() const { return host_.ownWindow(); }

  void Refresh() { RedrawButton(); }
  void DelayDrawing(bool bDelay);
  // bDelayDrawing without the redraw DelayDrawing(False) makes: the region
  // code clears it this way after widening a slanted button.
  void setDelayDrawingFlag(bool bDelay) { bDelayDrawing_ = bDelay; }

  // Host events.
  void InitProperties();
  void ReadProperties(const PropertyBag& bag);
  void WriteProperties(PropertyBag& bag) const;
  void MouseDown(std::int16_t Button, std::int16_t Shift, float X, float Y);
  // True when the release ends a press this button saw begin and still
  // holds: only such a release, over the button, may click.
  bool MouseUp(std::int16_t Button, std::int16_t Shift, float X, float Y);
  // The window system took the pointer away mid-press (another window
  // captured it, a modal box opened): the press is over and no later
  // release completes it.
  void CaptureLost();
  // What an automation tool's "press" does: the events and the click of a
  // left click in the middle of the button. False when disabled.
  bool DefaultAction();
  void MouseMove(std::int16_t Button, std::int16_t Shift, float X, float Y);
  void Click();
  void DblClick();
  void KeyDown(std::int16_t KeyCode, std::int16_t Shift);
  void KeyUp(std::int16_t KeyCode, std::int16_t Shift);
  void KeyPress(std::int16_t KeyAscii);
  void AccessKeyPress(std::int16_t KeyAscii);
  void GotFocus();
  void AmbientChanged(const std::string& name);
  void Paint();
  void Resize();
  void Terminate();
  void OLECompleteDrag(std::int32_t& Effect);
  void OLEDragDrop(void* Data, std::int32_t& Effect, std::int16_t& Button, std::int16_t& Shift, float& X, float& Y);
  void OLEDragOver(void* Data, std::int32_t& Effect, std::int16_t& Button, std::int16_t& Shift, float& X, float& Y,
                   std::int16_t& State);
  void OLEGiveFeedback(std::int32_t& Effect, bool& DefaultCursors);
  void OLESetData(void* Data, std::int16_t& DataFormat);
  void OLEStartDrag(void* Data, std::int32_t& AllowedEffects);

  // Hover timer tick (modKwTimer).
  void TrackMouseLeave(int timerId);
  // The option group of the container; returns anySelected.
  bool OptionToggle(int action);
  void RedrawButton();

  // State the renderer reads.
  int nStateFlags() const { return nStateFlags_; }
  bool bMouseHeld() const { return bMouseHeld_; }
  bool bHoverTimer() const { return bHoverTimer_; }
  std::int16_t nLastButton() const { return nLastButton_; }
  bool bDelayDrawing() const { return bDelayDrawing_; }
  OleColor ContainerBackColor() const { return containerBackColor_; }
  std::int16_t PictureSizePixels() const { return pictureSizePx_; }  // the stored field, 0 until first used
  int pictureWidth() const { return pictureWidth_; }
  int pictureHeight() const { return pictureHeight_; }
  // Filled by the renderer's refresh of "Picture".
  void setPictureExtent(int width, int height) {
    pictureWidth_ = width;
    pictureHeight_ = height;
  }
  bool terminated() const { return terminated_; }
  ButtonHost& host() const { return host_; }

 private:
  bool designTime() const { return !host_.ambientUserMode(); }
  bool hoverBackLocked() const { return hoverColorLocks_ == LockBoth || hoverColorLocks_ == LockBackColor; }
  bool hoverForeLocked() const { return hoverColorLocks_ == LockBoth || hoverColorLocks_ == LockForeColor; }
  void changed(const char* key) { host_.propertyChanged(key); }
  void refresh(const char* name) { if (renderer_) renderer_->RefreshSetting(name); }
  void layout() { if (renderer_) renderer_->LayoutCaption(); }
  void region() { if (renderer_) renderer_->BuildShapeRegion(); }
  void handleClick();
  void mouseDownState(std::int16_t Button, std::int16_t Shift, float X, float Y);
  WindowRef container() const;
  void raiseMouse(void (KwButtonEvents::*ev)(std::int16_t&, std::int16_t&, float&, float&), std::int16_t Button,
                  std::int16_t Shift, float X, float Y);
  void raiseKey(void (KwButtonEvents::*ev)(std::int16_t&, std::int16_t&), std::int16_t KeyCode, std::int16_t Shift);
  void raiseMouseOnButton(bool on);

  ButtonHost& host_;
  KwButtonEvents* events_;
  ButtonRenderer* renderer_;

  std::string caption_;
  std::int32_t captionAlign_ = 0;
  std::int32_t captionStyle_ = 0;
  std::int32_t buttonStyle_ = 0;
  std::int32_t buttonShape_ = 0;
  std::int32_t mode_ = 0;
  std::int32_t pictureAlign_ = 0;
  std::int32_t gradientMode_ = 0;
  std::int32_t hoverColorLocks_ = 0;
  bool value_ = false;
  bool showFocusRect_ = false;
  std::int16_t pictureSizePx_ = 0;
  orv::buttons::Picture picture_;
  int pictureWidth_ = 0;
  int pictureHeight_ = 0;
  OleColor backColor_ = 0;
  OleColor gradientColor_ = 0;
  OleColor hoverForeColor_ = 0;
  OleColor hoverBackColor_ = 0;
  OleColor containerBackColor_ = 0;
  bool bDelayDrawing_ = false;

  int nStateFlags_ = 0;
  bool bMouseHeld_ = false;
  bool bHoverTimer_ = false;
  std::int16_t nLastButton_ = 0;
  // Mouse buttons pressed on this button, as bits. A double click sets none:
  // the release that follows it is no click.
  std::int16_t pressesHeld_ = 0;
  bool terminated_ = false;
};

}  // namespace orv::buttons
