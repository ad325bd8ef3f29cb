// The Help and About windows as the user meets them: opened modally from an
// owner window, driven through the window system (BM_CLICK, the close box)
// from a thread timer that runs inside their own modal loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "infowindows/info_texts.h"
#include "infowindows/win/info_windows.h"
#include "platform/win/text.h"

using namespace orv;
using namespace orv::win;

namespace {

// Runs its steps one per tick of a thread timer, so they run inside the
// modal loop on the test's own thread. A step returns false to be tried again
// on the next tick. Past the deadline the modal window is closed, so a broken
// window fails the test instead of hanging it.
class ModalScript {
 public:
  using Step = std::function<bool()>;
  ModalScript() = default;
  ~ModalScript() {
    if (timer_) KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  void Start(std::vector<Step> steps, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    steps_ = std::move(steps);
    deadline_ = GetTickCount64() + limit.count();
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 10, &Tick);
  }
  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  bool done() const { return next_ == steps_.size(); }
  bool timedOut() const { return timedOut_; }
  // The window the script is about; set by the test's first step.
  HWND window = nullptr;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalScript* s = current_;
    if (!s) return;
    if (GetTickCount64() > s->deadline_) {
      if (!s->timedOut_ && s->window && IsWindow(s->window)) PostMessageW(s->window, WM_CLOSE, 0, 0);
      s->timedOut_ = true;
      return;
    }
    if (s->next_ < s->steps_.size() && s->steps_[s->next_]()) ++s->next_;
  }

  static inline ModalScript* current_ = nullptr;
  std::vector<Step> steps_;
  size_t next_ = 0;
  ULONGLONG deadline_ = 0;
  UINT_PTR timer_ = 0;
  bool timedOut_ = false;
};

// The owner: a plain top-level window whose own timer counts its ticks.
class OwnerWindow {
 public:
  OwnerWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"OrvalenTestOwner";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, L"OrvalenTestOwner", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ShowWindow(hwnd_, SW_SHOW);
    SetTimer(hwnd_, 1, 20, nullptr);
  }
  ~OwnerWindow() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }
  int ticks() const { return ticks_; }

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_TIMER && wp == 1) {
      if (auto* self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrW(h, GWLP_USERDATA))) ++self->ticks_;
      return 0;
    }
    return DefWindowProcW(h, m, wp, lp);
  }
  HWND hwnd_ = nullptr;
  int ticks_ = 0;
};

struct RecordingShell : Shell {
  bool execute(const ShellRequest& r) override {
    calls.push_back(r);
    return false;  // as with no browser registered
  }
  std::vector<ShellRequest> calls;
};

// A top-level window of this thread with that class, or null. Other test
// programs on the same desktop may show windows of the same class.
HWND FindOwn(const wchar_t* cls) {
  struct Search { const wchar_t* cls; HWND found; } s{cls, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        wchar_t name[64];
        GetClassNameW(h, name, 64);
        if (lstrcmpW(name, s->cls) != 0) return TRUE;
        s->found = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::string TextOf(HWND h) {
  int n = GetWindowTextLengthW(h);
  std::wstring buf(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(h, buf.data(), n + 1);
  return Narrow(buf.data(), n);
}

std::wstring ClassOf(HWND h) {
  wchar_t name[64];
  GetClassNameW(h, name, 64);
  return name;
}

SIZE ClientSize(HWND h) {
  RECT r;
  GetClientRect(h, &r);
  return {r.right, r.bottom};
}

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

HWND ChildWithText(HWND parent, const std::string& text) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (TextOf(c) == text) return c;
  return nullptr;
}

std::vector<std::string> StaticTexts(HWND parent) {
  std::vector<std::string> out;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (ClassOf(c) == L"Static" && !TextOf(c).empty()) out.push_back(TextOf(c));
  return out;
}

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
void PressCloseBox(HWND w) { PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0); }

// What a step saw while the window was open; checked once it has closed.
struct Seen {
  HWND window = nullptr;
  HWND ownerOfWindow = nullptr;
  bool ownerEnabled = true;
  bool visible = false;
  std::string title, text;
  SIZE client{};
  RECT windowRect{};
  std::vector<std::string> labels;
};

void ExpectCentred(const RECT& wr) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
  const RECT& a = mi.rcWork;
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  EXPECT_EQ(wr.left, a.left + (a.right - a.left - w) / 2);
  EXPECT_EQ(wr.top, a.top + (a.bottom - a.top - h) / 2);
}

void ExpectRect(const RECT& r, const Dpi& d, int x, int y, int w, int h) {
  EXPECT_EQ(r.left, d.px(x));
  EXPECT_EQ(r.top, d.px(y));
  EXPECT_EQ(r.right, d.px(x + w));
  EXPECT_EQ(r.bottom, d.px(y + h));
}

class InfoWindowsTest : public ::testing::Test {
 protected:
  // Steps shared by both windows: find it, look at it, check that the owner
  // is held while its timers go on.
  ModalScript::Step FindAndLook(ModalScript& s, const wchar_t* cls, Seen& seen) {
    return [this, &s, cls, &seen] {
      HWND w = FindOwn(cls);
      if (!w || !IsWindowVisible(w)) return false;
      s.window = seen.window = w;
      seen.visible = true;
      seen.ownerOfWindow = GetWindow(w, GW_OWNER);
      seen.ownerEnabled = IsWindowEnabled(owner.hwnd()) != FALSE;
      seen.title = TextOf(w);
      seen.client = ClientSize(w);
      GetWindowRect(w, &seen.windowRect);
      seen.labels = StaticTexts(w);
      ticksAtOpen = owner.ticks();
      return true;
    };
  }
  ModalScript::Step OwnerKeepsTicking() {
    return [this] { return owner.ticks() >= ticksAtOpen + 3; };
  }

  OwnerWindow owner;
  Dpi dpi = Dpi::ForWindow(owner.hwnd());
  int ticksAtOpen = 0;
};

TEST_F(InfoWindowsTest, HelpOpensModallyWithTheHelpTextAndRetornarClosesIt) {
  Seen seen;
  HWND retornar = nullptr;
  RECT textRect{}, buttonRect{};
  ModalScript s;
  s.Start({FindAndLook(s, L"OrvalenAjuda", seen), OwnerKeepsTicking(),
                   [&] {
                     HWND text = GetDlgItem(seen.window, HelpWindow::kIdText);
                     seen.text = TextOf(text);
                     textRect = ChildRect(text);
                     retornar = GetDlgItem(seen.window, HelpWindow::kIdRetornar);
                     buttonRect = ChildRect(retornar);
                     Click(retornar);
                     return true;
                   }});
  HelpWindow::ShowModal(owner.hwnd(), nullptr, ButtonFactory{});

  ASSERT_FALSE(s.timedOut()) << "the Help window did not appear or did not close on Retornar";
  EXPECT_TRUE(s.done());
  EXPECT_EQ(seen.ownerOfWindow, owner.hwnd());
  EXPECT_FALSE(seen.ownerEnabled) << "the owner must take no input while Help is open";
  EXPECT_GE(owner.ticks(), ticksAtOpen + 3) << "the owner's timers go on behind the modal window";
  EXPECT_EQ(seen.title, "Ajuda");
  EXPECT_EQ(seen.text, info::HelpText());
  EXPECT_EQ(seen.client.cx, dpi.px(319));
  EXPECT_EQ(seen.client.cy, dpi.px(274));
  ExpectCentred(seen.windowRect);
  ExpectRect(textRect, dpi, 16, 64, 281, 129);
  ExpectRect(buttonRect, dpi, 200, 200, 97, 65);
  EXPECT_NE(std::find(seen.labels.begin(), seen.labels.end(), "Orvalen"), seen.labels.end());
  EXPECT_FALSE(IsWindow(seen.window)) << "closing unloads the window";
  EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
  EXPECT_EQ(FindOwn(L"OrvalenAjuda"), nullptr);
}

TEST_F(InfoWindowsTest, HelpClosesByTheCloseBoxAndOpensAfreshNextTime) {
  Seen first, second;
  {
    ModalScript s;
    s.Start({FindAndLook(s, L"OrvalenAjuda", first), [&] {
                       PressCloseBox(first.window);
                       return true;
                     }});
    HelpWindow::ShowModal(owner.hwnd(), nullptr, ButtonFactory{});
    ASSERT_FALSE(s.timedOut()) << "the close box did not close Help";
  }
  EXPECT_FALSE(IsWindow(first.window));
  EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
  {
    ModalScript s;
    s.Start({FindAndLook(s, L"OrvalenAjuda", second), [&] {
                       second.text = TextOf(GetDlgItem(second.window, HelpWindow::kIdText));
                       Click(GetDlgItem(second.window, HelpWindow::kIdRetornar));
                       return true;
                     }});
    HelpWindow::ShowModal(owner.hwnd(), nullptr, ButtonFactory{});
    ASSERT_FALSE(s.timedOut());
  }
  EXPECT_TRUE(second.visible);
  EXPECT_FALSE(second.ownerEnabled);
  EXPECT_EQ(second.text, info::HelpText());
  EXPECT_FALSE(IsWindow(second.window));
  EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
}

TEST_F(InfoWindowsTest, AboutShowsTitleVersionCreditsAndNoteAndClosesByRetornar) {
  Seen seen;
  RECT versionRect{}, noteRect{}, visitRect{}, returnRect{};
  std::string visitCaption, returnCaption;
  RecordingShell shell;
  ModalScript s;
  s.Start({FindAndLook(s, L"OrvalenSobre", seen), OwnerKeepsTicking(), [&] {
                     versionRect = ChildRect(ChildWithText(seen.window, info::kVersionText));
                     noteRect = ChildRect(ChildWithText(seen.window, info::ContributionNote()));
                     HWND visit = GetDlgItem(seen.window, AboutWindow::kIdVisit);
                     HWND ret = GetDlgItem(seen.window, AboutWindow::kIdRetornar);
                     visitRect = ChildRect(visit);
                     returnRect = ChildRect(ret);
                     visitCaption = TextOf(visit);
                     returnCaption = TextOf(ret);
                     Click(ret);
                     return true;
                   }});
  AboutWindow::ShowModal(owner.hwnd(), nullptr, ButtonFactory{}, shell);

  ASSERT_FALSE(s.timedOut()) << "the About window did not appear or did not close on Retornar";
  EXPECT_EQ(seen.ownerOfWindow, owner.hwnd());
  EXPECT_FALSE(seen.ownerEnabled);
  EXPECT_GE(owner.ticks(), ticksAtOpen + 3);
  EXPECT_EQ(seen.title, "Sobre");
  EXPECT_EQ(seen.client.cx, dpi.px(315));
  EXPECT_EQ(seen.client.cy, dpi.px(387));
  ExpectCentred(seen.windowRect);
  auto has = [&](const std::string& t) {
    return std::find(seen.labels.begin(), seen.labels.end(), t) != seen.labels.end();
  };
  EXPECT_TRUE(has("Orvalen"));
  EXPECT_TRUE(has("Vers\xC3\xA3o 3  Revis\xC3\xA3o 0  -  4/2009"));
  for (const char* credit : info::kCredits) EXPECT_TRUE(has(credit)) << credit;
  EXPECT_TRUE(has(info::ContributionNote()));
  ExpectRect(versionRect, dpi, 96, 56, 201, 25);
  ExpectRect(noteRect, dpi, 8, 216, 297, 65);
  ExpectRect(visitRect, dpi, 16, 296, 169, 81);
  ExpectRect(returnRect, dpi, 208, 296, 97, 81);
  EXPECT_EQ(visitCaption, "Visitar servidor KORVO");
  EXPECT_EQ(returnCaption, "Retornar");
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_FALSE(IsWindow(seen.window));
  EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
}

TEST_F(InfoWindowsTest, WebLinkAsksTheShellOnceAndAboutStaysOpenUntilTheCloseBox) {
  Seen seen;
  RecordingShell shell;
  size_t callsRightAfterClick = 0;
  bool openAfterClick = false, ownerHeldAfterClick = false;
  ModalScript s;
  s.Start({FindAndLook(s, L"OrvalenSobre", seen),
                   [&] {
                     Click(GetDlgItem(seen.window, AboutWindow::kIdVisit));
                     callsRightAfterClick = shell.calls.size();
                     return true;
                   },
                   [&] {
                     // A few ticks later the window is still there.
                     openAfterClick = FindOwn(L"OrvalenSobre") == seen.window && IsWindowVisible(seen.window);
                     ownerHeldAfterClick = !IsWindowEnabled(owner.hwnd());
                     PressCloseBox(seen.window);
                     return true;
                   }});
  AboutWindow::ShowModal(owner.hwnd(), nullptr, ButtonFactory{}, shell);

  ASSERT_FALSE(s.timedOut());
  EXPECT_EQ(callsRightAfterClick, 1u);
  ASSERT_EQ(shell.calls.size(), 1u);
  const ShellRequest& r = shell.calls[0];
  EXPECT_EQ(r.verb, "open");
  EXPECT_EQ(r.file, info::kMakerWebPage);
  EXPECT_EQ(r.parameters, "");
  EXPECT_EQ(r.directory, "");
  EXPECT_EQ(r.showCommand, SW_SHOWNORMAL);
  EXPECT_EQ(r.showCommand, 1);
  EXPECT_EQ(r.parentWindow, seen.window);
  EXPECT_TRUE(openAfterClick) << "a failed shell call leaves the About window open";
  EXPECT_TRUE(ownerHeldAfterClick);
  EXPECT_FALSE(IsWindow(seen.window));
  EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
}

// The program's own buttons come from a factory: each window asks for its
// buttons by instance name, in scaled pixels, and closes on the click the
// factory reports.
TEST_F(InfoWindowsTest, ButtonsComeFromTheFactoryAndTheirClicksCloseTheWindows) {
  struct Made {
    ButtonPlacement p;
    std::function<void()> onClick;
  };
  std::vector<Made> made;
  ButtonFactory factory = [&made](const ButtonPlacement& p, std::function<void()> onClick) {
    made.push_back({p, std::move(onClick)});
    return CreatePlainButton(p, nullptr);
  };
  auto clickMade = [&made](const char* instance) {
    for (auto& m : made)
      if (m.p.instance == instance) {
        auto click = m.onClick;
        click();
        return true;
      }
    return false;
  };
  {
    Seen seen;
    ModalScript s;
    s.Start({FindAndLook(s, L"OrvalenAjuda", seen), [&] { return clickMade("Ajuda.kwButtons_H1"); }});
    HelpWindow::ShowModal(owner.hwnd(), nullptr, factory);
    ASSERT_FALSE(s.timedOut());
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].p.caption, "Retornar");
    EXPECT_EQ(made[0].p.parent, seen.window);
    ExpectRect(made[0].p.rect, dpi, 200, 200, 97, 65);
  }
  made.clear();
  {
    Seen seen;
    RecordingShell shell;
    ModalScript s;
    s.Start({FindAndLook(s, L"OrvalenSobre", seen), [&] { return clickMade("sobre.kwButtons_H2"); },
                     [&] { return clickMade("sobre.kwButtons_H1"); }});
    AboutWindow::ShowModal(owner.hwnd(), nullptr, factory, shell);
    ASSERT_FALSE(s.timedOut());
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(shell.calls.size(), 1u);
    for (const auto& m : made) {
      SCOPED_TRACE(m.p.instance);
      EXPECT_EQ(m.p.parent, seen.window);
      if (m.p.instance == "sobre.kwButtons_H2") {
        EXPECT_EQ(m.p.caption, "Visitar servidor KORVO");
        ExpectRect(m.p.rect, dpi, 16, 296, 169, 81);
      } else {
        EXPECT_EQ(m.p.caption, "Retornar");
        ExpectRect(m.p.rect, dpi, 208, 296, 97, 81);
      }
    }
  }
}

// Dragged to a monitor of another dpi, the window keeps its design: client
// area, places and fonts scaled for the new dpi.
TEST_F(InfoWindowsTest, HelpFollowsADpiChange) {
  Seen seen;
  SIZE client{};
  RECT textRect{}, buttonRect{};
  LONG fontHeight = 0;
  const int to = dpi.value() == 144 ? 192 : 144;
  const Dpi d(to);
  ModalScript s;
  s.Start({FindAndLook(s, L"OrvalenAjuda", seen), [&] {
             RECT wr;
             GetWindowRect(seen.window, &wr);
             RECT suggested{wr.left, wr.top, wr.left + MulDiv(wr.right - wr.left, to, dpi.value()),
                            wr.top + MulDiv(wr.bottom - wr.top, to, dpi.value())};
             SendMessageW(seen.window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
             client = ClientSize(seen.window);
             HWND text = GetDlgItem(seen.window, HelpWindow::kIdText);
             textRect = ChildRect(text);
             buttonRect = ChildRect(GetDlgItem(seen.window, HelpWindow::kIdRetornar));
             LOGFONTW lf{};
             GetObjectW(reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)), sizeof lf, &lf);
             fontHeight = lf.lfHeight;
             Click(GetDlgItem(seen.window, HelpWindow::kIdRetornar));
             return true;
           }});
  HelpWindow::ShowModal(owner.hwnd(), nullptr, ButtonFactory{});
  ASSERT_FALSE(s.timedOut());
  EXPECT_EQ(client.cx, d.px(319));
  EXPECT_EQ(client.cy, d.px(274));
  ExpectRect(textRect, d, 16, 64, 281, 129);
  ExpectRect(buttonRect, d, 200, 200, 97, 65);
  EXPECT_EQ(fontHeight, d.fontHeight(9.75));
  if (to == 144) {
    EXPECT_EQ(client.cx, 479);
    EXPECT_EQ(client.cy, 411);
    EXPECT_EQ(fontHeight, -20);  // 9.75 pt at 144 dpi
  }
}

// The program may be told to end while a modal window is open: the window
// closes and the quit request reaches the main loop.
TEST_F(InfoWindowsTest, QuitWhileOpenEndsTheModalLoopAndIsPassedOn) {
  Seen seen;
  ModalScript s;
  s.Start({FindAndLook(s, L"OrvalenAjuda", seen), [] {
                     PostQuitMessage(7);
                     return true;
                   }});
  HelpWindow::ShowModal(owner.hwnd(), nullptr, ButtonFactory{});
  ASSERT_FALSE(s.timedOut());
  EXPECT_FALSE(IsWindow(seen.window));
  EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
  MSG m;
  bool quit = false;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
    if (m.message == WM_QUIT) quit = m.wParam == 7;
  EXPECT_TRUE(quit);
}

}  // namespace
