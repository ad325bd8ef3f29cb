#include "scheduler/win/form1_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <string>

#include "platform/win/accessible_name.h"
#include "platform/win/decor.h"
#include "platform/win/text.h"

namespace orv::win {

namespace {
constexpr WPARAM kFirstSystemMenuItem = 0x0100;
// Posted once the window is first painted: the tips are wanted only when the
// pointer rests on a box, so they are not made before the window shows.
constexpr UINT kCreateTips = WM_APP + 40;
}  // namespace

namespace {

constexpr int kClientW = 625, kClientH = 602;
constexpr COLORREF kRed = RGB(255, 0, 0);

// Frames of the layout, in window coordinates at 96 dpi.
constexpr POINT kSlotsGroup{8, 88};
constexpr POINT kStatusGroup{8, 440};
constexpr POINT kDtmfGroup{432, 440};
constexpr POINT kProgressGroup{8, 488};

COLORREF Resolve(OleColor c) {
  if (c & 0x80000000u) return GetSysColor(static_cast<int>(c & 0xFF));
  return static_cast<COLORREF>(c);
}

}  // namespace

Form1Window::Form1Window() = default;
Form1Window::~Form1Window() {
  // The icons go before the window does: it must not keep pointing at them.
  if (hwnd()) {
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, 0);
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, 0);
  }
}

HFONT Form1Window::Font(const wchar_t* face, double points, bool bold) {
  return layout_.Font(FontSpec{face, points, bold});
}

HWND Form1Window::Add(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id,
                      HFONT font, DWORD exStyle) {
  return layout_.Create(hwnd(), cls, text, style | WS_CHILD | WS_VISIBLE, exStyle, id, x, y, w, h, font);
}

bool Form1Window::Create(HICON appIcon) {
  appIcon_ = appIcon;
  layout_.Rescale(Dpi::ForSystem());
  // No WS_CLIPCHILDREN: group boxes do not paint their inside, the window
  // under them must.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  if (!CreateTopLevel(L"OrvalenForm1", L"Orvalen", style, WS_EX_CONTROLPARENT, layout_.px(kClientW),
                      layout_.px(kClientH), nullptr, appIcon))
    return false;
  // The monitor the window opened on may have a dpi of its own.
  layout_.Rescale(Dpi::ForWindow(hwnd()));
  SetClientSize(hwnd(), layout_.px(kClientW), layout_.px(kClientH));
  CreateControls();
  CreateButtons();
  // Files dragged from Explorer onto a slot row.
  DragAcceptFiles(hwnd(), TRUE);

  banner_ = std::make_unique<BannerControl>();
  banner_->Create(hwnd(), 0, 0, 0, 0, nullptr, 0, 0, 0);
  layout_.Place(banner_->hwnd(), 0, 0, kClientW, 65);
  HFONT title = Font(L"Times New Roman", 18, true);
  HFONT small = Font(L"MS Sans Serif", 8.25, true);
  auto bannerLabel = [&](const wchar_t* text, DWORD align, int x, int y, int w, int h, HFONT f) {
    HWND l = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | align, 0, 0, 0, 0, banner_->hwnd(), nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    layout_.Place(l, x, y, w, h, f);
  };
  bannerLabel(L"Envia mensagens em arquivos de \u00e1udio", SS_CENTER, 272, 0, 225, 57, title);  // Label3
  bannerLabel(L"Orvalen", SS_LEFT, 184, 48, 65, 17, small);                                       // Label1

  animLeft_ = std::make_unique<AnimationControl>();
  animLeft_->Create(hwnd(), 0, 0, 0, 0, 0, RGB(255, 255, 255));
  layout_.Place(animLeft_->hwnd(), 0, 8, 41, 49);
  animRight_ = std::make_unique<AnimationControl>();
  animRight_->Create(hwnd(), 0, 0, 0, 0, 1, RGB(255, 255, 255));
  layout_.Place(animRight_->hwnd(), 552, 0, 57, 65);
  // The animations sit over the banner.
  SetWindowPos(animLeft_->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(animRight_->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(banner_->hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  UpdateIcons();

  caption_.attach(hwnd());
  controls_.Caption = &caption_;
  return true;
}

void Form1Window::UpdateIcons() {
  if (!appIcon_) return;
  // From the icon's resource when it has one, so each size is drawn sharp
  // rather than stretched from another.
  auto sized = [this](int size) {
    return UniqueIcon(static_cast<HICON>(CopyImage(appIcon_, IMAGE_ICON, size, size, LR_COPYFROMRESOURCE)));
  };
  const Dpi& d = layout_.dpi();
  UniqueIcon banner = sized(d.px(48)), small = sized(d.metric(SM_CXSMICON)), big = sized(d.metric(SM_CXICON));
  if (banner_) banner_->SetPicture(banner.get(), d.px(100), d.px(8), d.px(48));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  // The window has let go of the old ones now.
  bannerIcon_ = std::move(banner);
  smallIcon_ = std::move(small);
  bigIcon_ = std::move(big);
}

void Form1Window::CreateControls() {
  HFONT normal = Font(L"MS Sans Serif", 8.25, false);
  HFONT bold = Font(L"MS Sans Serif", 8.25, true);
  HFONT number = Font(L"MS Sans Serif", 12, true);
  HFONT clock = Font(L"MS Sans Serif", 13.5, false);

  // Group frames first: they are not tab stops and the controls over them
  // are their siblings, so every notification reaches this window.
  const HWND groups[] = {
      Add(L"BUTTON", L"Mensagens de \u00e1udio", BS_GROUPBOX, 8, 88, 609, 345, -1, bold),
      Add(L"BUTTON", L"", BS_GROUPBOX, 8, 440, 409, 41, -1, normal),
      Add(L"BUTTON", L"DTMF", BS_GROUPBOX, 432, 440, 185, 41, -1, bold),
      Add(L"BUTTON", L"Progress", BS_GROUPBOX, 8, 488, 409, 65, -1, bold),
      Add(L"BUTTON", L"Volume de \u00e1udio", BS_GROUPBOX, 432, 488, 185, 65, -1, bold)};

  label6_ = Add(L"STATIC", L"Modalidade de TX -->", SS_LEFT, 296, 72, 161, 17, -1, bold);
  check20_.attach(Add(L"BUTTON", L"RF  -", BS_AUTOCHECKBOX | WS_TABSTOP, 464, 72, 57, 17, kIdCheck20, bold));
  check21_.attach(Add(L"BUTTON", L"RF + IP", BS_AUTOCHECKBOX | WS_TABSTOP, 528, 72, 89, 17, kIdCheck21, bold));

  AccessibleNames names;
  for (int i = 0; i < kSlotCount; ++i) {
    const int y = kSlotsGroup.y + 40 + 32 * i;
    const int x = kSlotsGroup.x;
    wchar_t num[2] = {static_cast<wchar_t>(L'1' + i), 0};
    Add(L"STATIC", num, SS_LEFT, x + 8, y, 9 + 4, 17, -1, number);
    check_[i].attach(Add(L"BUTTON", L"", BS_AUTOCHECKBOX | WS_TABSTOP, x + 32, y, 17, 17, kIdCheckBase + i, normal));
    mens_[i].attach(Add(L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, x + 56, y, 449, 27, kIdMensBase + i, normal,
                        WS_EX_CLIENTEDGE));
    cont_[i].attach(Add(L"EDIT", L"0", ES_AUTOHSCROLL | ES_RIGHT | WS_TABSTOP, x + 512, y, 41, 25, kIdContBase + i,
                        normal, WS_EX_CLIENTEDGE));
    temp_[i].attach(Add(L"STATIC", L"0", SS_RIGHT | WS_BORDER, x + 560, y, 41, 25, kIdTempBase + i, normal));
    controls_.Check[i] = &check_[i];
    controls_.mens[i] = &mens_[i];
    controls_.cont[i] = &cont_[i];
    controls_.temp[i] = &temp_[i];
    // Screen readers say what each box is; the boxes' texts stay their contents.
    const std::wstring n = std::to_wstring(i + 1);
    names.Set(mens_[i].hwnd(), L"Mensagem " + n);
    names.Set(cont_[i].hwnd(), L"Intervalo " + n);
    names.Set(temp_[i].hwnd(), L"Contagem " + n);
  }

  ptt_.attach(Add(L"STATIC", L"PTT OFF", SS_CENTER, kStatusGroup.x + 8, kStatusGroup.y + 16, 89, 17, kIdPtt, bold));
  showTime_.attach(Add(L"STATIC", L"00:00:00", SS_CENTER | SS_NOPREFIX, kStatusGroup.x + 304, kStatusGroup.y + 8,
                       89, 25, kIdShowTime, clock),
                   [this](double pt) { return Font(L"MS Sans Serif", pt, false); }, 13.5);

  dtmf_.attach(Add(L"EDIT", L"AA", ES_AUTOHSCROLL | WS_TABSTOP, kDtmfGroup.x + 16, kDtmfGroup.y + 16, 41, 19, kIdDtmf,
                   normal, WS_EX_CLIENTEDGE));
  Add(L"STATIC", L"Envia Identifica\u00e7\u00e3o", SS_LEFT, kDtmfGroup.x + 64, kDtmfGroup.y + 16, 113, 17, -1, normal);

  const POINT p = kProgressGroup;
  h1_.attach(Add(L"SCROLLBAR", L"", SBS_HORZ | WS_TABSTOP, p.x + 8, p.y + 32, 257, 17, kIdH1, normal));
  h1_.setRange(0, 0);
  Add(L"STATIC", L"0%", SS_LEFT, p.x + 24, p.y + 16, 25, 13, -1, normal);
  Add(L"STATIC", L"50%", SS_LEFT, p.x + 128, p.y + 16, 25, 13, -1, normal);
  Add(L"STATIC", L"100%", SS_LEFT, p.x + 224, p.y + 16, 30, 13, -1, normal);
  Add(L"STATIC", L"Time Left :", SS_LEFTNOWORDWRAP, p.x + 288, p.y + 8, 62, 13, -1, normal);
  Add(L"STATIC", L"Time Used :", SS_LEFTNOWORDWRAP, p.x + 288, p.y + 24, 62, 13, -1, normal);
  Add(L"STATIC", L"Length :", SS_LEFTNOWORDWRAP, p.x + 288, p.y + 40, 62, 13, -1, normal);
  // Read-only borderless boxes: the system draws them on the button face.
  text1_.attach(Add(L"EDIT", L"00:00:00", ES_READONLY, p.x + 352, p.y + 8, 49, 11 + 2, kIdText1, normal));
  text2_.attach(Add(L"EDIT", L"00:00:00", ES_READONLY, p.x + 352, p.y + 24, 49, 11 + 2, kIdText2, normal));
  text3_.attach(Add(L"EDIT", L"00:00:00", ES_READONLY, p.x + 352, p.y + 40, 49, 11 + 2, kIdText3, normal));

  v4_.attach(Add(L"SCROLLBAR", L"", SBS_HORZ | WS_TABSTOP, 456, 504, 137, 17, kIdV4, normal));
  v4_.setRange(-3000, 0);
  // The box's place reaches under VolSet4; its text area ends where VolSet4
  // begins, and the whole caption is its tooltip.
  useSetVol4_.attach(Add(L"BUTTON", L"Usar Volume manual", BS_AUTOCHECKBOX | WS_TABSTOP | WS_CLIPSIBLINGS, 464, 528,
                         576 - 464, 13, kIdUseSetVol4, normal));
  // The user does not type the manual volume: it mirrors the bar.
  // Borderless: "-1404" must fit its 33 pixels whole.
  volSet4_.attach(Add(L"EDIT", L"-1404", ES_READONLY | ES_RIGHT, 576, 528, 33, 19, kIdVolSet4, normal));
  SetWindowPos(volSet4_.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  NarrowMargins();
  std::array<HWND, kSlotCount> mens{};
  for (int i = 0; i < kSlotCount; ++i) mens[i] = mens_[i].hwnd();
  rows_.Attach(mens);
  // New children go under the older ones; the frames belong under what they hold.
  for (HWND g : groups) SetWindowPos(g, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  controls_.Check20 = &check20_;
  controls_.Check21 = &check21_;
  controls_.PTT = &ptt_;
  controls_.ShowTime = &showTime_;
  controls_.DTMFInfo3 = &dtmf_;
  controls_.Text1 = &text1_;
  controls_.Text2 = &text2_;
  controls_.Text3 = &text3_;
  controls_.H1 = &h1_;
  controls_.V4 = &v4_;
  controls_.VolSet4 = &volSet4_;
  controls_.UseSetVol4 = &useSetVol4_;
}

void Form1Window::CreateFileTips() {
  // The text is asked for each time a tip shows: the file may have changed.
  fileTips_.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0,
                                  0, 0, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!fileTips_) return;
  SendMessageW(fileTips_.get(), TTM_SETMAXTIPWIDTH, 0, layout_.px(400));
  SendMessageW(fileTips_.get(), TTM_SETDELAYTIME, TTDT_AUTOPOP, 20000);
  for (auto& box : mens_) {
    TTTOOLINFOW ti{};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(box.hwnd());
    ti.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(fileTips_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

void Form1Window::OnFileTip(NMTTDISPINFOW* info) {
  info->szText[0] = 0;
  info->lpszText = info->szText;
  if (!events_) return;
  for (int i = 0; i < kSlotCount; ++i) {
    if (reinterpret_cast<HWND>(info->hdr.idFrom) != mens_[i].hwnd()) continue;
    try {
      fileTipText_ = Widen(events_->slotFileTip(i));
    } catch (...) {
      fileTipText_.clear();  // no tip rather than an exception through the window procedure
    }
    info->lpszText = fileTipText_.data();
  }
}

void Form1Window::AddVolumeTip() {
  volumeTip_ = UniqueWindow(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0,
                                            0, 0, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!volumeTip_.get()) return;
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(useSetVol4_.hwnd());
  ti.lpszText = const_cast<wchar_t*>(L"Usar Volume manual");
  SendMessageW(volumeTip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

int Form1Window::SlotAt(POINT client) const {
  const int left = layout_.px(kSlotsGroup.x), right = layout_.px(kSlotsGroup.x + 609);
  if (client.x < left || client.x >= right) return -1;
  for (int i = 0; i < kSlotCount; ++i) {
    // Each row owns the 32 pixels from just above its controls.
    const int top = layout_.px(kSlotsGroup.y + 40 + 32 * i - 3);
    if (client.y >= top && client.y < top + layout_.px(32)) return i;
  }
  return -1;
}

void Form1Window::NarrowMargins() {
  // These boxes are as narrow as their text: no inner margins. A new font
  // brings the margins back, so this runs after every font change.
  for (HWND box : {volSet4_.hwnd(), text1_.hwnd(), text2_.hwnd(), text3_.hwnd()})
    SendMessageW(box, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(0, 0));
}

void Form1Window::CreateButtons() {
  struct Spec {
    int id;
    const char* instance;
    const char* caption;
    int x, w;
    FormButton button;
  };
  const Spec specs[] = {{kIdGravar, "kwButtons_H4", "Gravar", 8, 89, FormButton::Gravar},
                        {kIdLer, "kwButtons_H5", "Ler", 104, 89, FormButton::Ler},
                        {kIdAjuda, "kwButtons_H3", "Ajuda", 200, 105, FormButton::Ajuda},
                        {kIdSobre, "kwButtons_H2", "Sobre", 312, 105, FormButton::Sobre},
                        {kIdSair, "kwButtons_H1", "Sair", 432, 185, FormButton::Sair}};
  HFONT font = Font(L"Times New Roman", 9.75, true);
  for (const Spec& s : specs) {
    ButtonPlacement p;
    p.parent = hwnd();
    p.id = s.id;
    p.rect = RECT{layout_.px(s.x), layout_.px(560), layout_.px(s.x + s.w), layout_.px(560 + 33)};
    p.instance = std::string("Form1.") + s.instance;
    p.caption = s.caption;
    FormButton b = s.button;
    auto onClick = [this, b] { OnButton(b); };
    if (buttonFactory_) {
      // The control draws its own caption, in its own font.
      layout_.Place(buttonFactory_(p, onClick), s.x, 560, s.w, 33);
    } else {
      layout_.Place(CreatePlainButton(p, font), s.x, 560, s.w, 33, font);
      clicks_.Add(s.id, onClick);
    }
  }
}

void Form1Window::Show() {
  const bool first = !shown_;
  if (first) CenterOnScreen(hwnd());
  shown_ = true;
  ShowWindow(hwnd(), SW_SHOW);
  UpdateWindow(hwnd());
  if (first) PostMessageW(hwnd(), kCreateTips, 0, 0);
}

void Form1Window::OnButton(FormButton b) {
  if (events_) events_->onButtonClick(b);
}

void Form1Window::OnScroll(HWND bar, int code) {
  WinScrollBar* which = bar == h1_.hwnd() ? &h1_ : bar == v4_.hwnd() ? &v4_ : nullptr;
  if (!which) return;
  SCROLLINFO si{sizeof si, SIF_ALL};
  GetScrollInfo(bar, SB_CTL, &si);
  const bool volume = which == &v4_;
  const int small = volume ? 50 : 1, large = volume ? 300 : 5;
  int pos = si.nPos;
  switch (code) {
    case SB_LINELEFT: pos -= small; break;
    case SB_LINERIGHT: pos += small; break;
    case SB_PAGELEFT: pos -= large; break;
    case SB_PAGERIGHT: pos += large; break;
    case SB_LEFT: pos = si.nMin; break;
    case SB_RIGHT: pos = si.nMax; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    default: return;  // SB_ENDSCROLL
  }
  if (pos < si.nMin) pos = si.nMin;
  if (pos > si.nMax) pos = si.nMax;
  const bool changed = pos != si.nPos;
  which->setValue(pos);
  if (!events_) return;
  if (volume) {
    // The volume follows the end of a drag, not every step of it.
    if (changed && code != SB_THUMBTRACK) events_->onVolumeChanged();
    if (code == SB_THUMBPOSITION && !changed) events_->onVolumeChanged();
  } else if (code == SB_THUMBTRACK) {
    // Only dragging the thumb seeks; arrows and trough just move it.
    events_->onPositionScroll(pos);
  }
}

LRESULT Form1Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kCreateTips:
      if (!fileTips_) {
        CreateFileTips();
        AddVolumeTip();
      }
      return 0;
    case WM_SYSCOMMAND: {
      // Our items sit below 0xF000, in steps of 16 as the system asks.
      const WPARAM cmd = wp & 0xFFF0;
      if (cmd >= kFirstSystemMenuItem && cmd < kFirstSystemMenuItem + 16 * systemMenuItems_.size()) {
        if (events_) systemMenuItems_[(cmd - kFirstSystemMenuItem) / 16]();
        return 0;
      }
      break;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      const int code = HIWORD(wp);
      if (!events_) return 0;
      if (code == BN_CLICKED) {
        if (id >= kIdCheckBase && id < kIdCheckBase + kSlotCount) events_->onSlotCheckClicked(id - kIdCheckBase);
        else if (id == kIdCheck20) events_->onModeCheckClicked(20);
        else if (id == kIdCheck21) events_->onModeCheckClicked(21);
        else clicks_.Route(wp);
      }
      return 0;
    }
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr && fileTips_ && hdr->hwndFrom == fileTips_.get() && hdr->code == TTN_GETDISPINFOW)
        OnFileTip(reinterpret_cast<NMTTDISPINFOW*>(lp));
      return 0;
    }
    case WM_HSCROLL:
      if (lp) OnScroll(reinterpret_cast<HWND>(lp), LOWORD(wp));
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      HWND c = reinterpret_cast<HWND>(lp);
      SetBkMode(dc, TRANSPARENT);
      if (c == ptt_.hwnd() && ptt_.colorref() != CLR_INVALID) SetTextColor(dc, Resolve(ptt_.colorref()));
      else if (c == label6_) SetTextColor(dc, kRed);
      else SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CONTEXTMENU: {
      // The number and countdown labels are transparent to the mouse: a
      // right click on them reaches this window.
      POINT screen{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      POINT client = screen;
      HWND from = reinterpret_cast<HWND>(wp);
      if (screen.x == -1 && screen.y == -1) {
        RECT r{};
        GetWindowRect(from, &r);
        client = POINT{r.left, r.top};
      }
      ScreenToClient(hwnd(), &client);
      if (const int slot = SlotAt(client); slot >= 0) {
        rows_.Show(slot, nullptr, from == hwnd() ? temp_[slot].hwnd() : from, screen);
        return 0;
      }
      break;
    }
    case WM_DROPFILES: {
      HDROP drop = reinterpret_cast<HDROP>(wp);
      POINT at{};
      DragQueryPoint(drop, &at);
      rows_.OnDropFiles(drop, SlotAt(at));
      return 0;
    }
    case WM_DPICHANGED:
      ApplyDpiChange(hwnd(), layout_, wp, lp, kClientW, kClientH);
      NarrowMargins();
      showTime_.Refit();
      UpdateIcons();
      return 0;
    case WM_CLOSE:
      // Every close reason asks first. The core either cancels or ends the
      // program itself, so the window is never destroyed from here.
      if (events_) events_->onCloseRequest();
      return 0;
    case WM_QUERYENDSESSION:
      return events_ && events_->onCloseRequest() ? FALSE : TRUE;
    case WM_ENDSESSION:
      // Sent while the question may still be open, or after it was refused
      // by nobody: the session ends all the same.
      if (wp && events_) events_->onSessionEnd();
      return 0;
    case WM_DESTROY:
      if (events_) events_->onUnload();
      return 0;
  }
  return BaseWindow::HandleMessage(msg, wp, lp);
}

size_t Form1Window::AddSystemMenuItem(const wchar_t* text, std::function<void()> onChoose) {
  HMENU menu = GetSystemMenu(hwnd(), FALSE);
  if (!menu) return systemMenuItems_.size();
  if (systemMenuItems_.empty()) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kFirstSystemMenuItem + 16 * systemMenuItems_.size(), text);
  systemMenuItems_.push_back(std::move(onChoose));
  systemMenuTexts_.emplace_back(text);
  return systemMenuItems_.size() - 1;
}

void Form1Window::ShowSystemMenuItem(size_t index, bool shown) {
  HMENU menu = GetSystemMenu(hwnd(), FALSE);
  if (!menu || index >= systemMenuItems_.size()) return;
  const UINT cmd = static_cast<UINT>(kFirstSystemMenuItem + 16 * index);
  const bool there = GetMenuState(menu, cmd, MF_BYCOMMAND) != static_cast<UINT>(-1);
  if (shown && !there) AppendMenuW(menu, MF_STRING, cmd, systemMenuTexts_[index].c_str());
  if (!shown && there) DeleteMenu(menu, cmd, MF_BYCOMMAND);
}

}  // namespace orv::win
