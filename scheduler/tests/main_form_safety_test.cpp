// What the window does when a handler fails or the slot list cannot be read:
// the transmitter stays released and nothing is sent behind a message box.
#include <gtest/gtest.h>

#include "scheduler/main_form.h"
#include "tests/support/form_fixture.h"

using namespace orv;
using namespace orv::test;
using namespace std::chrono_literals;

namespace {

struct MainFormSafetyTest : ::testing::Test {
  MainFormSafetyTest() {
    fx.files.files["orvalen.txt"] = "ident.wav\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n3\r\n";
    fx.files.files["C:\\Orvalen\\ident.wav"] = "RIFF";
    fx.playback.lengths["C:\\Orvalen\\ident.wav"] = 2.0;
  }
  void load() {
    form = std::make_unique<MainForm>(fx.controls, fx.services, FormHooks{});
    std::string error;
    ASSERT_TRUE(form->Load(error)) << error;
  }
  FormFixture fx;
  std::unique_ptr<MainForm> form;
};

}  // namespace

TEST_F(MainFormSafetyTest, NothingKeysTheTransmitterWhileTheErrorBoxIsOpen) {
  load();
  ASSERT_EQ(fx.check[0].value(), 1);  // RF only, due every 4 s
  fx.time.advance(4500ms);
  ASSERT_EQ(fx.playback.created, 1);
  fx.time.advance(3000ms);             // that one has ended
  fx.check21.setValue(1);              // and RF + IP as well
  fx.host.fail("SendIdentification");
  fx.host.calls.clear();
  std::vector<std::string> behindTheBox;
  fx.dialogs.whileOpen = [&](const FakeDialogs::Shown&) {
    const size_t before = fx.host.calls.size();
    fx.time.advance(60s);  // the operator is away; the slot falls due many times
    behindTheBox.assign(fx.host.calls.begin() + before, fx.host.calls.end());
    fx.host.raiseDtmf("AA");
  };
  fx.host.raiseDtmf("AA");
  ASSERT_EQ(fx.dialogs.shown.size(), 1u);
  EXPECT_EQ(fx.playback.created, 1);  // no playback started
  for (const auto& c : behindTheBox) {
    EXPECT_NE(c, "SetTransmit(-1)");
    EXPECT_EQ(c.rfind("TransmitFile", 0), std::string::npos) << c;
    EXPECT_EQ(c.rfind("SendIdentification", 0), std::string::npos) << c;
  }
  EXPECT_EQ(fx.host.calls.back(), "SetTransmit(0)");  // again, right before the end
  EXPECT_EQ(fx.app.exitCode, 1);
}

TEST_F(MainFormSafetyTest, AListThatCannotBeReadAtStartUpArmsNothingAndSaysWhy) {
  fx.files.unreadable.push_back("orvalen.txt");
  load();
  ASSERT_EQ(fx.dialogs.shown.size(), 1u);
  EXPECT_NE(fx.dialogs.shown[0].text.find("orvalen.txt: " + fx.files.readError), std::string::npos);
  EXPECT_EQ(fx.mens[0].text(), "");
  EXPECT_EQ(fx.cont[0].text(), "0");  // the window's own contents
  fx.time.advance(20s);
  EXPECT_EQ(fx.check[0].value(), 0);
  EXPECT_EQ(fx.playback.created, 0);
}
