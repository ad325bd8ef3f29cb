// What screen readers and automation tools get from a button through the
// system's own calls: window text, the accessible object, announced changes.
#include <gtest/gtest.h>
#include <oleacc.h>
#include <windows.h>
#include <wrl/client.h>

#include <string>
#include <vector>

#include "buttons/tests/fake_button_host.h"
#include "buttons/win/kw_button_control.h"
#include "buttons/win/tests/test_window.h"

namespace orv::buttons::win {
namespace {

using Microsoft::WRL::ComPtr;
constexpr GUID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

VARIANT Self() {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = CHILDID_SELF;
  return v;
}

std::wstring Take(BSTR b) {
  std::wstring s = b ? std::wstring(b, ::SysStringLen(b)) : std::wstring();
  ::SysFreeString(b);
  return s;
}

struct Seen {
  DWORD event;
  HWND hwnd;
  bool operator==(const Seen&) const = default;
};
std::vector<Seen>* g_seen = nullptr;

void CALLBACK OnWinEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  if (g_seen && object == OBJID_CLIENT && child == CHILDID_SELF) g_seen->push_back({event, hwnd});
}

class AccessibleTest : public TestWindow {
 protected:
  AccessibleTest() : TestWindow({30, 2, true}) {}
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    ASSERT_NO_FATAL_FAILURE(openForm(L"kw accessible", 80));
  }
  void TearDown() override {
    closeForm();
    pump(30);
    ::CoUninitialize();
  }
  KwButtonControl* add(int id, int y, const std::string& settings, test::RecordingEvents* ev = nullptr) {
    return place(id, 20, y, 120, 36, settings, ev, [this] { ++clicks_; });
  }
  ComPtr<IAccessible> object(HWND w) {
    ComPtr<IAccessible> acc;
    EXPECT_EQ(::AccessibleObjectFromWindow(w, OBJID_CLIENT, kIidAccessible,
                                           reinterpret_cast<void**>(acc.GetAddressOf())),
              S_OK);
    return acc;
  }
  LONG role(IAccessible* a) {
    VARIANT v;
    EXPECT_EQ(a->get_accRole(Self(), &v), S_OK);
    return v.vt == VT_I4 ? v.lVal : -1;
  }
  LONG state(IAccessible* a) {
    VARIANT v;
    EXPECT_EQ(a->get_accState(Self(), &v), S_OK);
    return v.vt == VT_I4 ? v.lVal : -1;
  }
  std::wstring name(IAccessible* a) {
    BSTR b = nullptr;
    a->get_accName(Self(), &b);
    return Take(b);
  }
  int clicks_ = 0;
};

TEST_F(AccessibleTest, RoleNameStatesShortcutAndActionOfEachMode) {
  KwButtonControl* cmd = add(10, 10, "caption=&Gravar\nmode=0\n");
  KwButtonControl* check = add(11, 60, "caption=Ler\nmode=1\nvalue=-1\n");
  KwButtonControl* option = add(12, 110, "caption=Rock && Roll\nmode=2\n");
  wchar_t text[64] = {};
  ::GetWindowTextW(cmd->window(), text, 64);
  EXPECT_STREQ(text, L"&Gravar");
  EXPECT_EQ(::SendMessageW(check->window(), WM_GETTEXTLENGTH, 0, 0), 3);

  ComPtr<IAccessible> a = object(cmd->window()), b = object(check->window()), c = object(option->window());
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(role(a.Get()), ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(role(b.Get()), ROLE_SYSTEM_CHECKBUTTON);
  EXPECT_EQ(role(c.Get()), ROLE_SYSTEM_RADIOBUTTON);
  EXPECT_EQ(name(a.Get()), L"Gravar");
  EXPECT_EQ(name(c.Get()), L"Rock & Roll");
  BSTR s = nullptr;
  EXPECT_EQ(a->get_accKeyboardShortcut(Self(), &s), S_OK);
  EXPECT_EQ(Take(s), L"Alt+G");
  EXPECT_EQ(b->get_accKeyboardShortcut(Self(), &s), S_FALSE);
  EXPECT_EQ(a->get_accDefaultAction(Self(), &s), S_OK);
  EXPECT_EQ(Take(s), L"Pressionar");

  EXPECT_TRUE(state(b.Get()) & STATE_SYSTEM_CHECKED);
  EXPECT_FALSE(state(c.Get()) & STATE_SYSTEM_CHECKED);
  ::SetFocus(cmd->window());
  pump(30);
  EXPECT_TRUE(state(a.Get()) & STATE_SYSTEM_FOCUSED);
  EXPECT_FALSE(state(b.Get()) & STATE_SYSTEM_FOCUSED);
  RECT r;
  ::GetWindowRect(option->window(), &r);
  moveTo({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  EXPECT_TRUE(state(c.Get()) & STATE_SYSTEM_HOTTRACKED);
  moveTo({5, 5});
  pump(100);
  EXPECT_FALSE(state(c.Get()) & STATE_SYSTEM_HOTTRACKED);
  ::EnableWindow(check->window(), FALSE);
  EXPECT_EQ(state(b.Get()) & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_FOCUSABLE), STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(b->accDoDefaultAction(Self()), E_FAIL);

  // A caption set either way is the window text and the name.
  cmd->button().setCaption("Sair");
  ::GetWindowTextW(cmd->window(), text, 64);
  EXPECT_STREQ(text, L"Sair");
  ::SetWindowTextW(cmd->window(), L"&Ajuda");
  EXPECT_EQ(cmd->button().Caption(), "&Ajuda");
  EXPECT_EQ(name(a.Get()), L"Ajuda");

  // A window gone leaves tools holding an object that says so.
  ::DestroyWindow(option->window());
  EXPECT_EQ(c->get_accName(Self(), &s), RPC_E_DISCONNECTED);
}

TEST_F(AccessibleTest, DefaultActionClicksLikeTheMouse) {
  test::RecordingEvents ev;
  KwButtonControl* cmd = add(10, 10, "caption=Ajuda\nmode=0\n", &ev);
  KwButtonControl* check = add(11, 60, "caption=Ler\nmode=1\n");
  ComPtr<IAccessible> a = object(cmd->window()), b = object(check->window());
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->accDoDefaultAction(Self()), S_OK);
  EXPECT_EQ(clicks_, 0);  // from the message loop, not inside the tool's call
  pump(30);
  EXPECT_EQ(clicks_, 1);
  EXPECT_EQ(ev.log, (std::vector<std::string>{"MouseDown(1,0,60,18)", "MouseUp(1,0,60,18)", "Click"}));
  EXPECT_EQ(b->accDoDefaultAction(Self()), S_OK);
  pump(30);
  EXPECT_TRUE(check->button().Value());
  EXPECT_TRUE(state(b.Get()) & STATE_SYSTEM_CHECKED);
}

TEST_F(AccessibleTest, ChangesAreAnnounced) {
  KwButtonControl* check = add(10, 10, "caption=Ler\nmode=1\n");
  KwButtonControl* other = add(11, 60, "caption=Gravar\nmode=0\n");
  pump(30);
  std::vector<Seen> seen;
  g_seen = &seen;
  HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, OnWinEvent,
                                         ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  const HWND w = check->window();
  auto saw = [&](DWORD event) {
    pump(50);
    const bool found = std::find(seen.begin(), seen.end(), Seen{event, w}) != seen.end();
    seen.clear();
    return found;
  };
  ::SetFocus(w);
  EXPECT_TRUE(saw(EVENT_OBJECT_FOCUS));
  check->button().setValue(true);
  EXPECT_TRUE(saw(EVENT_OBJECT_STATECHANGE));
  check->button().setValue(false);
  EXPECT_TRUE(saw(EVENT_OBJECT_VALUECHANGE));
  ::SetFocus(other->window());
  pump(30);
  seen.clear();
  ::EnableWindow(w, FALSE);
  EXPECT_TRUE(saw(EVENT_OBJECT_STATECHANGE));
  ::SetWindowTextW(w, L"Gravar");
  EXPECT_TRUE(saw(EVENT_OBJECT_NAMECHANGE));
  pump(30);
  EXPECT_FALSE(saw(EVENT_OBJECT_STATECHANGE));  // nothing changed, nothing said
  ::UnhookWinEvent(hook);
  g_seen = nullptr;
}

}  // namespace
}  // namespace orv::buttons::win
