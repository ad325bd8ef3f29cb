// The real program as a screen reader or an automation tool sees it from
// another process: window texts, the buttons' accessible objects, a press
// through them.
#include <gtest/gtest.h>
#include <oleacc.h>
#include <wrl/client.h>

#include <cstring>
#include <memory>

#include "tests/e2e/e2e_support.h"

using namespace orv::e2e;
using Microsoft::WRL::ComPtr;

namespace {

constexpr GUID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr int kSair = 1061, kSobre = 1062, kAjuda = 1063, kGravar = 1064, kLer = 1065;
constexpr int kRetornar = 11, kVisit = 12;

VARIANT Self() {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = CHILDID_SELF;
  return v;
}

struct AccessibilityE2E : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    program = std::make_unique<RunningProgram>(dir, L"--host=simulator");
    ASSERT_TRUE(program->WaitForMainWindow());
  }
  void TearDown() override {
    program.reset();
    CoUninitialize();
  }
  ComPtr<IAccessible> Object(HWND w) {
    ComPtr<IAccessible> acc;
    EXPECT_EQ(AccessibleObjectFromWindow(w, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(acc.GetAddressOf())),
              S_OK);
    return acc;
  }
  std::wstring Name(IAccessible* a) {
    BSTR b = nullptr;
    if (FAILED(a->get_accName(Self(), &b)) || !b) return {};
    std::wstring s(b, SysStringLen(b));
    SysFreeString(b);
    return s;
  }
  HWND WaitForWindow(const wchar_t* cls) {
    HWND w = nullptr;
    WaitUntil([&] { return (w = program->FindWindowOfClass(cls)) != nullptr; }, 10s);
    return w;
  }
  TempFolder dir;
  std::unique_ptr<RunningProgram> program;
};

}  // namespace

TEST_F(AccessibilityE2E, ButtonsAreReadAndPressedFromAnotherProcess) {
  const std::pair<int, const char*> buttons[] = {
      {kGravar, "Gravar"}, {kLer, "Ler"}, {kAjuda, "Ajuda"}, {kSobre, "Sobre"}, {kSair, "Sair"}};
  for (const auto& [id, caption] : buttons) {
    SCOPED_TRACE(caption);
    EXPECT_EQ(WindowText(program->control(id)), caption);
    ComPtr<IAccessible> a = Object(program->control(id));
    ASSERT_TRUE(a);
    VARIANT role;
    ASSERT_EQ(a->get_accRole(Self(), &role), S_OK);
    EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(Name(a.Get()), std::wstring(caption, caption + strlen(caption)));
  }

  // "Ajuda" pressed through its accessible object opens the Help window.
  ComPtr<IAccessible> ajuda = Object(program->control(kAjuda));
  ASSERT_TRUE(ajuda);
  BSTR action = nullptr;
  ASSERT_EQ(ajuda->get_accDefaultAction(Self(), &action), S_OK);
  EXPECT_STREQ(action, L"Pressionar");
  SysFreeString(action);
  ASSERT_EQ(ajuda->accDoDefaultAction(Self()), S_OK);
  HWND help = WaitForWindow(L"OrvalenAjuda");
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(help, kRetornar)), "Retornar");
  ComPtr<IAccessible> back = Object(GetDlgItem(help, kRetornar));
  ASSERT_TRUE(back);
  ASSERT_EQ(back->accDoDefaultAction(Self()), S_OK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(help); }));

  program->Click(kSobre);
  HWND about = WaitForWindow(L"OrvalenSobre");
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(about, kVisit)), "Visitar servidor KORVO");
  EXPECT_EQ(WindowText(GetDlgItem(about, kRetornar)), "Retornar");
  ClickWindow(GetDlgItem(about, kRetornar));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
}
